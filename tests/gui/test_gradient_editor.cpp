#include "gui/gradient_editor.h"
#include "gui/gradient_editor_commands.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

const QColor red(255, 0, 0), blue(0, 0, 255);
const GradientStops redToBlue{{0.0, red}, {1.0, blue}};

QColor colourOf(const GradientEditorStops& stops, unsigned int id)
{
    return stops.find(id)->colour();
}

QStringList undoTexts(const QUndoStack& stack)
{
    QStringList texts;
    for (int i = 0; i < stack.count(); ++i)
        texts << stack.text(i);
    return texts;
}

} // namespace

TEST(GradientEditorStops, IdsKeepCountingAndNewStopsTakeTheirNeighboursColours)
{
    GradientEditorStops stops;
    stops.setStops(redToBlue);
    EXPECT_EQ(colourOf(stops, 0), red);
    EXPECT_EQ(colourOf(stops, 1), blue);
    const struct
    {
        double position;
        GradientAddStopBehaviour behaviour;
        QColor colour;
    } cases[] = {
        {0.5, CopyPreviousColour, red},
        {-0.5, CopyPreviousColour, red}, // below every stop: the lowest one's
        {0.25, InterpolateColours, QColor::fromRgbF(0.75f, 0, 0.25f)},
        {1.5, InterpolateColours, blue}, // above every stop: the highest one's
    };
    unsigned int expectedId = 2;
    for (const auto& c : cases) {
        GradientEditorStops probe;
        probe.setStops(redToBlue);
        const unsigned int id = probe.addStop(c.position, c.behaviour);
        EXPECT_EQ(id, 2u);
        EXPECT_EQ(colourOf(probe, id), c.colour) << c.position;
        EXPECT_EQ(probe.stops().first(), qMakePair(c.position, c.colour)); // new stops in front
        EXPECT_EQ(stops.addStop(c.position, c.behaviour), expectedId++);
        stops.removeStop(expectedId - 1);
    }
    stops.removeStop(1);
    EXPECT_EQ(stops.addStop(0.3, CopyPreviousColour), expectedId);

    // A gradient may come without stops; its first stop is opaque black.
    GradientEditorStops empty;
    empty.setStops({});
    EXPECT_EQ(colourOf(empty, empty.addStop(0.4, InterpolateColours)), QColor(0, 0, 0));
}

TEST(GradientEditorStops, InterpolateColour)
{
    const QColor green(0, 255, 0);
    const struct
    {
        QColor a, b;
        double t;
        QColor expected;
    } cases[] = {
        {QColor(), green, 0.3, QColor::fromRgbF(0, 1, 0, 0.3f)},
        {green, QColor(), 0.3, QColor::fromRgbF(0, 1, 0, 0.7f)},
        {red, blue, 0.0, red},
        {red, blue, 1.0, blue},
        {red, QColor(255, 0, 0, 0), 0.5, QColor::fromRgbF(1, 0, 0, 0.5f)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GradientEditorStops::interpolateColour(c.a, c.b, c.t), c.expected) << c.t;
}

TEST(GradientEditorCommands, SuccessiveMovesAndColourChangesMerge)
{
    GradientEditorStops stops;
    stops.setStops({{0.0, red}, {0.5, red}, {0.7, red}, {1.0, blue}});
    QUndoStack stack;
    for (int i = 1; i <= 10; ++i)
        stack.push(new MoveStopCommand(nullptr, stops, 1, 0.5 + i * 0.01));
    EXPECT_EQ(undoTexts(stack), QStringList{"Move Gradient Stop"});
    EXPECT_DOUBLE_EQ(stops.find(1)->position(), 0.6);
    stack.push(new MoveStopCommand(nullptr, stops, 2, 0.8));
    EXPECT_EQ(stack.count(), 2);
    stack.undo();
    stack.undo();
    EXPECT_EQ(stops.find(1)->position(), 0.5);
    stack.redo();
    EXPECT_DOUBLE_EQ(stops.find(1)->position(), 0.6);

    stack.clear();
    stack.push(new SetStopColourCommand(nullptr, stops, {1, 3}, Qt::green));
    stack.push(new SetStopColourCommand(nullptr, stops, {1, 3}, Qt::yellow));
    stack.push(new SetStopColourCommand(nullptr, stops, {1}, Qt::cyan));
    EXPECT_EQ(stack.count(), 2);
    stack.undo();
    EXPECT_EQ(stops.commonColour({1, 3}), QColor(Qt::yellow));
    stack.undo();
    EXPECT_EQ(colourOf(stops, 1), red);
    EXPECT_EQ(colourOf(stops, 3), blue);
}

TEST(GradientEditorCommands, RemovedStopsComeBackInFrontAndReverseIsExact)
{
    GradientEditorStops stops;
    const GradientStops awkward{{0.1, red}, {0.3, blue}, {0.7, red}, {0.123456789, blue}};
    stops.setStops(awkward);
    QUndoStack stack;
    stack.push(new RemoveStopCommand(nullptr, stops, 2));
    EXPECT_FALSE(stops.contains(2));
    stack.undo();
    EXPECT_EQ(stops.inDrawingOrder().front().id, 2u);
    EXPECT_EQ(stops.stops().first(), awkward[2]);
    stack.redo();
    EXPECT_FALSE(stops.contains(2));
    stack.undo();

    ASSERT_NE(1.0 - (1.0 - 0.1), 0.1); // plain arithmetic would not restore it
    stack.push(new ReverseCommand(nullptr, stops));
    EXPECT_DOUBLE_EQ(stops.find(0)->position(), 0.9);
    stack.push(new ReverseCommand(nullptr, stops));
    EXPECT_EQ(undoTexts(stack), (QStringList{"Reverse Gradient", "Reverse Gradient"}));
    for (unsigned int id = 0; id < 4; ++id)
        EXPECT_EQ(stops.find(id)->position(), awkward[int(id)].first) << id;
    stack.undo();
    stack.undo();
    for (unsigned int id = 0; id < 4; ++id)
        EXPECT_EQ(stops.find(id)->position(), awkward[int(id)].first) << id;
}

namespace {

// An editor 220 pixels wide: a position p has its marker centre at x = 200 p + 10.
class GradientEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editor.setUndoStack(&stack);
        editor.resize(220, 60);
        editor.show();
    }

    void mouse(QEvent::Type type, QPoint point, Qt::MouseButtons buttons = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, point, editor.mapToGlobal(point), button, buttons, modifiers);
        QApplication::sendEvent(&editor, &event);
    }
    void press(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, point, Qt::LeftButton, modifiers);
    }
    void release(QPoint point) { mouse(QEvent::MouseButtonRelease, point, Qt::NoButton); }
    void drag(QPoint point) { mouse(QEvent::MouseMove, point); }

    QUndoStack stack;
    GradientEditor editor;
};

} // namespace

TEST_F(GradientEditorTest, StartsDisabledWithOnlyTheCheckeredBar)
{
    GradientEditor fresh;
    fresh.resize(220, 60);
    EXPECT_FALSE(fresh.isEnabled());
    EXPECT_EQ(fresh.sizeHint(), QSize(200, 60));
    const QImage image = fresh.grab().toImage();
    EXPECT_EQ(image.pixel(15, 25), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(25, 25), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(110, 10), image.pixel(1, 1)); // no markers
}

TEST_F(GradientEditorTest, MarkersAreHitOverTheirSixteenPixels)
{
    editor.setGradientStops({{0.5, QColor(0, 200, 0)}});
    QSignalSpy selected(&editor, &GradientEditor::stopSelected);
    const struct
    {
        QPoint press;
        std::size_t stops; // after the press
        bool selected;
    } cases[] = {
        {QPoint(102, 0), 1, true},
        {QPoint(117, 19), 1, true},
        {QPoint(110, 20), 1, false},
        {QPoint(118, 10), 2, true}, // beside the marker: a new stop
    };
    for (const auto& c : cases) {
        editor.setGradientStops({{0.5, QColor(0, 200, 0)}});
        selected.clear();
        press(c.press);
        release(c.press);
        EXPECT_EQ(editor.stops().size(), c.stops) << c.press.x() << "," << c.press.y();
        EXPECT_EQ(editor.selection().size(), c.selected ? 1u : 0u);
        ASSERT_EQ(selected.count(), 1);
        EXPECT_EQ(selected[0][0].value<QColor>(), c.selected ? QColor(0, 200, 0) : QColor());
    }

    // A selected marker: black outline, white inside it, the stop's colour within.
    editor.setGradientStops({{0.5, QColor(0, 200, 0)}});
    press(QPoint(110, 10));
    const QImage image = editor.grab().toImage();
    EXPECT_EQ(image.pixel(102, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(103, 10), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(110, 10), qRgb(0, 200, 0));
    EXPECT_EQ(image.pixel(110, 19), qRgb(0, 0, 0)); // the pointer towards the bar
}

TEST_F(GradientEditorTest, PressOnTheStripAddsSelectsAndShowsThePosition)
{
    editor.setGradientStops(redToBlue);
    const QImage before = editor.grab().toImage();
    QSignalSpy selected(&editor, &GradientEditor::stopSelected);
    press(QPoint(60, 8));
    EXPECT_EQ(undoTexts(stack), QStringList{"Add Gradient Stop"});
    ASSERT_EQ(editor.selection().size(), 1u);
    const unsigned int added = *editor.selection().begin();
    EXPECT_EQ(editor.stops().find(added)->position(), 0.25);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][0].value<QColor>(), red);
    EXPECT_EQ(editor.dragPosition(), 0.25);
    // The read-out "0.250" is written under the stop.
    const QImage pressed = editor.grab().toImage();
    const QRect text = editor.textArea();
    int inked = 0;
    for (int x = 45; x < 76; ++x)
        for (int y = text.top(); y <= text.bottom(); ++y)
            inked += pressed.pixel(x, y) != before.pixel(x, y);
    EXPECT_GT(inked, 10);

    // A move within the start-drag distance changes nothing.
    drag(QPoint(61, 8));
    EXPECT_EQ(stack.count(), 1);
    release(QPoint(61, 8));
    EXPECT_EQ(editor.dragPosition(), -1.0);
    EXPECT_EQ(editor.hint(), QLatin1String("Click and drag to move gradient stop"));
}

TEST_F(GradientEditorTest, DraggingOffRemovesOnlyWhileMoreThanTwoStopsRemain)
{
    editor.setGradientStops({{0.0, red}, {0.5, QColor(0, 200, 0)}, {1.0, blue}});
    press(QPoint(110, 10));
    drag(QPoint(130, 10));
    EXPECT_DOUBLE_EQ(editor.dragPosition(), 0.6);
    drag(QPoint(130, 40));
    EXPECT_EQ(editor.dragPosition(), -1.0);
    EXPECT_EQ(editor.hint(), QLatin1String("Drop gradient stop to remove it"));
    EXPECT_EQ(editor.gradientStops().size(), 2); // hidden while off the strip
    EXPECT_EQ(editor.grab().toImage().pixel(130, 10), editor.grab().toImage().pixel(1, 1));
    drag(QPoint(150, 10));
    EXPECT_DOUBLE_EQ(editor.stops().find(1)->position(), 0.7);
    drag(QPoint(150, 45));
    release(QPoint(150, 45));
    EXPECT_FALSE(editor.stops().contains(1));
    EXPECT_TRUE(editor.selection().empty());
    EXPECT_EQ(undoTexts(stack), (QStringList{"Move Gradient Stop", "Remove Gradient Stop"}));
    stack.undo();
    stack.undo();
    EXPECT_EQ(editor.stops().find(1)->position(), 0.5);

    // With two stops a stop dragged off stays, clamped to the strip's ends.
    editor.setGradientStops(redToBlue);
    press(QPoint(12, 10));
    drag(QPoint(300, 50));
    EXPECT_EQ(editor.dragPosition(), 1.0);
    release(QPoint(300, 50));
    EXPECT_EQ(editor.gradientStops(), (GradientStops{{1.0, red}, {1.0, blue}}));
    EXPECT_EQ(undoTexts(stack), QStringList{"Move Gradient Stop"});
}

// Undoing an addition removed the stop but left its id selected; the colour change that
// followed addressed a stop that no longer existed.
TEST_F(GradientEditorTest, UndoingAnAdditionDropsTheStopFromTheSelection)
{
    editor.setGradientStops(redToBlue);
    press(QPoint(110, 10));
    release(QPoint(110, 10));
    QSignalSpy selected(&editor, &GradientEditor::stopSelected);
    stack.undo();
    EXPECT_TRUE(editor.selection().empty());
    ASSERT_EQ(selected.count(), 1);
    EXPECT_FALSE(selected[0][0].value<QColor>().isValid());
    editor.setSelectedStopColour(Qt::green);
    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(editor.gradientStops(), redToBlue);
}

TEST_F(GradientEditorTest, ColourChangesAnnounceTheSelectionsColour)
{
    editor.setGradientStops(redToBlue);
    QSignalSpy changed(&editor, &GradientEditor::gradientChanged);
    QSignalSpy colour(&editor, &GradientEditor::stopColourChanged);
    editor.setSelectedStopColour(Qt::green); // nothing selected: nothing happens
    EXPECT_EQ(stack.count(), 0);
    press(QPoint(10, 10));
    press(QPoint(210, 10), Qt::ControlModifier);
    EXPECT_EQ(editor.selection().size(), 2u);
    editor.setSelectedStopColour(QColor(255, 255, 0, 128));
    EXPECT_EQ(colour.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(colour[0][0].value<QColor>(), QColor(255, 255, 0, 128));

    // Half transparent: the checkerboard shows through the markers and the bar.
    const QImage image = editor.grab().toImage();
    EXPECT_NE(image.pixel(5, 5), image.pixel(5, 15));
    EXPECT_NE(image.pixel(15, 25), image.pixel(25, 25));

    editor.setGradientStops(redToBlue);
    EXPECT_EQ(stack.count(), 0);
    EXPECT_EQ(changed.count(), 1);
}
