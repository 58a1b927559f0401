#include "common/helpers.h"
#include "gui/backdrop_icon_model.h"

#include <QComboBox>
#include <QPainter>
#include <QStandardItemModel>
#include <gtest/gtest.h>

namespace {

// A 24 x 24 picture, transparent but for a 12 x 12 square of ink in its middle.
QIcon glyph(const QColor& ink)
{
    QPixmap picture(24, 24);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(6, 6, 12, 12, ink);
    return QIcon(picture);
}

} // namespace

// Light glyphs (a dark theme's) and dark ones (a light theme's) alike stand out from the
// backdrop put behind them, also as the closed combo box draws the chosen one; the rows' other
// data stay as they are.
TEST(BackdropIconModel, LightAndDarkPicturesStandOutFromTheirBackdrop)
{
    for (const QColor& ink : {QColor(214, 222, 233), QColor(58, 70, 86)}) {
        SCOPED_TRACE(ink.name().toStdString());
        QStandardItemModel source;
        auto* item = new QStandardItem(glyph(ink), QString());
        item->setData(7u, Qt::UserRole);
        source.appendRow(item);
        BackdropIconModel shown;
        shown.setSourceModel(&source);
        EXPECT_EQ(shown.index(0, 0).data(Qt::UserRole), QVariant(7u));
        const QImage picture = qvariant_cast<QIcon>(shown.index(0, 0).data(Qt::DecorationRole))
                                   .pixmap(24, 24)
                                   .toImage();
        const QRgb backdrop = picture.pixel(0, 0);
        EXPECT_EQ(picture.pixel(12, 12), ink.rgb());
        EXPECT_GT(TestUtil::channelDistance(backdrop, ink.rgb()), 128);

        QComboBox combo;
        combo.setIconSize(QSize(24, 24));
        combo.setModel(&shown); // the first row becomes current
        const QImage drawn = combo.grab().toImage();
        EXPECT_GE(TestUtil::pixelsOfColour(drawn, ink), 12 * 12);
        EXPECT_GE(TestUtil::pixelsOfColour(drawn, QColor(backdrop)), 24 * 24 - 12 * 12);
    }
}
