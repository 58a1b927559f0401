// The thumbnail run of the document on the realistic project (realistic_project.h):
//  - in the running editor (run it under xvfb-run, as the acceptance scenarios run), the longest
//    stall of the event loop while every thumbnail of the project is made again (as after a
//    change of theme), beside the longest stall of the same editor left idle for as long;
//  - the peak memory of a process that opens the project and makes every thumbnail, beside one
//    that opens it and builds only the page it shows, and of a project of 128 pages beside 50.
// Each memory figure is taken in a process of its own (this program started again with
// --probe), so that both sides start from a fresh engine and heap.

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "main/velmora_document.h"

#include "event_times.h"
#include "memory_probe.h"
#include "offscreen_preview.h"
#include "ratio_reporter.h"
#include "realistic_project.h"
#include "running_editor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QQuickWidget>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr double HalfFrameMs = 1000.0 / 60 / 2;

RunningEditor* editor = nullptr;
const char* program = nullptr;

QString projectPath(int pages)
{
    return editor->filePath(QString("realistic%1.qvp").arg(pages));
}

// Turns the event loop, with a timer that fires at every turn, while the condition holds;
// returns the longest time between two turns in ms and keeps every gap under the name.
template <typename While> double longestStall(While condition)
{
    QElapsedTimer clock;
    QTimer turn;
    turn.setInterval(0);
    double longest = 0;
    clock.start();
    QObject::connect(&turn, &QTimer::timeout, [&] {
        longest = std::max(longest, double(clock.nsecsElapsed()) / 1e6);
        clock.restart();
    });
    turn.start();
    while (condition())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    turn.stop();
    return longest;
}

double lastRunMs = 200;

// Every thumbnail of the open project made again; each repetition's time is the longest stall.
void thumbnailRunStall(benchmark::State& state)
{
    VelmoraDocument& document = editor->app()->document();
    for (auto _ : state) {
        RunningEditor::waitFor([] { return !editor->scene()->hasBackgroundWork(); }, 5000);
        document.invalidateAllThumbnails();
        document.refreshThumbnails();
        QElapsedTimer run;
        run.start();
        const double stall = longestStall([&] { return document.isRefreshingThumbnails(); });
        lastRunMs = double(run.nsecsElapsed()) / 1e6;
        EventTimes::add(state, "thumbnailRunStall", stall);
    }
}
BENCHMARK(thumbnailRunStall)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The baseline: the same editor idle for as long as the last run took.
void idleStall(benchmark::State& state)
{
    for (auto _ : state) {
        RunningEditor::waitFor([] { return !editor->scene()->hasBackgroundWork(); }, 5000);
        QElapsedTimer idle;
        idle.start();
        const double stall =
            longestStall([&] { return double(idle.nsecsElapsed()) / 1e6 < lastRunMs; });
        EventTimes::add(state, "idleStall", stall);
    }
}
BENCHMARK(idleStall)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Opens the project as the application does: load, the preview prepared, the default page
// shown and drawn.
void open(VelmoraDocument& document, const QString& path)
{
    document.load(path);
    document.preparePreview();
    document.showPage(document.getDefaultPageId());
    document.previewScene()->surface()->grabFramebuffer();
}

// The probe, in a process of its own: opens the project and, unless only the current page is
// to be built, makes every thumbnail; prints the peak.
int probe(const QString& path, bool allThumbnails)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    open(document, path);
    if (allThumbnails)
        while (document.isRefreshingThumbnails() || document.previewScene()->hasBackgroundWork())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::printf("%.3f\n", MemoryProbe::peakMiB());
    return 0;
}

std::string probeName(int pages, bool allThumbnails)
{
    return std::to_string(pages) + (allThumbnails ? " pages, all drawn" : " pages, current page");
}

void peakMemory(benchmark::State& state, int pages, bool allThumbnails)
{
    for (auto _ : state) {
        const double peak = MemoryProbe::run(
            program, QString("--probe=%1:%2").arg(projectPath(pages)).arg(allThumbnails),
            probeName(pages, allThumbnails));
        if (peak < 0) {
            state.SkipWithError("the probe failed");
            break;
        }
        state.counters["MiB"] = peak;
    }
}
BENCHMARK_CAPTURE(peakMemory, pages50CurrentPage, 50, false)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(peakMemory, pages50AllThumbnails, 50, true)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(peakMemory, pages128AllThumbnails, 128, true)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--probe=", 8) == 0) {
            const QStringList parts = QString::fromLocal8Bit(argv[i] + 8).split(':');
            int childArgc = 1;
            OffscreenApplication app(childArgc, argv);
            return probe(parts.value(0), parts.value(1) == "1");
        }
    }
    if (!RunningEditor::onXServer(argv[0]))
        return 1;
    program = argv[0];
    RunningEditor running(argc, argv);
    editor = &running;
    for (int pages : {50, 128})
        RealisticProject::write(projectPath(pages), pages);
    if (!running.openAndSettle(projectPath(50), 1000))
        return 1;

    std::printf("Project: %s (and the same with 128 pages)\n",
                RealisticProject::description().c_str());
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    std::printf("\nLongest stall of the event loop per run, in the running editor:\n");
    EventTimes::print("thumbnailRunStall", 0, 0, HalfFrameMs);
    EventTimes::print("idleStall");
    EventTimes::printRatio("run / idle", "thumbnailRunStall", "idleStall");
    MemoryProbe::printRatio("peak, 50 pages all drawn / current page only", "50 pages, all drawn",
                            "50 pages, current page", 2.0);
    MemoryProbe::printRatio("peak, 128 pages / 50 pages, all drawn", "128 pages, all drawn",
                            "50 pages, all drawn", 1.2);
    benchmark::Shutdown();
    return 0;
}
