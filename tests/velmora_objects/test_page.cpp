#include "common/helpers.h"
#include "containers/sortvector.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/page.h"

#include <QVariant>
#include <gtest/gtest.h>
#include <typeinfo>

using namespace Velmora;
using ModelStream::read;
using ModelStream::written;
using TestUtil::fromHex;

namespace {

Gradient twoStops()
{
    Gradient g;
    g.setName("Dusk");
    g.setStops({{0.0, QColor(Qt::blue)}, {1.0, QColor(Qt::white)}});
    return g;
}

QByteArray pageBytes(const Page& page)
{
    return written([&](Streamer& s) { s << page; });
}

void readPage(const QByteArray& bytes, Page& page)
{
    read(bytes, [&](Streamer& s) {
        s >> page;
        EXPECT_TRUE(s.stream().atEnd());
    });
}

} // namespace

TEST(Page, NewPageHasItsDefaults)
{
    const Page p;
    EXPECT_TRUE(p.getName().isEmpty());
    EXPECT_EQ(p.getSortValue(), 0);
    EXPECT_EQ(p.getIconId(), UINT_MAX);
    EXPECT_FALSE(p.getBackgroundColour().isValid());
    EXPECT_TRUE(p.getBackgroundGradient().isNull());
    EXPECT_EQ(p.getBackgroundGradientRotation(), -1);
    EXPECT_EQ(p.getBackgroundImageId(), UINT_MAX);
    EXPECT_EQ(p.getBackgroundImageScaling(), Scaling_ZOOM_TO_FIT);
    EXPECT_TRUE(p.getControlIds().empty());
    EXPECT_EQ(p.getPageSwitcherId(), UINT_MAX);
    EXPECT_TRUE(p.getLayoutName().isEmpty());
    EXPECT_EQ(p.getNavButtons().position, 0);
    EXPECT_EQ(p.getNavButtons().alignment, Alignment_SPREAD);
    EXPECT_TRUE(p.getNavButtons().functions.empty());
}

TEST(Page, StreamsEveryField)
{
    Page source;
    source.setName("Lounge");
    source.setSortValue(-131072);
    source.setIconId(3);
    source.setBackgroundGradient(twoStops());
    source.setBackgroundGradientRotation(270);
    source.setBackgroundImageId(8);
    source.setBackgroundImageScaling(Scaling_TILED_HORIZONTALLY);
    source.getControlIds().insert(5); // not part of the block
    source.setPageSwitcherId(2);
    source.setLayoutName("Grid 2x2");
    source.setNavButtons({NavigationPosition_LEFT,
                          Alignment_END,
                          {ButtonFunction_BACK, ButtonFunction_LOCK, ButtonFunction_NEXT_PAGE}});

    Page copy;
    readPage(pageBytes(source), copy);
    EXPECT_EQ(copy.getName(), "Lounge");
    EXPECT_EQ(copy.getSortValue(), -131072);
    EXPECT_EQ(copy.getIconId(), 3u);
    EXPECT_FALSE(copy.getBackgroundColour().isValid());
    EXPECT_EQ(copy.getBackgroundGradient(), twoStops());
    EXPECT_EQ(copy.getBackgroundGradientRotation(), 270);
    EXPECT_EQ(copy.getBackgroundImageId(), 8u);
    EXPECT_EQ(copy.getBackgroundImageScaling(), Scaling_TILED_HORIZONTALLY);
    EXPECT_TRUE(copy.getControlIds().empty());
    EXPECT_EQ(copy.getPageSwitcherId(), 2u);
    EXPECT_EQ(copy.getLayoutName(), "Grid 2x2");
    EXPECT_EQ(copy.getNavButtons().position, NavigationPosition_LEFT);
    EXPECT_EQ(copy.getNavButtons().alignment, Alignment_END);
    EXPECT_EQ(copy.getNavButtons().functions,
              (std::vector<ButtonFunction>{ButtonFunction_BACK, ButtonFunction_LOCK,
                                           ButtonFunction_NEXT_PAGE}));
}

TEST(Page, BackgroundColourTravelsByName)
{
    Page red;
    red.setBackgroundColour(QColor(255, 0, 0, 100));
    const QByteArray bytes = pageBytes(red);
    // "#ff0000": seven UTF-16 characters, no alpha.
    EXPECT_TRUE(bytes.contains(fromHex("0000000e 0023006600660030003000300030")));
    Page copy;
    readPage(bytes, copy);
    EXPECT_EQ(copy.getBackgroundColour(), QColor(255, 0, 0));

    // No colour: an empty string, and the colour stays invalid.
    const QByteArray none = pageBytes(Page());
    EXPECT_TRUE(none.mid(12).startsWith(
        "Page_start" + fromHex("ffffffff 00000000 ffffffff 00000000 ffffffff 00000000 ffffffff")));
    Page plain;
    readPage(none, plain);
    EXPECT_FALSE(plain.getBackgroundColour().isValid());
}

TEST(Page, ColourAndGradientReplaceEachOther)
{
    Page p;
    p.setBackgroundGradient(twoStops());
    EXPECT_EQ(p.getBackgroundGradientRotation(), 0);
    EXPECT_FALSE(p.getBackgroundColour().isValid());
    p.setBackgroundGradientRotation(45);
    p.setBackgroundGradient(twoStops());
    EXPECT_EQ(p.getBackgroundGradientRotation(), 45);

    p.setBackgroundImageId(4);
    p.setBackgroundImageScaling(Scaling_TILED);
    p.setBackgroundColour(QColor(Qt::green));
    EXPECT_TRUE(p.getBackgroundGradient().isNull());
    EXPECT_EQ(p.getBackgroundGradientRotation(), -1);
    EXPECT_EQ(p.getBackgroundColour(), QColor(Qt::green));
    EXPECT_EQ(p.getBackgroundImageId(), 4u);
    EXPECT_EQ(p.getBackgroundImageScaling(), Scaling_TILED);

    // A null gradient leaves a white page.
    p.setBackgroundGradient(Gradient());
    EXPECT_EQ(p.getBackgroundColour(), QColor(Qt::white));
    EXPECT_EQ(p.getBackgroundGradientRotation(), 0);
}

TEST(Page, Version6HasNeitherRotationNorScaling)
{
    for (quint32 version : {0u, 6u}) {
        SCOPED_TRACE(version);
        Page p;
        readPage(HexFixture::load("page_v6", version), p);
        EXPECT_EQ(p.getName(), "Main");
        EXPECT_EQ(p.getSortValue(), 65536);
        EXPECT_EQ(p.getIconId(), 2u);
        EXPECT_FALSE(p.getBackgroundColour().isValid());
        Gradient expected;
        expected.setStops({{0.0, QColor(Qt::blue)}, {1.0, QColor(Qt::white)}});
        EXPECT_EQ(p.getBackgroundGradient(), expected);
        EXPECT_EQ(p.getBackgroundGradientRotation(), 0); // a gradient without a stored rotation
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
}

TEST(Page, Version7HasScalingButNoRotation)
{
    Page p;
    readPage(HexFixture::load("page_v7"), p);
    EXPECT_TRUE(p.getName().isEmpty());
    EXPECT_EQ(p.getSortValue(), -5);
    EXPECT_EQ(p.getBackgroundColour(), QColor(Qt::red));
    EXPECT_TRUE(p.getBackgroundGradient().isNull());
    EXPECT_EQ(p.getBackgroundGradientRotation(), -1); // no gradient
    EXPECT_EQ(p.getBackgroundImageScaling(), Scaling_TILED_VERTICALLY);
    EXPECT_EQ(p.getBackgroundImageId(), UINT_MAX);
    EXPECT_EQ(p.getPageSwitcherId(), UINT_MAX);
    EXPECT_EQ(p.getNavButtons().position, NavigationPosition_TOP);
    EXPECT_TRUE(p.getNavButtons().functions.empty());
}

TEST(Page, Version8HasRotation)
{
    for (quint32 version : {8u, 18u}) {
        SCOPED_TRACE(version);
        Page p;
        readPage(HexFixture::load("page_v8", version), p);
        EXPECT_EQ(p.getBackgroundGradientRotation(), 45);
        EXPECT_EQ(p.getBackgroundImageScaling(), Scaling_NONE);
        // Bytes outside the named values are kept as read.
        EXPECT_EQ(p.getNavButtons().position, 200);
        EXPECT_EQ(p.getNavButtons().alignment, Alignment(254));
        EXPECT_EQ(p.getNavButtons().functions, std::vector<ButtonFunction>{ButtonFunction(255)});
    }
}

TEST(Page, NavButtonsBlock)
{
    const QByteArray empty = written([](Streamer& s) { s << NavButtons{3, Alignment_START, {}}; });
    EXPECT_EQ(empty.mid(12), "NavButtons_start" + fromHex("03 00 00000000") + "NavButtons_end");
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

    Page a, b;
    a.setSortValue(7);
    b.setSortValue(7);
    EXPECT_FALSE(a.lessThan(b));
    EXPECT_FALSE(b.lessThan(a));
    const sortvector_el other;
    EXPECT_THROW(a.lessThan(other), std::bad_cast);
}

TEST(Page, ControlIdsAndRendering)
{
    Page p;
    p.getControlIds().insert(4);
    p.getControlIds().insert(1);
    p.removeControl(4);
    p.removeControl(9);
    EXPECT_EQ(p.getControlIds(), std::set<unsigned int>{1});

    ModelStream::RecordingRenderer renderer;
    p.render(&renderer);
    EXPECT_EQ(renderer.calls, QStringList{"page"});
    EXPECT_EQ(renderer.object, &p);
}

TEST(Page, DamagedBlockRaisesTheStreamError)
{
    const QByteArray bytes = HexFixture::load("page_v6");
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                  Page p;
                  readPage(bytes.left(bytes.size() - 20), p);
              }),
              "Failed to find expected tag NavButtons_end");
    // A function count far beyond the stream's end stops at once.
    QByteArray huge = bytes;
    huge.replace(fromHex("00000002 01 02"), fromHex("7fffffff 01 02"));
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                  Page p;
                  readPage(huge, p);
              }),
              "Unexpected end of file");
}

TEST(Page, OrientationTravelsInAVariant)
{
    const QMetaType type = QMetaType::fromName("Velmora::Orientation");
    ASSERT_TRUE(type.isValid());
    EXPECT_EQ(type, QMetaType::fromType<Orientation>());
    const QVariant value = QVariant::fromValue(Orientation_PORTRAIT);
    EXPECT_EQ(value.metaType(), type);
    EXPECT_EQ(value.value<Orientation>(), Orientation_PORTRAIT);
}
