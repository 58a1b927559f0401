#include "appengine/preview_item_factory.h"

#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_component_cache.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"

#include <QDebug>
#include <QQmlEngine>
#include <QQuickItem>

PreviewItemFactory::PreviewItemFactory(QQmlEngine& engine, const Velmora::Configuration& project)
    : m_engine(engine), m_project(project)
{
}

PreviewItemFactory::~PreviewItemFactory()
{
    forgetTheme();
}

void PreviewItemFactory::forgetTheme()
{
    delete m_theme.data();
    m_theme = nullptr;
    m_currentSkinTexts.clear();
}

QObject* PreviewItemFactory::theme() const
{
    const Velmora::Theme* theme = m_project.getTheme();
    if (m_theme || !theme)
        return m_theme;
    // Made directly rather than compiled from its text: the skins' own properties are dynamic
    // properties with the values their declarations in the text would give.
    auto* made = new VelmoraQML::QMLTheme;
    QQmlListProperty<VelmoraQML::QMLSkinSet> sets = made->skinSetList();
    const unsigned int serial = unsigned(m_project.getSerial());
    for (const auto& [itemType, skinSet] : theme->getSkinSets()) {
        auto* set = new VelmoraQML::QMLSkinSet(made);
        set->setItemType(int(itemType));
        QQmlListProperty<VelmoraQML::QMLSkin> skins = set->skinList();
        const Velmora::Skin* defaultSkin = theme->getDefaultSkin(skinSet->getItemType());
        for (const auto& [name, skin] : skinSet->getSkins()) {
            auto* qmlSkin = new VelmoraQML::QMLSkin(set);
            qmlSkin->setName(skin->getName());
            qmlSkin->setTransitionDuration(skin->getTransition().duration);
            qmlSkin->setEasingType(skin->getTransition().easing);
            for (const auto& [key, property] : skin->getProperties())
                qmlSkin->setProperty(key.toUtf8().constData(),
                                     VelmoraQML::QMLRenderer::skinValue(*property, serial));
            if (skin.get() == defaultSkin)
                set->setDefaultSkinIdx(int(skins.count(&skins)));
            skins.append(&skins, qmlSkin);
        }
        sets.append(&sets, set);
    }
    m_theme = made;
    return m_theme;
}

QObject* PreviewItemFactory::create(const QString& text,
                                    const VelmoraQML::QMLPropertyValues& values,
                                    QObject* parent) const
{
    QString errors;
    QObject* object =
        VelmoraQML::createCachedObject(m_engine, text, values, nullptr, &errors, parent);
    if (!object) {
        qWarning().noquote() << "The preview could not create an item:" << errors;
        return nullptr;
    }
    if (!errors.isEmpty())
        qWarning().noquote() << "The preview could not set up an item:" << errors;
    QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership);
    return object;
}

QQuickItem* PreviewItemFactory::createItem(const QString& text,
                                           const VelmoraQML::QMLPropertyValues& values,
                                           QObject* parent) const
{
    QObject* object = create(text, values, parent);
    auto* item = qobject_cast<QQuickItem*>(object);
    if (!item)
        delete object;
    return item;
}

QQuickItem*
PreviewItemFactory::renderItem(const Velmora::Renderable& object, bool page,
                               std::vector<VelmoraQML::QMLPropertyValues>* buttons) const
{
    VelmoraQML::QMLStreamer streamer(&m_project);
    streamer.editable = true;
    VelmoraQML::QMLRenderer renderer(&streamer);
    VelmoraQML::QMLPropertyValues values;
    renderer.ownValues = &values;
    renderer.buttonValues = buttons;
    renderer.currentSkinTexts = &m_currentSkinTexts;
    if (page) {
        renderer.renderChildren = false;
    } else {
        renderer.standalone = true;
        renderer.themeApart = true;
    }
    const qsizetype header = streamer.text().size();
    object.render(&renderer);
    // An object the preview does not show (a clock of a type it does not know) writes nothing
    // after the import header and gets no item.
    if (streamer.text().size() == header)
        return nullptr;
    // The theme after the own values, as the text would name it after them.
    if (!page)
        if (QObject* shared = theme())
            values.emplace_back(QStringLiteral("theme"), QVariant::fromValue(shared));
    return createItem(streamer.text(), values);
}

QQuickItem* PreviewItemFactory::createPage(unsigned int pageId) const
{
    if (!m_project.getPages().exists(pageId))
        return nullptr;
    return renderItem(m_project.getPage(pageId), true);
}

QQuickItem* PreviewItemFactory::createControl(unsigned int controlId) const
{
    if (!m_project.getControls().exists(controlId))
        return nullptr;
    return renderItem(m_project.getControl(controlId), false);
}

QQuickItem*
PreviewItemFactory::createPageSwitcher(unsigned int pageSwitcherId,
                                       std::vector<VelmoraQML::QMLPropertyValues>& buttons) const
{
    if (!m_project.getPageSwitchers().exists(pageSwitcherId))
        return nullptr;
    return renderItem(m_project.getPageSwitcher(pageSwitcherId), false, &buttons);
}

QQuickItem* PreviewItemFactory::createPageSwitcher(unsigned int pageSwitcherId) const
{
    std::vector<VelmoraQML::QMLPropertyValues> buttons;
    QQuickItem* item = createPageSwitcher(pageSwitcherId, buttons);
    if (item)
        for (const VelmoraQML::QMLPropertyValues& values : buttons)
            createPageSwitcherButton(values, item);
    return item;
}

QQuickItem*
PreviewItemFactory::createPageSwitcherButton(const VelmoraQML::QMLPropertyValues& values,
                                             QQuickItem* pageSwitcher) const
{
    static const QString text = VelmoraQML::QMLRenderer::buttonText();
    return createItem(text, values, pageSwitcher);
}

QObject* PreviewItemFactory::createGradient(const QGradientStops& stops) const
{
    VelmoraQML::QMLStreamer streamer(nullptr);
    streamer.editable = true;
    streamer.writeGradient(stops);
    return create(streamer.text(), {});
}
