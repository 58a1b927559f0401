#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "main/velmora_document.h"
#include "velmora_objects/theme.h"

#include "grid_project.h"
#include "memory_probe.h"
#include "offscreen_preview.h"
#include "ratio_reporter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QQuickWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// The document's thumbnail run on opened projects of 30 controls per page: the longest stall of
// the event loop while the run draws every page of a project of 50 pages, and the peak memory of
// a process that opens such a project and draws all its thumbnails, beside one that opens it and
// builds only the page it shows. Each memory figure is taken in a process of its own (this
// program started again with --probe), so that both sides start from a fresh engine and heap.

using namespace Velmora;

namespace {

constexpr double FrameMs = 1000.0 / 60;
constexpr int ControlsPerPage = 30;

// A landscape project of pages of controls in a grid, every page under one page switcher that
// lists the first four pages.
void writeProject(const QString& path, int pages)
{
    Configuration project;
    project.clear();
    project.setName("Thumbnails");
    project.setTheme(new Theme(QString()));
    GridProject grid;
    grid.pages = pages;
    grid.controlsPerPage = ControlsPerPage;
    grid.columns = 6;
    grid.cell = QSize(80, 46);
    grid.build(project);
    writeProjectFile(project, path);
}

QTemporaryDir* folder = nullptr;
const char* program = nullptr;

QString projectPath(int pages)
{
    return folder->filePath(QString("pages%1.qvp").arg(pages));
}

// Opens the project as the application does: load, the preview prepared, the default page
// shown and drawn.
void open(VelmoraDocument& document, const QString& path)
{
    document.load(path);
    document.preparePreview();
    document.showPage(document.getDefaultPageId());
    document.previewScene()->surface()->grabFramebuffer();
}

// The event loop until the thumbnail run is over; returns the longest time between two turns
// of a timer that fires at every turn.
double runThumbnails(VelmoraDocument& document)
{
    QElapsedTimer clock;
    QTimer turn;
    turn.setInterval(0);
    double longest = 0;
    clock.start();
    QObject::connect(&turn, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.nsecsElapsed() / 1e6);
        clock.restart();
    });
    turn.start();
    while (document.isRefreshingThumbnails())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    turn.stop();
    return longest;
}

// The longest stall of the event loop while the thumbnails of a 50-page project are made,
// reported as the benchmark's time of each repetition.
void thumbnailRunStall(benchmark::State& state)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    for (auto _ : state) {
        state.PauseTiming();
        document.clear();
        open(document, projectPath(50));
        state.ResumeTiming();
        state.SetIterationTime(runThumbnails(document) / 1000);
    }
}
BENCHMARK(thumbnailRunStall)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The probe, in a process of its own: opens the project and, unless only the current page is
// to be built, runs the thumbnails; prints the peak.
int probe(const QString& path, bool allThumbnails)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    open(document, path);
    if (allThumbnails)
        runThumbnails(document);
    std::printf("%.3f\n", MemoryProbe::peakMiB());
    return 0;
}

QString probeName(int pages, bool allThumbnails)
{
    return QString("%1 pages, %2").arg(pages).arg(allThumbnails ? "all drawn" : "current page");
}

void peakMemory(benchmark::State& state, int pages, bool allThumbnails)
{
    for (auto _ : state) {
        const double peak = MemoryProbe::run(
            program, QString("--probe=%1:%2").arg(projectPath(pages)).arg(allThumbnails),
            probeName(pages, allThumbnails).toStdString());
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
    program = argv[0];
    OffscreenApplication app(argc, argv);
    QTemporaryDir temporary;
    folder = &temporary;
    for (int pages : {50, 128})
        writeProject(projectPath(pages), pages);

    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter, {"--benchmark_repetitions=5"});
    const std::string stall = "thumbnailRunStall";
    if (reporter.has(stall))
        reporter.printRatios("longest stall of the run / half a 60 Hz frame",
                             reporter.minimum(stall) / (FrameMs / 2),
                             reporter.median(stall) / (FrameMs / 2), 1.0);
    MemoryProbe::printRatio("peak, 50 pages all drawn / current page only", "50 pages, all drawn",
                            "50 pages, current page", 2.0);
    MemoryProbe::printRatio("peak, 128 pages / 50 pages, all drawn", "128 pages, all drawn",
                            "50 pages, all drawn", 1.2);
    benchmark::Shutdown();
    return 0;
}
