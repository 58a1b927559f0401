#include "appengine/preview_page_set.h"

#include <climits>
#include <gtest/gtest.h>
#include <map>

// The current page stays whatever it weighs; then its neighbours, then the pages shown most
// recently, newest first, while they fit the budget.
TEST(PreviewPageSet, KeepsCurrentNeighboursAndRecentPagesWithinTheBudget)
{
    // Pages 1 to 9 weigh their number.
    const auto weight = [](unsigned int pageId) { return int(pageId); };
    const struct
    {
        int budget;
        std::vector<unsigned int> shown; // oldest first
        unsigned int current;
        std::vector<unsigned int> neighbours;
        std::set<unsigned int> kept;
    } rows[] = {
        {20, {}, 9, {8, 2}, {9, 8, 2}},
        {10, {}, 9, {8, 2}, {9}},    // over the budget after the current page
        {12, {}, 9, {8, 2}, {9, 2}}, // a lighter neighbour after a heavy one
        {12, {3, 4, 1}, 5, {UINT_MAX, 6}, {5, 6, 1}},
        {20, {3, 4, 1}, 5, {UINT_MAX, 6}, {5, 6, 1, 4, 3}},
        {20, {2, 3, 2}, UINT_MAX, {}, {2, 3}}, // shown twice: counted once, as the newest
        {0, {1, 2}, 7, {}, {7}},
    };
    for (const auto& row : rows) {
        PreviewPageSet set(row.budget);
        for (unsigned int pageId : row.shown)
            set.noteShown(pageId);
        EXPECT_EQ(set.pagesToKeep(row.current, row.neighbours, weight), row.kept)
            << "budget " << row.budget << ", current " << row.current;
    }

    PreviewPageSet set;
    for (unsigned int pageId = 0; pageId < 20; ++pageId)
        set.noteShown(pageId);
    set.forget(18);
    EXPECT_EQ(set.recent(), std::deque<unsigned int>({19, 17, 16, 15, 14, 13, 12}))
        << "at most " << PreviewPageSet::RecentLimit << ", newest first";
}
