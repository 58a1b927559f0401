#include "gui/colour_button.h"
#include "gui/colour_swatch.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <list>
#include <memory>

namespace {

using Colours = std::list<QColor>;

const QColor red(Qt::red), green(Qt::green), blue(Qt::blue), grey(Qt::gray);

// The application's start-up order leaves blue in front.
std::unique_ptr<ColourSwatch> startUpSwatch()
{
    auto swatch = std::make_unique<ColourSwatch>();
    for (const QColor& colour : {red, green, blue})
        swatch->addColour(colour);
    return swatch;
}

QRgb centrePixel(QWidget* widget)
{
    return widget->grab().toImage().pixel(widget->width() / 2, widget->height() / 2);
}

} // namespace

TEST(ColourSwatch, RecentColoursMoveToTheFrontWithOneSignalPerChange)
{
    EXPECT_EQ(ColourSwatch().colours(), Colours(3, QColor()));
    auto swatch = startUpSwatch();
    EXPECT_EQ(swatch->colours(), (Colours{blue, green, red}));
    QSignalSpy changed(swatch.get(), &ColourSwatch::swatchChanged);

    const struct
    {
        QColor added;
        Colours expected;
        int changes;
    } steps[] = {
        {green, {green, blue, red}, 1},
        {green, {green, blue, red}, 0}, // already first: nothing
        {grey, {grey, green, blue}, 1}, // a new colour pushes out the oldest
        {QColor(), {QColor(), grey, green}, 1},
    };
    for (const auto& step : steps) {
        changed.clear();
        swatch->addColour(step.added);
        EXPECT_EQ(swatch->colours(), step.expected) << step.added.name().toStdString();
        EXPECT_EQ(changed.count(), step.changes);
    }

    changed.clear();
    swatch->setSize(5);
    EXPECT_EQ(swatch->colours(), (Colours{QColor(), grey, green, QColor(), QColor()}));
    swatch->setSize(5);
    swatch->setSize(2);
    EXPECT_EQ(swatch->colours(), (Colours{QColor(), grey}));
    EXPECT_EQ(changed.count(), 2);
}

TEST(ColourSwatch, OneActiveSwatchUntilItIsDestroyed)
{
    auto first = startUpSwatch();
    ColourSwatch second;
    QSignalSpy firstActive(first.get(), &ColourSwatch::activeSwatchChanged);
    first->setActive();
    first->setActive();
    second.deactivate(); // not active: nothing
    EXPECT_EQ(ColourSwatch::activeSwatch, first.get());
    EXPECT_EQ(firstActive.count(), 1);
    first.reset();
    EXPECT_EQ(ColourSwatch::activeSwatch, nullptr);
}

TEST(ColourSwatchWidget, ShowsTheSwatchAsButtonsAndEmitsTheClickedColour)
{
    auto swatch = startUpSwatch();
    ColourSwatchWidget row;
    QSignalSpy selected(&row, &ColourSwatchWidget::colourSelected);
    row.setSwatch(swatch.get());
    ASSERT_EQ(row.count(), 3u);
    row.resize(300, 40);
    row.show();
    EXPECT_EQ(centrePixel(row.widget(0)), blue.rgb());
    EXPECT_EQ(centrePixel(row.widget(2)), red.rgb());

    swatch->addColour(grey);
    EXPECT_EQ(centrePixel(row.widget(0)), grey.rgb());
    QTest::mouseClick(row.widget(1), Qt::LeftButton);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][0].value<QColor>(), blue);

    swatch->setSize(5);
    EXPECT_EQ(row.count(), 5u);
    swatch.reset(); // the row does not follow a destroyed swatch
    row.onSwatchChanged();
    EXPECT_EQ(row.count(), 0u);
    row.setSwatch(nullptr);
    EXPECT_EQ(row.count(), 0u);
}

TEST(ColourButton, PaintsItsColourInsideTheFaceAndRecordsThePress)
{
    ColourButton button;
    button.resize(60, 30);
    button.setColour(QColor(10, 200, 30));
    const QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixel(30, 15), qRgb(10, 200, 30));
    EXPECT_EQ(image.pixel(4, 4), qRgb(10, 200, 30));
    EXPECT_NE(image.pixel(3, 15), qRgb(10, 200, 30));

    button.setColour(QColor());
    EXPECT_NE(button.grab().toImage().pixel(30, 15), qRgb(10, 200, 30));

    QTest::mousePress(&button, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(button.buttons(), Qt::LeftButton);
    EXPECT_EQ(button.modifiers(), Qt::ShiftModifier);
    QTest::mouseRelease(&button, Qt::LeftButton);
}
