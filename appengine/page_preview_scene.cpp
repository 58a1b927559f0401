#include "appengine/page_preview_scene.h"

#include "appengine/preview_surface.h"
#include "core/assertion.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_controller.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_screen.h"
#include "velmora_objects/qml/qml_themed_object.h"

#include <QGraphicsProxyWidget>
#include <QPalette>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <limits>

namespace {

// How long one slice of a page built in the background may take, in ms: for its thumbnail or
// ahead of its showing.
constexpr int BackgroundSliceMs = 3;

template <typename T> T& required(T* object)
{
    VELMORA_ASSERT(object);
    return *object;
}

} // namespace

PagePreviewScene::PagePreviewScene(QQmlEngine* engine, const Velmora::Configuration* project,
                                   const SelectionManager* selection, QObject* parent)
    : QGraphicsScene(parent), m_engine(engine), m_project(project),
      m_root(std::make_unique<QQuickItem>()), m_factory(required(engine), required(project)),
      m_background(*engine, *project, m_factory), m_overlay(required(selection)),
      m_builder(*project, m_factory, m_overlay, *this, *m_root, [this] { attachController(); }),
      m_work(
          *engine, *this, [this] { return doUrgentWork(); }, [this] { return doIdleWork(); }),
      m_gestures([this](unsigned int controlId) { return controlItem(controlId); })
{
    // Few items, and all of them move.
    setItemIndexMethod(NoIndex);
    setBackgroundBrush(palette().color(QPalette::Current, QPalette::Window));

    m_surface = new PreviewSurface(engine, nullptr);
    m_surface->setResizeMode(QQuickWidget::SizeRootObjectToView);
    m_surface->setClearColor(backgroundBrush().color());
    m_root->setParentItem(m_surface->quickWindow()->contentItem());
    m_lockPage = std::make_unique<PreviewLockPage>(*engine, *project, *this, *m_root,
                                                   m_builder.sharedHandles(),
                                                   [this] { showPage(m_currentPageId); });
    fitSurface();
    m_proxy = addWidget(m_surface);
    m_proxy->setPos(0, 0);
    m_proxy->setZValue(std::numeric_limits<qreal>::lowest());
    connect(
        m_surface->quickWindow(), &QQuickWindow::afterRendering, this,
        [this] {
            m_surfaceUsed = true;
            // A frame of the surface's own catches up with everything a grab took.
            if (!m_grabbing) {
                m_grabbedPageId = UINT_MAX;
                m_work.frameDrawn();
                // Items made since the surface last drew on screen are shown now (a grab draws
                // them only into its image); their images are taken once this frame is done.
                if (m_builder.handles().itemsUndrawn())
                    QMetaObject::invokeMethod(
                        this,
                        [this, made = m_builder.handles().itemsMade] {
                            m_builder.sharedHandles()->frameDrawn(made);
                        },
                        Qt::QueuedConnection);
            }
        },
        Qt::DirectConnection);
}

PagePreviewScene::~PagePreviewScene()
{
    // The items first, while the surface and its window still exist; then one more frame, in
    // which the scene graph lets go of the textures of the items that are gone. A surface that
    // never drew holds none, and one of no size cannot draw.
    deleteItems();
    m_root.reset();
    if (m_surfaceUsed && !m_surface->size().isEmpty()) {
        m_surface->quickWindow()->releaseResources();
        m_surface->grabFramebuffer();
    }
    delete m_proxy;
}

QQuickWidget* PagePreviewScene::surface() const
{
    return m_surface;
}

void PagePreviewScene::drawPendingFrame()
{
    if (!m_framePending)
        return;
    m_framePending = false;
    m_surface->renderNow();
}

void PagePreviewScene::requestFrame()
{
    if (m_framePending)
        return;
    m_framePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_framePending)
                return;
            m_framePending = false;
            m_surface->renderNow();
        },
        Qt::QueuedConnection);
}

QQuickItem* PagePreviewScene::pageItem(unsigned int pageId) const
{
    return m_builder.pageItem(pageId);
}

QQuickItem* PagePreviewScene::controlItem(unsigned int controlId) const
{
    return m_builder.controlItem(controlId);
}

QQuickItem* PagePreviewScene::pageSwitcherItem(unsigned int pageSwitcherId) const
{
    return m_builder.pageSwitcherItem(pageSwitcherId);
}

QRect PagePreviewScene::itemGeometry(const QQuickItem* item)
{
    return ControlGestures::geometryOf(item);
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

bool PagePreviewScene::isPageBuilt(unsigned int pageId) const
{
    return m_builder.isPageBuilt(pageId);
}

bool PagePreviewScene::buildPageSlice(unsigned int pageId, int milliseconds)
{
    if (!pageItem(pageId)) {
        if (!m_project->getPages().exists(pageId))
            return true;
        // Only the page of the latest slices is waited for; an earlier one that was left
        // unfinished goes unless it is kept.
        const unsigned int earlier = m_slicedPageId;
        m_slicedPageId = pageId;
        if (earlier != UINT_MAX && earlier != pageId)
            trimPages();
    }
    return m_builder.buildPieces(pageId, milliseconds);
}

std::vector<unsigned int> PagePreviewScene::builtPages() const
{
    std::vector<unsigned int> ids;
    for (const auto& entry : m_builder.pageItems())
        ids.push_back(entry.first);
    return ids;
}

void PagePreviewScene::setPageBudget(int budget)
{
    m_pageSet.setBudget(budget);
    trimPages();
}

int PagePreviewScene::pageWeight(unsigned int pageId) const
{
    return PreviewPageSet::pageWeight(*m_project, pageId);
}

bool PagePreviewScene::hasBackgroundWork() const
{
    return m_work.isBusy();
}

void PagePreviewScene::showPage(unsigned int pageId)
{
    m_lockPage->putAway();
    m_currentPageId = pageId;
    m_currentPageItem = nullptr;
    if (pageId != UINT_MAX) {
        fitSurface();
        m_currentPageItem = m_builder.pageItemOrBuild(pageId);
    }
    // The controller may have moved the page and its switcher off the screen when it hid them.
    arrangeSurface(pageId, false, Placement::AtTheirPlaces);
    if (m_currentPageItem) {
        if (PreviewItemHandle* handle = m_builder.handleOf(m_currentPageItem))
            setSceneRect(handle->sceneBoundingRect());
        m_pageSet.noteShown(pageId);
        if (m_slicedPageId == pageId)
            m_slicedPageId = UINT_MAX;
    }
    redrawAfterGrab();
    // The controller's own page switching starts from the page shown here.
    attachController();
    if (m_controller)
        m_controller->setShownPage(qobject_cast<VelmoraQML::QMLPage*>(m_currentPageItem));
    m_overlay.invalidate();
    update();
    requestFrame();
    m_work.hold();
    trimPages();
    // The kept pages that are not built are built ahead.
    m_work.start();
    emit pageShown(m_currentPageId);
}

void PagePreviewScene::leaveLockPage()
{
    settleSurface();
}

void PagePreviewScene::settleSurface()
{
    if (m_lockPage->isShown())
        showPage(m_currentPageId);
    else
        arrangeSurface(m_currentPageId, false, Placement::AtTheirPlaces);
}

void PagePreviewScene::arrangeSurface(unsigned int pageId, bool lockPageShown, Placement placement)
{
    // Read from the project and the builder, never from what the items show now: an item's
    // visibility follows its parent's, which a grab or the controller may have just hidden.
    QQuickItem* page = pageId != UINT_MAX ? m_builder.pageItem(pageId) : nullptr;
    const unsigned int pageSwitcherId = page ? m_builder.pageSwitcherIdOf(pageId) : UINT_MAX;
    QQuickItem* pageSwitcher =
        pageSwitcherId != UINT_MAX ? m_builder.pageSwitcherItemOrBuild(pageSwitcherId) : nullptr;
    const bool shown = !lockPageShown;
    const bool placed = shown && placement == Placement::AtTheirPlaces;

    for (const auto& entry : m_builder.pageItems())
        if (entry.second && entry.second != page)
            entry.second->setVisible(false);
    for (const auto& entry : m_builder.pageSwitcherItems())
        if (entry.second && entry.second != pageSwitcher)
            entry.second->setVisible(false);
    if (page) {
        page->setParentItem(m_root.get());
        if (placed)
            page->setPosition(QPointF(0, 0));
        page->setVisible(shown);
    }
    if (pageSwitcher) {
        // A switcher that several pages share goes to the page shown.
        pageSwitcher->setParentItem(page);
        if (placed)
            pageSwitcher->setPosition(QPointF(pageSwitcher->property("targetX").toReal(),
                                              pageSwitcher->property("targetY").toReal()));
        pageSwitcher->setVisible(shown);
    }
    if (pageId == m_currentPageId)
        m_currentPageSwitcherItem = pageSwitcher;
    m_lockPage->setVisible(lockPageShown);
}

void PagePreviewScene::showCurrentPageSwitcher()
{
    arrangeSurface(m_currentPageId, m_lockPage->isShown(), Placement::AtTheirPlaces);
}

void PagePreviewScene::removePageItem(unsigned int pageId)
{
    delete takePage(pageId);
    m_pageSet.forget(pageId);
    clearPageSwitcherItems();
    m_overlay.invalidate();
}

void PagePreviewScene::deleteItems()
{
    m_lockPage->clear();
    m_currentPageItem = nullptr;
    m_currentPageSwitcherItem = nullptr;
    m_builder.deleteAll();
    m_slicedPageId = UINT_MAX;
    m_work.deleteReleased();
    // The theme may change before the next items are made.
    m_factory.forgetTheme();
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
    m_pageSet.clear();
    m_thumbnailPageId = UINT_MAX;
    m_overlay.invalidate();
    // A gesture of the project that closes must not reach the items of the next one.
    m_gestures.clear();
}

void PagePreviewScene::clearPageSwitcherItems()
{
    m_currentPageSwitcherItem = nullptr;
    m_builder.deletePageSwitchers();
    settleSurface();
}

void PagePreviewScene::deletePageSwitcherItem(unsigned int pageSwitcherId)
{
    const auto& items = m_builder.pageSwitcherItems();
    const auto found = items.find(pageSwitcherId);
    if (found != items.end()) {
        if (found->second == m_currentPageSwitcherItem)
            m_currentPageSwitcherItem = nullptr;
        m_builder.deletePageSwitcher(pageSwitcherId);
    }
    settleSurface();
}

void PagePreviewScene::removePageSwitcherItem(unsigned int pageSwitcherId)
{
    // The current page's switcher, when it was this one, is built again by the arrangement.
    deletePageSwitcherItem(pageSwitcherId);
}

QPixmap PagePreviewScene::renderThumbnail(unsigned int pageId)
{
    // A page built here is likely to be shown next (a page just added or restored).
    const bool built = pageItem(pageId) != nullptr;
    QQuickItem* page = m_builder.pageItemOrBuild(pageId);
    if (!page)
        return QPixmap();
    if (!built)
        m_pageSet.noteShown(pageId);
    fitSurface();

    // The page is shown on the surface alone for the moment, with its switcher; the selection
    // overlays belong to the handles and never reach the surface's image. Afterwards the
    // surface shows again what it showed: the current page with its switcher, or the lock page
    // alone, the page locked from hidden again, so that neither that page nor the overlays of
    // its handles come out beside or over the lock page. A page that was not on the surface
    // leaves it again.
    const bool lockPageShown = m_lockPage->isShown();
    const bool onSurface = page->parentItem() == m_root.get();
    arrangeSurface(pageId, false, Placement::AtTheirPlaces);

    // Its switcher marks its own button, as when the page is shown.
    attachController();
    VelmoraQML::QMLPage* const shown = m_controller ? m_controller->currentPage() : nullptr;
    if (m_controller)
        m_controller->setShownPage(qobject_cast<VelmoraQML::QMLPage*>(page));

    const int width = m_project->getWidth();
    const int height = m_project->getHeight();
    m_grabbing = true;
    const QImage image = m_surface->grabFramebuffer().copy(0, 0, width, height);
    m_grabbing = false;
    m_grabbedPageId = pageId;

    if (m_controller)
        m_controller->setShownPage(shown);

    arrangeSurface(m_currentPageId, lockPageShown, Placement::AtTheirPlaces);
    // After the switcher it may share with the current page has gone back to that page.
    if (!onSurface && page != m_currentPageItem)
        page->setParentItem(nullptr);
    // The release of a page built in slices for its thumbnail (unless it is kept) follows in
    // a turn of its own, as does the surface's full redraw when the page is the current one.
    if (m_slicedPageId == pageId)
        m_slicedPageId = UINT_MAX;
    m_trimPending = true;
    m_work.start();
    redrawAfterGrab();
    // The surface's frame that puts the view back as it was comes before more work, so that no
    // turn of the event loop holds both.
    m_work.hold();

    return QPixmap::fromImage(image).scaled(width / 4, height / 4, Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation);
}

void PagePreviewScene::redrawAfterGrab()
{
    // A page shown as current that was grabbed since the surface's last frame: the surface's
    // next frame would take nothing of it for changed and the view would keep what it showed.
    // (A grab of another page changes the whole screen back when the current page shows
    // again, so that frame draws all of it.)
    if (m_grabbedPageId == UINT_MAX || m_grabbedPageId != m_currentPageId || m_redrawPending)
        return;
    m_redrawPending = true;
    m_work.start();
}

void PagePreviewScene::redrawSurface()
{
    // The grab rendered the surface into an image of its own, and the scene graph took the
    // changes of that frame as drawn: the surface's next frame would leave out everything the
    // grab passed over, and the view would keep what it showed before. A change of size gives
    // the surface a new image, which its next frame renders and shows whole.
    const QSize size = m_surface->size();
    m_surface->resize(1, 1);
    m_surface->resize(size);
}

std::set<unsigned int> PagePreviewScene::pagesToKeep() const
{
    std::vector<unsigned int> neighbours;
    if (m_project->getPages().exists(m_currentPageId))
        for (bool forward : {false, true})
            neighbours.push_back(m_project->getPages().getNextId(m_currentPageId, forward, false));
    return m_pageSet.pagesToKeep(m_currentPageItem ? m_currentPageId : UINT_MAX, neighbours,
                                 [this](unsigned int pageId) { return pageWeight(pageId); });
}

void PagePreviewScene::trimPages()
{
    const std::set<unsigned int> kept = pagesToKeep();
    std::vector<unsigned int> released;
    for (const auto& entry : m_builder.pageItems())
        if (!kept.count(entry.first) && entry.first != m_slicedPageId)
            released.push_back(entry.first);
    for (unsigned int pageId : released)
        releasePage(pageId);

    // The switchers that the pages left show, and the one shown now.
    std::set<unsigned int> shown;
    for (const auto& entry : m_builder.pageItems())
        shown.insert(m_builder.pageSwitcherIdOf(entry.first));
    std::vector<unsigned int> unused;
    for (const auto& entry : m_builder.pageSwitcherItems())
        if (!shown.count(entry.first) && entry.second != m_currentPageSwitcherItem)
            unused.push_back(entry.first);
    for (unsigned int pageSwitcherId : unused)
        releasePageSwitcher(pageSwitcherId);
}

bool PagePreviewScene::buildAhead()
{
    for (unsigned int pageId : pagesToKeep())
        if (!isPageBuilt(pageId) && !m_builder.hasFailed(pageId) &&
            m_project->getPages().exists(pageId)) {
            m_builder.buildPieces(pageId, BackgroundSliceMs);
            return true;
        }
    return false;
}

QQuickItem* PagePreviewScene::takePage(unsigned int pageId)
{
    if (m_slicedPageId == pageId)
        m_slicedPageId = UINT_MAX;
    QQuickItem* page = m_builder.takePage(pageId);
    if (page && page == m_currentPageItem) {
        m_currentPageId = UINT_MAX;
        m_currentPageItem = nullptr;
    }
    return page;
}

void PagePreviewScene::releasePage(unsigned int pageId)
{
    QQuickItem* page = takePage(pageId);
    if (!page)
        return;
    page->setVisible(false);
    // Out of the controller's registries and the view at once; the items themselves, with
    // their handles, go a few at a time.
    if (VelmoraQML::QMLController* controller = VelmoraQML::controller()) {
        controller->removePage(page);
        for (auto* control :
             page->findChildren<VelmoraQML::QMLControl*>(QString(), Qt::FindDirectChildrenOnly))
            controller->removeControl(control);
    }
    // Hidden with the page, its handles go with its items.
    m_work.release(page);
}

void PagePreviewScene::releasePageSwitcher(unsigned int pageSwitcherId)
{
    QQuickItem* pageSwitcher = m_builder.takePageSwitcher(pageSwitcherId);
    if (!pageSwitcher)
        return;
    pageSwitcher->setVisible(false);
    pageSwitcher->setParentItem(nullptr);
    if (VelmoraQML::QMLController* controller = VelmoraQML::controller())
        controller->removePageSwitcher(pageSwitcher);
    m_work.release(pageSwitcher);
}

void PagePreviewScene::drawBackground(QPainter* painter, const QRectF& rect)
{
    QGraphicsScene::drawBackground(painter, rect);
    m_work.viewPainted();
}

void PagePreviewScene::requestThumbnail(unsigned int pageId)
{
    m_thumbnailPageId = pageId;
    m_work.start();
}

bool PagePreviewScene::doUrgentWork()
{
    if (m_redrawPending) {
        m_redrawPending = false;
        redrawSurface();
        return true;
    }
    if (m_trimPending) {
        m_trimPending = false;
        trimPages();
        return true;
    }
    return false;
}

bool PagePreviewScene::doIdleWork()
{
    if (m_thumbnailPageId != UINT_MAX) {
        const unsigned int pageId = m_thumbnailPageId;
        if (!isPageBuilt(pageId)) {
            // More slices to come, or the page is drawn in the turn after its last slice; a
            // page that cannot be built is answered at once.
            const bool done = buildPageSlice(pageId, BackgroundSliceMs);
            if (!done || isPageBuilt(pageId))
                return true;
        }
        m_thumbnailPageId = UINT_MAX;
        emit thumbnailReady(pageId, renderThumbnail(pageId));
        return true;
    }
    return buildAhead();
}

void PagePreviewScene::attachController()
{
    // Only the controller of the module brought up on this scene's engine.
    const QQmlContext* context = VelmoraQML::context();
    VelmoraQML::QMLController* controller =
        context && context->engine() == m_engine ? VelmoraQML::controller() : nullptr;
    if (controller == m_controller)
        return;
    if (m_controller)
        disconnect(m_controller, nullptr, this, nullptr);
    m_controller = controller;
    if (controller) {
        connect(controller, &VelmoraQML::QMLController::pageWanted, this,
                &PagePreviewScene::onPageWanted);
        connect(controller, &VelmoraQML::QMLController::pageSwitched, this,
                &PagePreviewScene::onPageSwitched);
    }
}

void PagePreviewScene::onPageWanted(int configId, const QString& name)
{
    if (configId == VelmoraQML::QMLController::LockPageId)
        return m_lockPage->provide(m_controller);
    unsigned int pageId = UINT_MAX;
    if (!name.isEmpty()) {
        for (const Velmora::Page& page : m_project->getPages())
            if (page.getName() == name && !pageItem(page.getId())) {
                pageId = page.getId();
                break;
            }
    } else if (configId >= 0 && m_project->getPages().exists(unsigned(configId))) {
        pageId = unsigned(configId);
    }
    if (pageId == UINT_MAX)
        return;
    fitSurface();
    // Built whole now and put on the surface: the controller shows it as soon as this returns.
    if (QQuickItem* page = m_builder.pageItemOrBuild(pageId)) {
        page->setParentItem(m_root.get());
        m_pageSet.noteShown(pageId);
        if (m_slicedPageId == pageId)
            m_slicedPageId = UINT_MAX;
    }
}

void PagePreviewScene::onPageSwitched(VelmoraQML::QMLPage* page)
{
    if (!page || page == m_currentPageItem)
        return;
    unsigned int pageId = UINT_MAX;
    for (const auto& entry : m_builder.pageItems())
        if (entry.second == page)
            pageId = entry.first;
    if (pageId == UINT_MAX)
        return;
    // The controller hid the page it showed before and shows this one, with its animation.
    m_currentPageId = pageId;
    m_currentPageItem = page;
    arrangeSurface(pageId, false, Placement::ByTheController);
    redrawAfterGrab();
    m_pageSet.noteShown(pageId);
    m_overlay.invalidate();
    update();
    m_work.hold();
    trimPages();
    m_work.start();
    emit currentPageChangedByPreview(pageId);
}

void PagePreviewScene::setControlProperty(unsigned int controlId, const QString& name,
                                          const QVariant& value)
{
    if (QQuickItem* item = controlItem(controlId)) {
        QQmlProperty::write(item, name, value);
        m_overlay.invalidate();
        if (PreviewItemHandle* handle = m_builder.handleOf(item))
            handle->refreshOverlay();
    }
    settleSurface();
}

void PagePreviewScene::setControlSkin(unsigned int controlId, const QString& skinName,
                                      bool ignoreTransition)
{
    if (auto* item = qobject_cast<VelmoraQML::QMLThemedObject*>(controlItem(controlId))) {
        item->setSkin(skinName, ignoreTransition);
        m_overlay.invalidate();
        if (PreviewItemHandle* handle = m_builder.handleOf(item))
            handle->refreshOverlay();
    }
    settleSurface();
}

void PagePreviewScene::setControlGeometry(const std::set<unsigned int>& controlIds)
{
    for (unsigned int controlId : controlIds) {
        QQuickItem* item = controlItem(controlId);
        if (!item || !m_project->getControls().exists(controlId))
            continue;
        const QRect geometry = m_project->getControl(controlId).getGeometry();
        ControlGestures::setGeometry(item, QRect(geometry.left(), geometry.top(),
                                                 geometry.right() + 1 - geometry.left(),
                                                 geometry.bottom() + 1 - geometry.top()));
    }
    // Settles the surface too.
    updateSelectionEffects();
    update();
}

void PagePreviewScene::setPageBackgroundColour(unsigned int pageId, const QColor& colour)
{
    m_background.setColour(pageItem(pageId), colour);
    settleSurface();
}

void PagePreviewScene::setPageBackgroundGradient(unsigned int pageId, const Gradient& gradient)
{
    m_background.setGradient(pageItem(pageId), gradient);
    settleSurface();
}

void PagePreviewScene::setPageBackgroundGradientRotation(unsigned int pageId, unsigned int rotation)
{
    m_background.setGradientRotation(pageItem(pageId), rotation);
    settleSurface();
}

void PagePreviewScene::setPageBackgroundImage(unsigned int pageId, int imageId)
{
    m_background.setImage(pageItem(pageId), pageId, imageId);
    settleSurface();
}

void PagePreviewScene::setPageBackgroundImageScaling(unsigned int pageId, int scaling)
{
    m_background.setImageScaling(pageItem(pageId), scaling);
    settleSurface();
}

void PagePreviewScene::updateSelectionEffects()
{
    m_overlay.markItems(m_builder.controlItems(), m_builder.handles());
    m_overlay.markItems(m_builder.pageSwitcherItems(), m_builder.handles());
    settleSurface();
}

QRect PagePreviewScene::selectionBoundingRect(bool force)
{
    return m_overlay.boundingRect(force, m_builder.controlItems());
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
    m_gestures.beginMove(controlIds);
}

void PagePreviewScene::moveControls(const QPoint& offset)
{
    m_gestures.move(offset);
    updateSelectionEffects();
    requestFrame();
}

void PagePreviewScene::endMoveControls()
{
    m_gestures.endMove();
}

void PagePreviewScene::beginResizeControls(const std::set<unsigned int>& controlIds, int handle)
{
    m_gestures.beginResize(controlIds, handle);
}

void PagePreviewScene::resizeControls(const QPoint& offset)
{
    m_gestures.resize(offset);
    m_overlay.invalidate();
    requestFrame();
}

std::map<unsigned int, QRect> PagePreviewScene::endResizeControls()
{
    return m_gestures.endResize();
}
