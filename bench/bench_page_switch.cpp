// Switching pages as a user does it in the running editor (run it under xvfb-run, as the
// acceptance scenarios run): a click on a page's row in the page list, until the page view has
// painted that page with every one of its controls built and live. On the realistic project
// (realistic_project.h), over the pages in a random order in which no two pages in a row are
// neighbours, after the thumbnails of the project are made; every switch is one event, judged
// by its median, 99th percentile and maximum.
//
// Before each click the editor finishes the work the last switch left (releasing pages, building
// ahead), as it does while the user moves to the next row.
//
// The baseline, in the same run: the same clicks between the two pages shown last, which stay
// built, so that only the switch itself and the frames are paid.

#include "main/velmora_document.h"

#include "event_times.h"
#include "ratio_reporter.h"
#include "realistic_project.h"
#include "running_editor.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr double FrameMs = 1000.0 / 60;
// Switches per repetition.
constexpr int Switches = 48;

RunningEditor* editor = nullptr;

// The page ids in page order.
std::vector<unsigned int> pagesInOrder()
{
    const QAbstractItemModel* model = editor->app()->document().pageModel();
    std::vector<unsigned int> ids;
    for (int row = 0; row < model->rowCount(); ++row)
        ids.push_back(model->index(row, 0).data(VelmoraDocument::PageIdRole).toUInt());
    return ids;
}

// Clicks the page's row in the page list and waits until the page view has painted the page
// with all its controls; the time in ms.
double switchTo(unsigned int pageId)
{
    VelmoraDocument& document = editor->app()->document();
    PageList* list = editor->pageList();
    const QModelIndex index = document.proxyIndexOfPage(pageId);
    // Scrolled there first, as the user does before clicking, and the editor's work after the
    // last switch done: no user clicks again within a few milliseconds.
    list->scrollTo(index);
    RunningEditor::waitFor([] { return !editor->scene()->hasBackgroundWork(); }, 2000);
    QCoreApplication::processEvents();
    const QPoint middle = list->visualRect(index).center();
    PagePreviewScene* scene = editor->scene();
    QElapsedTimer clock;
    clock.start();
    RunningEditor::click(list->viewport(), middle);
    // A frame of the surface rendered after the page was shown, then a painting of the view
    // after that frame.
    int frameWanted = -1;
    int paintWanted = -1;
    RunningEditor::waitFor([&] {
        if (frameWanted < 0) {
            if (scene->currentPageId() != pageId || !scene->isPageBuilt(pageId))
                return false;
            frameWanted = editor->surfaceFrames() + 1;
        }
        if (paintWanted < 0) {
            if (editor->surfaceFrames() < frameWanted)
                return false;
            paintWanted = editor->viewPaints() + 1;
        }
        return editor->viewPaints() >= paintWanted;
    });
    return double(clock.nsecsElapsed()) / 1e6;
}

// The pages in a random order (the same in every run) in which no page follows a neighbour.
std::vector<unsigned int> randomOrder(const std::vector<unsigned int>& pages, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<int> order(pages.size());
    for (;;) {
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::shuffle(order.begin(), order.end(), random);
        bool apart = true;
        for (std::size_t i = 1; i < order.size() && apart; ++i)
            apart = std::abs(order[i] - order[i - 1]) > 1;
        if (apart)
            break;
    }
    std::vector<unsigned int> ids;
    for (int i : order)
        ids.push_back(pages[std::size_t(i)]);
    return ids;
}

void switchToRandomPage(benchmark::State& state)
{
    const std::vector<unsigned int> pages = pagesInOrder();
    static unsigned seed = 1;
    std::vector<unsigned int> order = randomOrder(pages, seed++);
    std::size_t next = 0;
    for (auto _ : state) {
        if (order[next] == editor->scene()->currentPageId())
            next = (next + 1) % order.size();
        EventTimes::add(state, "switchToRandomPage", switchTo(order[next]));
        next = (next + 1) % order.size();
    }
}

void switchBetweenTwoBuiltPages(benchmark::State& state)
{
    const std::vector<unsigned int> pages = pagesInOrder();
    const unsigned int pair[] = {pages[pages.size() / 2], pages[pages.size() / 2 + 1]};
    switchTo(pair[0]);
    switchTo(pair[1]);
    int next = 0;
    for (auto _ : state) {
        EventTimes::add(state, "switchBetweenTwoBuiltPages", switchTo(pair[next]));
        next = 1 - next;
    }
}

void perEvent(benchmark::internal::Benchmark* benchmark)
{
    BenchRatio::perEvent(benchmark, Switches, 3);
}

BENCHMARK(switchToRandomPage)->Apply(perEvent);
BENCHMARK(switchBetweenTwoBuiltPages)->Apply(perEvent);

} // namespace

int main(int argc, char** argv)
{
    if (!RunningEditor::onXServer(argv[0]))
        return 1;
    RunningEditor running(argc, argv);
    editor = &running;
    const QString path = running.filePath("realistic.qvp");
    RealisticProject::write(path);
    if (!running.openAndSettle(path, 3000))
        return 1;

    std::printf("Project: %s\n", RealisticProject::description().c_str());
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    std::printf("\nPer switch, from the click in the page list until the page view has painted "
                "the page:\n");
    EventTimes::print("switchToRandomPage", FrameMs, 2 * FrameMs);
    EventTimes::print("switchBetweenTwoBuiltPages");
    EventTimes::printRatio("random page / one of two built pages", "switchToRandomPage",
                           "switchBetweenTwoBuiltPages");
    benchmark::Shutdown();
    return 0;
}
