#include "gui/checkered_brush.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor mid(128, 128, 128);
const QColor light(192, 192, 192);

QRgb texturePixel(const QBrush& brush, int x, int y)
{
    return brush.texture().toImage().pixel(x, y);
}

} // namespace

TEST(CheckeredBrush, FillingAnImageRepeatsATileLightAtTopLeft)
{
    ASSERT_EQ(CheckeredBrush().texture().size(), QSize(20, 20));
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::red);
    {
        QPainter painter(&image);
        painter.fillRect(image.rect(), CheckeredBrush());
        // A half-transparent colour over it lets the checkerboard show through.
        painter.fillRect(QRect(20, 0, 20, 40), QColor(0, 0, 255, 128));
    }
    EXPECT_EQ(image.pixel(5, 5), light.rgb());
    EXPECT_EQ(image.pixel(15, 5), mid.rgb());
    EXPECT_EQ(image.pixel(5, 15), mid.rgb());
    EXPECT_EQ(image.pixel(15, 15), light.rgb());
    EXPECT_EQ(image.pixel(5, 25), light.rgb()); // the tile repeats every 20 pixels
    EXPECT_EQ(image.pixel(15, 39), light.rgb());

    const QImage plain = CheckeredBrush(Qt::red, Qt::red).texture().toImage();
    EXPECT_EQ(plain.pixel(5, 5), plain.pixel(15, 5));
    const QColor overLight = image.pixelColor(25, 5), overMid = image.pixelColor(35, 5);
    EXPECT_GT(overLight.blue(), overLight.red());
    EXPECT_GT(overLight.red(), overMid.red());
}

TEST(CheckeredBrush, BrushesOfOnePairShareOneTexture)
{
    ASSERT_EQ(CheckeredBrush::cachedTextureCount(), 0u);
    {
        const CheckeredBrush a, b;
        EXPECT_EQ(CheckeredBrush::cachedTextureCount(), 1u);
        EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 2);
        EXPECT_EQ(a.texture().cacheKey(), b.texture().cacheKey());
    }
    EXPECT_EQ(CheckeredBrush::cachedTextureCount(), 0u);
    EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 0);
}

// A copy used to share the texture without a reference of its own, so the texture was freed
// while the original still used it and the original's destruction stopped the program.
TEST(CheckeredBrush, CopiesAndAssignmentsHoldTheirOwnReference)
{
    auto original = std::make_unique<CheckeredBrush>();
    {
        const CheckeredBrush copy(*original);
        EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 2);
    }
    EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 1);

    CheckeredBrush other(Qt::black, Qt::white);
    other = *original;
    EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 2);
    EXPECT_EQ(CheckeredBrush::textureUseCount(Qt::black, Qt::white), 0);
    EXPECT_EQ(texturePixel(other, 0, 0), light.rgb());
    EXPECT_EQ(texturePixel(other, 15, 5), mid.rgb());

    const CheckeredBrush& same = other;
    other = same;
    *original = other;
    EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 2);

    const QBrush asBrush = other; // a plain QBrush copy keeps the pixmap alive by itself
    original.reset();
    EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 1);
    {
        const CheckeredBrush last = std::move(other);
    }
    EXPECT_EQ(CheckeredBrush::textureUseCount(mid, light), 1);
    EXPECT_EQ(asBrush.texture().size(), QSize(20, 20));
}

// The cache once ordered the first colours by their 8-bit values but tested them for equality
// with the full colour comparison, so two first colours that differ only beyond 8 bits (or in
// colour model) made the cache treat different pairs as one key and hand out the wrong tile.
TEST(CheckeredBrush, CacheKeysAreExactColourValues)
{
    const QColor fine1 = QColor::fromRgba64(0x0a0a, 0x1414, 0x1e1e);
    const QColor fine2 = QColor::fromRgba64(0x0a0b, 0x1414, 0x1e1e);
    ASSERT_EQ(fine1.rgba(), fine2.rgba());
    const CheckeredBrush onBlack(fine1, Qt::black), onWhite(fine2, Qt::white);
    EXPECT_EQ(CheckeredBrush::cachedTextureCount(), 2u);
    EXPECT_EQ(texturePixel(onBlack, 0, 0), QColor(Qt::black).rgb());
    EXPECT_EQ(texturePixel(onWhite, 0, 0), QColor(Qt::white).rgb());

    // The order of the colours counts too.
    const CheckeredBrush blackWhite(Qt::black, Qt::white), whiteBlack(Qt::white, Qt::black);
    EXPECT_EQ(texturePixel(blackWhite, 0, 0), QColor(Qt::white).rgb());
    EXPECT_EQ(texturePixel(whiteBlack, 0, 0), QColor(Qt::black).rgb());

    const QColor rgb(200, 100, 50);
    const CheckeredBrush rgbBlack(rgb, Qt::black), hsvWhite(rgb.toHsv(), Qt::white);
    EXPECT_EQ(texturePixel(rgbBlack, 0, 0), QColor(Qt::black).rgb());
    EXPECT_EQ(texturePixel(hsvWhite, 0, 0), QColor(Qt::white).rgb());
    EXPECT_EQ(CheckeredBrush::textureUseCount(rgb, Qt::black), 1);
    EXPECT_EQ(CheckeredBrush::textureUseCount(rgb.toHsv(), Qt::white), 1);
}
