// The page view as a user meets it, in the running editor on a real X server (run it under
// xvfb-run, as the acceptance scenarios run): on a page of 30 controls in edit-controls mode,
//  - a click on a control until its selection frame is drawn (the click alternates between
//    controls of different kinds, so the property editor changes its rows each time), and
//  - each mouse move of a drag until the control is drawn at its new place (the live surface
//    has rendered its frame and the page view has painted it).
// The baseline is the page view painted again with nothing changed. Target: both at most half a
// 60 Hz frame, 8.3 ms, median.

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "main/action_manager.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "main/new_project_data.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "widgets/main_window.h"
#include "widgets/page_preview.h"

#include "mixed_controls.h"
#include "ratio_reporter.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr double HalfFrameMs = 1000.0 / 60 / 2;
constexpr int Columns = 6;
constexpr int Rows = 5;

EditorProgram* program = nullptr;

PagePreview* view()
{
    return program->mainWindow()->pagePreviewWidget();
}

// The middle of control `index` of the grid, in the page view's viewport.
QPoint controlMiddle(int index)
{
    const int width = 480 / Columns;
    const int height = 272 / Rows;
    return view()->mapFromScene(
        QPointF((index % Columns) * width + width / 2, (index / Columns) * height + height / 2));
}

void writeProject(const QString& path)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    NewProjectData data;
    data.name = "Thirty";
    data.path = path;
    data.themeFile = QCoreApplication::applicationDirPath() + "/../Resources/theme/Midnight.qvt";
    const unsigned int page = document.createProject(data);
    for (int i = 0; i < Columns * Rows; ++i) {
        smart_ptr<Velmora::Control> control(newMixedControl(i, false));
        control->setPageId(page);
        control->setGeometry(QRect((i % Columns) * (480 / Columns) + 2,
                                   (i / Columns) * (272 / Rows) + 2, 480 / Columns - 4,
                                   272 / Rows - 4));
        document.getPage(page).getControlIds().insert(document.insertControl(control, UINT_MAX));
    }
    document.save(false);
}

void send(QEvent::Type type, QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget* viewport = view()->viewport();
    QMouseEvent event(type, position, viewport->mapToGlobal(position), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

// The frames the live surface has rendered.
int surfaceFrames = 0;

// What the input set off, then the page view's frame: the waiting events are handled, the live
// surface renders its frame when it has one due (and the view learns of it), and the viewport
// is painted.
void untilDrawn(bool surfaceFrameDue)
{
    const int before = surfaceFrames;
    QCoreApplication::processEvents();
    const QDeadlineTimer deadline(1000);
    while (surfaceFrameDue && surfaceFrames == before && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    QCoreApplication::processEvents();
    view()->viewport()->repaint();
}

void clickToFrame(benchmark::State& state)
{
    int next = 0;
    for (auto _ : state) {
        // A button and a slider in turn.
        const QPoint middle = controlMiddle(next == 0 ? 6 : 13);
        send(QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
        untilDrawn(false);
        next = 1 - next;
    }
    if (program->application()->selection()->kind() != SelectionManager::SelectionKind_CONTROLS)
        state.SkipWithError("the clicks selected no control");
}

void dragMoveToFrame(benchmark::State& state)
{
    // A label, pressed and moved past the start of a drag.
    const QPoint start = controlMiddle(4);
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(4, 0), Qt::NoButton, Qt::LeftButton);
    untilDrawn(true);
    if (!program->application()->previewScene()->isDragging()) {
        state.SkipWithError("the press and move started no drag");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        // Back and forth over four pixels, so that the control stays on the page.
        step = (step + 1) % 8;
        const QPoint offset(4 + (step < 4 ? step : 8 - step), 0);
        send(QEvent::MouseMove, start + offset, Qt::NoButton, Qt::LeftButton);
        untilDrawn(true);
    }
    // Released where it was pressed: the label stays where it was for the next repetition.
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    untilDrawn(false);
}

void repaintOnly(benchmark::State& state)
{
    for (auto _ : state)
        untilDrawn(false);
}

BENCHMARK(clickToFrame)->Apply([](benchmark::internal::Benchmark* b) {
    BenchRatio::repeated(b, 7)->Iterations(100);
});
BENCHMARK(dragMoveToFrame)->Apply([](benchmark::internal::Benchmark* b) {
    BenchRatio::repeated(b, 7)->Iterations(100);
});
BENCHMARK(repaintOnly)->Apply([](benchmark::internal::Benchmark* b) {
    BenchRatio::repeated(b, 7)->Iterations(100);
});

} // namespace

int main(int argc, char** argv)
{
    if (QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM")) != "xcb") {
        std::printf("Run under an X server with QT_QPA_PLATFORM=xcb, e.g. "
                    "QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' %s\n",
                    argv[0]);
        return 1;
    }
    // A home of the run's own, so that the editor's settings and documents stay out of the
    // user's.
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QFile::encodeName(home.filePath(variable)));

    EditorProgram editor(argc, argv);
    program = &editor;
    const QString path = home.filePath("thirty.qvp");
    writeProject(path);
    editor.launch(path);
    const QDeadlineTimer deadline(60000);
    while (editor.application()->state() != VelmoraApplication::ProjectOpen &&
           !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QObject::connect(editor.application()->previewScene()->surface()->quickWindow(),
                     &QQuickWindow::afterRendering, [] { ++surfaceFrames; });
    editor.application()
        ->actions()
        ->action(ActionManager::ActionId_EDIT_CONTROLS)
        ->setChecked(true);
    // The thumbnails and the first frames are done before anything is timed.
    const QDeadlineTimer settle(3000);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    for (const std::string name : {"clickToFrame", "dragMoveToFrame"})
        if (reporter.has(name))
            reporter.printRatios(name + " / half a 60 Hz frame (8.3 ms)",
                                 reporter.minimum(name) / HalfFrameMs,
                                 reporter.median(name) / HalfFrameMs, 1.0);
    reporter.printRatio("clickToFrame / repaint alone", "clickToFrame", "repaintOnly");
    reporter.printRatio("dragMoveToFrame / repaint alone", "dragMoveToFrame", "repaintOnly");
    benchmark::Shutdown();
    return 0;
}
