#include "appengine/page_preview_scene.h"

#include "appengine/selection_manager.h"
#include "core/assertion.h"
#include "core/gradient.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_screen.h"
#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"

#include <QDebug>
#include <QGraphicsProxyWidget>
#include <QJSValue>
#include <QPalette>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTransform>
#include <QUrl>
#include <QtMath>
#include <limits>

namespace {

constexpr int PageKind = 1;
constexpr int PageSwitcherKind = 6;

// The item kind of a control type: Button 1 to Clock 6 become 2, 3, 4, 5, 7, 8.
int controlKind(int controlType)
{
    static const int kinds[] = {0, 2, 3, 4, 5, 7, 8};
    if (controlType < 1 || controlType > 6)
        VELMORA_UNREACHABLE(1);
    return kinds[controlType];
}

void writeGeometry(QQuickItem* item, const QRect& geometry)
{
    QQmlProperty::write(item, QStringLiteral("x"), geometry.x());
    QQmlProperty::write(item, QStringLiteral("y"), geometry.y());
    QQmlProperty::write(item, QStringLiteral("width"), geometry.width());
    QQmlProperty::write(item, QStringLiteral("height"), geometry.height());
}

// An image item takes the size of the image it shows.
void giveNaturalSize(QObject* image)
{
    QQmlProperty::write(image, QStringLiteral("width"),
                        QQmlProperty::read(image, QStringLiteral("sourceSize.width")));
    QQmlProperty::write(image, QStringLiteral("height"),
                        QQmlProperty::read(image, QStringLiteral("sourceSize.height")));
}

} // namespace

PagePreviewScene::PagePreviewScene(QQmlEngine* engine, const Velmora::Configuration* project,
                                   const SelectionManager* selection, QObject* parent)
    : QGraphicsScene(parent), m_engine(engine), m_project(project), m_selection(selection),
      m_handles(std::make_shared<PreviewItemHandle::Registry>())
{
    VELMORA_ASSERT(engine && project && selection);
    // Few items, and all of them move.
    setItemIndexMethod(NoIndex);
    setBackgroundBrush(palette().color(QPalette::Current, QPalette::Window));

    m_surface = new QQuickWidget(engine, nullptr);
    m_surface->setResizeMode(QQuickWidget::SizeRootObjectToView);
    m_surface->setClearColor(backgroundBrush().color());
    m_root = std::make_unique<QQuickItem>();
    m_root->setParentItem(m_surface->quickWindow()->contentItem());
    fitSurface();
    m_proxy = addWidget(m_surface);
    m_proxy->setPos(0, 0);
    m_proxy->setZValue(std::numeric_limits<qreal>::lowest());
}

PagePreviewScene::~PagePreviewScene()
{
    // The items first, while the surface and its window still exist; then one more frame, in
    // which the scene graph lets go of the textures of the items that are gone.
    deleteItems();
    m_root.reset();
    m_surface->quickWindow()->releaseResources();
    m_surface->grabFramebuffer();
    delete m_proxy;
}

QQuickItem* PagePreviewScene::pageItem(unsigned int pageId) const
{
    const auto found = m_pageItems.find(pageId);
    return found == m_pageItems.end() ? nullptr : found->second;
}

QQuickItem* PagePreviewScene::controlItem(unsigned int controlId) const
{
    const auto found = m_controlItems.find(controlId);
    return found == m_controlItems.end() ? nullptr : found->second;
}

QQuickItem* PagePreviewScene::pageSwitcherItem(unsigned int pageSwitcherId) const
{
    const auto found = m_pageSwitcherItems.find(pageSwitcherId);
    return found == m_pageSwitcherItems.end() ? nullptr : found->second;
}

QRect PagePreviewScene::itemGeometry(const QQuickItem* item)
{
    return QRect(qRound(item->x()), qRound(item->y()), qRound(item->width()),
                 qRound(item->height()));
}

PreviewItemHandle* PagePreviewScene::handleOf(const QQuickItem* item) const
{
    const auto found = m_handles->find(item);
    return found == m_handles->end() ? nullptr : found->second;
}

void PagePreviewScene::fitSurface()
{
    const QSize size(m_project->getWidth(), m_project->getHeight());
    if (m_surface->size() != size)
        m_surface->resize(size);
    // Pages take their size from the module's screen object.
    if (VelmoraQML::QMLScreen* screen = VelmoraQML::screen())
        if (screen->size() != size)
            screen->setSize(size);
}

QObject* PagePreviewScene::createItem(const QString& text)
{
    QString errors;
    QObject* object = VelmoraQML::createObject(*m_engine, text, nullptr, &errors);
    if (!object) {
        qWarning().noquote() << "The preview could not create an item:" << errors;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership);
    return object;
}

QQuickItem* PagePreviewScene::createDeclarativeItem(const QString& text)
{
    QObject* object = createItem(text);
    auto* item = qobject_cast<QQuickItem*>(object);
    if (!item)
        delete object;
    return item;
}

QQuickItem* PagePreviewScene::createPageItem(unsigned int pageId)
{
    if (!m_project->getPages().exists(pageId))
        return nullptr;
    const Velmora::Page& page = m_project->getPage(pageId);
    VelmoraQML::QMLStreamer streamer(m_project);
    streamer.editable = true;
    VelmoraQML::QMLRenderer renderer(&streamer);
    renderer.renderChildren = false;
    page.render(&renderer);
    QQuickItem* pageItem = createDeclarativeItem(streamer.text());
    if (!pageItem)
        return nullptr;
    // Pages start hidden until shown.
    pageItem->setParentItem(m_root.get());
    addItem(new PreviewItemHandle(pageItem, PageKind, pageId, m_handles));

    // Every control is a document of its own, so that each is an item of its own that edits
    // reach by id.
    for (unsigned int controlId : page.getControlIds()) {
        if (!m_project->getControls().exists(controlId))
            continue;
        const Velmora::Control& control = m_project->getControl(controlId);
        const int kind = controlKind(control.getType());
        VelmoraQML::QMLStreamer controlStreamer(m_project);
        controlStreamer.editable = true;
        VelmoraQML::QMLRenderer controlRenderer(&controlStreamer);
        controlRenderer.standalone = true;
        control.render(&controlRenderer);
        QQuickItem* item = createDeclarativeItem(controlStreamer.text());
        if (!item)
            continue;
        // The page owns its controls: they die with it.
        item->setParent(pageItem);
        item->setParentItem(pageItem);
        auto* handle = new PreviewItemHandle(item, kind, controlId, m_handles);
        handle->setMarked(m_selection->isControlSelected(controlId));
        m_controlItems[controlId] = item;
    }
    m_pageItems[pageId] = pageItem;
    return pageItem;
}

QQuickItem* PagePreviewScene::createPageSwitcherItem(unsigned int pageSwitcherId)
{
    if (!m_project->getPageSwitchers().exists(pageSwitcherId))
        return nullptr;
    VelmoraQML::QMLStreamer streamer(m_project);
    streamer.editable = true;
    VelmoraQML::QMLRenderer renderer(&streamer);
    renderer.standalone = true;
    m_project->getPageSwitcher(pageSwitcherId).render(&renderer);
    QQuickItem* item = createDeclarativeItem(streamer.text());
    if (item) {
        auto* handle = new PreviewItemHandle(item, PageSwitcherKind, pageSwitcherId, m_handles);
        addItem(handle);
        handle->setMarked(m_selection->isPageSwitcherSelected(pageSwitcherId));
    }
    // A switcher that failed is not tried again until the switchers are rebuilt.
    m_pageSwitcherItems[pageSwitcherId] = item;
    return item;
}

QQuickItem* PagePreviewScene::pageItemOrBuild(unsigned int pageId)
{
    QQuickItem* item = pageItem(pageId);
    return item ? item : createPageItem(pageId);
}

QQuickItem* PagePreviewScene::pageSwitcherItemOrBuild(unsigned int pageSwitcherId)
{
    const auto found = m_pageSwitcherItems.find(pageSwitcherId);
    return found != m_pageSwitcherItems.end() ? found->second
                                              : createPageSwitcherItem(pageSwitcherId);
}

void PagePreviewScene::showPage(unsigned int pageId)
{
    if (m_currentPageItem) {
        m_currentPageItem->setVisible(false);
        m_currentPageItem = nullptr;
    }
    m_currentPageId = pageId;
    if (pageId != UINT_MAX) {
        fitSurface();
        if (QQuickItem* item = pageItemOrBuild(pageId)) {
            m_currentPageItem = item;
            showCurrentPageSwitcher();
            item->setVisible(true);
            if (PreviewItemHandle* handle = handleOf(item))
                setSceneRect(handle->sceneBoundingRect());
        }
    }
    m_selectionRect = QRect();
    update();
    emit pageShown(m_currentPageId);
}

void PagePreviewScene::showCurrentPageSwitcher()
{
    if (!m_currentPageItem)
        return;
    QQuickItem* previous = m_currentPageSwitcherItem;
    m_currentPageSwitcherItem = nullptr;
    QQuickItem* item = nullptr;
    if (m_project->getPages().exists(m_currentPageId)) {
        const unsigned int id = m_project->getPage(m_currentPageId).getPageSwitcherId();
        if (id != UINT_MAX)
            item = pageSwitcherItemOrBuild(id);
    }
    // A switcher that stays is only moved to the page.
    if (previous && previous != item)
        previous->setVisible(false);
    if (item) {
        m_currentPageSwitcherItem = item;
        item->setParentItem(m_currentPageItem);
        item->setVisible(true);
    }
}

void PagePreviewScene::removePageItem(unsigned int pageId)
{
    const auto found = m_pageItems.find(pageId);
    if (found != m_pageItems.end()) {
        QQuickItem* page = found->second;
        for (auto it = m_controlItems.begin(); it != m_controlItems.end();)
            it = it->second->parentItem() == page ? m_controlItems.erase(it) : std::next(it);
        // A page switcher shown on the page is not the page's: it outlives it.
        for (const auto& entry : m_pageSwitcherItems)
            if (entry.second && entry.second->parentItem() == page)
                entry.second->setParentItem(nullptr);
        if (page == m_currentPageItem) {
            m_currentPageId = UINT_MAX;
            m_currentPageItem = nullptr;
        }
        m_pageItems.erase(found);
        delete page;
    }
    clearPageSwitcherItems();
    m_selectionRect = QRect();
}

void PagePreviewScene::deleteItems()
{
    m_currentPageItem = nullptr;
    m_currentPageSwitcherItem = nullptr;
    for (const auto& entry : m_pageSwitcherItems)
        delete entry.second;
    m_pageSwitcherItems.clear();
    // Controls die with their pages.
    m_controlItems.clear();
    for (const auto& entry : m_pageItems)
        delete entry.second;
    m_pageItems.clear();
}

void PagePreviewScene::rebuildItems()
{
    deleteItems();
    showPage(m_currentPageId);
}

void PagePreviewScene::clear()
{
    deleteItems();
    m_currentPageId = UINT_MAX;
    m_selectionRect = QRect();
    // A gesture of the project that closes must not reach the items of the next one.
    m_dragStartPositions.clear();
    m_resizeItems.clear();
    m_resizeHandle = 0;
    m_resizeStartRect = QRect();
}

void PagePreviewScene::clearPageSwitcherItems()
{
    m_currentPageSwitcherItem = nullptr;
    for (const auto& entry : m_pageSwitcherItems)
        delete entry.second;
    m_pageSwitcherItems.clear();
    showCurrentPageSwitcher();
}

void PagePreviewScene::deletePageSwitcherItem(unsigned int pageSwitcherId)
{
    const auto found = m_pageSwitcherItems.find(pageSwitcherId);
    if (found == m_pageSwitcherItems.end())
        return;
    if (found->second == m_currentPageSwitcherItem)
        m_currentPageSwitcherItem = nullptr;
    delete found->second;
    m_pageSwitcherItems.erase(found);
}

void PagePreviewScene::removePageSwitcherItem(unsigned int pageSwitcherId)
{
    deletePageSwitcherItem(pageSwitcherId);
    showCurrentPageSwitcher();
}

QPixmap PagePreviewScene::renderThumbnail(unsigned int pageId)
{
    QQuickItem* page = pageItemOrBuild(pageId);
    if (!page)
        return QPixmap();
    fitSurface();

    // The page is shown on the surface for the moment, with its switcher; the selection
    // overlays belong to the handles and never reach the surface's image.
    QQuickItem* current = m_currentPageItem;
    if (current && current != page)
        current->setVisible(false);
    page->setVisible(true);
    QQuickItem* pageSwitcher = nullptr;
    QQuickItem* pageSwitcherParent = nullptr;
    const unsigned int pageSwitcherId = m_project->getPages().exists(pageId)
                                            ? m_project->getPage(pageId).getPageSwitcherId()
                                            : UINT_MAX;
    if (pageSwitcherId != UINT_MAX)
        pageSwitcher = pageSwitcherItemOrBuild(pageSwitcherId);
    if (pageSwitcher) {
        pageSwitcherParent = pageSwitcher->parentItem();
        pageSwitcher->setParentItem(page);
        pageSwitcher->setVisible(true);
    }

    const int width = m_project->getWidth();
    const int height = m_project->getHeight();
    const QImage image = m_surface->grabFramebuffer().copy(0, 0, width, height);

    if (pageSwitcher) {
        pageSwitcher->setParentItem(pageSwitcherParent);
        pageSwitcher->setVisible(pageSwitcher == m_currentPageSwitcherItem);
    }
    page->setVisible(page == current);
    if (current)
        current->setVisible(true);
    // The grab rendered into an image of its own and took the changes waiting for the
    // surface's next frame with it, so that frame leaves them out of the view. Showing the
    // current page again redraws all of it; when the thumbnail is of the current page itself,
    // a change of size makes the surface render everything again.
    if (page == current) {
        const QSize size = m_surface->size();
        m_surface->resize(size + QSize(1, 0));
        m_surface->resize(size);
    }

    return QPixmap::fromImage(image).scaled(width / 4, height / 4, Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation);
}

void PagePreviewScene::setControlProperty(unsigned int controlId, const QString& name,
                                          const QVariant& value)
{
    QQuickItem* item = controlItem(controlId);
    if (!item)
        return;
    QQmlProperty::write(item, name, value);
    m_selectionRect = QRect();
    if (PreviewItemHandle* handle = handleOf(item))
        handle->refreshOverlay();
}

void PagePreviewScene::setControlSkin(unsigned int controlId, const QString& skinName,
                                      bool ignoreTransition)
{
    auto* item = qobject_cast<VelmoraQML::QMLThemedObject*>(controlItem(controlId));
    if (!item)
        return;
    item->setSkin(skinName, ignoreTransition);
    m_selectionRect = QRect();
    if (PreviewItemHandle* handle = handleOf(item))
        handle->refreshOverlay();
}

void PagePreviewScene::setControlGeometry(const std::set<unsigned int>& controlIds)
{
    for (unsigned int controlId : controlIds) {
        QQuickItem* item = controlItem(controlId);
        if (!item || !m_project->getControls().exists(controlId))
            continue;
        const QRect geometry = m_project->getControl(controlId).getGeometry();
        writeGeometry(item,
                      QRect(geometry.left(), geometry.top(), geometry.right() + 1 - geometry.left(),
                            geometry.bottom() + 1 - geometry.top()));
    }
    updateSelectionEffects();
    update();
}

QObject* PagePreviewScene::pageChild(unsigned int pageId, const char* name) const
{
    QQuickItem* page = pageItem(pageId);
    return page ? page->findChild<QObject*>(QLatin1String(name), Qt::FindDirectChildrenOnly)
                : nullptr;
}

void PagePreviewScene::setPageBackgroundColour(unsigned int pageId, const QColor& colour)
{
    if (QQuickItem* page = pageItem(pageId))
        QQmlProperty::write(page, QStringLiteral("color"), colour);
}

void PagePreviewScene::setPageBackgroundGradient(unsigned int pageId, const Gradient& gradient)
{
    QObject* rectangle = pageChild(pageId, "backgroundGradient");
    if (!rectangle)
        return;
    VelmoraQML::QMLStreamer streamer(nullptr);
    streamer.editable = true;
    streamer.writeGradient(gradient.stops());
    QObject* object = createItem(streamer.text());
    if (!object)
        return;
    QObject* previous =
        QQmlProperty::read(rectangle, QStringLiteral("gradient")).value<QJSValue>().toQObject();
    // A gradient with a parent stays the parent's: the script engine never collects it.
    object->setParent(rectangle);
    QQmlProperty::write(rectangle, QStringLiteral("gradient"),
                        QVariant::fromValue(m_engine->newQObject(object)));
    QQmlProperty::write(rectangle, QStringLiteral("visible"), !gradient.stops().isEmpty());
    if (previous && previous != object && previous->parent() == rectangle)
        previous->deleteLater();
}

void PagePreviewScene::setPageBackgroundGradientRotation(unsigned int pageId, unsigned int rotation)
{
    if (QObject* rectangle = pageChild(pageId, "backgroundGradient"))
        QQmlProperty::write(rectangle, QStringLiteral("rotation"), int(rotation));
}

void PagePreviewScene::setPageBackgroundImage(unsigned int pageId, int imageId)
{
    QObject* image = pageChild(pageId, "backgroundImage");
    if (!image)
        return;
    const QString source =
        imageId == -1
            ? QString()
            : QStringLiteral("image://theme%1/%2").arg(m_project->getSerial()).arg(imageId);
    QQmlProperty::write(image, QStringLiteral("source"), QUrl(source));
    if (m_project->getPages().exists(pageId) &&
        m_project->getPage(pageId).getBackgroundImageScaling() == Velmora::Scaling_NONE)
        giveNaturalSize(image);
}

void PagePreviewScene::setPageBackgroundImageScaling(unsigned int pageId, int scaling)
{
    QObject* image = pageChild(pageId, "backgroundImage");
    if (!image)
        return;
    if (scaling >= 1 && scaling <= 6) {
        // Image.Stretch 0, PreserveAspectFit, PreserveAspectCrop, Tile, TileVertically,
        // TileHorizontally 5.
        QQmlProperty::write(image, QStringLiteral("fillMode"), scaling - 1);
        QQmlProperty::write(image, QStringLiteral("width"), m_project->getWidth());
        QQmlProperty::write(image, QStringLiteral("height"), m_project->getHeight());
    } else {
        QQmlProperty::write(image, QStringLiteral("fillMode"), 0);
        giveNaturalSize(image);
    }
}

void PagePreviewScene::updateSelectionEffects()
{
    for (const auto& entry : m_controlItems)
        if (PreviewItemHandle* handle = handleOf(entry.second))
            handle->setMarked(m_selection->isControlSelected(entry.first));
    for (const auto& entry : m_pageSwitcherItems)
        if (PreviewItemHandle* handle = entry.second ? handleOf(entry.second) : nullptr)
            handle->setMarked(m_selection->isPageSwitcherSelected(entry.first));
    m_selectionRect = QRect();
}

QRect PagePreviewScene::selectionBoundingRect(bool force)
{
    if (!force && !m_selectionRect.isNull())
        return m_selectionRect;
    m_selectionRect = QRect();
    if (m_selection->kind() == SelectionManager::SelectionKind_CONTROLS)
        for (unsigned int controlId : m_selection->selectedIds())
            if (QQuickItem* item = controlItem(controlId))
                m_selectionRect |= itemGeometry(item);
    return m_selectionRect;
}

std::map<unsigned int, QRect>
PagePreviewScene::controlGeometries(const std::set<unsigned int>& ids) const
{
    std::map<unsigned int, QRect> geometries;
    for (unsigned int id : ids)
        if (QQuickItem* item = controlItem(id))
            geometries[id] = itemGeometry(item);
    return geometries;
}

void PagePreviewScene::beginMoveControls(const std::set<unsigned int>& controlIds)
{
    m_dragStartPositions.clear();
    for (unsigned int controlId : controlIds)
        if (QQuickItem* item = controlItem(controlId))
            m_dragStartPositions[controlId] =
                QPoint(qFloor(item->x() + 0.5), qFloor(item->y() + 0.5));
}

void PagePreviewScene::moveControls(const QPoint& offset)
{
    for (const auto& entry : m_dragStartPositions)
        if (QQuickItem* item = controlItem(entry.first)) {
            const QPoint position = entry.second + offset;
            QQmlProperty::write(item, QStringLiteral("x"), position.x());
            QQmlProperty::write(item, QStringLiteral("y"), position.y());
        }
    updateSelectionEffects();
}

void PagePreviewScene::endMoveControls()
{
    m_dragStartPositions.clear();
}

void PagePreviewScene::beginResizeControls(const std::set<unsigned int>& controlIds, int handle)
{
    m_resizeHandle = handle;
    m_resizeItems.clear();
    m_resizeStartRect = QRect();
    for (unsigned int controlId : controlIds)
        if (QQuickItem* item = controlItem(controlId)) {
            const QRect geometry = itemGeometry(item);
            m_resizeItems[controlId] = geometry;
            m_resizeStartRect |= geometry;
        }
}

void PagePreviewScene::resizeControls(const QPoint& offset)
{
    const double x1 = m_resizeStartRect.left();
    const double y1 = m_resizeStartRect.top();
    const double dx = offset.x();
    const double dy = offset.y();
    // The factor of an extent whose far side moves by delta; an empty extent cannot scale.
    const auto factor = [](double extent, double delta) {
        return extent == 0 ? 1.0 : (extent + delta) / extent;
    };
    const double w = m_resizeStartRect.width();
    const double h = m_resizeStartRect.height();
    double sx = 1;
    double sy = 1;
    double tx = 0;
    double ty = 0;
    switch (m_resizeHandle) {
    case 1: // top-left
        sx = factor(w, -dx);
        sy = factor(h, -dy);
        tx = dx;
        ty = dy;
        break;
    case 2: // top-right
        sx = factor(w, dx);
        sy = factor(h, -dy);
        ty = dy;
        break;
    case 3: // bottom-left
        sx = factor(w, -dx);
        sy = factor(h, dy);
        tx = dx;
        break;
    case 4: // bottom-right
        sx = factor(w, dx);
        sy = factor(h, dy);
        break;
    case 5: // top
        sy = factor(h, -dy);
        ty = dy;
        break;
    case 6: // left
        sx = factor(w, -dx);
        tx = dx;
        break;
    case 7: // bottom
        sy = factor(h, dy);
        break;
    case 8: // right
        sx = factor(w, dx);
        break;
    default:
        break;
    }
    // Scales about the union's top-left corner, then translates.
    const QTransform transform(sx, 0, 0, sy, x1 - sx * x1 + tx, y1 - sy * y1 + ty);
    for (const auto& entry : m_resizeItems)
        if (QQuickItem* item = controlItem(entry.first))
            writeGeometry(item, transform.mapRect(entry.second));
    m_selectionRect = QRect();
}

std::map<unsigned int, QRect> PagePreviewScene::endResizeControls()
{
    std::map<unsigned int, QRect> changed;
    for (const auto& entry : m_resizeItems)
        if (QQuickItem* item = controlItem(entry.first)) {
            const QRect geometry = itemGeometry(item);
            if (geometry != entry.second)
                changed[entry.first] = geometry;
        }
    m_resizeItems.clear();
    m_resizeHandle = 0;
    m_resizeStartRect = QRect();
    return changed;
}
