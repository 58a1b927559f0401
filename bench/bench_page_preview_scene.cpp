#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/theme.h"

#include "memory_probe.h"
#include "mixed_controls.h"
#include "offscreen_preview.h"
#include "ratio_reporter.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

// The live preview scene on pages of mixed controls: the first showing of a page of 30 and of
// 64 controls (each followed by the frame the surface draws) on an engine that has shown a page
// before, and of 30 on a new engine; the switch between two pages already built, beside
// switching the same page items by their visibility alone; a thumbnail beside one frame of the
// surface; and the peak memory of a process that shows every page of a project of 256 pages in
// turn, beside one that shows only its first page, each from a fresh start.

using namespace Velmora;

namespace {

constexpr double FrameMs = 1000.0 / 60;

// A landscape project of pages of controls in a grid, every page under one page switcher.
std::unique_ptr<Configuration> makeProject(int pages, int controlsPerPage)
{
    auto project = std::make_unique<Configuration>();
    project->clear();
    project->setTheme(new Theme(QString()));
    smart_ptr<PageSwitcher> bar(new PageSwitcher);
    bar->setPosition(NavigationPosition_BOTTOM);
    const unsigned int barId = project->insertPageSwitcher(bar, UINT_MAX);
    std::vector<unsigned int> barPages;
    const int columns = controlsPerPage > 16 ? 8 : 4;
    const int rows = (controlsPerPage + columns - 1) / columns;
    for (int p = 0; p < pages; ++p) {
        const unsigned int pageId = project->addPage();
        Page& page = project->getPage(pageId);
        page.setName(QString("Page %1").arg(p + 1));
        page.setPageSwitcherId(barId);
        if (p < 4)
            barPages.push_back(pageId);
        for (int i = 0; i < controlsPerPage; ++i) {
            Control* control = newMixedControl(i);
            control->setPageId(pageId);
            control->setGeometry(QRect((i % columns) * (480 / columns),
                                       (i / columns) * (232 / rows), 480 / columns - 2,
                                       232 / rows - 2));
            control->setCaption(QString("Control %1").arg(i));
            smart_ptr<Control> owned(control);
            page.getControlIds().insert(project->insertControl(owned, UINT_MAX));
        }
    }
    project->getPageSwitcher(barId).setPageIds(barPages);
    return project;
}

// Made by main.
QQmlEngine* engine = nullptr;
const char* program = nullptr;

struct Preview
{
    Preview(QQmlEngine* engine, const Configuration* project)
        : project(project), scene(engine, project, &selection)
    {
    }
    const Configuration* project;
    SelectionManager selection;
    PagePreviewScene scene;
};

// What the event loop does between two of the user's actions: posted events, the scene's
// background work, and the script engine's collection of the garbage left.
void settle(QQmlEngine* on)
{
    for (int turn = 0; turn < 200; ++turn)
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    on->collectGarbage();
}

// The first showing of page 0 of a project of two pages of `controls` controls, with page 1
// (of the same kinds of control, under the same page switcher) shown before it; followed by
// the frame the surface draws.
void firstShow(benchmark::State& state)
{
    const auto project = makeProject(2, int(state.range(0)));
    Preview preview(engine, project.get());
    for (auto _ : state) {
        state.PauseTiming();
        preview.scene.clear();
        preview.scene.showPage(1);
        preview.scene.surface()->grabFramebuffer();
        settle(engine);
        state.ResumeTiming();
        preview.scene.showPage(0);
        benchmark::DoNotOptimize(preview.scene.surface()->grabFramebuffer());
    }
}
BENCHMARK(firstShow)->Arg(30)->Arg(64)->Unit(benchmark::kMillisecond);

// The same on a new engine each time: every component is compiled first.
void firstShowOnNewEngine(benchmark::State& state)
{
    const auto project = makeProject(2, int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        VelmoraQML::shutdown();
        auto fresh = std::make_unique<QQmlEngine>();
        VelmoraQML::initialise(480, 272, fresh->rootContext(), {});
        auto preview = std::make_unique<Preview>(fresh.get(), project.get());
        state.ResumeTiming();
        preview->scene.showPage(0);
        benchmark::DoNotOptimize(preview->scene.surface()->grabFramebuffer());
        state.PauseTiming();
        preview.reset();
        VelmoraQML::shutdown();
        fresh.reset();
        VelmoraQML::initialise(480, 272, engine->rootContext(), {});
        state.ResumeTiming();
    }
}
BENCHMARK(firstShowOnNewEngine)->Arg(30)->Unit(benchmark::kMillisecond);

// A preview of two pages of 64 controls, with the pages given shown in turn.
struct TwoPagePreview
{
    explicit TwoPagePreview(std::initializer_list<unsigned int> shown)
        : project(makeProject(2, 64)), preview(engine, project.get()), scene(preview.scene)
    {
        for (unsigned int pageId : shown)
            scene.showPage(pageId);
    }
    std::unique_ptr<Configuration> project;
    Preview preview;
    PagePreviewScene& scene;
};

// Both pages built, then the other page shown by `show` in each iteration, followed by the
// frame the surface draws.
template <typename Show> void alternatePages(benchmark::State& state, Show show)
{
    TwoPagePreview preview({1, 0});
    unsigned int next = 1;
    for (auto _ : state) {
        show(preview.scene, next);
        benchmark::DoNotOptimize(preview.scene.surface()->grabFramebuffer());
        next = 1 - next;
    }
}

void switchPages(benchmark::State& state)
{
    alternatePages(state, [](PagePreviewScene& scene, unsigned int next) { scene.showPage(next); });
}
BENCHMARK(switchPages)->Unit(benchmark::kMillisecond);

// The baseline: the same items, the page items' visibility switched directly and the page
// switcher moved to the page shown.
void switchByVisibility(benchmark::State& state)
{
    alternatePages(state, [](PagePreviewScene& scene, unsigned int next) {
        scene.pageItem(1 - next)->setVisible(false);
        scene.pageSwitcherItem(0)->setParentItem(scene.pageItem(next));
        scene.pageItem(next)->setVisible(true);
    });
}
BENCHMARK(switchByVisibility)->Unit(benchmark::kMillisecond);

// A thumbnail of a built page, with the turn of the event loop in which the surface is drawn
// again after it.
void thumbnail(benchmark::State& state)
{
    TwoPagePreview preview({0});
    preview.scene.renderThumbnail(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(preview.scene.renderThumbnail(1));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(thumbnail)->Unit(benchmark::kMillisecond);

// The baseline: one frame of the surface showing the current page.
void surfaceFrame(benchmark::State& state)
{
    TwoPagePreview preview({0});
    for (auto _ : state)
        benchmark::DoNotOptimize(preview.scene.surface()->grabFramebuffer());
}
BENCHMARK(surfaceFrame)->Unit(benchmark::kMillisecond);

// The probe, in a process of its own: a project of 256 pages of 16 controls whose first page,
// or every page in turn, is shown; prints the peak.
int probe(bool everyPage)
{
    PreviewEngine fresh;
    const auto project = makeProject(256, 16);
    Preview preview(&fresh.engine, project.get());
    for (int p = 0; p < (everyPage ? 256 : 1); ++p) {
        preview.scene.showPage(unsigned(p));
        preview.scene.surface()->grabFramebuffer();
        for (int turn = 0; turn < 20; ++turn)
            QCoreApplication::processEvents();
    }
    std::printf("%.3f\n", MemoryProbe::peakMiB());
    return 0;
}

void memoryOfPages(benchmark::State& state, bool everyPage)
{
    for (auto _ : state) {
        const double peak =
            MemoryProbe::run(program, QString("--probe=%1").arg(everyPage),
                             everyPage ? "every page shown" : "only the first page shown");
        if (peak < 0) {
            state.SkipWithError("the probe failed");
            break;
        }
        state.counters["MiB"] = peak;
    }
}
BENCHMARK_CAPTURE(memoryOfPages, currentPageOnly, false)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(memoryOfPages, everyPage, true)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--probe=", 8) == 0) {
            int childArgc = 1;
            OffscreenApplication app(childArgc, argv);
            return probe(std::strcmp(argv[i] + 8, "1") == 0);
        }
    }
    program = argv[0];
    OffscreenApplication app(argc, argv);
    auto preview = std::make_unique<PreviewEngine>();
    engine = &preview->engine;
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter, {"--benchmark_repetitions=5"});
    reporter.printRatio("page switch / switch by visibility alone", "switchPages",
                        "switchByVisibility");
    const struct
    {
        std::string name;
        double target;
    } frames[] = {{"firstShow/30", 1.0},
                  {"firstShow/64", 2.0},
                  {"firstShowOnNewEngine/30", 0},
                  {"switchPages", 0}};
    for (const auto& f : frames)
        if (reporter.has(f.name))
            reporter.printRatios(f.name + " / one 60 Hz frame (16.7 ms)",
                                 reporter.minimum(f.name) / FrameMs,
                                 reporter.median(f.name) / FrameMs, f.target);
    reporter.printRatio("thumbnail / one surface frame", "thumbnail", "surfaceFrame");
    MemoryProbe::printRatio("peak, every page shown / only the first", "every page shown",
                            "only the first page shown", 2.0);
    benchmark::Shutdown();
    return 0;
}
