#include "common/helpers.h"
#include "widgets/theme_editor/theme_delegates.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <gtest/gtest.h>

namespace {

const QRgb paper = qRgb(255, 255, 255);
const QRgb highlight = qRgb(255, 0, 0);
const QRgb highlightedText = qRgb(255, 255, 0);
const QRgb ink = qRgb(0, 0, 0);

QPixmap filled(int width, int height, QRgb colour)
{
    QPixmap pixmap(width, height);
    pixmap.fill(QColor(colour));
    return pixmap;
}

class DelegateTest : public ::testing::Test
{
protected:
    // A row with the icon's pixmaps (Normal, then Disabled when given) and the name.
    QModelIndex row(const QPixmap& normal, const QPixmap& disabled = QPixmap(),
                    const QString& name = QString())
    {
        QIcon icon;
        if (!normal.isNull())
            icon.addPixmap(normal, QIcon::Normal);
        if (!disabled.isNull())
            icon.addPixmap(disabled, QIcon::Disabled);
        auto item = new QStandardItem(name);
        item->setData(icon, Qt::DecorationRole);
        model.appendRow(item);
        return item->index();
    }

    // Paints the index into a cell of the size at the top-left of a larger image.
    static QImage paint(const QAbstractItemDelegate& delegate, const QModelIndex& index,
                        const QSize& cell, QStyle::State state = QStyle::State_Enabled)
    {
        QImage image(cell + QSize(20, 20), QImage::Format_RGB32);
        image.fill(paper);
        QStyleOptionViewItem option;
        option.rect = QRect(QPoint(0, 0), cell);
        option.state = state;
        option.palette.setColor(QPalette::Highlight, highlight);
        option.palette.setColor(QPalette::HighlightedText, highlightedText);
        option.palette.setColor(QPalette::Text, ink);
        option.fontMetrics = QFontMetrics(QApplication::font());
        QPainter painter(&image);
        painter.setFont(QApplication::font());
        delegate.paint(&painter, option, index);
        return image;
    }

    // Whether any pixel of the rectangle has the colour.
    static bool has(const QImage& image, const QRect& rect, QRgb colour)
    {
        return TestUtil::pixelsOfColour(image, QColor(colour), rect) > 0;
    }

    QStandardItemModel model;
};

} // namespace

TEST_F(DelegateTest, CellsHaveTheSizeOfTheOrientation)
{
    BackgroundImageDelegate background;
    ThemeSplashDelegate splash;
    const int line = QFontMetrics(QApplication::font()).height();
    const std::tuple<int, QSize, QSize> cases[] = {
        {0, QSize(248, 144), QSize(248, 144 + line)},
        {1, QSize(248, 144), QSize(248, 144 + line)},
        {2, QSize(76, 128), QSize(144, 248 + line)},
    };
    for (const auto& [orientation, backgroundCell, splashCell] : cases) {
        background.orientation = splash.orientation = orientation;
        EXPECT_EQ(background.sizeHint(QStyleOptionViewItem(), QModelIndex()), backgroundCell);
        EXPECT_EQ(splash.sizeHint(QStyleOptionViewItem(), row(QPixmap())), splashCell);
    }
}

TEST_F(DelegateTest, ThumbnailsAreCentredOnTheirSelectionFrame)
{
    BackgroundImageDelegate delegate;
    const QSize cell = delegate.cellSize();
    const QModelIndex thumbnail = row(filled(100, 50, qRgb(0, 200, 0)));
    const QRect picture(74, 47, 100, 50);
    const QRect frame = picture.adjusted(-4, -4, 4, 4);

    const QImage plain = paint(delegate, thumbnail, cell);
    EXPECT_EQ(plain.pixel(picture.topLeft()), qRgb(0, 200, 0));
    EXPECT_EQ(plain.pixel(picture.bottomRight()), qRgb(0, 200, 0));
    EXPECT_EQ(plain.pixel(frame.topLeft()), paper);

    const QImage selected =
        paint(delegate, thumbnail, cell, QStyle::State_Enabled | QStyle::State_Selected);
    EXPECT_EQ(selected.pixel(frame.topLeft()), highlight);
    EXPECT_EQ(selected.pixel(frame.bottomRight()), highlight);
    EXPECT_EQ(selected.pixel(frame.topLeft() - QPoint(1, 1)), paper);

    // A portrait cell asks the icon for its portrait thumbnail size.
    delegate.orientation = 2;
    const QImage portrait = paint(delegate, row(filled(300, 300, qRgb(0, 0, 200))), QSize(76, 128));
    EXPECT_EQ(portrait.pixel(4, 30), qRgb(0, 0, 200));
    EXPECT_EQ(portrait.pixel(71, 97), qRgb(0, 0, 200));
    EXPECT_EQ(portrait.pixel(3, 30), paper);

    const QImage empty = paint(delegate, row(QPixmap()), cell);
    EXPECT_FALSE(has(empty, empty.rect(), ink));
}

TEST_F(DelegateTest, SplashesSitAboveTheirName)
{
    ThemeSplashDelegate delegate;
    delegate.orientation = 1;
    const QSize cell = delegate.cellSize();
    const int line = QFontMetrics(QApplication::font()).height();
    const QRgb landscape = qRgb(0, 0, 200), portrait = qRgb(0, 200, 0);
    const QModelIndex theme = row(filled(240, 136, landscape), filled(136, 240, portrait), "Blue");
    const QRect nameLine(6, 140, 236, line);

    const QImage plain = paint(delegate, theme, cell);
    EXPECT_EQ(plain.pixel(4, 4), landscape);
    EXPECT_EQ(plain.pixel(243, 139), landscape);
    EXPECT_TRUE(has(plain, nameLine, ink));
    EXPECT_FALSE(has(plain, QRect(6, 140, 90, line), ink)); // a short name is centred

    const QImage selected =
        paint(delegate, theme, cell, QStyle::State_Enabled | QStyle::State_Selected);
    EXPECT_EQ(selected.pixel(1, 1), highlight);
    EXPECT_EQ(selected.pixel(0, 0), paper);
    EXPECT_TRUE(has(selected, nameLine, highlightedText));

    delegate.orientation = 2;
    const QImage upright = paint(delegate, theme, delegate.cellSize());
    EXPECT_EQ(upright.pixel(4, 4), portrait);
    EXPECT_EQ(upright.pixel(139, 243), portrait);
}

// A narrow splash starts at the nominal box's left edge with its name under it, cut to fit.
TEST_F(DelegateTest, NamesStayUnderNarrowSplashes)
{
    ThemeSplashDelegate delegate;
    const QSize cell = delegate.cellSize();
    const int line = QFontMetrics(QApplication::font()).height();
    const QString longName = QString("Wide ").repeated(20);
    const QImage image =
        paint(delegate, row(filled(100, 136, qRgb(0, 0, 200)), {}, longName), cell);
    EXPECT_EQ(image.pixel(4, 4), qRgb(0, 0, 200));
    EXPECT_EQ(image.pixel(104, 4), paper);
    EXPECT_TRUE(has(image, QRect(6, 140, 96, line), ink));
    EXPECT_FALSE(has(image, QRect(102, 140, 140, line), ink));

    // Without a splash the name still shows where the splash would end.
    const QImage nameOnly = paint(delegate, row(QPixmap(), {}, "Plain"), cell);
    EXPECT_TRUE(has(nameOnly, QRect(6, 140, 236, line), ink));
    EXPECT_FALSE(has(nameOnly, QRect(0, 0, cell.width(), 140), ink));
}

TEST_F(DelegateTest, OnlyTheFocusedSplashHasAFocusFrame)
{
    ThemeSplashDelegate delegate;
    const QModelIndex theme = row(filled(240, 136, qRgb(0, 0, 200)), {}, "Blue");
    const QImage plain = paint(delegate, theme, delegate.cellSize());
    const QImage focused =
        paint(delegate, theme, delegate.cellSize(), QStyle::State_Enabled | QStyle::State_HasFocus);
    const QRect border(0, 0, delegate.cellSize().width(), 4);
    EXPECT_NE(plain.copy(border), focused.copy(border));
    EXPECT_FALSE(has(plain, border, highlight));
}
