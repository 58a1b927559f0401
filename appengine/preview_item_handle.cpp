#include "appengine/preview_item_handle.h"

#include "gui/checkered_brush.h"

#include <QGraphicsScene>
#include <QPainter>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickRenderControl>
#include <QQuickWindow>
#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

PreviewItemHandle::PreviewItemHandle(QQuickItem* item, int kind, unsigned int id,
                                     std::shared_ptr<Registry> registry)
    : m_item(item), m_key(item), m_kind(kind), m_id(id), m_registry(std::move(registry))
{
    m_registry->handles[item] = this;
    ++m_registry->itemsMade;
    setData(0, kind);
    setData(1, id);
    // Presses go to the live item beneath, through the scene's QML surface.
    setAcceptedMouseButtons(Qt::NoButton);
    setFlag(ItemHasNoContents, true);

    syncParent();
    syncGeometry();
    syncStacking();
    syncClipping();
    syncVisibility();

    connect(item, &QQuickItem::parentChanged, this, &PreviewItemHandle::syncParent);
    connect(item, &QQuickItem::xChanged, this, &PreviewItemHandle::syncGeometry);
    connect(item, &QQuickItem::yChanged, this, &PreviewItemHandle::syncGeometry);
    connect(item, &QQuickItem::widthChanged, this, &PreviewItemHandle::syncGeometry);
    connect(item, &QQuickItem::heightChanged, this, &PreviewItemHandle::syncGeometry);
    connect(item, &QQuickItem::visibleChanged, this, &PreviewItemHandle::syncVisibility);
    connect(item, &QQuickItem::windowChanged, this, &PreviewItemHandle::syncVisibility);
    connect(item, &QQuickItem::zChanged, this, &PreviewItemHandle::syncStacking);
    connect(item, &QQuickItem::clipChanged, this, &PreviewItemHandle::syncClipping);
    m_childCount = item->childItems().size();
    connect(item, &QQuickItem::childrenChanged, this, &PreviewItemHandle::onChildrenChanged);
    // At once, so that no hit test ever finds the handle of an item that is gone.
    connect(item, &QObject::destroyed, this, [this] { delete this; });
}

PreviewItemHandle::~PreviewItemHandle()
{
    const auto found = m_registry->handles.find(m_key);
    if (found != m_registry->handles.end() && found->second == this)
        m_registry->handles.erase(found);
    if (m_grab)
        endGrab();
}

void PreviewItemHandle::syncParent()
{
    PreviewItemHandle* parentHandle = nullptr;
    if (QQuickItem* parent = m_item ? m_item->parentItem() : nullptr) {
        const auto found = m_registry->handles.find(parent);
        if (found != m_registry->handles.end())
            parentHandle = found->second;
    }
    if (parentItem() != parentHandle)
        setParentItem(parentHandle);
    if (parentHandle)
        parentHandle->restackChildren();
}

void PreviewItemHandle::syncGeometry()
{
    if (!m_item)
        return;
    const QSizeF size(m_item->width(), m_item->height());
    if (size != m_size) {
        prepareGeometryChange();
        m_size = size;
        m_maskStale = true;
    }
    setPos(m_item->position());
}

void PreviewItemHandle::syncVisibility()
{
    // An item outside the surface's window draws nowhere, whatever its own flag says.
    setVisible(m_item && m_item->isVisible() && m_item->window());
}

void PreviewItemHandle::syncStacking()
{
    if (m_item)
        setZValue(m_item->z());
}

void PreviewItemHandle::syncClipping()
{
    if (m_item)
        setFlag(ItemClipsChildrenToShape, m_item->clip());
}

PreviewItemHandle::StackingBatch::StackingBatch(PreviewItemHandle* handle) : m_handle(handle)
{
    if (m_handle)
        ++m_handle->m_stackingHeld;
}

PreviewItemHandle::StackingBatch::~StackingBatch()
{
    if (!m_handle || --m_handle->m_stackingHeld > 0 || !m_handle->m_restackPending)
        return;
    m_handle->m_restackPending = false;
    m_handle->restackChildren();
}

void PreviewItemHandle::onChildrenChanged()
{
    // Removing a child leaves the stacking order of the others as it was, so that removing n
    // children (a page's controls deleted with it, or undone) costs no ordering at all rather
    // than O(n) each.
    const qsizetype count = m_item ? m_item->childItems().size() : 0;
    const bool removed = count < m_childCount;
    m_childCount = count;
    if (!removed)
        restackChildren();
}

void PreviewItemHandle::restackChildren()
{
    if (!m_item)
        return;
    if (m_stackingHeld > 0) {
        m_restackPending = true;
        return;
    }
    ++m_restacks;
    // The child handles in the order their items paint: by z, then in child order.
    std::vector<PreviewItemHandle*> wanted;
    std::unordered_set<const QGraphicsItem*> isWanted;
    for (QQuickItem* child : m_item->childItems()) {
        const auto found = m_registry->handles.find(child);
        if (found != m_registry->handles.end() && found->second->parentItem() == this) {
            wanted.push_back(found->second);
            isWanted.insert(found->second);
        }
    }
    std::stable_sort(wanted.begin(), wanted.end(),
                     [](const auto* a, const auto* b) { return a->zValue() < b->zValue(); });
    std::vector<PreviewItemHandle*> present;
    for (QGraphicsItem* child : childItems())
        if (isWanted.count(child))
            present.push_back(static_cast<PreviewItemHandle*>(child));
    if (present == wanted)
        return;
    for (std::size_t i = wanted.size(); i-- > 1;)
        wanted[i - 1]->stackBefore(wanted[i]);
}

void PreviewItemHandle::setMarked(bool marked)
{
    if (marked == m_marked)
        return;
    m_marked = marked;
    // The scene repaints nothing of an item without contents, however it was marked: the area
    // of an overlay taken away is repainted through the scene.
    if (!marked && scene() && isVisible())
        scene()->update(sceneBoundingRect());
    setFlag(ItemHasNoContents, !marked);
    m_mask = QImage();
    m_overlay = QPixmap();
    m_maskStale = true;
    update();
}

void PreviewItemHandle::refreshOverlay()
{
    if (!m_marked)
        return;
    m_maskStale = true;
    update();
}

void PreviewItemHandle::grabItem()
{
    if (m_grab) {
        m_grabAgain = true;
        return;
    }
    // Its turn comes when there is room among the images being taken; the images waiting are
    // taken first come first, and until then the image stays stale.
    if (m_grabWaiting)
        return;
    if (m_registry->itemsUndrawn() || !m_registry->grabsWaiting.empty() ||
        !m_registry->hasRoomFor(maskArea())) {
        m_grabWaiting = true;
        m_registry->grabsWaiting.emplace_back(this);
        // The frame that draws the new items is sure to come.
        if (m_registry->itemsUndrawn() && m_item && m_item->window())
            m_item->window()->update();
        return;
    }
    startGrab();
}

void PreviewItemHandle::startGrab()
{
    if (!m_item || !m_item->window() || m_size.isEmpty())
        return;
    // The item can be taken only while a view shows the surface.
    const QWindow* window = QQuickRenderControl::renderWindowFor(m_item->window());
    if (!(window ? window : m_item->window())->isVisible())
        return;
    m_grab = m_item->grabToImage(maskSize());
    if (!m_grab)
        return;
    m_grabArea = maskArea();
    m_registry->grabAreaTaken += m_grabArea;
    m_registry->mostGrabsTaken = std::max(m_registry->mostGrabsTaken, ++m_registry->grabsTaken);
    m_maskStale = false;
    connect(m_grab.data(), &QQuickItemGrabResult::ready, this, &PreviewItemHandle::takeGrab);
}

QSize PreviewItemHandle::maskSize() const
{
    const double area = m_size.width() * m_size.height();
    if (area <= MaskArea)
        return QSize();
    const double scale = std::sqrt(MaskArea / area);
    return QSize(std::max(1, int(m_size.width() * scale)),
                 std::max(1, int(m_size.height() * scale)));
}

qint64 PreviewItemHandle::maskArea() const
{
    const QSize size = maskSize();
    return size.isEmpty() ? qint64(std::ceil(m_size.width())) * qint64(std::ceil(m_size.height()))
                          : qint64(size.width()) * size.height();
}

bool PreviewItemHandle::Registry::hasRoomFor(qint64 area) const
{
    // One image alone always goes, whatever its area.
    return grabsTaken == 0 || (grabsTaken < GrabsAtOnce && grabAreaTaken + area <= GrabAreaAtOnce);
}

void PreviewItemHandle::Registry::frameDrawn(quint64 made)
{
    itemsDrawn = std::max(itemsDrawn, made);
    takeWaitingGrabs();
}

void PreviewItemHandle::Registry::takeWaitingGrabs()
{
    // The handles waiting take their images while there is room: in the same frame, so that
    // they arrive together.
    while (!grabsWaiting.empty() && !itemsUndrawn()) {
        const QPointer<PreviewItemHandle> next = grabsWaiting.front();
        const bool wanted = next && next->m_marked && next->m_maskStale && !next->m_grab;
        if (wanted && !hasRoomFor(next->maskArea()))
            return;
        grabsWaiting.pop_front();
        if (!next)
            continue;
        next->m_grabWaiting = false;
        if (wanted)
            next->startGrab();
    }
}

void PreviewItemHandle::endGrab()
{
    --m_registry->grabsTaken;
    m_registry->grabAreaTaken -= m_grabArea;
    m_grabArea = 0;
    m_registry->takeWaitingGrabs();
}

void PreviewItemHandle::takeGrab()
{
    if (!m_grab)
        return;
    if (m_marked) {
        m_mask = m_grab->image();
        m_overlay = QPixmap();
        update();
    }
    // The result is still delivering its signal: it is released from the event loop.
    QSharedPointer<QQuickItemGrabResult> done;
    done.swap(m_grab);
    endGrab();
    QMetaObject::invokeMethod(
        this,
        [this, done] {
            if (m_grabAgain) {
                m_grabAgain = false;
                m_maskStale = true;
                update();
            }
        },
        Qt::QueuedConnection);
}

QRectF PreviewItemHandle::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_size);
}

void PreviewItemHandle::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (!m_marked)
        return;
    // The image is taken when a view needs it: it is drawn stretched until the new one comes.
    if (m_maskStale)
        grabItem();
    if (m_mask.isNull())
        return;
    // The checkerboard is laid in device pixels, so that its squares keep their size at any
    // zoom. Only the part of the item on the device is made, so that a giant item costs what
    // the device shows of it, and looks, part for part, as the whole would.
    const QRect target = painter->worldTransform().mapRect(boundingRect()).toAlignedRect();
    const QPaintDevice* device = painter->device();
    const QRect part =
        (target & QRect(0, 0, device->width(), device->height())).translated(-target.topLeft());
    if (part.isEmpty())
        return;
    if (m_overlay.isNull() || m_overlayTarget != target.size() || m_overlayPart != part) {
        QImage overlay(part.size(), QImage::Format_ARGB32_Premultiplied);
        if (overlay.isNull())
            return;
        overlay.fill(Qt::transparent);
        QPainter p(&overlay);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setOpacity(0.5);
        p.setBrushOrigin(-part.topLeft());
        p.fillRect(overlay.rect(), CheckeredBrush());
        p.setOpacity(1.0);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(QRect(-part.topLeft(), target.size()), m_mask);
        p.end();
        m_overlay = QPixmap::fromImage(overlay);
        m_overlayTarget = target.size();
        m_overlayPart = part;
    }
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->drawPixmap(target.topLeft() + part.topLeft(), m_overlay);
    painter->restore();
}
