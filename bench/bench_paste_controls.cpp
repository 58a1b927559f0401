#include "appengine/selection_manager.h"
#include "main/control_clipboard.h"
#include "main/control_commands.h"
#include "main/velmora_document.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/label.h"

#include "offscreen_preview.h"
#include "ratio_reporter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <climits>
#include <map>
#include <set>
#include <string>

// A paste of many controls onto the page shown in the preview: the clipboard decoded, the
// command run and the page rebuilt with the new controls; then the undo of such a paste and the
// delete of the pasted controls, each of which takes the page's items away and builds it again.
// 1024, 2048 and 4096 controls (the most a project holds): adding or removing n controls costs
// O(n log n) at most, so the time of 4096 over that of 1024 stays well below 8, near 4 to 6 with
// the allocator's share (it was near 16 and more while every control removed put all the page's
// other items in order again).

using namespace Velmora;

namespace {

QByteArray clipboardOf(int count)
{
    Configuration source;
    source.clear();
    const unsigned int pageId = source.addPage();
    std::set<unsigned int> ids;
    for (int i = 0; i < count; ++i) {
        smart_ptr<Control> label(new Label);
        label->setPageId(pageId);
        label->setGeometry(QRect((i % 40) * 12, (i / 40 % 20) * 13, 11, 12));
        const unsigned int id = source.insertControl(label, UINT_MAX);
        source.getPage(pageId).getControlIds().insert(id);
        ids.insert(id);
    }
    return ControlClipboard::encode(source, ids);
}

const QByteArray& clipboard(int count)
{
    static std::map<int, QByteArray> clipboards;
    QByteArray& bytes = clipboards[count];
    if (bytes.isEmpty())
        bytes = clipboardOf(count);
    return bytes;
}

// A new project of one page, shown in the preview.
struct PastingDocument
{
    PastingDocument()
    {
        NewProjectData data;
        data.path = folder.filePath("paste.qvp");
        data.orientation = Orientation_LANDSCAPE;
        pageId = document.createProject(data);
        document.preparePreview();
        document.showPage(pageId);
    }

    void paste(int count)
    {
        const auto contents = ControlClipboard::decode(clipboard(count));
        document.undoStack().push(
            new PasteControlsCommand(contents->controls, QPoint(), pageId, document));
    }

    QTemporaryDir folder;
    SelectionManager selection;
    VelmoraDocument document{selection};
    unsigned int pageId = UINT_MAX;
};

void paste(benchmark::State& state)
{
    clipboard(int(state.range(0)));
    PastingDocument pasting;
    for (auto _ : state) {
        pasting.paste(int(state.range(0)));
        state.PauseTiming();
        pasting.document.undoStack().undo();
        pasting.document.undoStack().clear();
        state.ResumeTiming();
    }
}

void undoPaste(benchmark::State& state)
{
    clipboard(int(state.range(0)));
    PastingDocument pasting;
    for (auto _ : state) {
        state.PauseTiming();
        pasting.paste(int(state.range(0)));
        state.ResumeTiming();
        pasting.document.undoStack().undo();
        state.PauseTiming();
        pasting.document.undoStack().clear();
        state.ResumeTiming();
    }
}

void deleteControls(benchmark::State& state)
{
    clipboard(int(state.range(0)));
    PastingDocument pasting;
    for (auto _ : state) {
        state.PauseTiming();
        pasting.paste(int(state.range(0)));
        const std::set<unsigned int> pasted =
            pasting.document.getPage(pasting.pageId).getControlIds();
        state.ResumeTiming();
        pasting.document.undoStack().push(new DeleteControlsCommand(pasted, pasting.document));
        state.PauseTiming();
        pasting.document.undoStack().undo();
        pasting.document.undoStack().undo();
        pasting.document.undoStack().clear();
        state.ResumeTiming();
    }
}

void counts(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(1024)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(paste)->Apply(counts);
BENCHMARK(undoPaste)->Apply(counts);
BENCHMARK(deleteControls)->Apply(counts);

} // namespace

int main(int argc, char** argv)
{
    OffscreenApplication app(argc, argv);
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter, {"--benchmark_repetitions=3"});
    reporter.printTimes();
    for (const char* name : {"paste", "undoPaste", "deleteControls"})
        reporter.printRatio(std::string(name) + " of 4096 controls / of 1024",
                            std::string(name) + "/4096", std::string(name) + "/1024", 8.0);
    return 0;
}
