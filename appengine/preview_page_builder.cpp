#include "appengine/preview_page_builder.h"

#include "appengine/preview_item_factory.h"
#include "appengine/preview_selection_overlay.h"
#include "core/assertion.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"

#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QQuickItem>
#include <climits>
#include <iterator>
#include <optional>

namespace {

// What a piece of a page is taken to cost before one has been measured, in ns.
constexpr qint64 UnmeasuredPieceNs = 2000000;

} // namespace

PreviewPageBuilder::PreviewPageBuilder(const Velmora::Configuration& project,
                                       const PreviewItemFactory& factory,
                                       const PreviewSelectionOverlay& overlay,
                                       QGraphicsScene& scene, QObject& pageOwner,
                                       std::function<void()> beforePage)
    : m_project(project), m_factory(factory), m_overlay(overlay), m_scene(scene),
      m_pageOwner(pageOwner), m_beforePage(std::move(beforePage)),
      m_handles(std::make_shared<PreviewItemHandle::Registry>())
{
}

PreviewPageBuilder::~PreviewPageBuilder()
{
    deleteAll();
}

QQuickItem* PreviewPageBuilder::find(const Items& items, unsigned int id)
{
    const auto found = items.find(id);
    return found == items.end() ? nullptr : found->second;
}

PreviewItemHandle* PreviewPageBuilder::handleOf(const QQuickItem* item) const
{
    const auto found = m_handles->handles.find(item);
    return found == m_handles->handles.end() ? nullptr : found->second;
}

unsigned int PreviewPageBuilder::pageSwitcherIdOf(unsigned int pageId) const
{
    if (!m_project.getPages().exists(pageId))
        return UINT_MAX;
    const unsigned int id = m_project.getPage(pageId).getPageSwitcherId();
    return m_project.getPageSwitchers().exists(id) ? id : UINT_MAX;
}

PreviewPiece PreviewPageBuilder::nextPiece(unsigned int pageId) const
{
    if (!pageItem(pageId))
        return m_project.getPages().exists(pageId) ? PreviewPiece_PAGE : PreviewPiece_NONE;
    const auto pending = m_pendingControls.find(pageId);
    if (pending != m_pendingControls.end()) {
        const unsigned int controlId = pending->second.back();
        return previewControlPiece(m_project.getControls().exists(controlId)
                                       ? m_project.getControl(controlId).getType()
                                       : Velmora::ControlType_BUTTON);
    }
    const unsigned int pageSwitcherId = pageSwitcherIdOf(pageId);
    if (pageSwitcherId == UINT_MAX)
        return PreviewPiece_NONE;
    if (!m_pageSwitcherItems.count(pageSwitcherId))
        return PreviewPiece_PAGE_SWITCHER;
    return m_pendingButtons.count(pageSwitcherId) ? PreviewPiece_BUTTON : PreviewPiece_NONE;
}

bool PreviewPageBuilder::isPageBuilt(unsigned int pageId) const
{
    return pageItem(pageId) && nextPiece(pageId) == PreviewPiece_NONE;
}

bool PreviewPageBuilder::buildPiece(unsigned int pageId)
{
    switch (nextPiece(pageId)) {
    case PreviewPiece_NONE:
        return false;
    case PreviewPiece_PAGE:
        if (createPageItem(pageId))
            return true;
        m_failedPages.insert(pageId);
        return false;
    case PreviewPiece_PAGE_SWITCHER:
        createPageSwitcherItem(pageSwitcherIdOf(pageId));
        return true;
    case PreviewPiece_BUTTON:
        return buildNextButton(pageSwitcherIdOf(pageId));
    default:
        return buildNextControl(pageId);
    }
}

bool PreviewPageBuilder::buildPieces(unsigned int pageId, int milliseconds)
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
        const PreviewPiece piece = nextPiece(pageId);
        if (piece == PreviewPiece_NONE)
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

QQuickItem* PreviewPageBuilder::pageItemOrBuild(unsigned int pageId)
{
    buildPieces(pageId, -1);
    return pageItem(pageId);
}

QQuickItem* PreviewPageBuilder::pageSwitcherItemOrBuild(unsigned int pageSwitcherId)
{
    const auto found = m_pageSwitcherItems.find(pageSwitcherId);
    QQuickItem* item =
        found != m_pageSwitcherItems.end() ? found->second : createPageSwitcherItem(pageSwitcherId);
    while (buildNextButton(pageSwitcherId)) {
    }
    return item;
}

QQuickItem* PreviewPageBuilder::createPageItem(unsigned int pageId)
{
    if (m_beforePage)
        m_beforePage();
    QQuickItem* pageItem = m_factory.createPage(pageId);
    if (!pageItem)
        return nullptr;
    // Pages start hidden and outside the surface's window until shown: a page built in the
    // background costs the surface no frame. The owner keeps them (and is their parent item
    // once shown): the script engine's collector then finds them through their parent rather
    // than walking every object under each of them at every collection.
    pageItem->setParent(&m_pageOwner);
    m_scene.addItem(new PreviewItemHandle(pageItem, PreviewItemKind_PAGE, pageId, m_handles));
    m_pageItems[pageId] = pageItem;
    // The controls follow in ascending id, each on top of those before it; the list is kept
    // backwards so that the next one comes off its end.
    const std::set<unsigned int>& controlIds = m_project.getPage(pageId).getControlIds();
    if (!controlIds.empty())
        m_pendingControls[pageId].assign(controlIds.rbegin(), controlIds.rend());
    return pageItem;
}

bool PreviewPageBuilder::buildNextControl(unsigned int pageId)
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

void PreviewPageBuilder::addControlItem(QQuickItem* page, unsigned int controlId)
{
    if (!page || !m_project.getControls().exists(controlId))
        return;
    const PreviewControlKind* kind = previewControlKind(m_project.getControl(controlId).getType());
    VELMORA_ASSERT(kind);
    QQuickItem* item = m_factory.createControl(controlId);
    if (!item)
        return;
    // The page owns its controls: they die with it.
    item->setParent(page);
    item->setParentItem(page);
    auto* handle = new PreviewItemHandle(item, kind->itemKind, controlId, m_handles);
    m_overlay.mark(*handle);
    m_controlItems[controlId] = item;
}

QQuickItem* PreviewPageBuilder::createPageSwitcherItem(unsigned int pageSwitcherId)
{
    if (!m_project.getPageSwitchers().exists(pageSwitcherId))
        return nullptr;
    std::vector<VelmoraQML::QMLPropertyValues> buttons;
    QQuickItem* item = m_factory.createPageSwitcher(pageSwitcherId, buttons);
    if (item) {
        auto* handle =
            new PreviewItemHandle(item, PreviewItemKind_PAGE_SWITCHER, pageSwitcherId, m_handles);
        m_scene.addItem(handle);
        m_overlay.mark(*handle);
        // The buttons follow in their order; the list is kept backwards.
        if (!buttons.empty())
            m_pendingButtons[pageSwitcherId].assign(std::make_move_iterator(buttons.rbegin()),
                                                    std::make_move_iterator(buttons.rend()));
    }
    // A switcher that failed is not tried again until the switchers are deleted.
    m_pageSwitcherItems[pageSwitcherId] = item;
    return item;
}

bool PreviewPageBuilder::buildNextButton(unsigned int pageSwitcherId)
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

QQuickItem* PreviewPageBuilder::takePage(unsigned int pageId)
{
    m_pendingControls.erase(pageId);
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
    return page;
}

QQuickItem* PreviewPageBuilder::takePageSwitcher(unsigned int pageSwitcherId)
{
    const auto found = m_pageSwitcherItems.find(pageSwitcherId);
    if (found == m_pageSwitcherItems.end())
        return nullptr;
    QQuickItem* pageSwitcher = found->second;
    m_pageSwitcherItems.erase(found);
    m_pendingButtons.erase(pageSwitcherId);
    return pageSwitcher;
}

void PreviewPageBuilder::deletePageSwitcher(unsigned int pageSwitcherId)
{
    delete takePageSwitcher(pageSwitcherId);
}

void PreviewPageBuilder::deletePageSwitchers()
{
    for (const auto& entry : m_pageSwitcherItems)
        delete entry.second;
    m_pageSwitcherItems.clear();
    m_pendingButtons.clear();
}

void PreviewPageBuilder::deleteAll()
{
    deletePageSwitchers();
    // Controls die with their pages.
    m_controlItems.clear();
    for (const auto& entry : m_pageItems)
        delete entry.second;
    m_pageItems.clear();
    m_pendingControls.clear();
    m_failedPages.clear();
}
