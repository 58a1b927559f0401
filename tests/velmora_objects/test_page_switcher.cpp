#include "common/helpers.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/page_switcher.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

QByteArray switcherBytes(const PageSwitcher& switcher)
{
    return ModelStream::objectBytes(switcher);
}

void readSwitcher(const QByteArray& bytes, PageSwitcher& switcher)
{
    EXPECT_TRUE(ModelStream::readObject(bytes, switcher));
}

PageSwitcher readFixture(const QString& name, quint32 version)
{
    PageSwitcher p;
    readSwitcher(HexFixture::load(name, version), p);
    return p;
}

// The styling a new switcher has, and one read from a file too old to hold it.
void expectDefaultStyling(const PageSwitcher& p)
{
    Gradient g;
    g.setStops({{0.0, QColor("#000000")}, {0.3, QColor("#3f3f3f")}, {1.0, QColor("#000000")}});
    EXPECT_EQ(p.getBackgroundGradient(), g);
    EXPECT_DOUBLE_EQ(p.getBackgroundOpacity(), 0.5);
    EXPECT_EQ(p.getButtonFontSize(), 11);
    EXPECT_EQ(p.getButtonTextColour(), QColor("#b2b2b2"));
    EXPECT_EQ(p.getButtonHighlight(), QColor("#4682B4"));
    EXPECT_DOUBLE_EQ(p.getButtonHighlightOpacity(), 0.5);
}

void expectDefaultDateTime(const PageSwitcher& p)
{
    EXPECT_FALSE(p.getShowTime() || p.getShowDate());
    EXPECT_EQ(p.getTimeFormat(), "hh:mm");
    EXPECT_EQ(p.getDateFormat(), "d/M/yyyy");
    EXPECT_TRUE(p.getDateTimeAtEnd());
    EXPECT_EQ(p.getDateTimeFontSize(), 11);
}

} // namespace

TEST(PageSwitcher, StreamsEveryField)
{
    PageSwitcher source;
    expectDefaultStyling(source);
    expectDefaultDateTime(source);
    source.setPosition(NavigationPosition_RIGHT);
    source.setAlignment(Alignment_CENTER);
    source.setPageIds({4, 0, 4, 255});
    source.setUsage(3);
    Gradient g;
    g.setName("Bar");
    g.setStops({{0.25, QColor(Qt::red)}, {0.5, QColor(Qt::yellow)}});
    source.setBackgroundGradient(g);
    source.setBackgroundOpacity(0.125);
    source.setButtonFontSize(18);
    source.setButtonTextColour(QColor(1, 2, 3));
    source.setButtonHighlight(QColor(4, 5, 6));
    source.setButtonHighlightOpacity(1.0);
    source.setShowPageNames(false);
    source.setShowTime(true);
    source.setShowDate(true);
    source.setTimeFormat("h:mm ap");
    source.setDateFormat("ddd d MMM");
    source.setDateTimeAtEnd(false);
    source.setDateTimeFontSize(9);
    PageSwitcher copy;
    readSwitcher(switcherBytes(source), copy);
    EXPECT_EQ(switcherBytes(copy), switcherBytes(source));
}

TEST(PageSwitcher, VersionGates)
{
    // Before version 4 no usage count: a switcher was shown on one page.
    for (quint32 version : {0u, 3u}) {
        const PageSwitcher p = readFixture("page_switcher_v3", version);
        EXPECT_EQ(p.getPosition(), NavigationPosition_RIGHT);
        EXPECT_EQ(p.getAlignment(), Alignment_END);
        EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{0, 3}));
        EXPECT_EQ(p.usageCount(), 1);
        expectDefaultStyling(p);
    }
    for (quint32 version : {4u, 8u}) {
        const PageSwitcher p = readFixture("page_switcher_v8", version);
        EXPECT_EQ(p.usageCount(), 2);
        expectDefaultStyling(p);
    }
    // The styling from version 9.
    for (quint32 version : {9u, 11u}) {
        const PageSwitcher p = readFixture("page_switcher_v11", version);
        Gradient g;
        g.setStops({{0.0, QColor(Qt::red)}, {1.0, QColor(Qt::blue)}});
        EXPECT_EQ(p.getBackgroundGradient(), g);
        EXPECT_DOUBLE_EQ(p.getBackgroundOpacity(), 0.25);
        EXPECT_EQ(p.getButtonFontSize(), 14);
        EXPECT_EQ(p.getButtonTextColour(), QColor(Qt::white));
        EXPECT_EQ(p.getButtonHighlight(), QColor(Qt::green));
        EXPECT_DOUBLE_EQ(p.getButtonHighlightOpacity(), 0.75);
        EXPECT_TRUE(p.getShowPageNames());
    }
    // The page-names flag from version 12, date and time from 17.
    for (quint32 version : {12u, 16u}) {
        const PageSwitcher p = readFixture("page_switcher_v16", version);
        EXPECT_FALSE(p.getShowPageNames());
        expectDefaultDateTime(p);
    }
    for (quint32 version : {17u, 18u}) {
        const PageSwitcher p = readFixture("page_switcher_v17", version);
        EXPECT_TRUE(p.getShowTime() && p.getShowDate());
        EXPECT_EQ(p.getTimeFormat(), "hh");
        EXPECT_EQ(p.getDateFormat(), "d");
        EXPECT_FALSE(p.getDateTimeAtEnd());
        EXPECT_EQ(p.getDateTimeFontSize(), 13);
    }
}

TEST(PageSwitcher, MaxPagesByPositionAndOrientation)
{
    const struct
    {
        int position, orientation, expected;
    } cases[] = {
        {3, 1, 10}, {1, 1, 10}, {3, 2, 6},  {1, 2, 6}, {4, 2, 10},
        {2, 2, 10}, {2, 1, 6},  {4, 1, 6},  {1, 0, 0}, {2, 0, 0},
        {5, 1, 0},  {0, 1, 0},  {-1, 2, 0}, {1, 7, 6}, {2, -3, 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageSwitcher::maxPages(c.position, c.orientation), c.expected)
            << c.position << ", " << c.orientation;
}

TEST(PageSwitcher, PageListAndUsageCount)
{
    PageSwitcher p;
    p.insertPage(7, 0);
    p.insertPage(9, 1);
    p.insertPage(7, 1);
    p.insertPage(2, 0);
    EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{2, 7, 7, 9}));
    EXPECT_EQ(p.removePage(7), 1);
    EXPECT_EQ(p.removePage(3), -1);
    EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{2, 7, 9}));

    EXPECT_EQ(p.incrementUsage(), 1);
    EXPECT_EQ(p.incrementUsage(), 2);
    EXPECT_EQ(p.decrementUsage(), 1);
    EXPECT_EQ(p.decrementUsage(), 0);
    EXPECT_DEATH(p.decrementUsage(), "Assert: 'usage > 0' is FALSE.*page_switcher");
}

TEST(PageSwitcher, DamagedBlocksRaiseTheStreamError)
{
    const QByteArray bytes = HexFixture::load("page_switcher_v17");
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                  PageSwitcher p;
                  readSwitcher(bytes.left(bytes.size() - 5), p);
              }),
              "Failed to find expected tag PageSwitcher_end");
    // A page-id count beyond the stream's end.
    QByteArray huge = HexFixture::load("page_switcher_v3");
    huge.replace(TestUtil::fromHex("00000002 00000000"), TestUtil::fromHex("10000000 00000000"));
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                  PageSwitcher p;
                  readSwitcher(huge, p);
              }),
              "Unexpected end of file");
}
