#include "appengine/wysiwyg_layout.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

void PrintTo(const QRect& rect, std::ostream* os)
{
    *os << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height()
        << ")";
}

namespace {

using Rects = std::map<unsigned int, QRect>;

const WysiwygLayoutCreator* const creators[] = {&horizontalLayoutCreator, &verticalLayoutCreator,
                                                &gridLayoutCreator};

Rects laidOut(const WysiwygLayoutCreator& creator, const Rects& rects, int spacing)
{
    const std::unique_ptr<WysiwygLayout> layout(creator.make());
    EXPECT_TRUE(layout->rects.empty());
    EXPECT_EQ(layout->spacing, 0);
    layout->rects = rects;
    layout->spacing = spacing;
    layout->apply();
    return layout->rects;
}

Rects aligned(Rects rects, int mode)
{
    alignRects(rects, mode);
    return rects;
}

} // namespace

TEST(WysiwygLayout, RowsAndColumnsShareTheBoundsWithoutTheRemainder)
{
    // Three controls whose union is 100 pixels long: shares of 26 at offsets 0, 36 and 72. Along
    // the line they go by position, then extent, then id; across it they fill the bounds.
    const Rects row = {
        {7, QRect(20, 5, 30, 10)}, {3, QRect(20, 30, 10, 10)}, {5, QRect(60, 0, 60, 40)}};
    EXPECT_EQ(
        laidOut(horizontalLayoutCreator, row, 10),
        Rects({{3, QRect(20, 0, 26, 40)}, {7, QRect(56, 0, 26, 40)}, {5, QRect(92, 0, 26, 40)}}));
    const Rects column = {
        {2, QRect(5, 10, 10, 40)}, {1, QRect(0, 10, 20, 40)}, {9, QRect(3, 30, 8, 80)}};
    EXPECT_EQ(
        laidOut(verticalLayoutCreator, column, 10),
        Rects({{2, QRect(0, 46, 20, 26)}, {1, QRect(0, 10, 20, 26)}, {9, QRect(0, 82, 20, 26)}}));
}

// The share was divided as an unsigned number, so a spacing larger than the room gave
// rectangles billions of pixels long.
TEST(WysiwygLayout, ASpacingLargerThanTheRoomKeepsRowsAndColumnsInside)
{
    const Rects rects = {
        {1, QRect(0, 0, 40, 20)}, {2, QRect(60, 0, 40, 20)}, {3, QRect(30, 0, 10, 20)}};
    EXPECT_EQ(laidOut(horizontalLayoutCreator, rects, 500),
              Rects({{1, QRect(0, 0, 1, 20)}, {3, QRect(99, 0, 1, 20)}, {2, QRect(99, 0, 1, 20)}}));
    EXPECT_EQ(
        laidOut(verticalLayoutCreator, rects, 500),
        Rects({{1, QRect(0, 0, 100, 1)}, {3, QRect(0, 19, 100, 1)}, {2, QRect(0, 19, 100, 1)}}));
}

TEST(WysiwygLayout, GridSpreadsTheRowsAndColumnsWhereControlsBegin)
{
    // Two controls side by side with a 10-pixel gap: the gap is no column of its own.
    const Rects pair = {{1, QRect(0, 0, 100, 50)}, {2, QRect(110, 0, 100, 50)}};
    // A control two columns wide below, and one that sits a little off its cell.
    const Rects messy = {
        {1, QRect(0, 0, 100, 50)}, {2, QRect(115, 5, 90, 40)}, {3, QRect(0, 60, 210, 50)}};
    const struct
    {
        Rects rects;
        int spacing;
        Rects expected;
    } cases[] = {
        {pair, 10, pair},
        {pair, 0, {{1, QRect(0, 0, 105, 50)}, {2, QRect(105, 0, 105, 50)}}},
        // Pitch 355: both shrink to one pixel, the second held at the right edge.
        {pair, 500, {{1, QRect(0, 0, 1, 50)}, {2, QRect(209, 0, 1, 50)}}},
        {messy,
         10,
         {{1, QRect(0, 0, 100, 50)}, {2, QRect(110, 0, 100, 50)}, {3, QRect(0, 60, 210, 50)}}},
        // A control one pixel high covers no cell and stays; it begins no row, so the others
        // take the whole height.
        {{{1, QRect(0, 0, 100, 50)}, {2, QRect(110, 0, 100, 50)}, {3, QRect(20, 70, 150, 1)}},
         10,
         {{1, QRect(0, 0, 100, 71)}, {2, QRect(110, 0, 100, 71)}, {3, QRect(20, 70, 150, 1)}}},
        // Left of the page: x is raised to 0 while the right edge allows it.
        {{{1, QRect(-50, 0, 100, 50)}, {2, QRect(60, 0, 100, 50)}},
         10,
         {{1, QRect(0, 0, 100, 50)}, {2, QRect(60, 0, 100, 50)}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(laidOut(gridLayoutCreator, c.rects, c.spacing), c.expected)
            << "spacing " << c.spacing << ", " << c.rects.size() << " rectangles";
}

TEST(AlignRects, SixModesAgainstTheCommonBounds)
{
    // Bounds: left -10, top -1, right 89, bottom 59; vertical centre line 39, horizontal 29.
    const Rects rects = {
        {1, QRect(-10, 0, 20, 10)}, {2, QRect(50, 20, 40, 40)}, {4, QRect(-3, -1, 5, 6)}};
    const Rects before = {
        {1, QRect(-10, 0, 20, 10)}, {2, QRect(50, 20, 40, 40)}, {4, QRect(-3, -1, 5, 6)}};
    const struct
    {
        int mode;
        Rects expected;
    } cases[] = {
        {0, {{1, QRect(-10, 0, 20, 10)}, {2, QRect(-10, 20, 40, 40)}, {4, QRect(-10, -1, 5, 6)}}},
        {1, {{1, QRect(70, 0, 20, 10)}, {2, QRect(50, 20, 40, 40)}, {4, QRect(85, -1, 5, 6)}}},
        {2, {{1, QRect(-10, -1, 20, 10)}, {2, QRect(50, -1, 40, 40)}, {4, QRect(-3, -1, 5, 6)}}},
        {3, {{1, QRect(-10, 50, 20, 10)}, {2, QRect(50, 20, 40, 40)}, {4, QRect(-3, 54, 5, 6)}}},
        {4, {{1, QRect(30, 0, 20, 10)}, {2, QRect(20, 20, 40, 40)}, {4, QRect(37, -1, 5, 6)}}},
        {5, {{1, QRect(-10, 25, 20, 10)}, {2, QRect(50, 10, 40, 40)}, {4, QRect(-3, 27, 5, 6)}}},
        {6, before},
        {-1, before},
    };
    for (const auto& c : cases)
        EXPECT_EQ(aligned(rects, c.mode), c.expected) << "mode " << c.mode;
}

TEST(WysiwygLayout, EmptyMapsAndSingleControlsStayAsTheyAre)
{
    const Rects single = {{4, QRect(12, 34, 56, 78)}};
    for (const WysiwygLayoutCreator* creator : creators) {
        EXPECT_TRUE(laidOut(*creator, {}, 10).empty());
        EXPECT_EQ(laidOut(*creator, single, 10), single);
    }
    for (int mode = 0; mode < 6; ++mode) {
        EXPECT_TRUE(aligned({}, mode).empty());
        EXPECT_EQ(aligned(single, mode), single);
    }
    EXPECT_TRUE(unitedRect({}).isNull());
}

// Whatever the rectangles and the spacing, every result is a proper rectangle inside the union
// of the inputs, and no id is added or lost.
TEST(WysiwygLayout, ResultsOfRandomSetsAreProperAndInsideTheBounds)
{
    QRandomGenerator random(20240611);
    for (int round = 0; round < 400; ++round) {
        Rects rects;
        const int count = random.bounded(1, 13);
        for (int i = 0; i < count; ++i)
            rects[random.bounded(1000u)] =
                QRect(random.bounded(-300, 800), random.bounded(-300, 500), random.bounded(1, 300),
                      random.bounded(1, 300));
        const QRect bounds = unitedRect(rects);
        const int spacing = random.bounded(0, 501);
        std::vector<Rects> results;
        for (const WysiwygLayoutCreator* creator : creators)
            results.push_back(laidOut(*creator, rects, spacing));
        for (int mode = 0; mode < 6; ++mode)
            results.push_back(aligned(rects, mode));
        for (std::size_t r = 0; r < results.size(); ++r) {
            ASSERT_EQ(results[r].size(), rects.size());
            for (const auto& [id, rect] : results[r]) {
                ASSERT_EQ(rects.count(id), 1u);
                ASSERT_FALSE(rect.isEmpty()) << "round " << round << ", result " << r;
                ASSERT_TRUE(bounds.contains(rect)) << "round " << round << ", result " << r;
            }
        }
    }
}
