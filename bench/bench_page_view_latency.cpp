// The page view as a user meets it, in the running editor on a real X server (run it under
// xvfb-run, as the acceptance scenarios run), on the realistic project (realistic_project.h), in
// edit-controls mode:
//  - a click on a control until the page view has painted its selection frame (the clicks go
//    to controls of the six kinds in turn, so that the property editor changes its rows each
//    time), and
//  - each mouse move of a drag until the control is drawn at its new place: the live surface
//    has rendered a frame after the move and the page view has painted it.
// Every click and every move is one event, judged by its median, 99th percentile and maximum.
// The baseline, in the same run: the page view painted again with nothing changed.

#include "appengine/selection_manager.h"
#include "main/action_manager.h"

#include "event_times.h"
#include "ratio_reporter.h"
#include "realistic_project.h"
#include "running_editor.h"

#include <QAction>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr double HalfFrameMs = 1000.0 / 60 / 2;
constexpr int EventsPerRepetition = 100;

RunningEditor* editor = nullptr;

// The middle of the index-th control of the shown page, in the page view's viewport.
QPoint controlMiddle(int index)
{
    return editor->view()->mapFromScene(QPointF(RealisticProject::cellOf(index).center()));
}

void send(QEvent::Type type, QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    RunningEditor::send(editor->view()->viewport(), type, position, button, buttons);
}

// From the moment of the call until the page view has painted, after a frame of the surface
// when one is due; the time in ms.
double untilPainted(const QElapsedTimer& clock, bool surfaceFrameDue)
{
    const int frameWanted = editor->surfaceFrames() + 1;
    int paintWanted = surfaceFrameDue ? -1 : editor->viewPaints() + 1;
    RunningEditor::waitFor([&] {
        if (paintWanted < 0) {
            if (editor->surfaceFrames() < frameWanted)
                return false;
            paintWanted = editor->viewPaints() + 1;
        }
        return editor->viewPaints() >= paintWanted;
    });
    return double(clock.nsecsElapsed()) / 1e6;
}

void clickToFrame(benchmark::State& state)
{
    // A control of each kind in turn: the first row's button, slider, colour picker, keypad,
    // label and clock.
    int next = 0;
    for (auto _ : state) {
        const QPoint middle = controlMiddle(next);
        QElapsedTimer clock;
        clock.start();
        send(QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
        EventTimes::add(state, "clickToFrame", untilPainted(clock, false));
        next = (next + 1) % RealisticProject::Columns;
    }
    if (editor->app()->selection()->kind() != SelectionManager::SelectionKind_CONTROLS)
        state.SkipWithError("the clicks selected no control");
}

void dragMoveToFrame(benchmark::State& state)
{
    // A label, pressed and moved past the start of a drag.
    const QPoint start = controlMiddle(4);
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(4, 0), Qt::NoButton, Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    untilPainted(clock, true);
    if (!editor->scene()->isDragging()) {
        state.SkipWithError("the press and move started no drag");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        // Back and forth over four pixels, so that the control stays on the page.
        step = (step + 1) % 8;
        const QPoint offset(4 + (step < 4 ? step : 8 - step), 0);
        clock.restart();
        send(QEvent::MouseMove, start + offset, Qt::NoButton, Qt::LeftButton);
        EventTimes::add(state, "dragMoveToFrame", untilPainted(clock, true));
    }
    // Released where it was pressed: the label stays where it was for the next repetition.
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    clock.restart();
    untilPainted(clock, false);
}

void repaintOnly(benchmark::State& state)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        editor->view()->viewport()->update();
        EventTimes::add(state, "repaintOnly", untilPainted(clock, false));
    }
}

void perEvent(benchmark::internal::Benchmark* benchmark)
{
    BenchRatio::perEvent(benchmark, EventsPerRepetition, 5);
}

BENCHMARK(clickToFrame)->Apply(perEvent);
BENCHMARK(dragMoveToFrame)->Apply(perEvent);
BENCHMARK(repaintOnly)->Apply(perEvent);

} // namespace

int main(int argc, char** argv)
{
    if (!RunningEditor::onXServer(argv[0]))
        return 1;
    RunningEditor running(argc, argv);
    editor = &running;
    const QString path = running.filePath("realistic.qvp");
    RealisticProject::write(path);
    if (!running.openAndSettle(path, 1000))
        return 1;
    running.app()->actions()->action(ActionManager::ActionId_EDIT_CONTROLS)->setChecked(true);
    RunningEditor::waitFor([&] { return !running.scene()->hasBackgroundWork(); });

    std::printf("Project: %s\n", RealisticProject::description().c_str());
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    std::printf("\nPer event, until the page view has painted what it changed:\n");
    EventTimes::print("clickToFrame", 5.0, HalfFrameMs);
    EventTimes::print("dragMoveToFrame", 5.0, HalfFrameMs);
    EventTimes::print("repaintOnly");
    EventTimes::printRatio("click / repaint alone", "clickToFrame", "repaintOnly");
    EventTimes::printRatio("drag move / repaint alone", "dragMoveToFrame", "repaintOnly");
    benchmark::Shutdown();
    return 0;
}
