#include "common/helpers.h"
#include "containers/sortvector.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/theme.h"

#include <gtest/gtest.h>
#include <typeinfo>

using namespace Velmora;
using ModelStream::objectBytes;
using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;

namespace {

Gradient gradientOf(const QColor& top, const QColor& bottom)
{
    Gradient g;
    g.setStops({{0.0, top}, {1.0, bottom}});
    return g;
}

template <class T> void readObject(const QByteArray& bytes, T& object)
{
    EXPECT_TRUE(ModelStream::readObject(bytes, object));
}

template <class T> T readFixture(const QString& name, quint32 version)
{
    T object;
    readObject(HexFixture::load(name, version), object);
    return object;
}

// The error text of reading the bytes into a new object.
template <class T> std::string readError(const QByteArray& bytes)
{
    return runtimeErrorOf([&] {
        T object;
        ModelStream::readObject(bytes, object);
    });
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

std::unique_ptr<Theme> switcherTheme(const std::vector<std::pair<QString, QVariant>>& defaults)
{
    auto theme = std::make_unique<Theme>(QString());
    for (const auto& [name, value] : defaults)
        theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, name, value);
    return theme;
}

} // namespace

TEST(Page, StreamsEveryField)
{
    Page source;
    source.setName("Lounge");
    source.setSortValue(-131072);
    source.setIconId(3);
    source.setBackgroundGradient(gradientOf(Qt::blue, Qt::white));
    source.setBackgroundGradientRotation(270);
    source.setBackgroundImageId(8);
    source.setBackgroundImageScaling(Scaling_TILED_HORIZONTALLY);
    source.setPageSwitcherId(2);
    source.setLayoutName("Grid 2x2");
    source.setNavButtons({NavigationPosition_LEFT,
                          Alignment_END,
                          {ButtonFunction_BACK, ButtonFunction_LOCK, ButtonFunction_NEXT_PAGE}});
    source.getControlIds().insert(5); // not part of the block
    Page copy;
    readObject(objectBytes(source), copy);
    EXPECT_EQ(objectBytes(copy), objectBytes(source));
    EXPECT_TRUE(copy.getControlIds().empty());

    EXPECT_EQ(ModelStream::body(TestUtil::streamed([](Streamer& s) {
                  s << NavButtons{3, Alignment_START, {}};
              })),
              "NavButtons_start" + fromHex("03 00 00000000") + "NavButtons_end");

    // The background colour travels by name ("#ff0000": seven UTF-16 characters, no alpha);
    // no colour is an empty string, and the colour stays invalid.
    Page red;
    red.setBackgroundColour(QColor(255, 0, 0, 100));
    const QByteArray bytes = objectBytes(red);
    EXPECT_TRUE(bytes.contains(fromHex("0000000e 0023006600660030003000300030")));
    readObject(bytes, copy);
    EXPECT_EQ(copy.getBackgroundColour(), QColor(255, 0, 0));
    const QByteArray none = objectBytes(Page());
    EXPECT_TRUE(ModelStream::body(none).startsWith(
        "Page_start" + fromHex("ffffffff 00000000 ffffffff 00000000 ffffffff 00000000 ffffffff")));
    Page plain;
    readObject(none, plain);
    EXPECT_FALSE(plain.getBackgroundColour().isValid());
}

TEST(Page, ColourAndGradientReplaceEachOther)
{
    Page p;
    p.setBackgroundGradient(gradientOf(Qt::blue, Qt::white));
    EXPECT_EQ(p.getBackgroundGradientRotation(), 0);
    EXPECT_FALSE(p.getBackgroundColour().isValid());
    p.setBackgroundGradientRotation(45);
    p.setBackgroundGradient(gradientOf(Qt::blue, Qt::white));
    EXPECT_EQ(p.getBackgroundGradientRotation(), 45);

    p.setBackgroundImageId(4);
    p.setBackgroundColour(QColor(Qt::green));
    EXPECT_TRUE(p.getBackgroundGradient().isNull());
    EXPECT_EQ(p.getBackgroundGradientRotation(), -1);
    EXPECT_EQ(p.getBackgroundImageId(), 4u);

    // A null gradient leaves a white page.
    p.setBackgroundGradient(Gradient());
    EXPECT_EQ(p.getBackgroundColour(), QColor(Qt::white));
    EXPECT_EQ(p.getBackgroundGradientRotation(), 0);
}

TEST(Page, VersionGates)
{
    // Before version 7 neither scaling nor rotation; a gradient then has rotation 0.
    for (quint32 version : {0u, 6u}) {
        const auto p = readFixture<Page>("page_v6", version);
        EXPECT_EQ(p.getName(), "Main");
        EXPECT_EQ(p.getSortValue(), 65536);
        EXPECT_EQ(p.getIconId(), 2u);
        EXPECT_FALSE(p.getBackgroundColour().isValid());
        EXPECT_EQ(p.getBackgroundGradient(), gradientOf(Qt::blue, Qt::white));
        EXPECT_EQ(p.getBackgroundGradientRotation(), 0);
        EXPECT_EQ(p.getBackgroundImageId(), 4u);
        EXPECT_EQ(p.getBackgroundImageScaling(), Scaling_ZOOM_TO_FIT);
        EXPECT_EQ(p.getPageSwitcherId(), 1u);
        EXPECT_EQ(p.getLayoutName(), "grid");
        EXPECT_EQ(p.getNavButtons().position, NavigationPosition_BOTTOM);
        EXPECT_EQ(p.getNavButtons().alignment, Alignment_CENTER);
        EXPECT_EQ(
            p.getNavButtons().functions,
            (std::vector<ButtonFunction>{ButtonFunction_NEXT_PAGE, ButtonFunction_PREVIOUS_PAGE}));
    }
    // Version 7 has the scaling; without a gradient the rotation is -1.
    const auto v7 = readFixture<Page>("page_v7", 7);
    EXPECT_EQ(v7.getBackgroundColour(), QColor(Qt::red));
    EXPECT_EQ(v7.getBackgroundGradientRotation(), -1);
    EXPECT_EQ(v7.getBackgroundImageScaling(), Scaling_TILED_VERTICALLY);
    for (quint32 version : {8u, 18u}) {
        const auto p = readFixture<Page>("page_v8", version);
        EXPECT_EQ(p.getBackgroundGradientRotation(), 45);
        EXPECT_EQ(p.getBackgroundImageScaling(), Scaling_NONE);
        // Bytes outside the named values are kept as read; three functions at most.
        EXPECT_EQ(p.getNavButtons().position, 200);
        EXPECT_EQ(p.getNavButtons().alignment, Alignment(254));
        EXPECT_EQ(p.getNavButtons().functions,
                  (std::vector<ButtonFunction>{ButtonFunction(255), ButtonFunction_NEXT_PAGE,
                                               ButtonFunction_PREVIOUS_PAGE}));
    }
}

TEST(Page, OrderBySignedSortValue)
{
    sortvector<Page> pages(16, 256);
    for (qint32 value : {3, -5, 2147483647, -2147483647 - 1}) {
        smart_ptr<Page> page(new Page);
        page->setSortValue(value);
        pages.insert(page, UINT_MAX);
    }
    std::vector<qint32> order;
    for (const Page& p : pages)
        order.push_back(p.getSortValue());
    EXPECT_EQ(order, (std::vector<qint32>{-2147483647 - 1, -5, 3, 2147483647}));
    EXPECT_THROW(pages[0].lessThan(sortvector_el()), std::bad_cast);
}

TEST(PageSwitcher, StreamsEveryField)
{
    PageSwitcher source;
    expectDefaultStyling(source);
    expectDefaultDateTime(source);
    source.setPosition(NavigationPosition_RIGHT);
    source.setAlignment(Alignment_CENTER);
    source.setPageIds({4, 0, 4, 255});
    source.setUsage(3);
    Gradient g = gradientOf(Qt::red, Qt::yellow);
    g.setName("Bar");
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
    readObject(objectBytes(source), copy);
    EXPECT_EQ(objectBytes(copy), objectBytes(source));
}

TEST(PageSwitcher, VersionGates)
{
    // Before version 4 no usage count: a switcher was shown on one page.
    for (quint32 version : {0u, 3u}) {
        const auto p = readFixture<PageSwitcher>("page_switcher_v3", version);
        EXPECT_EQ(p.getPosition(), NavigationPosition_RIGHT);
        EXPECT_EQ(p.getAlignment(), Alignment_END);
        EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{0, 3}));
        EXPECT_EQ(p.usageCount(), 1);
        expectDefaultStyling(p);
    }
    for (quint32 version : {4u, 8u}) {
        const auto p = readFixture<PageSwitcher>("page_switcher_v8", version);
        EXPECT_EQ(p.usageCount(), 2);
        expectDefaultStyling(p);
    }
    // The styling from version 9.
    for (quint32 version : {9u, 11u}) {
        const auto p = readFixture<PageSwitcher>("page_switcher_v11", version);
        EXPECT_EQ(p.getBackgroundGradient(), gradientOf(Qt::red, Qt::blue));
        EXPECT_DOUBLE_EQ(p.getBackgroundOpacity(), 0.25);
        EXPECT_EQ(p.getButtonFontSize(), 14);
        EXPECT_EQ(p.getButtonTextColour(), QColor(Qt::white));
        EXPECT_EQ(p.getButtonHighlight(), QColor(Qt::green));
        EXPECT_DOUBLE_EQ(p.getButtonHighlightOpacity(), 0.75);
        EXPECT_TRUE(p.getShowPageNames());
    }
    // The page-names flag from version 12, date and time from 17.
    for (quint32 version : {12u, 16u}) {
        const auto p = readFixture<PageSwitcher>("page_switcher_v16", version);
        EXPECT_FALSE(p.getShowPageNames());
        expectDefaultDateTime(p);
    }
    for (quint32 version : {17u, 18u}) {
        const auto p = readFixture<PageSwitcher>("page_switcher_v17", version);
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

// The list holds each page once, however it is given.
TEST(PageSwitcher, PageListAndUsageCount)
{
    PageSwitcher p;
    p.insertPage(7, 0);
    p.insertPage(9, 1);
    p.insertPage(7, 1);
    p.insertPage(2, 0);
    EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{2, 7, 9}));
    EXPECT_EQ(p.removePage(7), 1);
    EXPECT_EQ(p.removePage(3), -1);
    EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{2, 9}));
    p.setPageIds({3, 1, 3, 2, 1});
    EXPECT_EQ(p.getPageIds(), (std::vector<unsigned int>{3, 1, 2}));

    EXPECT_EQ(p.incrementUsage(), 1);
    EXPECT_EQ(p.incrementUsage(), 2);
    EXPECT_EQ(p.decrementUsage(), 1);
    EXPECT_EQ(p.decrementUsage(), 0);
    EXPECT_DEATH(p.decrementUsage(), "Assert: 'usage > 0' is FALSE.*page_switcher");
}

TEST(Page, DamagedBlocksRaiseTheStreamError)
{
    const QByteArray page = HexFixture::load("page_v6");
    EXPECT_EQ(readError<Page>(page.left(page.size() - 20)),
              "Failed to find expected tag NavButtons_end");
    const QByteArray switcher = HexFixture::load("page_switcher_v17");
    EXPECT_EQ(readError<PageSwitcher>(switcher.left(switcher.size() - 5)),
              "Failed to find expected tag PageSwitcher_end");
    // A count far beyond the stream's end (of navigation functions, of page ids) stops at once.
    EXPECT_EQ(readError<Page>(
                  QByteArray(page).replace(fromHex("00000002 01 02"), fromHex("7fffffff 01 02"))),
              "Unexpected end of file");
    EXPECT_EQ(readError<PageSwitcher>(
                  HexFixture::load("page_switcher_v3")
                      .replace(fromHex("00000002 00000000"), fromHex("10000000 00000000"))),
              "Unexpected end of file");
}

TEST(PageSwitcher, TakesEveryThemeDefault)
{
    const Gradient bar = gradientOf(Qt::red, Qt::blue);
    const auto theme = switcherTheme({{"backgroundGradient", QVariant::fromValue(bar)},
                                      {"buttonTextColour", "#102030"},
                                      {"buttonHighlight", QColor(Qt::yellow)},
                                      {"backgroundOpacity", "0.9"},
                                      {"buttonFontSize", "15"},
                                      {"buttonHighlightOpacity", "0.1"},
                                      {"showPageNames", "false"},
                                      {"showTime", "true"},
                                      {"showDate", "true"},
                                      {"timeFormat", "h:mm"},
                                      {"dateFormat", "dd.MM."},
                                      {"dateTimeAtEnd", "false"},
                                      {"dateTimeFontSize", "12"}});
    PageSwitcher p;
    p.initialiseFromTheme(theme.get(), nullptr);
    PageSwitcher expected;
    expected.setBackgroundGradient(bar);
    expected.setButtonTextColour(QColor(0x10, 0x20, 0x30));
    expected.setButtonHighlight(QColor(Qt::yellow));
    expected.setBackgroundOpacity(0.9);
    expected.setButtonFontSize(15);
    expected.setButtonHighlightOpacity(0.1);
    expected.setShowPageNames(false);
    expected.setShowTime(true);
    expected.setShowDate(true);
    expected.setTimeFormat("h:mm");
    expected.setDateFormat("dd.MM.");
    expected.setDateTimeAtEnd(false);
    expected.setDateTimeFontSize(12);
    EXPECT_EQ(objectBytes(p), objectBytes(expected));

    // Damaged defaults are ignored.
    const auto damaged = switcherTheme({{"backgroundGradient", "not a gradient"},
                                        {"buttonTextColour", "not a colour"},
                                        {"buttonHighlight", 42}});
    PageSwitcher untouched;
    untouched.initialiseFromTheme(damaged.get(), nullptr);
    EXPECT_EQ(objectBytes(untouched), objectBytes(PageSwitcher()));
}

TEST(PageSwitcher, ComparesGradientsAndColoursAsSuchOnAThemeChange)
{
    const Gradient oldBar = gradientOf(Qt::black, Qt::gray);
    const Gradient newBar = gradientOf(Qt::white, Qt::green);
    const auto old = switcherTheme({{"backgroundGradient", QVariant::fromValue(oldBar)},
                                    {"buttonTextColour", "#b2b2b2"}, // text, equal to the colour
                                    {"buttonHighlight", "#000000"}});
    const auto next = switcherTheme({{"backgroundGradient", QVariant::fromValue(newBar)},
                                     {"buttonTextColour", "#ffffff"},
                                     {"buttonHighlight", "#ff0000"}});

    PageSwitcher following;
    following.setBackgroundGradient(oldBar);
    following.initialiseFromTheme(next.get(), old.get());
    EXPECT_EQ(following.getBackgroundGradient(), newBar);
    EXPECT_EQ(following.getButtonTextColour(), QColor(Qt::white));
    // The highlight was not the previous theme's: it stays.
    EXPECT_EQ(following.getButtonHighlight(), QColor("#4682B4"));

    PageSwitcher changed;
    changed.setBackgroundGradient(gradientOf(Qt::cyan, Qt::cyan));
    changed.initialiseFromTheme(next.get(), old.get());
    EXPECT_EQ(changed.getBackgroundGradient(), gradientOf(Qt::cyan, Qt::cyan));
}
