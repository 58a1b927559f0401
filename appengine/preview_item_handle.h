#pragma once

#include "appengine/preview_item_kind.h"

#include <QGraphicsObject>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QQuickItem>
#include <QSharedPointer>
#include <QSizeF>
#include <deque>
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
// whenever the item's size or look changes. What the overlay costs is bounded by what is on
// screen, whatever the item's size: the image of an item larger than MaskArea pixels is taken
// scaled down to that area, and the overlay is made only for the part of the item on the
// painter's device.
//
// The handles of a registry take the images waiting all in the same frame of the surface, as
// many as fit in GrabsAtOnce images of GrabAreaAtOnce pixels together, the others waiting their
// turn first come first. Images of items just made wait for the surface's next frame, so that
// the page shows the items at once and their marks follow. Every frame that takes images costs
// the surface a rendering of the whole page, and one more when they are done, so that n
// controls pasted and selected take three frames rather than one for every few of them. The
// bounds keep the images in the making within a few screens' worth of memory, and the surface's
// window within a page's worth of images being taken: each is a connection of the window that
// every image taken looks through.
//
// A handle is deleted with its item.
class PreviewItemHandle : public QGraphicsObject
{
    Q_OBJECT

public:
    // The most pixels of an item's image: a larger item is taken scaled down to this area,
    // which an item of any panel's size keeps at its own.
    static constexpr int MaskArea = 1024 * 1024;
    // The most images of items the handles of a registry take at once (the controls of a full
    // project), and the most pixels they take together (an image alone may take MaskArea).
    static constexpr int GrabsAtOnce = 4096;
    static constexpr qint64 GrabAreaAtOnce = 16 * qint64(MaskArea);

    // What the handles of one scene share, so that it outlives every one of them: the handles
    // by their items (the handle of an item's parent item is the handle's parent), and the
    // images of items being taken (how many, how many pixels) with the handles waiting for
    // their turn, first come first.
    struct Registry
    {
        std::unordered_map<const QQuickItem*, PreviewItemHandle*> handles;
        int grabsTaken = 0;
        qint64 grabAreaTaken = 0;
        int mostGrabsTaken = 0;
        std::deque<QPointer<PreviewItemHandle>> grabsWaiting;
        // How many items were made, and how many of them the surface had made when it last
        // drew on screen: the images of items not yet drawn wait for its next frame, so that
        // the page shows before any image is taken.
        quint64 itemsMade = 0;
        quint64 itemsDrawn = 0;

        // Whether one more image of the area can be taken now: always when none is.
        bool hasRoomFor(qint64 area) const;
        bool itemsUndrawn() const { return itemsDrawn != itemsMade; }
        // The surface drew a frame when itemsMade was made: the handles waiting take their
        // images while there is room.
        void frameDrawn(quint64 made);
        // The handles waiting take their images while there is room and no item is undrawn.
        void takeWaitingGrabs();
    };

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
    // O(n) each. A null handle holds nothing. (A child removed never costs an ordering: the
    // others keep theirs.)
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

    // How many times the handle has put the handles of its item's children in order: what
    // adding and removing children costs it.
    int restackCount() const { return m_restacks; }
    // The most images the handles of its registry have taken at once.
    int mostGrabsTaken() const { return m_registry->mostGrabsTaken; }
    // The images its registry's handles are taking now.
    int grabsTaken() const { return m_registry->grabsTaken; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    void syncParent();
    void syncGeometry();
    void syncVisibility();
    void syncStacking();
    void syncClipping();
    // The item's children changed: a child added or moved in their order puts them in order
    // again; a child removed leaves the others in theirs.
    void onChildrenChanged();
    // Puts the handles of the item's children in the stacking order of the children.
    void restackChildren();
    // Takes the item's image now, or when its turn comes.
    void grabItem();
    // Takes it now, while a view shows the surface.
    void startGrab();
    // The size the item's image is taken at: none (the item's own) up to MaskArea pixels.
    QSize maskSize() const;
    // The pixels of the image.
    qint64 maskArea() const;
    void takeGrab();
    // The image is taken or given up: the next handle waiting takes its turn.
    void endGrab();

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
    // How many children the item had when they last changed.
    qsizetype m_childCount = 0;
    int m_restacks = 0;
    bool m_marked = false;
    QSharedPointer<QQuickItemGrabResult> m_grab;
    // The pixels of the image being taken.
    qint64 m_grabArea = 0;
    // The item's image is to be taken again at the next painting.
    bool m_maskStale = false;
    // The item changed while its image was being taken: take it again when that one arrives.
    bool m_grabAgain = false;
    // The handle waits in the registry for its turn to take the item's image.
    bool m_grabWaiting = false;
    QImage m_mask;
    // The overlay in device pixels: the part m_overlayPart of the item as drawn m_overlayTarget
    // large (the part relative to the item's top-left corner on the device).
    QPixmap m_overlay;
    QSize m_overlayTarget;
    QRect m_overlayPart;
};
