#include "common/helpers.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/page_switcher.h"

#include <gtest/gtest.h>

using namespace Velmora;
using ModelStream::read;
using ModelStream::written;

namespace {

Gradient defaultGradient()
{
    Gradient g;
    g.setStops({{0.0, QColor("#000000")}, {0.3, QColor("#3f3f3f")}, {1.0, QColor("#000000")}});
    return g;
}

QByteArray switcherBytes(const PageSwitcher& switcher)
{
    return written([&](Streamer& s) { s << switcher; });
}

void readSwitcher(const QByteArray& bytes, PageSwitcher& switcher)
{
    read(bytes, [&](Streamer& s) {
        s >> switcher;
        EXPECT_TRUE(s.stream().atEnd());
    });
}

void expectDefaultStyling(const PageSwitcher& p)
{
    EXPECT_EQ(p.getBackgroundGradient(), defaultGradient());
    EXPECT_DOUBLE_EQ(p.getBackgroundOpacity(), 0.5);
    EXPECT_EQ(p.getButtonFontSize(), 11);
    EXPECT_EQ(p.getButtonTextColour(), QColor("#b2b2b2"));
    EXPECT_EQ(p.getButtonHighlight(), QColor("#4682B4"));
    EXPECT_DOUBLE_EQ(p.getButtonHighlightOpacity(), 0.5);
}

void expectDefaultDateTime(const PageSwitcher& p)
{
    EXPECT_FALSE(p.getShowTime());
    EXPECT_FALSE(p.getShowDate());
    EXPECT_EQ(p.getTimeFormat(), "hh:mm");
    EXPECT_EQ(p.getDateFormat(), "d/M/yyyy");
    EXPECT_TRUE(p.getDateTimeAtEnd());
    EXPECT_EQ(p.getDateTimeFontSize(), 11);
}

PageSwitcher readFixture(const QString& name, quint32 version)
{
    PageSwitcher p;
    readSwitcher(HexFixture::load(name, version), p);
    return p;
}

} // namespace

TEST(PageSwitcher, NewSwitcherHasItsDefaults)
{
    const PageSwitcher p;
    EXPECT_EQ(p.getPosition(), 0);
    EXPECT_EQ(p.getAlignment(), Alignment_SPREAD);
    EXPECT_TRUE(p.getPageIds().empty());
    EXPECT_EQ(p.usageCount(), 0);
    EXPECT_TRUE(p.getBackgroundGradient().name().isEmpty());
    expectDefaultStyling(p);
    EXPECT_TRUE(p.getShowPageNames());
    expectDefaultDateTime(p);
}

TEST(PageSwitcher, StreamsEveryField)
{
    PageSwitcher source;
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
    source.setButtonHighlight(QColor(4, 5, 6, 7)); // the alpha is not kept
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
    EXPECT_EQ(copy.getPosition(), NavigationPosition_RIGHT);
    EXPECT_EQ(copy.getAlignment(), Alignment_CENTER);
    EXPECT_EQ(copy.getPageIds(), (std::vector<unsigned int>{4, 0, 4, 255}));
    EXPECT_EQ(copy.usageCount(), 3);
    EXPECT_EQ(copy.getBackgroundGradient(), g);
    EXPECT_DOUBLE_EQ(copy.getBackgroundOpacity(), 0.125);
    EXPECT_EQ(copy.getButtonFontSize(), 18);
    EXPECT_EQ(copy.getButtonTextColour(), QColor(1, 2, 3));
    EXPECT_EQ(copy.getButtonHighlight(), QColor(4, 5, 6));
    EXPECT_DOUBLE_EQ(copy.getButtonHighlightOpacity(), 1.0);
    EXPECT_FALSE(copy.getShowPageNames());
    EXPECT_TRUE(copy.getShowTime());
    EXPECT_TRUE(copy.getShowDate());
    EXPECT_EQ(copy.getTimeFormat(), "h:mm ap");
    EXPECT_EQ(copy.getDateFormat(), "ddd d MMM");
    EXPECT_FALSE(copy.getDateTimeAtEnd());
    EXPECT_EQ(copy.getDateTimeFontSize(), 9);
}

TEST(PageSwitcher, Version3CountsOnePage)
{
    for (quint32 version : {0u, 3u}) {
        SCOPED_TRACE(version);
        const PageSwitcher p = readFixture("page_switcher_v3", version);
        EXPECT_EQ(p.getPosition(), NavigationPosition_RIGHT);
        EXPECT_EQ(p.getAlignment(), Alignment_END);
        EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{0, 3}));
        EXPECT_EQ(p.usageCount(), 1);
        expectDefaultStyling(p);
    }
}

TEST(PageSwitcher, Version8ReadsUsageButNoStyling)
{
    for (quint32 version : {4u, 8u}) {
        SCOPED_TRACE(version);
        const PageSwitcher p = readFixture("page_switcher_v8", version);
        EXPECT_EQ(p.getPosition(), NavigationPosition_BOTTOM);
        EXPECT_EQ(p.getPageIds(), std::vector<unsigned int>{5});
        EXPECT_EQ(p.usageCount(), 2);
        expectDefaultStyling(p);
        EXPECT_TRUE(p.getShowPageNames());
    }
}

TEST(PageSwitcher, Version11ReadsStylingButNoPageNamesFlag)
{
    for (quint32 version : {9u, 11u}) {
        SCOPED_TRACE(version);
        const PageSwitcher p = readFixture("page_switcher_v11", version);
        EXPECT_EQ(p.usageCount(), 3);
        Gradient g;
        g.setStops({{0.0, QColor(Qt::red)}, {1.0, QColor(Qt::blue)}});
        EXPECT_EQ(p.getBackgroundGradient(), g);
        EXPECT_DOUBLE_EQ(p.getBackgroundOpacity(), 0.25);
        EXPECT_EQ(p.getButtonFontSize(), 14);
        EXPECT_EQ(p.getButtonTextColour(), QColor(Qt::white));
        EXPECT_EQ(p.getButtonHighlight(), QColor(Qt::green));
        EXPECT_DOUBLE_EQ(p.getButtonHighlightOpacity(), 0.75);
        EXPECT_TRUE(p.getShowPageNames());
        expectDefaultDateTime(p);
    }
}

TEST(PageSwitcher, Version16ReadsPageNamesButNoDateTime)
{
    for (quint32 version : {12u, 16u}) {
        SCOPED_TRACE(version);
        const PageSwitcher p = readFixture("page_switcher_v16", version);
        EXPECT_EQ(p.getPosition(), NavigationPosition_LEFT);
        EXPECT_FALSE(p.getShowPageNames());
        expectDefaultDateTime(p);
    }
}

TEST(PageSwitcher, Version17ReadsDateTime)
{
    for (quint32 version : {17u, 18u}) {
        SCOPED_TRACE(version);
        const PageSwitcher p = readFixture("page_switcher_v17", version);
        EXPECT_EQ(p.usageCount(), 0);
        EXPECT_TRUE(p.getShowPageNames());
        EXPECT_TRUE(p.getShowTime());
        EXPECT_TRUE(p.getShowDate());
        EXPECT_EQ(p.getTimeFormat(), "hh");
        EXPECT_EQ(p.getDateFormat(), "d");
        EXPECT_FALSE(p.getDateTimeAtEnd());
        EXPECT_EQ(p.getDateTimeFontSize(), 13);
    }
}

TEST(PageSwitcher, MaxPagesByPositionAndOrientation)
{
    struct Case
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

TEST(PageSwitcher, PageList)
{
    PageSwitcher p;
    p.insertPage(7, 0);
    p.insertPage(9, 1);
    p.insertPage(7, 1);
    p.insertPage(2, 0);
    EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{2, 7, 7, 9}));
    EXPECT_TRUE(p.containsPage(9));
    EXPECT_FALSE(p.containsPage(3));
    EXPECT_EQ(p.removePage(7), 1);
    EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{2, 7, 9}));
    EXPECT_EQ(p.removePage(3), -1);
    EXPECT_EQ(p.getPageIds().size(), 3u);
}

TEST(PageSwitcher, UsageCount)
{
    PageSwitcher p;
    EXPECT_EQ(p.incrementUsage(), 1);
    EXPECT_EQ(p.incrementUsage(), 2);
    EXPECT_EQ(p.decrementUsage(), 1);
    EXPECT_EQ(p.decrementUsage(), 0);
    EXPECT_EQ(p.usageCount(), 0);
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

TEST(PageSwitcher, RendersAsAPageSwitcher)
{
    ModelStream::RecordingRenderer renderer;
    const PageSwitcher p;
    p.render(&renderer);
    EXPECT_EQ(renderer.calls, QStringList{"pageSwitcher"});
    EXPECT_EQ(renderer.object, &p);
}
