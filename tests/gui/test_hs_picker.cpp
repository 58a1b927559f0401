#include "gui/hs_picker.h"
#include "gui/window_utilities.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <vector>

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPoint position, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button =
        type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButton(int(buttons) | Qt::LeftButton);
    QMouseEvent event(type, position, widget->mapToGlobal(position), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Records the pointer moves of the widgets instead of moving the pointer.
struct CursorMoves
{
    CursorMoves()
    {
        previous = setCursorMover([this](const QPoint& p) { moves.push_back(p); });
    }
    ~CursorMoves() { setCursorMover(previous); }
    std::vector<QPoint> moves;
    CursorMover previous;
};

// A wheel 101 × 60: diameter 60, radius 30, centre (50, 30), drawn from x = 20.
class HSPickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        picker.resize(101, 60);
        image = picker.grab().toImage();
    }

    HSPicker picker;
    QImage image;
};

} // namespace

TEST_F(HSPickerTest, DrawsTheWheelRedAtTheTopWhiteAtTheCentre)
{
    EXPECT_EQ(picker.radius(), 30);
    EXPECT_EQ(image.pixel(50, 30), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(50, 0), qRgb(255, 0, 0));
    const QColor right = image.pixelColor(79, 30), down = image.pixelColor(50, 59);
    EXPECT_GT(right.green(), 240); // a quarter turn: yellow-green
    EXPECT_LT(right.blue(), 20);
    EXPECT_GT(down.blue(), 240); // half a turn: cyan
    EXPECT_LT(down.red(), 20);
    EXPECT_NE(image.pixel(19, 30), image.pixel(20, 30)); // the wheel starts at x = 20
    EXPECT_NE(image.pixelColor(21, 2).red(), 255);       // corners stay background

    // The marker of a pure red (a full turn) rings the top of the rim.
    picker.setColour(255, 0, 0);
    EXPECT_EQ(picker.hue(), 65536u);
    EXPECT_EQ(picker.hueSaturationToPoint(1.0, 1.0), QPoint(50, 0));
    const QImage marked = picker.grab().toImage();
    // The ring's bottom edge, drawn with a one-pixel pen, lies 5 pixels below its centre.
    EXPECT_EQ(marked.pixel(50, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixelColor(50, 5).red(), 255);
    picker.clearSelection();
    EXPECT_EQ(picker.grab().toImage().pixel(50, 5), image.pixel(50, 5));
}

TEST_F(HSPickerTest, ClickOnTheCentreReportsWhiteInAllThreeForms)
{
    QSignalSpy rgb(&picker, qOverload<uchar, uchar, uchar>(&HSPicker::colourSelectInProgress));
    QSignalSpy floats(&picker, qOverload<float, uchar>(&HSPicker::colourSelectInProgress));
    QSignalSpy fixed(&picker, qOverload<uires16, uires16>(&HSPicker::colourSelectInProgress));
    QSignalSpy finished(&picker, qOverload<uires16, uires16>(&HSPicker::colourSelectFinished));
    QSignalSpy finishedRgb(&picker,
                           qOverload<uchar, uchar, uchar>(&HSPicker::colourSelectFinished));

    sendMouse(&picker, QEvent::MouseButtonPress, QPoint(50, 30), Qt::LeftButton);
    EXPECT_EQ(picker.cursor().shape(), Qt::BlankCursor);
    ASSERT_EQ(rgb.count(), 1);
    EXPECT_EQ(rgb[0], (QVariantList{uchar(255), uchar(255), uchar(255)}));
    ASSERT_EQ(floats.count(), 1);
    EXPECT_EQ(floats[0][0].toFloat(), 0.25f);
    EXPECT_EQ(floats[0][1].value<uchar>(), 0);
    ASSERT_EQ(fixed.count(), 1);
    EXPECT_EQ(fixed[0], (QVariantList{uires16(16384), uires16(0)}));
    EXPECT_EQ(finished.count(), 0);

    sendMouse(&picker, QEvent::MouseButtonRelease, QPoint(50, 30), Qt::NoButton);
    EXPECT_NE(picker.cursor().shape(), Qt::BlankCursor);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0], (QVariantList{uires16(16384), uires16(0)}));
    EXPECT_EQ(finishedRgb[0], (QVariantList{uchar(255), uchar(255), uchar(255)}));
}

TEST_F(HSPickerTest, DragOutsideStaysOnTheRimAndPullsThePointerBack)
{
    CursorMoves cursor;
    QSignalSpy fixed(&picker, qOverload<uires16, uires16>(&HSPicker::colourSelectInProgress));
    sendMouse(&picker, QEvent::MouseButtonPress, QPoint(60, 30), Qt::LeftButton);
    EXPECT_EQ(fixed.count(), 1);
    sendMouse(&picker, QEvent::MouseMove, QPoint(100, 30), Qt::LeftButton);
    ASSERT_EQ(fixed.count(), 2);
    EXPECT_EQ(fixed[1], (QVariantList{uires16(16384), uires16(65536)}));
    ASSERT_EQ(cursor.moves.size(), 1u);
    EXPECT_EQ(cursor.moves[0], picker.mapToGlobal(QPoint(80, 30)));
    // Without the button a move selects nothing.
    sendMouse(&picker, QEvent::MouseMove, QPoint(50, 10), Qt::NoButton);
    EXPECT_EQ(fixed.count(), 2);
}

TEST_F(HSPickerTest, PressOutsideChangesNothingButHidesThePointerUntilRelease)
{
    picker.setHueSaturation(100, 200);
    QSignalSpy progress(&picker, qOverload<uires16, uires16>(&HSPicker::colourSelectInProgress));
    QSignalSpy finished(&picker, qOverload<uires16, uires16>(&HSPicker::colourSelectFinished));
    sendMouse(&picker, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    EXPECT_EQ(progress.count(), 0);
    EXPECT_EQ(picker.cursor().shape(), Qt::BlankCursor);
    sendMouse(&picker, QEvent::MouseButtonRelease, QPoint(2, 2), Qt::NoButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0], (QVariantList{uires16(100), uires16(200)}));
}

// A wheel that was never drawn, or is under two pixels wide, has radius 0: input used to be
// divided by it.
TEST(HSPicker, InputIsIgnoredWhileTheRadiusIsZero)
{
    CursorMoves cursor;
    for (const QSize size : {QSize(80, 80), QSize(1, 1)}) {
        HSPicker picker;
        picker.resize(size);
        if (size.width() < 2)
            picker.grab();
        ASSERT_EQ(picker.radius(), 0);
        QSignalSpy progress(&picker,
                            qOverload<uires16, uires16>(&HSPicker::colourSelectInProgress));
        const QPoint centre(size.width() / 2, size.height() / 2);
        sendMouse(&picker, QEvent::MouseButtonPress, centre, Qt::LeftButton);
        sendMouse(&picker, QEvent::MouseMove, centre + QPoint(5, 5), Qt::LeftButton);
        EXPECT_EQ(progress.count(), 0);
        EXPECT_EQ(picker.hue(), HSPicker::noSelection);
    }
    EXPECT_TRUE(cursor.moves.empty());
}
