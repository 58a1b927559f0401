#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/theme.h"

#include "mixed_controls.h"
#include "offscreen_preview.h"
#include "ratio_reporter.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <unistd.h>

// The live preview scene on pages of mixed controls: the first showing of a page of 64, the
// switch between two pages already built (each followed by the frame the surface draws),
// beside switching the same page items by their visibility alone; a thumbnail beside one frame
// of the surface; and the memory of a project of 256 pages with every page built, beside only
// the current one.

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

struct Preview
{
    explicit Preview(const Configuration* project)
        : project(project), scene(engine, project, &selection)
    {
    }
    const Configuration* project;
    SelectionManager selection;
    PagePreviewScene scene;
};

// A preview of two pages of 64 controls, with the pages given shown in turn.
struct TwoPagePreview
{
    explicit TwoPagePreview(std::initializer_list<unsigned int> shown)
        : project(makeProject(2, 64)), preview(project.get()), scene(preview.scene)
    {
        for (unsigned int pageId : shown)
            scene.showPage(pageId);
    }
    std::unique_ptr<Configuration> project;
    Preview preview;
    PagePreviewScene& scene;
};

void firstShow(benchmark::State& state)
{
    TwoPagePreview preview({});
    for (auto _ : state) {
        state.PauseTiming();
        preview.scene.clear();
        state.ResumeTiming();
        preview.scene.showPage(0);
        benchmark::DoNotOptimize(preview.scene.surface()->grabFramebuffer());
    }
}
BENCHMARK(firstShow)->Unit(benchmark::kMillisecond);

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

void thumbnail(benchmark::State& state)
{
    TwoPagePreview preview({0});
    preview.scene.renderThumbnail(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(preview.scene.renderThumbnail(1));
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

double residentMiB()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The growth of the resident set while a project of 256 pages of 16 controls is shown with
// only its first page built, or with every page built.
void memoryOfPages(benchmark::State& state, bool everyPage)
{
    for (auto _ : state) {
        const auto project = makeProject(256, 16);
        const double before = residentMiB();
        Preview preview(project.get());
        const int built = everyPage ? 256 : 1;
        for (int p = built - 1; p >= 0; --p)
            preview.scene.showPage(unsigned(p));
        preview.scene.surface()->grabFramebuffer();
        state.counters["MiB"] = residentMiB() - before;
    }
}
BENCHMARK_CAPTURE(memoryOfPages, currentPageOnly, false)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(memoryOfPages, everyPage, true)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    OffscreenApplication app(argc, argv);
    PreviewEngine preview;
    engine = &preview.engine;
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    reporter.printRatio("page switch / switch by visibility alone", "switchPages",
                        "switchByVisibility");
    for (const std::string name : {"firstShow", "switchPages"})
        if (reporter.has(name))
            reporter.printRatios(name + " / one 60 Hz frame (16.7 ms)",
                                 reporter.minimum(name) / FrameMs, reporter.median(name) / FrameMs);
    reporter.printRatio("thumbnail / one surface frame", "thumbnail", "surfaceFrame");
    const double everyPage = reporter.counter("memoryOfPages/everyPage", "MiB");
    const double currentPage = reporter.counter("memoryOfPages/currentPageOnly", "MiB");
    if (currentPage > 0)
        std::printf("%-44s %6.2f\n", "memory, every page built / only the current page built",
                    everyPage / currentPage);
    benchmark::Shutdown();
    return 0;
}
