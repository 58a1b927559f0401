#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/theme.h"

#include "mixed_controls.h"

#include <QApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
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

void firstShow(benchmark::State& state)
{
    const auto project = makeProject(2, 64);
    Preview preview(project.get());
    for (auto _ : state) {
        state.PauseTiming();
        preview.scene.clear();
        state.ResumeTiming();
        preview.scene.showPage(0);
        benchmark::DoNotOptimize(preview.scene.surface()->grabFramebuffer());
    }
}
BENCHMARK(firstShow)->Unit(benchmark::kMillisecond);

void switchPages(benchmark::State& state)
{
    const auto project = makeProject(2, 64);
    Preview preview(project.get());
    preview.scene.showPage(1);
    preview.scene.showPage(0);
    unsigned int next = 1;
    for (auto _ : state) {
        preview.scene.showPage(next);
        benchmark::DoNotOptimize(preview.scene.surface()->grabFramebuffer());
        next = 1 - next;
    }
}
BENCHMARK(switchPages)->Unit(benchmark::kMillisecond);

// The baseline: the same items, the page items' visibility switched directly and the page
// switcher moved to the page shown.
void switchByVisibility(benchmark::State& state)
{
    const auto project = makeProject(2, 64);
    Preview preview(project.get());
    preview.scene.showPage(1);
    preview.scene.showPage(0);
    QQuickItem* pages[] = {preview.scene.pageItem(0), preview.scene.pageItem(1)};
    QQuickItem* pageSwitcher = preview.scene.pageSwitcherItem(0);
    unsigned int next = 1;
    for (auto _ : state) {
        pages[1 - next]->setVisible(false);
        pageSwitcher->setParentItem(pages[next]);
        pages[next]->setVisible(true);
        benchmark::DoNotOptimize(preview.scene.surface()->grabFramebuffer());
        next = 1 - next;
    }
}
BENCHMARK(switchByVisibility)->Unit(benchmark::kMillisecond);

void thumbnail(benchmark::State& state)
{
    const auto project = makeProject(2, 64);
    Preview preview(project.get());
    preview.scene.showPage(0);
    preview.scene.renderThumbnail(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(preview.scene.renderThumbnail(1));
}
BENCHMARK(thumbnail)->Unit(benchmark::kMillisecond);

// The baseline: one frame of the surface showing the current page.
void surfaceFrame(benchmark::State& state)
{
    const auto project = makeProject(2, 64);
    Preview preview(project.get());
    preview.scene.showPage(0);
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

// Prints the results as usual and keeps each run's time and counters for the ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                // Milliseconds whatever the unit shown.
                times[run.benchmark_name()] =
                    run.GetAdjustedRealTime() *
                    benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
                const auto mib = run.counters.find("MiB");
                if (mib != run.counters.end())
                    memory[run.benchmark_name()] = mib->second;
            }
        ConsoleReporter::ReportRuns(runs);
    }

    void ratio(const char* what, const std::string& a, const std::string& b,
               const std::map<std::string, double>& values) const
    {
        const auto x = values.find(a);
        const auto y = values.find(b);
        if (x != values.end() && y != values.end() && y->second > 0)
            std::printf("%s: %.2f\n", what, x->second / y->second);
    }

    std::map<std::string, double> times;
    std::map<std::string, double> memory;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VelmoraQML::useSoftwareSceneGraph();
    QApplication app(argc, argv);
    auto previewEngine = std::make_unique<QQmlEngine>();
    VelmoraQML::initialise(480, 272, previewEngine->rootContext(), {});
    engine = previewEngine.get();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    reporter.ratio("page switch / switch by visibility alone", "switchPages", "switchByVisibility",
                   t);
    for (const char* name : {"firstShow", "switchPages"})
        if (t.count(name))
            std::printf("%s / one 60 Hz frame (16.7 ms): %.2f\n", name, t.at(name) / FrameMs);
    reporter.ratio("thumbnail / one surface frame", "thumbnail", "surfaceFrame", t);
    reporter.ratio("memory, every page built / only the current page built",
                   "memoryOfPages/everyPage/iterations:1",
                   "memoryOfPages/currentPageOnly/iterations:1", reporter.memory);
    VelmoraQML::shutdown();
    previewEngine.reset();
    benchmark::Shutdown();
    return 0;
}
