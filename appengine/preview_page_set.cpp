#include "appengine/preview_page_set.h"

#include <algorithm>
#include <climits>

void PreviewPageSet::noteShown(unsigned int pageId)
{
    forget(pageId);
    m_recent.push_front(pageId);
    if (m_recent.size() > RecentLimit)
        m_recent.pop_back();
}

void PreviewPageSet::forget(unsigned int pageId)
{
    m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), pageId), m_recent.end());
}

std::set<unsigned int>
PreviewPageSet::pagesToKeep(unsigned int currentPageId, const std::vector<unsigned int>& neighbours,
                            const std::function<int(unsigned int)>& weight) const
{
    std::set<unsigned int> kept;
    int total = 0;
    if (currentPageId != UINT_MAX) {
        kept.insert(currentPageId);
        total = weight(currentPageId);
    }
    const auto offer = [&](unsigned int pageId) {
        if (pageId == UINT_MAX || kept.count(pageId))
            return;
        const int w = weight(pageId);
        if (total + w <= m_budget) {
            kept.insert(pageId);
            total += w;
        }
    };
    for (unsigned int pageId : neighbours)
        offer(pageId);
    for (unsigned int pageId : m_recent)
        offer(pageId);
    return kept;
}
