#pragma once

#include "appengine/control_gestures.h"
#include "appengine/page_background_writer.h"
#include "appengine/preview_background_work.h"
#include "appengine/preview_item_factory.h"
#include "appengine/preview_item_handle.h"
#include "appengine/preview_lock_page.h"
#include "appengine/preview_page_builder.h"
#include "appengine/preview_page_set.h"
#include "appengine/preview_selection_overlay.h"

#include <QColor>
#include <QGraphicsScene>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVariant>
#include <climits>
#include <map>
#include <memory>
#include <set>
#include <vector>

class Gradient;
class QGraphicsProxyWidget;
class QQmlEngine;
class PreviewSurface;
class QQuickItem;
class QQuickWidget;
class SelectionManager;

namespace Velmora {
class Configuration;
}

namespace VelmoraQML {
class QMLController;
class QMLPage;
} // namespace VelmoraQML

// The scene the page view shows: the live QML items of the page being edited, its controls
// and its page switcher, exactly as the panel draws them.
//
// One QQuickWidget on the document's engine holds the whole QML item tree (every page built
// so far under one root, controls as children of their page, the page switcher under the
// current page) and sits in the scene through a proxy at (0, 0), below everything and without
// item data. Every page, control and page-switcher item has a mirror handle in the scene
// (PreviewItemHandle) with data 0 = its PreviewItemKind and data 1 = its id in the project:
// hit tests, parent walks and band selection work on handles, presses reach the live items.
//
// Pages are built on first showing or thumbnail from QML text, the page alone as one item and
// every control as an item of its own, each created from a component compiled once per engine
// (PreviewItemFactory); a page counts as built once its page switcher and the switcher's
// buttons are made too. A page can also be built in slices that each return within a few
// milliseconds (buildPageSlice): a slice makes one piece after another (PreviewPiece: the page,
// a control, the switcher, a button) while the time the builder has measured each kind of piece
// to take still fits (PreviewPageBuilder), so that the pages a thumbnail run needs never stall
// the editor. The scene keeps a bounded set of built pages (PreviewPageSet: the current page,
// its neighbours and the pages shown most recently, within a budget of the memory their items
// take); a page outside it is released (hidden and taken out of the builder at once, its items
// deleted a few at a time from the event loop), the page switchers that no kept page shows with
// it, and built again from the project when it is needed. Kept pages that are not built (the
// neighbours of the page shown) are built ahead in slices while the editor is idle. A page
// keeps its QML state (skins, slider positions) while it stays built.
//
// The background work (PreviewBackgroundWork: building ahead, thumbnails, releasing pages,
// deleting their items, the script engine's collection of their garbage) waits while a page
// just shown is on its way to the screen: until a view has painted the surface's next frame.
// The selection overlay and the bounding rectangle of the selection are
// PreviewSelectionOverlay's. A page shown and each step of
// a drag or resize are drawn by the surface at once, not on its own timer. Edits write single
// properties of the live items by QML name; ids without items are ignored by every edit, since the
// project holds the change and a page built later takes it from there. Geometry is always read from
// and written to the QML items. QML that does not compile yields no item and a warning.
//
// The preview's own page switching (page-switcher buttons in the live items) goes through the
// module's controller: the scene builds a page the controller asks for, follows the page the
// controller shows and reports it as currentPageChangedByPreview().
//
// The engine must have the module initialised on its root context and outlive the scene; the
// project and the selection are read, never changed, and must outlive the scene too.
class PagePreviewScene : public QGraphicsScene
{
    Q_OBJECT

public:
    PagePreviewScene(QQmlEngine* engine, const Velmora::Configuration* project,
                     const SelectionManager* selection, QObject* parent = nullptr);
    ~PagePreviewScene() override;

    // The surface that draws the QML items.
    QQuickWidget* surface() const;
    // The live items; null when the object has none (yet).
    QQuickItem* pageItem(unsigned int pageId) const;
    QQuickItem* controlItem(unsigned int controlId) const;
    QQuickItem* pageSwitcherItem(unsigned int pageSwitcherId) const;
    unsigned int currentPageId() const { return m_currentPageId; }
    // The lock page, shown by a button's Lock; never one of the pages above.
    PreviewLockPage& lockPage() { return *m_lockPage; }
    // While the lock page shows, shows the current page in its place (showPage), as every edit
    // that reaches the items and every marking of the selection does (settleSurface): for a
    // gesture of the editor that means the page (a click on its row).
    void leaveLockPage();

    // QRect of the item's "x", "y", "width" and "height" as integers.
    static QRect itemGeometry(const QQuickItem* item);

    // Page display.
    // Hides the current page and shows this one (built on first use; UINT_MAX shows none)
    // with its page switcher, both put back in place should the preview's own page switching
    // have moved them off the screen; the scene rectangle becomes the page's. The pages
    // outside the kept set are released.
    void showPage(unsigned int pageId);
    // Has the surface draw at once what it would draw in the next turn of the event loop (a page
    // just shown): for a view about to appear, whose first painting then shows it.
    void drawPendingFrame();
    // Shows the current page's switcher on it (built on first use), hiding any other.
    void showCurrentPageSwitcher();
    // Deletes the page's item with its controls; a page switcher on it survives, but every
    // switcher item is then built again.
    void removePageItem(unsigned int pageId);
    // Whether the page's item and all its controls are built.
    bool isPageBuilt(unsigned int pageId) const;
    // Builds the page for about the given time and returns: the page item first, then its
    // controls one at a time while the time lasts (at least one). True once the page is
    // built, or when it cannot be. A page built this way escapes the release of the pages
    // outside the kept set until it is shown, its thumbnail is rendered or another page is
    // built this way; then it stays only when the set holds it.
    bool buildPageSlice(unsigned int pageId, int milliseconds);
    // The pages whose items exist (complete or not), ascending.
    std::vector<unsigned int> builtPages() const;
    // The budget of the kept pages (PreviewPageSet), in KiB of their items (pageWeight); a
    // lower one releases pages at once.
    void setPageBudget(int budget);
    // What the page's items take when built, an estimate in KiB by the kinds of its items.
    int pageWeight(unsigned int pageId) const;
    // Whether background work is left: a thumbnail to make, pages to release or to build
    // ahead, items to delete.
    bool hasBackgroundWork() const;
    // Deletes every item, then builds the current page again.
    void rebuildItems();
    // Deletes every item and shows no page. Unlike QGraphicsScene::clear, the surface stays.
    void clear();
    // Deletes every switcher item, then shows the current page's switcher again.
    void clearPageSwitcherItems();
    void removePageSwitcherItem(unsigned int pageSwitcherId);
    // As removePageSwitcherItem without showing a switcher again: for a switcher that is about
    // to leave the project.
    void deletePageSwitcherItem(unsigned int pageSwitcherId);
    // The page as the panel draws it, with its switcher and without selection overlays, at a
    // quarter of the screen size; null when the page cannot be built. A page that is not
    // built is built for it and counts as shown recently; one built by buildPageSlice is
    // released afterwards unless the set of kept pages holds it.
    QPixmap renderThumbnail(unsigned int pageId);
    // The same without blocking: a page that is not built is built a slice per turn of the
    // event loop, drawn in a turn of its own and released again unless it is kept; then
    // thumbnailReady() brings the thumbnail. One page at a time: a new request replaces one
    // not answered yet, UINT_MAX cancels it. The scene's other background work (the redraw
    // after a grab, releasing pages, deleting their items a few at a time, the script
    // engine's collection of their garbage) runs in the same turns, one piece a turn.
    void requestThumbnail(unsigned int pageId);

    // Live edits.
    void setControlProperty(unsigned int controlId, const QString& name, const QVariant& value);
    void setControlSkin(unsigned int controlId, const QString& skinName, bool ignoreTransition);
    // Writes the geometry the project holds for each control into its item.
    void setControlGeometry(const std::set<unsigned int>& controlIds);
    void setPageBackgroundColour(unsigned int pageId, const QColor& colour);
    // An empty gradient hides the page's gradient.
    void setPageBackgroundGradient(unsigned int pageId, const Gradient& gradient);
    void setPageBackgroundGradientRotation(unsigned int pageId, unsigned int rotation);
    // Image id -1 removes the image. Without scaling the image takes its natural size.
    void setPageBackgroundImage(unsigned int pageId, int imageId);
    // A Velmora::Scaling: 1 to 6 fill the screen with the matching fill mode, anything else
    // gives the image its natural size.
    void setPageBackgroundImageScaling(unsigned int pageId, int scaling);

    // Selection.
    // Marks exactly the selected controls and page switchers with the selection overlay.
    void updateSelectionEffects();
    // The union of the selected controls' geometries (null when no control with an item is
    // selected), cached until an edit or a forced call.
    QRect selectionBoundingRect(bool force);
    std::map<unsigned int, QRect> controlGeometries(const std::set<unsigned int>& ids) const;

    // Live feedback of the page view's gestures; the model is changed by the command the view
    // issues when the gesture ends.
    // Records the positions of the controls' items (ids without items are skipped).
    void beginMoveControls(const std::set<unsigned int>& controlIds);
    // Moves each recorded item to its position at the start plus the offset.
    void moveControls(const QPoint& offset);
    void endMoveControls();
    bool isDragging() const { return m_gestures.isDragging(); }
    // Handle: a ControlGestures::ResizeHandle; any other number moves nothing.
    void beginResizeControls(const std::set<unsigned int>& controlIds, int handle);
    // Moves the handle's corner or edge of the recorded union by the offset and maps every
    // recorded geometry through the same scale and translation. A union of zero width or
    // height keeps its factor 1 in that direction.
    void resizeControls(const QPoint& offset);
    // The new geometries of the controls whose geometry changed since the start.
    std::map<unsigned int, QRect> endResizeControls();
    bool isResizing() const { return m_gestures.isResizing(); }

signals:
    // The preview's own page switching showed the page, which the scene now shows as current.
    void currentPageChangedByPreview(uint pageId);
    // The answer to requestThumbnail().
    void thumbnailReady(uint pageId, const QPixmap& thumbnail);

signals:
    // showPage() showed the page (UINT_MAX: none), so that the preview's own navigation can
    // take it as its current page.
    void pageShown(unsigned int pageId);

protected:
    // A view paints the scene: a page shown is on the screen once a view paints after the
    // surface's next frame.
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    // Who puts the page shown and its switcher where they stand: the scene, at their places,
    // or the controller, whose transition may be moving them in.
    enum class Placement
    {
        AtTheirPlaces,
        ByTheController,
    };
    // What the surface shows, set here and nowhere else, from the page it shows (the current
    // page, or the page of a thumbnail for the moment of its grab) and whether the lock page
    // shows over it: that page on the surface with its page switcher on it (built when it is
    // not), every other page and switcher hidden, and the lock page shown or hidden as said.
    // While the lock page shows, the page and its switcher are hidden where they stand. Whatever
    // a change, a grab or the controller left in between, every item ends in the state that the
    // page and the lock page call for. The other pages stay where they are in the item tree,
    // on the surface or off it.
    void arrangeSurface(unsigned int pageId, bool lockPageShown, Placement placement);
    // The end of every change of the items (the live edits, the removal of page and
    // page-switcher items) and of every marking of the selection: the lock page gives way to
    // the current page (showPage), so that the user sees what changed and no overlay is drawn
    // over the lock page; the surface shows the current page as arrangeSurface() says.
    void settleSurface();
    // The scene's part of the background work, one piece or false when it has none: before the
    // deletion of released items, the redraw after a grab and the release of the pages no
    // longer kept; after it, a thumbnail asked for and building kept pages ahead.
    bool doUrgentWork();
    bool doIdleWork();
    // The surface takes the project's screen size.
    void fitSurface();
    // After a grab of the surface, which renders into an image of its own and takes the
    // changes waiting for the surface's next frame with it: the next frame renders and shows
    // everything again.
    void redrawSurface();
    // Asks for redrawSurface() in a turn of its own when the current page is the one grabbed
    // last and the surface has drawn no frame since.
    void redrawAfterGrab();
    void deleteItems();
    // The pages to keep built: the set's choice by the weights pages have when built.
    std::set<unsigned int> pagesToKeep() const;
    // Releases every built page that the set of kept pages leaves out, and every switcher
    // that no kept page shows.
    void trimPages();
    // Builds a slice of a kept page that is not built; false when there is none.
    bool buildAhead();
    // Takes the page's item from the builder (see PreviewPageBuilder::takePage), forgetting
    // its slice and the current page when it is the one; null when the page is not built.
    QQuickItem* takePage(unsigned int pageId);
    // Takes the page out of the scene at once and queues its items for deletion.
    void releasePage(unsigned int pageId);
    void releasePageSwitcher(unsigned int pageSwitcherId);
    // Has the surface draw the changes made so far in a turn of the event loop of its own, soon
    // rather than on its own timer: for what the user waits to see.
    void requestFrame();
    // Connects to the module's controller when it is not connected yet.
    void attachController();
    void onPageWanted(int configId, const QString& name);
    void onPageSwitched(VelmoraQML::QMLPage* page);

    QQmlEngine* m_engine;
    const Velmora::Configuration* m_project;
    PreviewSurface* m_surface = nullptr;
    bool m_framePending = false;
    QGraphicsProxyWidget* m_proxy = nullptr;
    // Parent of every page item, at the surface's origin.
    std::unique_ptr<QQuickItem> m_root;
    // Made with the root, above which it lies.
    std::unique_ptr<PreviewLockPage> m_lockPage;
    PreviewItemFactory m_factory;
    PageBackgroundWriter m_background;
    PreviewSelectionOverlay m_overlay;
    PreviewPageBuilder m_builder;
    PreviewPageSet m_pageSet;
    PreviewBackgroundWork m_work;
    // The page last built by slices and not shown since: released after its thumbnail.
    unsigned int m_slicedPageId = UINT_MAX;
    bool m_redrawPending = false;
    // The page grabbed last, until the surface draws a frame of its own; UINT_MAX for none.
    unsigned int m_grabbedPageId = UINT_MAX;
    bool m_grabbing = false;
    bool m_trimPending = false;
    // The page of the thumbnail asked for; UINT_MAX for none.
    unsigned int m_thumbnailPageId = UINT_MAX;
    QPointer<VelmoraQML::QMLController> m_controller;
    // The surface has drawn at least one frame, so its window holds resources to let go.
    bool m_surfaceUsed = false;

    ControlGestures m_gestures;
    unsigned int m_currentPageId = UINT_MAX;
    QQuickItem* m_currentPageItem = nullptr;
    QQuickItem* m_currentPageSwitcherItem = nullptr;
};
