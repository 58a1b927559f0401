// The document's page list (its rows, their order and the shared page selection), the pages'
// thumbnails and the page shown in the preview.
#include "main/velmora_document.h"

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "velmora_objects/page.h"

#include <QIcon>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTimer>

using namespace Velmora;

QStandardItem* VelmoraDocument::newPageRow(const Page& page) const
{
    auto* item = new QStandardItem;
    item->setData(page.getId(), PageIdRole);
    item->setData(page.getName(), Qt::DisplayRole);
    item->setData(getOrientation() == Orientation_PORTRAIT ? QSize(100, 120) : QSize(100, 72),
                  Qt::SizeHintRole);
    item->setData(int(page.getSortValue()), SortValueRole);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

void VelmoraDocument::addPageRow(Page& page, bool renderNow)
{
    QStandardItem* item = newPageRow(page);
    m_pageItemModel->appendRow(item);
    sortPageList();

    PageGUIData& data = m_pageGUIData[page.getId()];
    data = PageGUIData{QPersistentModelIndex(item->index()), true};
    if (renderNow)
        renderPageThumbnail(page.getId(), data);
}

void VelmoraDocument::addLoadedPageRows()
{
    // The rows of a project just read go in together and are sorted once, rather than the page
    // list being sorted again for each of them; their thumbnails are made later.
    QList<QStandardItem*> rows;
    rows.reserve(qsizetype(getPages().size()));
    for (const Page& page : getPages())
        rows.append(newPageRow(page));
    m_pageItemModel->invisibleRootItem()->appendRows(rows);
    sortPageList();
    for (QStandardItem* row : rows)
        m_pageGUIData[row->data(PageIdRole).toUInt()] =
            PageGUIData{QPersistentModelIndex(row->index()), true};
}

void VelmoraDocument::removePageRow(const Page& page)
{
    for (int row = 0; row < m_pageItemModel->rowCount(); ++row) {
        if (m_pageItemModel->index(row, 0).data(PageIdRole).toUInt() == page.getId()) {
            m_pageGUIData.erase(page.getId());
            m_pageItemModel->removeRow(row);
            return;
        }
    }
}

QString VelmoraDocument::setPageName(unsigned int pageId, const QString& name)
{
    Page& page = getPage(pageId);
    const QString previous = page.getName();
    page.setName(name);
    notePageName(name);
    const auto data = m_pageGUIData.find(pageId);
    if (data != m_pageGUIData.end() && data->second.row.isValid())
        m_pageItemModel->setData(data->second.row, name, Qt::DisplayRole);
    return previous;
}

unsigned int VelmoraDocument::setPageIcon(unsigned int pageId, unsigned int iconId)
{
    Page& page = getPage(pageId);
    const unsigned int previous = page.getIconId();
    page.setIconId(iconId);
    return previous;
}

void VelmoraDocument::restorePage(smart_ptr<Page>& page, unsigned int pageId)
{
    const unsigned int pageSwitcherId = page->getPageSwitcherId();
    const unsigned int inserted = insertPage(page, pageId);
    VELMORA_ASSERT(inserted == pageId);
    addPageRow(getPage(pageId), true);
    if (pageSwitcherId != UINT_MAX)
        m_previewScene->removePageSwitcherItem(pageSwitcherId);
}

smart_ptr<Page> VelmoraDocument::removePage(unsigned int pageId)
{
    removePageRow(getPage(pageId));
    m_previewScene->removePageItem(pageId);
    // Other pages may show this one through their page switchers and buttons.
    invalidateAllThumbnails();
    return Configuration::removePage(pageId);
}

void VelmoraDocument::movePage(unsigned int pageId, unsigned int beforeId)
{
    smart_ptr<Page> page = Configuration::removePage(pageId);
    page->setSortValue(getFreeSortValue<Page, SortValueStep>(getPages(), beforeId));
    const unsigned int inserted = insertPage(page, pageId);
    VELMORA_ASSERT(inserted == pageId);
    // The moved page has a new sort value, and when no gap was left every page has.
    updatePageRowOrder();
}

void VelmoraDocument::setPageSortValues(const std::map<unsigned int, int>& sortValues)
{
    // All pages that change are out before any goes back, so that none is placed against a
    // value that is about to change.
    std::map<unsigned int, smart_ptr<Page>> moved;
    for (const auto& [pageId, sortValue] : sortValues)
        if (pageExists(pageId) && getPage(pageId).getSortValue() != sortValue)
            moved[pageId] = Configuration::removePage(pageId);
    for (auto& [pageId, page] : moved) {
        page->setSortValue(sortValues.at(pageId));
        const unsigned int inserted = insertPage(page, pageId);
        VELMORA_ASSERT(inserted == pageId);
    }
    if (!moved.empty())
        updatePageRowOrder();
}

void VelmoraDocument::updatePageRowOrder()
{
    for (const auto& [id, data] : m_pageGUIData) {
        if (!data.row.isValid() || !pageExists(id))
            continue;
        const int sortValue = getPage(id).getSortValue();
        if (data.row.data(SortValueRole).toInt() != sortValue)
            m_pageItemModel->setData(data.row, sortValue, SortValueRole);
    }
    sortPageList();
}

void VelmoraDocument::raisePage(unsigned int pageId)
{
    const unsigned int previous = getPages().getNextId(pageId, false, false);
    if (previous != UINT_MAX)
        movePage(pageId, previous);
}

void VelmoraDocument::lowerPage(unsigned int pageId)
{
    const unsigned int next = getPages().getNextId(pageId, true, false);
    if (next != UINT_MAX)
        movePage(pageId, getPages().getNextId(next, true, false));
}

bool VelmoraDocument::hasPreviousPage(unsigned int pageId) const
{
    return getPages().getNextId(pageId, false, false) != UINT_MAX;
}

bool VelmoraDocument::hasNextPage(unsigned int pageId) const
{
    return getPages().getNextId(pageId, true, false) != UINT_MAX;
}

void VelmoraDocument::invalidatePageThumbnail(unsigned int pageId)
{
    if (pageId == UINT_MAX) {
        for (auto& entry : m_pageGUIData)
            entry.second.stale = true;
    } else {
        const auto data = m_pageGUIData.find(pageId);
        if (data == m_pageGUIData.end())
            return;
        data->second.stale = true;
    }
    // A running timer is not pushed back, so that steady editing still renders.
    if (!m_thumbnailTimer->isActive())
        m_thumbnailTimer->start();
}

void VelmoraDocument::invalidateControlThumbnail(unsigned int controlId)
{
    invalidatePageThumbnail(getControl(controlId).getPageId());
}

void VelmoraDocument::renderPageThumbnail(unsigned int pageId, PageGUIData& data)
{
    // Without the module the pages cannot be drawn; the thumbnail stays stale until the
    // preview is prepared.
    if (!previewPrepared())
        return;
    if (data.row.isValid()) {
        const QPixmap thumbnail = m_previewScene->renderThumbnail(pageId);
        if (!thumbnail.isNull())
            m_pageItemModel->setData(data.row, QIcon(thumbnail), Qt::DecorationRole);
    }
    data.stale = false;
}

void VelmoraDocument::setThumbnailDelay(int milliseconds)
{
    m_thumbnailTimer->setInterval(milliseconds);
}

void VelmoraDocument::refreshThumbnails()
{
    emit loadProgressSteps(int(m_pageGUIData.size()));
    emit loadProgressChanged(0);
    m_runNextPageId = 0;
    m_runPageId = UINT_MAX;
    m_runStep = 0;
    m_runActive = true;
    m_thumbnailRun->start();
}

bool VelmoraDocument::isRefreshingThumbnails() const
{
    return m_runActive;
}

void VelmoraDocument::renderNextThumbnail()
{
    // Looked up afresh at every step: the progress signals may reach code that edits pages.
    for (;;) {
        const auto entry = m_pageGUIData.lower_bound(m_runNextPageId);
        if (entry == m_pageGUIData.end()) {
            m_runActive = false;
            return;
        }
        const unsigned int pageId = entry->first;
        m_runNextPageId = pageId + 1;
        if (entry->second.stale) {
            // The scene builds and draws the page without blocking and answers through
            // onThumbnailReady; without the module nothing can be drawn now.
            if (previewPrepared() && entry->second.row.isValid()) {
                m_runPageId = pageId;
                m_previewScene->requestThumbnail(pageId);
                return;
            }
            entry->second.stale = false;
        }
        emit loadProgressChanged(++m_runStep);
    }
}

void VelmoraDocument::onThumbnailReady(unsigned int pageId, const QPixmap& thumbnail)
{
    if (!m_runActive || pageId != m_runPageId)
        return;
    m_runPageId = UINT_MAX;
    const auto entry = m_pageGUIData.find(pageId);
    if (entry != m_pageGUIData.end()) {
        if (!thumbnail.isNull() && entry->second.row.isValid())
            m_pageItemModel->setData(entry->second.row, QIcon(thumbnail), Qt::DecorationRole);
        entry->second.stale = false;
    }
    emit loadProgressChanged(++m_runStep);
    m_thumbnailRun->start();
}

void VelmoraDocument::showPage(unsigned int pageId)
{
    m_previewScene->showPage(pageId);
}

void VelmoraDocument::syncPageSelection()
{
    m_previewScene->updateSelectionEffects();
    QItemSelection selection;
    auto add = [&selection](const QModelIndex& index) {
        if (index.isValid())
            selection.select(index, index);
    };
    if (m_selection.kind() == SelectionManager::SelectionKind_PAGES) {
        for (unsigned int pageId : m_selection.selectedIds())
            add(proxyIndexOfPage(pageId));
    } else {
        add(proxyIndexOfPage(m_selection.currentPage()));
    }
    m_pageSelectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
}

QModelIndex VelmoraDocument::proxyIndexOfPage(unsigned int pageId) const
{
    const auto data = m_pageGUIData.find(pageId);
    if (data == m_pageGUIData.end() || !data->second.row.isValid())
        return QModelIndex();
    return m_pageProxyModel->mapFromSource(data->second.row);
}

void VelmoraDocument::sortPageList()
{
    m_pageProxyModel->sort(0, Qt::AscendingOrder);
}
