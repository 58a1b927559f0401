#include "appengine/page_preview_scene.h"

#include "appengine/preview_surface.h"
#include "appengine/selection_manager.h"
#include "core/assertion.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_controller.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_screen.h"
#include "velmora_objects/qml/qml_themed_object.h"

#include <QElapsedTimer>
#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QPalette>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

// How long one piece of background work may take, in ms: a slice of a page built for its
// thumbnail, or of the deletion of released items.
constexpr int BackgroundSliceMs = 3;
// How long the background work waits at most for a page shown to reach the screen, in ms.
constexpr int HoldLimitMs = 250;
// What a piece of a page is taken to cost before one has been measured, in ns.
constexpr qint64 UnmeasuredPieceNs = 2000000;

// The memory a built item takes, in KiB (the heap of a Release build): a page item, a control
// by its type (Button to Clock), a page switcher without its buttons and a button. A keypad
// also draws its keys into an image of its own size.
constexpr int PageItemKiB = 24;
constexpr int ControlKiB[] = {0, 35, 52, 22, 40, 18, 31};
constexpr int PageSwitcherKiB = 20;
constexpr int ButtonKiB = 6;

// The item kind of a control type.
PreviewItemKind controlKind(int controlType)
{
    switch (controlType) {
    case Velmora::ControlType_BUTTON:
        return PreviewItemKind_BUTTON;
    case Velmora::ControlType_SLIDER:
        return PreviewItemKind_SLIDER;
    case Velmora::ControlType_COLOUR_PICKER:
        return PreviewItemKind_COLOUR_PICKER;
    case Velmora::ControlType_KEYPAD:
        return PreviewItemKind_KEYPAD;
    case Velmora::ControlType_LABEL:
        return PreviewItemKind_LABEL;
    case Velmora::ControlType_CLOCK:
        return PreviewItemKind_CLOCK;
    }
    VELMORA_UNREACHABLE(1);
}

template <typename T> T& required(T* object)
{
    VELMORA_ASSERT(object);
    return *object;
}

} // namespace

PagePreviewScene::PagePreviewScene(QQmlEngine* engine, const Velmora::Configuration* project,
                                   const SelectionManager* selection, QObject* parent)
    : QGraphicsScene(parent), m_engine(engine), m_project(project), m_selection(selection),
      m_handles(std::make_shared<PreviewItemHandle::Registry>()),
      m_factory(required(engine), required(project)), m_background(*engine, *project, m_factory),
      m_gestures([this](unsigned int controlId) { return controlItem(controlId); })
{
    VELMORA_ASSERT(selection);
    m_workTimer = new QTimer(this);
    m_workTimer->setInterval(0);
    connect(m_workTimer, &QTimer::timeout, this, &PagePreviewScene::doBackgroundWork);
    // Few items, and all of them move.
    setItemIndexMethod(NoIndex);
    setBackgroundBrush(palette().color(QPalette::Current, QPalette::Window));

    m_surface = new PreviewSurface(engine, nullptr);
    m_surface->setResizeMode(QQuickWidget::SizeRootObjectToView);
    m_surface->setClearColor(backgroundBrush().color());
    m_root = std::make_unique<QQuickItem>();
    m_root->setParentItem(m_surface->quickWindow()->contentItem());
    m_lockPage = std::make_unique<PreviewLockPage>(*engine, *project, *this, *m_root, m_handles,
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
                ++m_frames;
            }
        },
        Qt::DirectConnection);
    m_holdTimer = new QTimer(this);
    m_holdTimer->setSingleShot(true);
    m_holdTimer->setInterval(HoldLimitMs);
    connect(m_holdTimer, &QTimer::timeout, this, &PagePreviewScene::resumeBackgroundWork);
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
    return ControlGestures::geometryOf(item);
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

QQuickItem* PagePreviewScene::createPageItem(unsigned int pageId)
{
    attachController();
    QQuickItem* pageItem = m_factory.createPage(pageId);
    if (!pageItem)
        return nullptr;
    // Pages start hidden and outside the surface's window until shown: a page built in the
    // background costs the surface no frame. The root is their owner (and their parent item
    // once shown): the script engine's collector then finds them through their parent rather
    // than walking every object under each of them at every collection.
    pageItem->setParent(m_root.get());
    addItem(new PreviewItemHandle(pageItem, PreviewItemKind_PAGE, pageId, m_handles));
    m_pageItems[pageId] = pageItem;
    // The controls follow in ascending id, each on top of those before it; the list is kept
    // backwards so that the next one comes off its end.
    const std::set<unsigned int>& controlIds = m_project->getPage(pageId).getControlIds();
    if (!controlIds.empty())
        m_pendingControls[pageId].assign(controlIds.rbegin(), controlIds.rend());
    return pageItem;
}

bool PagePreviewScene::buildNextControl(unsigned int pageId)
{
    const auto pending = m_pendingControls.find(pageId);
    if (pending == m_pendingControls.end())
        return false;
    const unsigned int controlId = pending->second.back();
    pending->second.pop_back();
    if (pending->second.empty())
        m_pendingControls.erase(pending);
    addControlItem(pageItem(pageId), controlId);
    return true;
}

unsigned int PagePreviewScene::pageSwitcherIdOf(unsigned int pageId) const
{
    if (!m_project->getPages().exists(pageId))
        return UINT_MAX;
    const unsigned int id = m_project->getPage(pageId).getPageSwitcherId();
    return m_project->getPageSwitchers().exists(id) ? id : UINT_MAX;
}

int PagePreviewScene::nextPiece(unsigned int pageId) const
{
    if (!pageItem(pageId))
        return m_project->getPages().exists(pageId) ? PagePiece : NoPiece;
    const auto pending = m_pendingControls.find(pageId);
    if (pending != m_pendingControls.end()) {
        const unsigned int controlId = pending->second.back();
        const int type = m_project->getControls().exists(controlId)
                             ? m_project->getControl(controlId).getType()
                             : 1;
        return type >= 1 && type <= 6 ? type : 1;
    }
    const unsigned int pageSwitcherId = pageSwitcherIdOf(pageId);
    if (pageSwitcherId == UINT_MAX)
        return NoPiece;
    if (!m_pageSwitcherItems.count(pageSwitcherId))
        return PageSwitcherPiece;
    return m_pendingButtons.count(pageSwitcherId) ? ButtonPiece : NoPiece;
}

bool PagePreviewScene::buildPiece(unsigned int pageId)
{
    switch (nextPiece(pageId)) {
    case NoPiece:
        return false;
    case PagePiece:
        if (createPageItem(pageId))
            return true;
        m_failedPages.insert(pageId);
        return false;
    case PageSwitcherPiece:
        createPageSwitcherItem(pageSwitcherIdOf(pageId));
        return true;
    case ButtonPiece:
        return buildNextButton(pageSwitcherIdOf(pageId));
    default:
        return buildNextControl(pageId);
    }
}

bool PagePreviewScene::buildPieces(unsigned int pageId, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 budget = qint64(milliseconds) * 1000000;
    // The controls built are put in order once, when the pieces end, not as each is added.
    std::optional<PreviewItemHandle::StackingBatch> batch;
    // At least one piece per slice, so that every slice gets on; then each piece that the
    // time measured for its kind says still fits.
    for (bool first = true;; first = false) {
        if (!batch)
            if (const QQuickItem* page = pageItem(pageId))
                batch.emplace(handleOf(page));
        const int piece = nextPiece(pageId);
        if (piece == NoPiece)
            return true;
        qint64& cost = m_pieceCost[std::size_t(piece)];
        const qint64 expected = cost > 0 ? cost : UnmeasuredPieceNs;
        const qint64 start = clock.nsecsElapsed();
        if (!first && milliseconds >= 0 && start + expected > budget)
            return false;
        if (!buildPiece(pageId))
            return true;
        const qint64 took = clock.nsecsElapsed() - start;
        cost = cost > 0 ? (3 * cost + took) / 4 : took;
    }
}

void PagePreviewScene::addControlItem(QQuickItem* page, unsigned int controlId)
{
    if (!page || !m_project->getControls().exists(controlId))
        return;
    const int kind = controlKind(m_project->getControl(controlId).getType());
    QQuickItem* item = m_factory.createControl(controlId);
    if (!item)
        return;
    // The page owns its controls: they die with it.
    item->setParent(page);
    item->setParentItem(page);
    auto* handle = new PreviewItemHandle(item, kind, controlId, m_handles);
    handle->setMarked(m_selection->isControlSelected(controlId));
    m_controlItems[controlId] = item;
}

QQuickItem* PagePreviewScene::createPageSwitcherItem(unsigned int pageSwitcherId)
{
    if (!m_project->getPageSwitchers().exists(pageSwitcherId))
        return nullptr;
    std::vector<VelmoraQML::QMLPropertyValues> buttons;
    QQuickItem* item = m_factory.createPageSwitcher(pageSwitcherId, buttons);
    if (item) {
        auto* handle =
            new PreviewItemHandle(item, PreviewItemKind_PAGE_SWITCHER, pageSwitcherId, m_handles);
        addItem(handle);
        handle->setMarked(m_selection->isPageSwitcherSelected(pageSwitcherId));
        // The buttons follow in their order; the list is kept backwards.
        if (!buttons.empty())
            m_pendingButtons[pageSwitcherId].assign(std::make_move_iterator(buttons.rbegin()),
                                                    std::make_move_iterator(buttons.rend()));
    }
    // A switcher that failed is not tried again until the switchers are rebuilt.
    m_pageSwitcherItems[pageSwitcherId] = item;
    return item;
}

bool PagePreviewScene::buildNextButton(unsigned int pageSwitcherId)
{
    const auto pending = m_pendingButtons.find(pageSwitcherId);
    if (pending == m_pendingButtons.end())
        return false;
    const VelmoraQML::QMLPropertyValues values = std::move(pending->second.back());
    pending->second.pop_back();
    if (pending->second.empty())
        m_pendingButtons.erase(pending);
    if (QQuickItem* pageSwitcher = pageSwitcherItem(pageSwitcherId))
        m_factory.createPageSwitcherButton(values, pageSwitcher);
    return true;
}

QQuickItem* PagePreviewScene::pageItemOrBuild(unsigned int pageId)
{
    buildPieces(pageId, -1);
    return pageItem(pageId);
}

QQuickItem* PagePreviewScene::pageSwitcherItemOrBuild(unsigned int pageSwitcherId)
{
    const auto found = m_pageSwitcherItems.find(pageSwitcherId);
    QQuickItem* item =
        found != m_pageSwitcherItems.end() ? found->second : createPageSwitcherItem(pageSwitcherId);
    while (buildNextButton(pageSwitcherId)) {
    }
    return item;
}

bool PagePreviewScene::isPageBuilt(unsigned int pageId) const
{
    return pageItem(pageId) && nextPiece(pageId) == NoPiece;
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
    return buildPieces(pageId, milliseconds);
}

std::vector<unsigned int> PagePreviewScene::builtPages() const
{
    std::vector<unsigned int> ids;
    for (const auto& entry : m_pageItems)
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
    if (!m_project->getPages().exists(pageId))
        return 0;
    int weight = PageItemKiB;
    for (unsigned int controlId : m_project->getPage(pageId).getControlIds()) {
        if (!m_project->getControls().exists(controlId))
            continue;
        const Velmora::Control& control = m_project->getControl(controlId);
        const int type = control.getType();
        weight += type >= 1 && type <= 6 ? ControlKiB[type] : 0;
        if (type == Velmora::ControlType_KEYPAD) {
            const QRect& geometry = control.getGeometry();
            weight += int(std::min<qint64>(qint64(std::max(0, geometry.width())) *
                                               std::max(0, geometry.height()) * 4 / 1024,
                                           64 * 1024));
        }
    }
    const unsigned int pageSwitcherId = pageSwitcherIdOf(pageId);
    if (pageSwitcherId != UINT_MAX)
        weight += PageSwitcherKiB +
                  ButtonKiB * int(m_project->getPageSwitcher(pageSwitcherId).getPageIds().size());
    return weight;
}

bool PagePreviewScene::hasBackgroundWork() const
{
    return m_workTimer->isActive() || m_holding;
}

void PagePreviewScene::showPage(unsigned int pageId)
{
    m_lockPage->putAway();
    if (m_currentPageItem) {
        m_currentPageItem->setVisible(false);
        m_currentPageItem = nullptr;
    }
    m_currentPageId = pageId;
    if (pageId != UINT_MAX) {
        fitSurface();
        if (QQuickItem* item = pageItemOrBuild(pageId)) {
            m_currentPageItem = item;
            item->setParentItem(m_root.get());
            showCurrentPageSwitcher();
            // The controller may have moved it off the screen when it hid it.
            item->setPosition(QPointF(0, 0));
            item->setVisible(true);
            if (PreviewItemHandle* handle = handleOf(item))
                setSceneRect(handle->sceneBoundingRect());
            m_pageSet.noteShown(pageId);
            if (m_slicedPageId == pageId)
                m_slicedPageId = UINT_MAX;
        }
    }
    redrawAfterGrab();
    // The controller's own page switching starts from the page shown here.
    attachController();
    if (m_controller)
        m_controller->setShownPage(qobject_cast<VelmoraQML::QMLPage*>(m_currentPageItem));
    m_selectionRect = QRect();
    update();
    requestFrame();
    holdBackgroundWork();
    trimPages();
    // The kept pages that are not built are built ahead.
    m_workTimer->start();
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
        // The controller may have moved it off the screen when it hid it.
        if (!item->isVisible())
            item->setPosition(
                QPointF(item->property("targetX").toReal(), item->property("targetY").toReal()));
        item->setVisible(true);
    }
}

void PagePreviewScene::removePageItem(unsigned int pageId)
{
    delete takePage(pageId);
    m_pageSet.forget(pageId);
    clearPageSwitcherItems();
    m_selectionRect = QRect();
}

void PagePreviewScene::deleteItems()
{
    m_lockPage->clear();
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
    m_pendingControls.clear();
    m_pendingButtons.clear();
    m_failedPages.clear();
    m_slicedPageId = UINT_MAX;
    for (const QPointer<QQuickItem>& item : m_released)
        delete item.data();
    m_released.clear();
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
    m_selectionRect = QRect();
    // A gesture of the project that closes must not reach the items of the next one.
    m_gestures.clear();
}

void PagePreviewScene::clearPageSwitcherItems()
{
    m_currentPageSwitcherItem = nullptr;
    for (const auto& entry : m_pageSwitcherItems)
        delete entry.second;
    m_pageSwitcherItems.clear();
    m_pendingButtons.clear();
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
    m_pendingButtons.erase(pageSwitcherId);
}

void PagePreviewScene::removePageSwitcherItem(unsigned int pageSwitcherId)
{
    deletePageSwitcherItem(pageSwitcherId);
    showCurrentPageSwitcher();
}

QPixmap PagePreviewScene::renderThumbnail(unsigned int pageId)
{
    // A page built here is likely to be shown next (a page just added or restored).
    const bool built = pageItem(pageId) != nullptr;
    QQuickItem* page = pageItemOrBuild(pageId);
    if (!page)
        return QPixmap();
    if (!built)
        m_pageSet.noteShown(pageId);
    fitSurface();

    // The page is shown on the surface for the moment, with its switcher; the selection
    // overlays belong to the handles and never reach the surface's image. A page that is not
    // on the surface yet leaves it again.
    QQuickItem* current = m_currentPageItem;
    if (current && current != page)
        current->setVisible(false);
    const bool onSurface = page->parentItem() == m_root.get();
    page->setParentItem(m_root.get());
    // A hidden page may have been moved off the screen by the controller.
    if (!page->isVisible())
        page->setPosition(QPointF(0, 0));
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
        // The controller may have moved it off the screen when it hid it (the lock page shown).
        if (!pageSwitcher->isVisible())
            pageSwitcher->setPosition(QPointF(pageSwitcher->property("targetX").toReal(),
                                              pageSwitcher->property("targetY").toReal()));
        pageSwitcher->setVisible(true);
    }

    // Its switcher marks its own button, as when the page is shown.
    attachController();
    VelmoraQML::QMLPage* const shown = m_controller ? m_controller->currentPage() : nullptr;
    if (m_controller)
        m_controller->setShownPage(qobject_cast<VelmoraQML::QMLPage*>(page));

    const int width = m_project->getWidth();
    const int height = m_project->getHeight();
    m_grabbing = true;
    const PreviewLockPage::SetAside lockPageAside(*m_lockPage);
    const QImage image = m_surface->grabFramebuffer().copy(0, 0, width, height);
    m_grabbing = false;
    m_grabbedPageId = pageId;

    if (m_controller)
        m_controller->setShownPage(shown);

    if (pageSwitcher) {
        pageSwitcher->setParentItem(pageSwitcherParent);
        pageSwitcher->setVisible(pageSwitcher == m_currentPageSwitcherItem);
    }
    page->setVisible(page == current);
    if (!onSurface)
        page->setParentItem(nullptr);
    if (current)
        current->setVisible(true);
    // The release of a page built in slices for its thumbnail (unless it is kept) follows in
    // a turn of its own, as does the surface's full redraw when the page is the current one.
    if (m_slicedPageId == pageId)
        m_slicedPageId = UINT_MAX;
    m_trimPending = true;
    m_workTimer->start();
    redrawAfterGrab();
    // The surface's frame that puts the view back as it was comes before more work, so that no
    // turn of the event loop holds both.
    holdBackgroundWork();

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
    m_workTimer->start();
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
    for (const auto& entry : m_pageItems)
        if (!kept.count(entry.first) && entry.first != m_slicedPageId)
            released.push_back(entry.first);
    for (unsigned int pageId : released)
        releasePage(pageId);

    // The switchers that the pages left show, and the one shown now.
    std::set<unsigned int> shown;
    for (const auto& entry : m_pageItems)
        shown.insert(pageSwitcherIdOf(entry.first));
    std::vector<unsigned int> unused;
    for (const auto& entry : m_pageSwitcherItems)
        if (!shown.count(entry.first) && entry.second != m_currentPageSwitcherItem)
            unused.push_back(entry.first);
    for (unsigned int pageSwitcherId : unused)
        releasePageSwitcher(pageSwitcherId);
}

bool PagePreviewScene::buildAhead()
{
    for (unsigned int pageId : pagesToKeep())
        if (!isPageBuilt(pageId) && !m_failedPages.count(pageId) &&
            m_project->getPages().exists(pageId)) {
            buildPieces(pageId, BackgroundSliceMs);
            return true;
        }
    return false;
}

QQuickItem* PagePreviewScene::takePage(unsigned int pageId)
{
    m_pendingControls.erase(pageId);
    if (m_slicedPageId == pageId)
        m_slicedPageId = UINT_MAX;
    const auto found = m_pageItems.find(pageId);
    if (found == m_pageItems.end())
        return nullptr;
    QQuickItem* page = found->second;
    m_pageItems.erase(found);
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
    m_released.emplace_back(page);
    m_workTimer->start();
}

void PagePreviewScene::releasePageSwitcher(unsigned int pageSwitcherId)
{
    const auto found = m_pageSwitcherItems.find(pageSwitcherId);
    if (found == m_pageSwitcherItems.end())
        return;
    QQuickItem* pageSwitcher = found->second;
    m_pageSwitcherItems.erase(found);
    m_pendingButtons.erase(pageSwitcherId);
    if (!pageSwitcher)
        return;
    pageSwitcher->setVisible(false);
    pageSwitcher->setParentItem(nullptr);
    if (VelmoraQML::QMLController* controller = VelmoraQML::controller())
        controller->removePageSwitcher(pageSwitcher);
    m_released.emplace_back(pageSwitcher);
    m_workTimer->start();
}

void PagePreviewScene::holdBackgroundWork()
{
    // Only a view that shows the scene paints the frame waited for.
    const QList<QGraphicsView*> shownBy = views();
    if (std::none_of(shownBy.begin(), shownBy.end(),
                     [](const QGraphicsView* view) { return view->isVisible(); }))
        return;
    m_holding = true;
    m_framesAtHold = m_frames;
    m_holdTimer->start();
}

void PagePreviewScene::resumeBackgroundWork()
{
    if (!m_holding)
        return;
    m_holding = false;
    m_holdTimer->stop();
    m_workTimer->start();
}

void PagePreviewScene::drawBackground(QPainter* painter, const QRectF& rect)
{
    QGraphicsScene::drawBackground(painter, rect);
    // The view paints a frame of the surface drawn since the wait began: the page is shown.
    if (m_holding && m_frames > m_framesAtHold)
        QMetaObject::invokeMethod(this, &PagePreviewScene::resumeBackgroundWork,
                                  Qt::QueuedConnection);
}

void PagePreviewScene::deleteReleasedItems()
{
    QElapsedTimer clock;
    clock.start();
    const qint64 budget = qint64(BackgroundSliceMs) * 1000000;
    // At least one item, then each that the time the last one took says still fits.
    qint64 last = 0;
    while (!m_released.empty() && (last == 0 || clock.nsecsElapsed() + last <= budget)) {
        const qint64 start = clock.nsecsElapsed();
        QQuickItem* released = m_released.back();
        if (!released) {
            m_released.pop_back();
            continue;
        }
        const auto controls =
            released->findChildren<VelmoraQML::QMLControl*>(QString(), Qt::FindDirectChildrenOnly);
        if (!controls.isEmpty()) {
            delete controls.last();
        } else {
            m_released.pop_back();
            delete released;
        }
        last = std::max<qint64>(clock.nsecsElapsed() - start, 1);
    }
    // The script engine's collector would otherwise run when it sees fit, in the middle of
    // some later work, and pay for the garbage of all the items gone since its last run.
    if (m_released.empty())
        m_collectPending = true;
}

void PagePreviewScene::requestThumbnail(unsigned int pageId)
{
    m_thumbnailPageId = pageId;
    m_workTimer->start();
}

void PagePreviewScene::doBackgroundWork()
{
    // Nothing while a page shown is on its way to the screen; resumeBackgroundWork() starts
    // again.
    if (m_holding) {
        m_workTimer->stop();
        return;
    }
    // One piece of work a turn, so that no turn of the event loop waits long on any.
    if (m_redrawPending) {
        m_redrawPending = false;
        redrawSurface();
    } else if (m_trimPending) {
        m_trimPending = false;
        trimPages();
    } else if (!m_released.empty()) {
        deleteReleasedItems();
    } else if (m_collectPending) {
        m_collectPending = false;
        m_engine->collectGarbage();
    } else if (m_thumbnailPageId != UINT_MAX) {
        const unsigned int pageId = m_thumbnailPageId;
        if (!isPageBuilt(pageId)) {
            // More slices to come, or the page is drawn in the turn after its last slice; a
            // page that cannot be built is answered at once.
            const bool done = buildPageSlice(pageId, BackgroundSliceMs);
            if (!done || isPageBuilt(pageId))
                return;
        }
        m_thumbnailPageId = UINT_MAX;
        emit thumbnailReady(pageId, renderThumbnail(pageId));
    } else if (!buildAhead()) {
        m_workTimer->stop();
    }
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
    if (QQuickItem* page = pageItemOrBuild(pageId)) {
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
    for (const auto& entry : m_pageItems)
        if (entry.second == page)
            pageId = entry.first;
    if (pageId == UINT_MAX)
        return;
    // The controller hid the page it showed before and shows this one, with its animation.
    m_currentPageId = pageId;
    m_currentPageItem = page;
    page->setParentItem(m_root.get());
    showCurrentPageSwitcher();
    redrawAfterGrab();
    m_pageSet.noteShown(pageId);
    m_selectionRect = QRect();
    update();
    holdBackgroundWork();
    trimPages();
    m_workTimer->start();
    emit currentPageChangedByPreview(pageId);
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
        ControlGestures::setGeometry(item, QRect(geometry.left(), geometry.top(),
                                                 geometry.right() + 1 - geometry.left(),
                                                 geometry.bottom() + 1 - geometry.top()));
    }
    updateSelectionEffects();
    update();
}

void PagePreviewScene::setPageBackgroundColour(unsigned int pageId, const QColor& colour)
{
    m_background.setColour(pageItem(pageId), colour);
}

void PagePreviewScene::setPageBackgroundGradient(unsigned int pageId, const Gradient& gradient)
{
    m_background.setGradient(pageItem(pageId), gradient);
}

void PagePreviewScene::setPageBackgroundGradientRotation(unsigned int pageId, unsigned int rotation)
{
    m_background.setGradientRotation(pageItem(pageId), rotation);
}

void PagePreviewScene::setPageBackgroundImage(unsigned int pageId, int imageId)
{
    m_background.setImage(pageItem(pageId), pageId, imageId);
}

void PagePreviewScene::setPageBackgroundImageScaling(unsigned int pageId, int scaling)
{
    m_background.setImageScaling(pageItem(pageId), scaling);
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
    m_selectionRect = QRect();
    requestFrame();
}

std::map<unsigned int, QRect> PagePreviewScene::endResizeControls()
{
    return m_gestures.endResize();
}
