#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "main/velmora_document.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include "grid_project.h"
#include "offscreen_preview.h"
#include "ratio_reporter.h"
#include "realistic_project.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QQuickWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>
#include <unistd.h>

// Opening a project until its first page is shown live in the preview, beside reading the same
// file into the model alone: the realistic project (realistic_project.h) and the largest project
// the format allows (256 pages, 4096 controls, a theme of 50 images). And saving the open
// realistic project to its file, beside writing the same bytes over a file and syncing them.

using namespace Velmora;

namespace {

QByteArray pngOf(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 3 + seed * 17) & 255, (y * 5 + seed) & 255, seed * 5));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Writes the project to the path: 256 pages of 16 controls in a grid under one page switcher,
// each page with a background image and an icon of the theme's 40 backgrounds and 10 icons.
void writeLargestProject(const QString& path)
{
    Configuration project;
    project.clear();
    project.setName("Largest");
    auto* theme = new Theme(QString());
    for (int i = 0; i < 40; ++i)
        theme->addPageBackgroundImageData(pngOf(480, 272, i), Orientation_LANDSCAPE);
    for (int i = 0; i < 10; ++i)
        theme->addIconData(pngOf(24, 24, i));
    project.setTheme(theme);

    GridProject grid;
    grid.pages = int(Configuration::MaximumPages);
    grid.controlsPerPage = int(Configuration::MaximumControls) / grid.pages;
    grid.columns = 4;
    grid.cell = QSize(120, 57);
    grid.switcherPages = 6;
    grid.withDigitalClock = false;
    grid.preparePage = [](Page& page, int p) {
        page.setBackgroundImageId(unsigned(p % 40));
        page.setBackgroundImageScaling(Scaling_STRETCH);
        page.setIconId(unsigned(p % 10));
    };
    int keys[7] = {};
    const QString stems[7] = {"", "button", "slider", "colour", "keypad", "label", "clock"};
    grid.prepareControl = [&](Control& control) {
        const int type = control.getType();
        control.setName(stems[type] + QString("%1").arg(++keys[type], 3, 10, QChar('0')));
    };
    grid.build(project);
    writeProjectFile(project, path);
}

QTemporaryDir* folder = nullptr;

QString projectPath(bool realistic)
{
    return folder->filePath(realistic ? "realistic.qvp" : "largest.qvp");
}

// The baseline: the file read into a project alone. As for the document below, the project is
// emptied outside the timing.
void loadModelOnly(benchmark::State& state, bool realistic)
{
    Configuration project;
    for (auto _ : state) {
        state.PauseTiming();
        project.clear();
        state.ResumeTiming();
        Streamer streamer;
        streamer.open(Streamer::Mode_READ, projectPath(realistic));
        project.read(streamer);
        streamer.close();
        benchmark::DoNotOptimize(project.getControls().size());
    }
}
BENCHMARK_CAPTURE(loadModelOnly, realistic, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadModelOnly, largest, false)->Unit(benchmark::kMillisecond);

// Loads the file into a document in each iteration, then does what `after` does. The document
// is emptied outside the timing.
template <typename After> void loadDocument(benchmark::State& state, bool realistic, After after)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    for (auto _ : state) {
        state.PauseTiming();
        document.clear();
        state.ResumeTiming();
        document.load(projectPath(realistic));
        after(document);
    }
}

// The second baseline: the document's load, which adds the page list and the theme's image
// lists to the project.
void loadDocumentOnly(benchmark::State& state, bool realistic)
{
    loadDocument(state, realistic, [](VelmoraDocument&) {});
}
BENCHMARK_CAPTURE(loadDocumentOnly, realistic, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadDocumentOnly, largest, false)->Unit(benchmark::kMillisecond);

// What opening a project does before the user sees its first page live: the document loads
// the file, prepares the preview and shows the default page, and the surface draws it.
void openUntilFirstPageShown(benchmark::State& state, bool realistic)
{
    loadDocument(state, realistic, [](VelmoraDocument& document) {
        document.preparePreview();
        document.showPage(document.getDefaultPageId());
        benchmark::DoNotOptimize(document.previewScene()->surface()->grabFramebuffer());
    });
}
BENCHMARK_CAPTURE(openUntilFirstPageShown, realistic, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openUntilFirstPageShown, largest, false)->Unit(benchmark::kMillisecond);

// The open realistic project saved to its file.
void saveDocumentToFile(benchmark::State& state)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    document.load(projectPath(true));
    QTemporaryDir directory;
    document.saveAs(directory.filePath("saved.qvp"), false);
    for (auto _ : state)
        document.save(false);
}
BENCHMARK(saveDocumentToFile)->Unit(benchmark::kMillisecond);

// The baseline: the bytes of that save written over a file and synced to the disk.
void writeBytesWithFsync(benchmark::State& state)
{
    QFile saved(projectPath(true));
    if (!saved.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the project cannot be read");
        return;
    }
    const QByteArray bytes = saved.readAll();
    QTemporaryDir directory;
    const QString path = directory.filePath("written.qvp");
    for (auto _ : state) {
        QFile output(path);
        if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            output.write(bytes) != bytes.size() || !output.flush() || ::fsync(output.handle()) != 0)
            state.SkipWithError("writing the bytes failed");
    }
}
BENCHMARK(writeBytesWithFsync)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    OffscreenApplication app(argc, argv);
    QTemporaryDir temporary;
    folder = &temporary;
    writeLargestProject(projectPath(false));
    RealisticProject::write(projectPath(true));

    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    reporter.printTimes();
    for (const std::string project : {"realistic", "largest"}) {
        std::printf("%s\n", project == "realistic" ? RealisticProject::description().c_str()
                                                   : "largest project: 256 pages, 4096 controls");
        const std::string model = "loadModelOnly/" + project;
        const std::string document = "loadDocumentOnly/" + project;
        const std::string open = "openUntilFirstPageShown/" + project;
        reporter.printRatio("load into the document / load into the model alone", document, model,
                            3.0);
        reporter.printRatio("open until the first page is shown / load into the model alone", open,
                            model);
        reporter.printRatio("open until the first page is shown / load into the document alone",
                            open, document);
        if (reporter.has(open) && reporter.has(document))
            reporter.printRatios("share of the preview in the opening",
                                 1 - reporter.minimum(document) / reporter.minimum(open),
                                 1 - reporter.median(document) / reporter.median(open));
    }
    reporter.printRatio("realistic project saved to its file / bytes written with fsync",
                        "saveDocumentToFile", "writeBytesWithFsync", 1.5);
    benchmark::Shutdown();
    return 0;
}
