#include "common/helpers.h"
#include "gui/gradient_item_delegate.h"

#include "core/gradient_library.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QRgb paper = qRgb(250, 250, 250);

class GradientItemDelegateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        palette.setColor(QPalette::Highlight, QColor(10, 60, 200));
        palette.setColor(QPalette::HighlightedText, QColor(255, 255, 0));
        palette.setColor(QPalette::AlternateBase, QColor(200, 240, 200));
        palette.setColor(QPalette::Text, QColor(0, 0, 0));
    }

    QModelIndex add(const QString& name, const GradientStops& stops)
    {
        Gradient gradient;
        gradient.setName(name);
        gradient.setStops(stops);
        return library.addGradient(gradient, GradientLibrary::BuiltInGradient, "", "");
    }

    // Paints one row of 30 pixels at the top of a 300-pixel-wide image.
    QImage paint(const QModelIndex& index, QStyle::State state = QStyle::State_None,
                 int width = 300)
    {
        QImage image(300, 40, QImage::Format_RGB32);
        image.fill(paper);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, width, 30);
        option.state = state;
        option.palette = palette;
        option.textElideMode = Qt::ElideRight;
        option.fontMetrics = QFontMetrics(QApplication::font());
        QPainter painter(&image);
        painter.setFont(QApplication::font());
        delegate.paint(&painter, option, index);
        return image;
    }

    static bool inkBetween(const QImage& image, int left, int right, QRgb background)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = left; x <= right; ++x)
                if (image.pixel(x, y) != background)
                    return true;
        return false;
    }

    QTemporaryDir root;
    GradientLibrary library{root.filePath("builtin"), QString()};
    GradientItemDelegate delegate{nullptr};
    QPalette palette;
};

} // namespace

TEST_F(GradientItemDelegateTest, EveryRowIsHundredByThirty)
{
    const QStyleOptionViewItem option;
    EXPECT_EQ(delegate.sizeHint(option, QModelIndex()), QSize(100, 30));
    EXPECT_EQ(delegate.sizeHint(option, add("Any", {{0.0, QColor(Qt::red)}})), QSize(100, 30));
}

TEST_F(GradientItemDelegateTest, SwatchHasABlackFrameAroundTheGradient)
{
    const QImage image = paint(add("Warm", {{0.0, QColor(Qt::red)}, {1.0, QColor(Qt::blue)}}));
    // The swatch rectangle runs from (2, 2) to (96, 26); its outline, drawn with a one-pixel
    // pen, closes one pixel further right and down.
    for (const QPoint frame : {QPoint(2, 15), QPoint(97, 15), QPoint(50, 2), QPoint(50, 27)})
        EXPECT_EQ(image.pixel(frame), qRgb(0, 0, 0)) << frame.x() << "," << frame.y();
    for (const QPoint outside : {QPoint(1, 15), QPoint(98, 15), QPoint(50, 1), QPoint(50, 28)})
        EXPECT_EQ(image.pixel(outside), paper) << outside.x() << "," << outside.y();
    const QColor left = image.pixelColor(4, 15), right = image.pixelColor(94, 15);
    EXPECT_GT(left.red(), 220);
    EXPECT_LT(left.blue(), 35);
    EXPECT_GT(right.blue(), 220);
    EXPECT_LT(right.red(), 35);
    EXPECT_FALSE(inkBetween(image, 98, 99, paper)); // nothing between swatch and text
    EXPECT_TRUE(inkBetween(image, 100, 299, paper));
}

TEST_F(GradientItemDelegateTest, TransparentStopsShowTheCheckerboard)
{
    const QImage image =
        paint(add("Clear", {{0.0, QColor(255, 0, 0, 0)}, {1.0, QColor(0, 0, 255, 0)}}));
    EXPECT_EQ(image.pixel(5, 5), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(15, 5), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(15, 15), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(25, 5), qRgb(192, 192, 192));
}

TEST_F(GradientItemDelegateTest, BackgroundFollowsSelectionAndHover)
{
    const QModelIndex row = add("Row", {{0.0, QColor(Qt::red)}});
    const struct
    {
        QStyle::State state;
        QRgb background;
        QColor text;
    } cases[] = {
        {QStyle::State_None, paper, QColor(0, 0, 0)},
        {QStyle::State_MouseOver, qRgb(200, 240, 200), QColor(0, 0, 0)},
        // Selection wins over hovering.
        {QStyle::State_Selected | QStyle::State_MouseOver, qRgb(10, 60, 200), QColor(255, 255, 0)},
    };
    for (const auto& c : cases) {
        const QImage image = paint(row, c.state);
        EXPECT_EQ(image.pixel(99, 15), c.background) << int(c.state);
        EXPECT_EQ(image.pixel(299, 0), c.background) << int(c.state);
        EXPECT_EQ(image.pixel(299, 35), paper) << int(c.state);
        // Some pixel of the name is drawn in the text colour itself.
        EXPECT_GT(TestUtil::pixelsOfColour(image, c.text, QRect(100, 0, 200, 30)), 0)
            << int(c.state);
    }
}

TEST_F(GradientItemDelegateTest, GradientWithoutStopsShowsItsNameOnly)
{
    const QImage image = paint(add("Bare", {}));
    EXPECT_FALSE(inkBetween(image, 0, 99, paper));
    EXPECT_TRUE(inkBetween(image, 100, 299, paper));
    EXPECT_FALSE(inkBetween(paint(QModelIndex()), 0, 299, paper));
}

TEST_F(GradientItemDelegateTest, LongNamesAreElidedToTheRow)
{
    const QImage image =
        paint(add(QString("A very long gradient name ").repeated(10), {}), QStyle::State_None, 180);
    EXPECT_TRUE(inkBetween(image, 100, 179, paper));
    EXPECT_FALSE(inkBetween(image, 180, 299, paper));
}
