#include "common/helpers.h"
#include "containers/sortvector.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/page.h"

#include <gtest/gtest.h>
#include <typeinfo>

using namespace Velmora;
using TestUtil::fromHex;

namespace {

Gradient twoStops()
{
    Gradient g;
    g.setStops({{0.0, QColor(Qt::blue)}, {1.0, QColor(Qt::white)}});
    return g;
}

QByteArray pageBytes(const Page& page)
{
    return ModelStream::objectBytes(page);
}

void readPage(const QByteArray& bytes, Page& page)
{
    EXPECT_TRUE(ModelStream::readObject(bytes, page));
}

Page readFixture(const QString& name, quint32 version)
{
    Page page;
    readPage(HexFixture::load(name, version), page);
    return page;
}

} // namespace

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
    source.setPageSwitcherId(2);
    source.setLayoutName("Grid 2x2");
    source.setNavButtons({NavigationPosition_LEFT,
                          Alignment_END,
                          {ButtonFunction_BACK, ButtonFunction_LOCK, ButtonFunction_NEXT_PAGE}});
    source.getControlIds().insert(5); // not part of the block
    Page copy;
    readPage(pageBytes(source), copy);
    EXPECT_EQ(pageBytes(copy), pageBytes(source));
    EXPECT_TRUE(copy.getControlIds().empty());

    EXPECT_EQ(ModelStream::body(ModelStream::written([](Streamer& s) {
                  s << NavButtons{3, Alignment_START, {}};
              })),
              "NavButtons_start" + fromHex("03 00 00000000") + "NavButtons_end");
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
    EXPECT_TRUE(ModelStream::body(none).startsWith(
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
        const Page p = readFixture("page_v6", version);
        EXPECT_EQ(p.getName(), "Main");
        EXPECT_EQ(p.getSortValue(), 65536);
        EXPECT_EQ(p.getIconId(), 2u);
        EXPECT_FALSE(p.getBackgroundColour().isValid());
        EXPECT_EQ(p.getBackgroundGradient(), twoStops());
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
    const Page v7 = readFixture("page_v7", 7);
    EXPECT_EQ(v7.getBackgroundColour(), QColor(Qt::red));
    EXPECT_EQ(v7.getBackgroundGradientRotation(), -1);
    EXPECT_EQ(v7.getBackgroundImageScaling(), Scaling_TILED_VERTICALLY);
    for (quint32 version : {8u, 18u}) {
        const Page p = readFixture("page_v8", version);
        EXPECT_EQ(p.getBackgroundGradientRotation(), 45);
        EXPECT_EQ(p.getBackgroundImageScaling(), Scaling_NONE);
        // Bytes outside the named values are kept as read.
        EXPECT_EQ(p.getNavButtons().position, 200);
        EXPECT_EQ(p.getNavButtons().alignment, Alignment(254));
        EXPECT_EQ(p.getNavButtons().functions, std::vector<ButtonFunction>{ButtonFunction(255)});
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
