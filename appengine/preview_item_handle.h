#pragma once

#include "appengine/preview_item_kind.h"

#include <QGraphicsObject>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QQuickItem>
#include <QSharedPointer>
#include <QSizeF>
#include <memory>
#include <unordered_map>

class QQuickItemGrabResult;

// A thin stand-in, in a graphics scene, for one live QML item that the scene's QML surface
// draws. It follows the item's parent (the handle of the parent item), position, size,
// visibility, stacking and clipping through the item's change signals, so that hit tests,
// parent walks and band selection work on handles, while mouse presses, which no handle
// accepts, fall through to the live item beneath. It carries item data 0 = kind (a
// PreviewItemKind) and 1 = id.
//
// It paints nothing but the selection overlay while marked: a half-transparent grey
// checkerboard over exactly the item's own opaque pixels, masked by an image of the item
// taken with QQuickItem::grabToImage(). The image is taken when a view paints the handle (only
// a visible view lets the surface render it), arrives a frame later, and is taken again
// whenever the item's size or look changes.
//
// A handle is deleted with its item.
class PreviewItemHandle : public QGraphicsObject
{
    Q_OBJECT

public:
    // Handles by their items: the handle of an item's parent item is the handle's parent. The
    // handles share it, so it outlives every one of them.
    using Registry = std::unordered_map<const QQuickItem*, PreviewItemHandle*>;

    PreviewItemHandle(QQuickItem* item, int kind, unsigned int id,
                      std::shared_ptr<Registry> registry);
    ~PreviewItemHandle() override;

    QQuickItem* item() const { return m_item; }
    int kind() const { return m_kind; }
    unsigned int id() const { return m_id; }

    bool isMarked() const { return m_marked; }
    void setMarked(bool marked);
    // The item's look changed: a marked item's image is taken again.
    void refreshOverlay();

    // While one lives, the children of the handle are not put in order as each is added: the
    // order is set once when it ends, so that adding n children costs O(n log n) rather than
    // O(n) each. A null handle holds nothing.
    class StackingBatch
    {
    public:
        explicit StackingBatch(PreviewItemHandle* handle);
        ~StackingBatch();
        StackingBatch(const StackingBatch&) = delete;
        StackingBatch& operator=(const StackingBatch&) = delete;

    private:
        QPointer<PreviewItemHandle> m_handle;
    };

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    void syncParent();
    void syncGeometry();
    void syncVisibility();
    void syncStacking();
    void syncClipping();
    // Puts the handles of the item's children in the stacking order of the children.
    void restackChildren();
    void grabItem();
    void takeGrab();

    QPointer<QQuickItem> m_item;
    // The item's entry in the registry, valid after the item is gone.
    const QQuickItem* const m_key;
    const int m_kind;
    const unsigned int m_id;
    std::shared_ptr<Registry> m_registry;
    QSizeF m_size;

    // Open stacking batches, and whether the children changed while one was open.
    int m_stackingHeld = 0;
    bool m_restackPending = false;
    bool m_marked = false;
    QSharedPointer<QQuickItemGrabResult> m_grab;
    // The item's image is to be taken again at the next painting.
    bool m_maskStale = false;
    // The item changed while its image was being taken: take it again when that one arrives.
    bool m_grabAgain = false;
    QImage m_mask;
    // The overlay in device pixels, for the device size it was made for.
    QPixmap m_overlay;
};
