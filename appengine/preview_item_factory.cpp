#include "appengine/preview_item_factory.h"

#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_component_cache.h"
#include "velmora_objects/qml_streamer.h"

#include <QDebug>
#include <QQmlEngine>
#include <QQuickItem>

PreviewItemFactory::PreviewItemFactory(QQmlEngine& engine, const Velmora::Configuration& project)
    : m_engine(engine), m_project(project)
{
}

QObject* PreviewItemFactory::create(const QString& text,
                                    const VelmoraQML::QMLPropertyValues& values) const
{
    QString errors;
    QObject* object = VelmoraQML::createCachedObject(m_engine, text, values, nullptr, &errors);
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
                                           const VelmoraQML::QMLPropertyValues& values) const
{
    QObject* object = create(text, values);
    auto* item = qobject_cast<QQuickItem*>(object);
    if (!item)
        delete object;
    return item;
}

QQuickItem* PreviewItemFactory::renderItem(const Velmora::Renderable& object, bool page,
                                           bool valuesApart) const
{
    VelmoraQML::QMLStreamer streamer(&m_project);
    streamer.editable = true;
    VelmoraQML::QMLRenderer renderer(&streamer);
    if (page)
        renderer.renderChildren = false;
    else
        renderer.standalone = true;
    VelmoraQML::QMLPropertyValues values;
    if (valuesApart)
        renderer.ownValues = &values;
    object.render(&renderer);
    return createItem(streamer.text(), values);
}

QQuickItem* PreviewItemFactory::createPage(unsigned int pageId) const
{
    if (!m_project.getPages().exists(pageId))
        return nullptr;
    return renderItem(m_project.getPage(pageId), true, true);
}

QQuickItem* PreviewItemFactory::createControl(unsigned int controlId) const
{
    if (!m_project.getControls().exists(controlId))
        return nullptr;
    // The control carries its own copy of its item type's theme, so that it is an item of
    // its own that edits reach by id.
    return renderItem(m_project.getControl(controlId), false, true);
}

QQuickItem* PreviewItemFactory::createPageSwitcher(unsigned int pageSwitcherId) const
{
    if (!m_project.getPageSwitchers().exists(pageSwitcherId))
        return nullptr;
    return renderItem(m_project.getPageSwitcher(pageSwitcherId), false, false);
}

QObject* PreviewItemFactory::createGradient(const QGradientStops& stops) const
{
    VelmoraQML::QMLStreamer streamer(nullptr);
    streamer.editable = true;
    streamer.writeGradient(stops);
    return create(streamer.text(), {});
}
