#include "appengine/themed_object_preview_scene.h"

#include "core/gradient.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/qml_streamer.h"

#include <QGraphicsProxyWidget>
#include <QJSValue>
#include <QPalette>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QtMath>
#include <limits>

namespace {

// Marks the gradient objects the scene made, so that only those are ever deleted again.
const char* const PreviewGradientName = "themedObjectPreviewGradient";

// The engine of the module's shared context; null when there is none.
QQmlEngine* sharedEngine()
{
    QQmlContext* context = VelmoraQML::context();
    return context ? context->engine() : nullptr;
}

// The object's rectangle on the surface, whose origin is the scene's.
QRectF itemRect(const QQuickItem* item)
{
    return QRectF(item->position(), item->size());
}

} // namespace

ThemedObjectPreviewScene::ThemedObjectPreviewScene(QObject* parent) : QGraphicsScene(parent)
{
    setBackgroundBrush(palette().color(QPalette::Current, QPalette::Window));

    QQmlEngine* engine = sharedEngine();
    m_surface = engine ? new QQuickWidget(engine, nullptr) : new QQuickWidget();
    m_surface->setResizeMode(QQuickWidget::SizeRootObjectToView);
    m_surface->setClearColor(backgroundBrush().color());
    m_root = std::make_unique<QQuickItem>();
    m_root->setParentItem(m_surface->quickWindow()->contentItem());
    m_surface->resize(1, 1);
    m_proxy = addWidget(m_surface);
    m_proxy->setPos(0, 0);
    m_proxy->setZValue(std::numeric_limits<qreal>::lowest());
}

ThemedObjectPreviewScene::~ThemedObjectPreviewScene()
{
    // The objects first, while the surface and its window still exist; then one more frame, in
    // which the scene graph lets go of the textures of the items that are gone.
    m_shown = nullptr;
    m_objects.clear();
    m_root.reset();
    m_surface->quickWindow()->releaseResources();
    m_surface->grabFramebuffer();
    delete m_proxy;
}

VelmoraQML::QMLThemedObject*
ThemedObjectPreviewScene::themedObject(Velmora::ThemedItemType type) const
{
    const auto found = m_objects.find(type);
    return found == m_objects.end() ? nullptr : found->second.get();
}

bool ThemedObjectPreviewScene::hasThemedObject(Velmora::ThemedItemType type) const
{
    return themedObject(type) != nullptr;
}

void ThemedObjectPreviewScene::setThemedObject(VelmoraQML::QMLThemedObject* object,
                                               Velmora::ThemedItemType type)
{
    if (object)
        QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership);
    std::unique_ptr<VelmoraQML::QMLThemedObject>& entry = m_objects[type];
    const bool wasShown = m_shown && m_shown == entry.get();
    if (wasShown)
        hideShownObject();
    if (entry.get() != object) {
        entry.reset(object);
    }
    if (wasShown)
        showItemType(type);
}

void ThemedObjectPreviewScene::hideShownObject()
{
    if (!m_shown)
        return;
    QObject::disconnect(m_shown, nullptr, this, nullptr);
    m_shown->setParentItem(nullptr);
    m_shown = nullptr;
}

void ThemedObjectPreviewScene::showItemType(Velmora::ThemedItemType type)
{
    hideShownObject();
    VelmoraQML::QMLThemedObject* object = themedObject(type);
    if (!object) {
        update();
        return;
    }
    m_shown = object;
    object->setParentItem(m_root.get());
    object->setVisible(true);
    // The surface follows the object's extent; the scene rectangle is set only here.
    for (auto signal : {&QQuickItem::xChanged, &QQuickItem::yChanged, &QQuickItem::widthChanged,
                        &QQuickItem::heightChanged})
        QObject::connect(object, signal, this, [this] { fitSurface(); });
    fitSurface();
    setSceneRect(itemRect(object));
    update();
}

void ThemedObjectPreviewScene::fitSurface()
{
    if (!m_shown)
        return;
    const QRectF rect = itemRect(m_shown);
    const QSize size(qMax(1, qCeil(rect.right())), qMax(1, qCeil(rect.bottom())));
    if (m_surface->size() != size)
        m_surface->resize(size);
}

void ThemedObjectPreviewScene::setSkin(const QString& skinName)
{
    if (m_shown)
        m_shown->setSkin(skinName, false);
}

void ThemedObjectPreviewScene::setDefaultProperty(Velmora::ThemedItemType type, const QString& name,
                                                  const QVariant& value)
{
    VelmoraQML::QMLThemedObject* object = themedObject(type);
    if (!object)
        return;

    if (value.metaType() == QMetaType::fromType<Gradient>()) {
        QQmlEngine* engine = sharedEngine();
        if (!engine)
            return;
        VelmoraQML::QMLStreamer streamer(nullptr);
        streamer.writeGradient(value.value<Gradient>().stops());
        QObject* gradient = VelmoraQML::createObject(*engine, streamer.text());
        if (!gradient)
            return;
        QQmlEngine::setObjectOwnership(gradient, QQmlEngine::CppOwnership);
        gradient->setObjectName(QLatin1String(PreviewGradientName));
        // The object holds the gradient as long as it lives; a gradient the scene made before
        // for the same property goes once the new one is in place.
        QObject* previous = QQmlProperty::read(object, name).value<QJSValue>().toQObject();
        gradient->setParent(object);
        QQmlProperty::write(object, name, QVariant::fromValue(engine->newQObject(gradient)));
        if (previous && previous != gradient && previous->parent() == object &&
            previous->objectName() == QLatin1String(PreviewGradientName))
            previous->deleteLater();
        return;
    }
    if (value.metaType() == QMetaType::fromType<Velmora::TextStyle>()) {
        QQmlProperty::write(object, name, int(value.value<Velmora::TextStyle>()));
        return;
    }
    QQmlProperty::write(object, name, value);
}

VelmoraQML::QMLSkinSet* ThemedObjectPreviewScene::skinSet(Velmora::ThemedItemType type) const
{
    VelmoraQML::QMLThemedObject* object = themedObject(type);
    VelmoraQML::QMLTheme* theme = object ? object->theme() : nullptr;
    return theme ? theme->skinSet(type) : nullptr;
}

VelmoraQML::QMLSkin* ThemedObjectPreviewScene::findSkin(Velmora::ThemedItemType type,
                                                        const QString& skinName) const
{
    if (VelmoraQML::QMLSkinSet* set = skinSet(type))
        for (VelmoraQML::QMLSkin* skin : set->skins())
            if (skin && skin->name() == skinName)
                return skin;
    return nullptr;
}

void ThemedObjectPreviewScene::setSkinProperty(Velmora::ThemedItemType type,
                                               const QString& skinName, const QString& name,
                                               const QVariant& value)
{
    if (VelmoraQML::QMLSkin* skin = findSkin(type, skinName))
        QQmlProperty::write(skin, name, value);
}

void ThemedObjectPreviewScene::setSkinTransitionDuration(Velmora::ThemedItemType type,
                                                         const QString& skinName, int milliseconds)
{
    if (VelmoraQML::QMLSkin* skin = findSkin(type, skinName))
        QQmlProperty::write(skin, QStringLiteral("transitionDuration"), milliseconds);
}

void ThemedObjectPreviewScene::setSkinTransitionEasing(Velmora::ThemedItemType type,
                                                       const QString& skinName, int easingType)
{
    if (VelmoraQML::QMLSkin* skin = findSkin(type, skinName))
        QQmlProperty::write(skin, QStringLiteral("easingType"), easingType);
}

void ThemedObjectPreviewScene::renameSkin(Velmora::ThemedItemType type, const QString& oldName,
                                          const QString& newName)
{
    if (VelmoraQML::QMLSkin* skin = findSkin(type, oldName))
        skin->setName(newName);
}
