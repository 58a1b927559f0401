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
#include <map>

// A paste of many controls onto the page shown in the preview: the clipboard decoded, the
// command run and the page rebuilt with the new controls. 4096 controls (the most a project
// holds) beside 512: adding n controls to a page costs O(n log n) at most, so the ratio stays
// near 8 (it was near 64 while every control added put all the page's items in order again).

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

void paste(benchmark::State& state)
{
    static std::map<int, QByteArray> clipboards;
    QByteArray& bytes = clipboards[int(state.range(0))];
    if (bytes.isEmpty())
        bytes = clipboardOf(int(state.range(0)));
    QTemporaryDir folder;
    SelectionManager selection;
    VelmoraDocument document(selection);
    NewProjectData data;
    data.path = folder.filePath("paste.qvp");
    data.orientation = Orientation_LANDSCAPE;
    const unsigned int pageId = document.createProject(data);
    document.preparePreview();
    document.showPage(pageId);
    for (auto _ : state) {
        const auto contents = ControlClipboard::decode(bytes);
        document.undoStack().push(
            new PasteControlsCommand(contents->controls, QPoint(), pageId, document));
        state.PauseTiming();
        document.undoStack().undo();
        document.undoStack().clear();
        state.ResumeTiming();
    }
}
BENCHMARK(paste)->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    OffscreenApplication app(argc, argv);
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter, {"--benchmark_repetitions=3"});
    reporter.printTimes();
    reporter.printRatio("paste of 4096 controls / of 512", "paste/4096", "paste/512", 12.0);
    return 0;
}
