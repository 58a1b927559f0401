#include "appengine/selection_manager.h"

#include <QStringList>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace {

// A selection whose two signals are logged in the order they come.
class Selection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&selection, &SelectionManager::selectionChanged,
                         [this] { log_ << "selection"; });
        QObject::connect(&selection, &SelectionManager::currentPageChanged, [this](uint page) {
            log_ << (page == UINT_MAX ? QString("page none") : QString("page %1").arg(page));
        });
    }

    // The signals since the last call.
    QStringList take() { return std::exchange(log_, QStringList()); }
    std::vector<unsigned int> order() const { return {selection.begin(), selection.end()}; }

    SelectionManager selection;
    QStringList log_;
};

using Ids = std::set<unsigned int>;
using Order = std::vector<unsigned int>;

} // namespace

TEST_F(Selection, PagesMakeTheCurrentPageBeforeTheSelectionChanges)
{
    struct Step
    {
        std::function<void(SelectionManager&)> change;
        QStringList expected;
        unsigned int current;
        Order order;
    };
    const Step steps[] = {
        {[](auto& s) { s.selectPage(4, true, true); }, {"page 4", "selection"}, 4, {4}},
        // The page that alone is selected: nothing.
        {[](auto& s) { s.selectPage(4, true, true); }, {}, 4, {4}},
        {[](auto& s) { s.selectPage(4, true, false); }, {}, 4, {4}},
        // The current page leaves a selection of several pages.
        {[](auto& s) {
             s.selectPages({4, 7}, true);
         },
         {"page none", "selection"},
         UINT_MAX,
         {4, 7}},
        // The same set again, exclusively, is reported once more.
        {[](auto& s) {
             s.selectPages({4, 7}, true);
         },
         {"selection"},
         UINT_MAX,
         {4, 7}},
        {[](auto& s) { s.selectPage(4, false, false); }, {"page 7", "selection"}, 7, {7}},
        // Deselecting the last page keeps the current page.
        {[](auto& s) { s.selectPage(7, false, false); }, {"selection"}, 7, {}},
        {[](auto& s) { s.selectPage(7, false, false); }, {}, 7, {}},
        {[](auto& s) { s.selectPages({2}, false); }, {"page 2", "selection"}, 2, {2}},
        {[](auto& s) { s.selectPages({}, true); }, {"selection"}, 2, {}},
    };
    for (const Step& step : steps) {
        step.change(selection);
        EXPECT_EQ(take(), step.expected);
        EXPECT_EQ(selection.currentPage(), step.current);
        EXPECT_EQ(order(), step.order);
    }
}

TEST_F(Selection, ControlsAndSwitchersReplaceOtherKinds)
{
    selection.selectPage(3, true, true);
    take();
    // Selecting a control clears the pages in one change and keeps the current page.
    selection.selectControl(9, true, false);
    EXPECT_EQ(take(), QStringList{"selection"});
    EXPECT_EQ(selection.currentPage(), 3u);
    EXPECT_FALSE(selection.isPageSelected(3));
    EXPECT_TRUE(selection.isControlSelected(9));

    selection.selectControl(2, true, false);
    selection.selectControl(2, true, false);
    EXPECT_EQ(selection.selectedIdVector(), (Order{9, 2}));
    EXPECT_EQ(selection.selectedIds(), (Ids{2, 9}));
    EXPECT_EQ(*selection.begin(), 9u);
    selection.selectControls({1, 9}, false);
    EXPECT_EQ(selection.selectedIdVector(), (Order{9, 2, 1}));
    EXPECT_EQ(take(), (QStringList{"selection", "selection"}));
    // An exclusive set becomes ascending.
    selection.selectControls({9, 2, 1}, true);
    EXPECT_EQ(selection.selectedIdVector(), (Order{1, 2, 9}));

    // A page and a control may share a number: deselecting one kind leaves the other.
    selection.selectPage(2, false, false);
    EXPECT_TRUE(selection.isControlSelected(2));
    for (unsigned int id : {1u, 2u, 9u})
        selection.selectControl(id, false, false);
    EXPECT_EQ(selection.kind(), SelectionManager::SelectionKind_NONE);
    take();

    selection.selectPageSwitcher(5, true);
    selection.selectPageSwitcher(6, true); // always exclusive
    EXPECT_EQ(selection.kind(), SelectionManager::SelectionKind_PAGE_SWITCHERS);
    EXPECT_EQ(order(), Order{6});
    EXPECT_EQ(take(), (QStringList{"selection", "selection"}));
    EXPECT_EQ(selection.currentPage(), 3u);
}

TEST_F(Selection, ClearReportsWhetherAnythingWasSelected)
{
    EXPECT_FALSE(selection.clear(false));
    selection.selectControls({1, 2}, true);
    take();
    EXPECT_TRUE(selection.clear(true));
    EXPECT_TRUE(take().isEmpty());
    EXPECT_TRUE(selection.selectedIds().empty());
    selection.selectControl(1, true, true);
    QMetaObject::invokeMethod(&selection, "clear");
    EXPECT_EQ(take(), (QStringList{"selection", "selection"}));
    EXPECT_EQ(selection.kind(), SelectionManager::SelectionKind_NONE);
}
