#include "appengine/selection_manager.h"

SelectionManager::SelectionManager(QObject* parent) : QObject(parent) {}

bool SelectionManager::isSelected(SelectionKind kind, unsigned int id) const
{
    return kind == m_kind && m_ids.get<1>().count(id) > 0;
}

const std::vector<unsigned int>& SelectionManager::selectedIdVector() const
{
    if (m_vectorStale) {
        m_idVector.assign(m_ids.begin(), m_ids.end());
        m_vectorStale = false;
    }
    return m_idVector;
}

const std::set<unsigned int>& SelectionManager::selectedIds() const
{
    if (m_setStale) {
        m_idSet = std::set<unsigned int>(m_ids.begin(), m_ids.end());
        m_setStale = false;
    }
    return m_idSet;
}

void SelectionManager::selectPage(unsigned int pageId, bool select, bool exclusive)
{
    const bool changed = this->select(SelectionKind_PAGES, pageId, select, exclusive);
    updateCurrentPage();
    if (changed)
        emit selectionChanged();
}

void SelectionManager::selectPages(const std::set<unsigned int>& pageIds, bool exclusive)
{
    const bool changed = selectSet(SelectionKind_PAGES, pageIds, exclusive);
    updateCurrentPage();
    if (changed)
        emit selectionChanged();
}

void SelectionManager::selectControl(unsigned int controlId, bool select, bool exclusive)
{
    if (this->select(SelectionKind_CONTROLS, controlId, select, exclusive))
        emit selectionChanged();
}

void SelectionManager::selectControls(const std::set<unsigned int>& controlIds, bool exclusive)
{
    if (selectSet(SelectionKind_CONTROLS, controlIds, exclusive))
        emit selectionChanged();
}

void SelectionManager::selectPageSwitcher(unsigned int pageSwitcherId, bool select)
{
    if (this->select(SelectionKind_PAGE_SWITCHERS, pageSwitcherId, select, true))
        emit selectionChanged();
}

bool SelectionManager::clear(bool quiet)
{
    const bool had = !m_ids.empty();
    m_ids.clear();
    m_kind = SelectionKind_NONE;
    if (had) {
        markStale();
        if (!quiet)
            emit selectionChanged();
    }
    return had;
}

bool SelectionManager::select(SelectionKind kind, unsigned int id, bool select, bool exclusive)
{
    auto& byId = m_ids.get<1>();
    if (!select) {
        // Only an id of the kind asked for is removed: a page and a control may share a
        // number.
        const auto it = byId.find(id);
        if (kind != m_kind || it == byId.end())
            return false;
        byId.erase(it);
        if (m_ids.empty())
            m_kind = SelectionKind_NONE;
        markStale();
        return true;
    }

    if (m_kind == kind && m_ids.size() == 1 && m_ids.front() == id)
        return false;

    bool cleared = false;
    if (m_kind != SelectionKind_NONE && (m_kind != kind || exclusive))
        cleared = clear(true);
    if (byId.count(id) > 0) {
        m_kind = kind;
        return cleared;
    }
    m_ids.push_back(id);
    m_kind = kind;
    markStale();
    return true;
}

bool SelectionManager::selectSet(SelectionKind kind, const std::set<unsigned int>& ids,
                                 bool exclusive)
{
    bool changed = false;
    if (m_kind != SelectionKind_NONE && (m_kind != kind || exclusive))
        changed = clear(true);
    for (unsigned int id : ids) {
        if (m_ids.push_back(id).second)
            changed = true;
    }
    if (!m_ids.empty())
        m_kind = kind;
    if (changed)
        markStale();
    return changed;
}

void SelectionManager::updateCurrentPage()
{
    if (m_kind != SelectionKind_PAGES || m_ids.empty())
        return;
    const unsigned int page = m_ids.size() == 1 ? m_ids.front() : UINT_MAX;
    if (page != m_currentPage) {
        m_currentPage = page;
        emit currentPageChanged(page);
    }
}

void SelectionManager::markStale()
{
    m_setStale = true;
    m_vectorStale = true;
}
