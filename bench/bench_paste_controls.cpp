// A paste of many buttons as a user makes it in the running editor (run it under xvfb-run, as
// the acceptance scenarios run): a click on the tool bar's Paste with 1024, 2048 or 4096
// buttons on the clipboard (4096 is the most a project holds), onto the empty page of a project
// of the built-in theme Midnight, in edit-controls mode. The pasted buttons come selected, so
// that the page view marks every one of them with the selection overlay. Timed until the main
// thread is idle again (main_thread_work.h): the command, the page's new items, the frames and
// every overlay's image. Shown beside it: the click itself (the command and the new items), the
// first painting of the page view with the buttons, the main thread's own processor time and
// the frames the surface drew ("frames").
//
// Then the undo of such a paste and the delete of the pasted buttons, each of which takes the
// page's items away, timed the same way. Adding or removing n controls costs O(n log n) at
// most, and the images of all the selected controls are taken in the same frame, the one after
// the frame that shows the new buttons, so that a paste takes three frames whatever n and the
// time of 4096 over that of 1024 stays near 4 to 5 (it was near 7 to 9 while the images came
// 32 a frame, n / 32 frames of O(n) each).
//
// The baseline, in the same run: the undo of the same paste, which builds nothing and takes no
// image.

#include "appengine/selection_manager.h"
#include "main/action_manager.h"
#include "main/control_clipboard.h"
#include "main/new_project_data.h"
#include "main/velmora_document.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"

#include "event_times.h"
#include "main_thread_work.h"
#include "ratio_reporter.h"
#include "realistic_project.h"
#include "running_editor.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QQuickWindow>
#include <QToolBar>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr double PasteLimitMs = 1500;
constexpr int Most = 4096;

RunningEditor* editor = nullptr;
// The clipboard's bytes for each count of buttons.
std::map<int, QByteArray> clipboards;

// Writes the project the editor opens (one empty page) and, from buttons the editor makes with
// the theme's defaults, the clipboard of the first n of them for each count.
void prepare(const QString& path)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    NewProjectData data;
    data.name = "Paste";
    data.path = path;
    data.themeFile = RealisticProject::midnightTheme();
    const unsigned int pageId = document.createProject(data);
    document.save(false);
    std::vector<unsigned int> ids;
    for (int i = 0; i < Most; ++i) {
        const unsigned int id = document.addControl(Velmora::ControlType_BUTTON);
        Velmora::Control& button = document.getControl(id);
        button.setPageId(pageId);
        // Cells of 12 × 13 over the page, the later ones over the earlier.
        button.setGeometry(QRect((i % 40) * 12, (i / 40 % 20) * 13, 11, 12));
        document.getPage(pageId).getControlIds().insert(id);
        ids.push_back(id);
    }
    for (int count : {1024, 2048, Most})
        clipboards[count] = ControlClipboard::encode(
            document, std::set<unsigned int>(ids.begin(), ids.begin() + count));
    document.clear();
}

void putOnClipboard(int count)
{
    auto* data = new QMimeData;
    data->setData(ControlClipboard::MimeType, clipboards.at(count));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    MainThreadWork::settle();
}

// When the page view begins its first painting of a frame that the surface drew since
// start(): what the user sees of the paste first.
class FirstPainting : public QObject
{
public:
    FirstPainting()
    {
        QObject::connect(
            editor->scene()->surface()->quickWindow(), &QQuickWindow::afterRendering, this,
            [this] { m_framed = m_framed || m_work; }, Qt::DirectConnection);
        editor->view()->viewport()->installEventFilter(this);
    }

    void start(const MainThreadWork& work)
    {
        m_work = &work;
        m_framed = false;
        m_ms = std::nan("");
    }
    // The time since start() (not a number without a painting), which ends the watch.
    double stop()
    {
        m_work = nullptr;
        return m_ms;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_work && m_framed && std::isnan(m_ms))
            m_ms = m_work->elapsedMs();
        return QObject::eventFilter(watched, event);
    }

private:
    const MainThreadWork* m_work = nullptr;
    bool m_framed = false;
    double m_ms = std::nan("");
};

QAction* action(ActionManager::ActionId id)
{
    return editor->app()->actions()->action(id);
}

// A click on the action's button of the controls' tool bar.
void clickToolBar(ActionManager::ActionId id)
{
    QWidget* button = editor->window()->controlsToolBarWidget()->widgetForAction(action(id));
    RunningEditor::click(button, button->rect().center());
}

// Keeps the times under the benchmark's name and its argument ("paste/1024"), with the frames
// the surface drew since the count given.
void record(benchmark::State& state, const char* benchmark, const MainThreadWork::Times& times,
            int framesBefore, double firstPaintMs = std::nan(""))
{
    state.counters["frames"] = editor->surfaceFrames() - framesBefore;
    if (std::isnan(times.untilIdleMs)) {
        state.SkipWithError("the main thread never became idle");
        return;
    }
    const std::string name = std::string(benchmark) + "/" + std::to_string(state.range(0));
    EventTimes::add(state, name, times.untilIdleMs);
    if (!std::isnan(firstPaintMs))
        EventTimes::all()[name + " first painting"].push_back(firstPaintMs);
    EventTimes::all()[name + " main thread's time"].push_back(times.busyMs);
}

int controlsOnPage()
{
    VelmoraDocument& document = editor->app()->document();
    return int(document.getPage(editor->scene()->currentPageId()).getControlIds().size());
}

void paste(benchmark::State& state)
{
    const int count = int(state.range(0));
    putOnClipboard(count);
    FirstPainting painting;
    for (auto _ : state) {
        const int frames = editor->surfaceFrames();
        MainThreadWork work;
        work.start();
        painting.start(work);
        clickToolBar(ActionManager::ActionId_PASTE_CONTROLS);
        const double clickMs = work.elapsedMs();
        const MainThreadWork::Times times = work.waitUntilIdle();
        if (controlsOnPage() != count)
            state.SkipWithError("the paste left another number of controls");
        record(state, "paste", times, frames, painting.stop());
        EventTimes::all()["paste/" + std::to_string(count) + " click"].push_back(clickMs);
        editor->app()->document().undoStack().undo();
        MainThreadWork::settle();
    }
}

void undoPaste(benchmark::State& state)
{
    const int count = int(state.range(0));
    putOnClipboard(count);
    for (auto _ : state) {
        clickToolBar(ActionManager::ActionId_PASTE_CONTROLS);
        MainThreadWork::settle();
        const int frames = editor->surfaceFrames();
        MainThreadWork work;
        work.start();
        editor->app()->document().undoStack().undo();
        const MainThreadWork::Times times = work.waitUntilIdle();
        if (controlsOnPage() != 0)
            state.SkipWithError("the undo left controls");
        record(state, "undoPaste", times, frames);
    }
}

void deleteControls(benchmark::State& state)
{
    const int count = int(state.range(0));
    putOnClipboard(count);
    for (auto _ : state) {
        clickToolBar(ActionManager::ActionId_PASTE_CONTROLS);
        MainThreadWork::settle();
        const int frames = editor->surfaceFrames();
        MainThreadWork work;
        work.start();
        action(ActionManager::ActionId_DELETE)->trigger();
        const MainThreadWork::Times times = work.waitUntilIdle();
        if (controlsOnPage() != 0)
            state.SkipWithError("the delete left controls");
        record(state, "deleteControls", times, frames);
        editor->app()->document().undoStack().undo();
        editor->app()->document().undoStack().undo();
        MainThreadWork::settle();
    }
}

void counts(benchmark::internal::Benchmark* benchmark)
{
    BenchRatio::perEvent(benchmark->Arg(1024)->Arg(2048)->Arg(Most), 1, 3);
}

BENCHMARK(paste)->Apply(counts);
BENCHMARK(undoPaste)->Apply(counts);
BENCHMARK(deleteControls)->Apply(counts);

} // namespace

int main(int argc, char** argv)
{
    if (!RunningEditor::onXServer(argv[0]))
        return 1;
    RunningEditor running(argc, argv);
    editor = &running;
    const QString path = running.filePath("paste.qvp");
    prepare(path);
    if (!running.openAndSettle(path, 1000))
        return 1;
    action(ActionManager::ActionId_EDIT_CONTROLS)->setChecked(true);
    MainThreadWork::settle();

    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    std::printf("\nPer action, until the main thread is idle (with the click itself, the first "
                "painting and the main thread's own time):\n");
    for (const char* name : {"paste", "undoPaste", "deleteControls"})
        for (int count : {1024, 2048, Most}) {
            const std::string run = std::string(name) + "/" + std::to_string(count);
            EventTimes::print(run,
                              count == Most && std::string(name) == "paste" ? PasteLimitMs : 0);
            EventTimes::print(run + " click");
            EventTimes::print(run + " first painting");
            EventTimes::print(run + " main thread's time");
        }
    std::printf("\n");
    for (int count : {1024, 2048, Most})
        reporter.printRatio("paste / its undo, " + std::to_string(count) + " buttons",
                            "paste/" + std::to_string(count), "undoPaste/" + std::to_string(count));
    for (const char* name : {"paste", "undoPaste", "deleteControls"})
        reporter.printRatio(std::string(name) + " of 4096 buttons / of 1024",
                            std::string(name) + "/4096", std::string(name) + "/1024", 6.0);
    benchmark::Shutdown();
    return 0;
}
