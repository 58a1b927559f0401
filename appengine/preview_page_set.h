#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <set>
#include <vector>

namespace Velmora {
class Configuration;
}

// Which pages the page preview keeps built. Built pages cost memory for every item they hold,
// so the preview keeps a bounded set: the current page always, then its neighbours in page
// order, then the pages shown most recently, newest first, as long as their weights (what a
// page's items take, pageWeight()) fit the budget together with those before them. Every other
// built page is released and built again from the project when it is needed.
class PreviewPageSet
{
public:
    // In KiB: room for the current page and its neighbours with a few recent pages of 30
    // controls and a page switcher (about 1.2 MiB each).
    static constexpr int DefaultBudget = 12 * 1024;
    // The most recently shown pages it remembers.
    static constexpr std::size_t RecentLimit = 8;

    explicit PreviewPageSet(int budget = DefaultBudget) : m_budget(budget) {}

    int budget() const { return m_budget; }
    void setBudget(int budget) { m_budget = budget; }

    // The page was shown (or built to be shown soon): it becomes the most recent.
    void noteShown(unsigned int pageId);
    void forget(unsigned int pageId);
    void clear() { m_recent.clear(); }
    // Newest first.
    const std::deque<unsigned int>& recent() const { return m_recent; }

    // The pages to keep. The current page (none for UINT_MAX) is kept whatever it weighs;
    // the others in the order above while the running total stays within the budget.
    std::set<unsigned int> pagesToKeep(unsigned int currentPageId,
                                       const std::vector<unsigned int>& neighbours,
                                       const std::function<int(unsigned int)>& weight) const;

    // What the page's items take when built, an estimate in KiB by the kinds of its items
    // (PreviewControlKinds for its controls); 0 for a page the project does not hold.
    static int pageWeight(const Velmora::Configuration& project, unsigned int pageId);

private:
    int m_budget;
    std::deque<unsigned int> m_recent;
};
