// Loading and saving projects, each beside a baseline measured in the same run: a load and a
// save to memory beside reading the file's bytes into memory already touched and into fresh
// memory (pages the process never used), a load followed by destroying the project beside a
// read into fresh memory followed by freeing it, a save to a file beside writing the same bytes
// to a file and syncing it, and the same load and save at 1, 16, 64 and 256 pages. After the
// run every benchmark's minimum and median and the ratios are printed, from the minima and from
// the medians of the repetitions.

#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include "mixed_controls.h"
#include "ratio_reporter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

using namespace Velmora;

namespace {

constexpr int Repetitions = 9;
constexpr int ControlsPerPage = 16;
const int PageCounts[] = {1, 16, 64, 256};

// A picture of noise, which compresses about as badly as a photograph.
QImage noise(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
    }
    return image;
}

QByteArray noisePng(int width, int height, quint32 seed)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noise(width, height, seed).save(&buffer, "PNG");
    return bytes;
}

Gradient gradient(const QString& name, int seed)
{
    Gradient result;
    result.setName(name);
    result.setStops({{0.0, QColor(seed % 256, 20, 40)},
                     {0.3, QColor(60, seed % 256, 80)},
                     {0.7, QColor(100, 120, seed % 256)},
                     {1.0, QColor(140, 160, 180)}});
    return result;
}

// A theme with textured splash images, a skin set for each control type and 50 images: 20 page
// backgrounds and 10 each of icons, control images and skin images.
Theme* largeTheme()
{
    auto* theme = new Theme(QString());
    theme->setSplashImage(Orientation_LANDSCAPE, noise(480, 272, 1000));
    theme->setSplashImage(Orientation_PORTRAIT, noise(272, 480, 1001));
    quint32 seed = 1;
    for (int i = 0; i < 20; ++i)
        theme->addPageBackgroundImageData(noisePng(160, 90, seed++), 1 + i % 2);
    for (int i = 0; i < 10; ++i) {
        theme->addIconData(noisePng(24, 24, seed++));
        theme->addControlImageData(noisePng(64, 64, seed++));
        theme->addSkinImageData(noisePng(64, 32, seed++));
    }
    for (int type = ThemedItemType_BUTTON; type <= ThemedItemType_CLOCK; ++type) {
        if (type == ThemedItemType_PAGE_SWITCHER)
            continue;
        smart_ptr<SkinSet> set(new SkinSet(ThemedItemType(type)));
        for (const char* name : {"Normal", "Active", "Disabled"}) {
            Skin* skin = set->getSkin(name, true);
            for (int p = 0; p < 20; ++p) {
                skin->setProperty(smart_ptr<SkinProperty>(
                    new ColourSkinProperty(QString("colour%1").arg(p), QString("Colour %1").arg(p),
                                           QColor(p, 2 * p, 3 * p))));
                skin->setProperty(smart_ptr<SkinProperty>(
                    new IntSkinProperty(QString("size%1").arg(p), QString("Size %1").arg(p), p,
                                        "px", 0, 99, QString())));
            }
        }
        theme->setSkinSet(set);
        theme->setDefaultSkin(ThemedItemType(type), "Normal");
        theme->setDefaultItemProperty(ThemedItemType(type), "fontSize", 12);
    }
    theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "backgroundGradient",
                                  QVariant::fromValue(gradient("Bar", 7)));
    return theme;
}

// The six control types in turn, buttons and sliders with a value of their own.
Control* newControl(int index)
{
    Control* control = newMixedControl(index, false);
    if (auto* button = dynamic_cast<Button*>(control)) {
        button->setFunction(ButtonFunction_NEXT_PAGE);
        button->setImageId(unsigned(index % 10));
    } else if (auto* slider = dynamic_cast<Slider*>(control)) {
        slider->setUnit(Slider::Unit_8BIT);
        slider->setValue(index % 256);
    }
    return control;
}

// Pages of 16 controls each (all six types), each page with a name, a background gradient and
// image, an icon, navigation buttons and a page switcher of its own whose page list is full;
// the theme above; every IR slot that buttons can take in use. At 256 pages the project holds
// as much as a project can.
std::unique_ptr<Configuration> makeProject(int pageCount)
{
    auto project = std::make_unique<Configuration>();
    project->clear();
    project->setName("Largest project");
    project->setTheme(largeTheme());
    int controlIndex = 0;
    unsigned char slot = 0;
    for (int p = 0; p < pageCount; ++p) {
        const unsigned int pageId = project->addPage();
        Page& page = project->getPage(pageId);
        page.setName(QString("Page %1").arg(p));
        page.setBackgroundGradient(gradient(QString("Page gradient %1").arg(p), p));
        page.setBackgroundGradientRotation(p % 360);
        page.setBackgroundImageId(unsigned(p % 20));
        page.setIconId(unsigned(p % 10));
        page.setLayoutName("Grid of four");
        NavButtons navigation;
        navigation.position = NavigationPosition_BOTTOM;
        navigation.alignment = Alignment_SPREAD;
        navigation.functions = {ButtonFunction_PREVIOUS_PAGE, ButtonFunction_GO_TO_PAGE,
                                ButtonFunction_BACK, ButtonFunction_NEXT_PAGE};
        page.setNavButtons(navigation);

        smart_ptr<PageSwitcher> bar(new PageSwitcher);
        bar->setPosition(NavigationPosition_BOTTOM);
        std::vector<unsigned int> pageIds;
        const int listed =
            std::min(PageSwitcher::maxPages(NavigationPosition_BOTTOM, 1), pageCount);
        for (int i = 0; i < listed; ++i)
            pageIds.push_back(unsigned((p + i) % pageCount));
        bar->setPageIds(pageIds);
        bar->setUsage(1);
        bar->setBackgroundGradient(gradient(QString("Bar %1").arg(p), p + 1));
        bar->setShowTime(true);
        bar->setShowDate(true);
        page.setPageSwitcherId(project->insertPageSwitcher(bar, UINT_MAX));

        for (int c = 0; c < ControlsPerPage; ++c, ++controlIndex) {
            Control* control = newControl(controlIndex);
            control->setPageId(pageId);
            control->setGeometry(QRect(c * 20, c * 10, 60, 30));
            control->setCaption(QString("Control %1").arg(controlIndex));
            control->setStartupSkin("Normal");
            if (slot < NoIRSlot && control->getType() == ControlType_BUTTON)
                control->setIRSlotId(Action_CLICK, slot++);
            smart_ptr<Control> owned(control);
            const unsigned int id = project->insertControl(owned, UINT_MAX);
            project->getControl(id).setName(project->getControl(id).defaultName());
            page.getControlIds().insert(id);
        }
    }
    project->setDefaultPageId(0);
    project->setUnlockCode("123456");
    project->setLockTimeout(600000);
    return project;
}

QByteArray readWhole(const QString& path)
{
    QFile input(path);
    input.open(QIODevice::ReadOnly);
    return input.readAll();
}

// One saved project of each size: its file, its bytes and the project loaded from it.
struct SavedProject
{
    explicit SavedProject(int pageCount)
    {
        path = directory.filePath("saved.qvp");
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, path);
        makeProject(pageCount)->write(streamer, false);
        streamer.close();
        bytes = readWhole(path);
        loaded.clear();
        Streamer reader;
        reader.open(Streamer::Mode_READ, path);
        loaded.read(reader);
    }

    QTemporaryDir directory;
    QString path;
    QByteArray bytes;
    Configuration loaded;
};

const SavedProject& saved(int pageCount)
{
    static std::map<int, std::unique_ptr<SavedProject>> projects;
    std::unique_ptr<SavedProject>& project = projects[pageCount];
    if (!project)
        project = std::make_unique<SavedProject>(pageCount);
    return *project;
}

int pagesOf(const benchmark::State& state)
{
    return int(state.range(0));
}

// Reads the whole file into the memory at buffer, as the project stream reads it.
bool readFileInto(const QString& path, char* buffer, qint64 size)
{
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    qint64 done = 0;
    while (done < size) {
        const qint64 got = input.read(buffer + done, size - done);
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
}

// The baseline of loading and of saving to memory: the file's bytes read into a buffer that was
// allocated and written before the timing (memory already touched), as a reader that keeps its
// buffer would.
void readIntoTouchedMemory(benchmark::State& state)
{
    const SavedProject& project = saved(pagesOf(state));
    QByteArray buffer(project.bytes.size(), '\0');
    for (auto _ : state) {
        if (!readFileInto(project.path, buffer.data(), buffer.size()))
            state.SkipWithError("reading the bytes failed");
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * project.bytes.size());
}

// The same into fresh memory: pages the process has not used before, mapped for each read (so
// that every page is faulted in as the bytes arrive). Unmapping them is left out of the timing,
// as destroying the project is left out of the load's, unless free is set.
void readIntoFreshMemory(benchmark::State& state, bool free)
{
    const SavedProject& project = saved(pagesOf(state));
    const size_t size = size_t(project.bytes.size());
    for (auto _ : state) {
        void* memory =
            ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED ||
            !readFileInto(project.path, static_cast<char*>(memory), qint64(size))) {
            state.SkipWithError("reading the bytes failed");
            break;
        }
        benchmark::DoNotOptimize(memory);
        benchmark::ClobberMemory();
        if (!free)
            state.PauseTiming();
        ::munmap(memory, size);
        if (!free)
            state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * project.bytes.size());
}

// Opening the file, reading the whole project from it and closing the file. Destroying the
// project is left out of the timing (as unmapping the fresh memory is), unless destroy is set;
// what destroying leaves to the allocator to tidy later is charged to the next load, as it is
// when the editor closes a project and opens another.
void load(benchmark::State& state, bool destroy)
{
    const SavedProject& project = saved(pagesOf(state));
    for (auto _ : state) {
        auto loaded = std::make_unique<Configuration>();
        loaded->clear();
        {
            Streamer streamer;
            streamer.open(Streamer::Mode_READ, project.path);
            loaded->read(streamer);
        }
        benchmark::DoNotOptimize(loaded->getControls().size());
        if (!destroy)
            state.PauseTiming();
        loaded.reset();
        if (!destroy)
            state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * project.bytes.size());
}

// Saving the loaded project into a new byte array, which is freed outside the timing.
void saveToMemory(benchmark::State& state)
{
    const SavedProject& project = saved(pagesOf(state));
    for (auto _ : state) {
        auto bytes = std::make_unique<QByteArray>();
        {
            Streamer streamer;
            streamer.open(Streamer::Mode_WRITE, bytes.get());
            project.loaded.write(streamer, false);
        }
        benchmark::DoNotOptimize(bytes->data());
        state.PauseTiming();
        bytes.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * project.bytes.size());
}

// The baseline of saving to a file: the same bytes written over a file and synced to the disk.
void writeBytesWithFsync(benchmark::State& state)
{
    const SavedProject& project = saved(256);
    QTemporaryDir directory;
    const QString path = directory.filePath("written.qvp");
    for (auto _ : state) {
        QFile output(path);
        if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            output.write(project.bytes) != project.bytes.size() || !output.flush() ||
            ::fsync(output.handle()) != 0)
            state.SkipWithError("writing the bytes failed");
        output.close();
    }
    state.SetBytesProcessed(state.iterations() * project.bytes.size());
}

// Saving the loaded project to a file: a temporary file beside the target, synced to the disk
// and put in the target's place.
void saveToFile(benchmark::State& state)
{
    const SavedProject& project = saved(256);
    QTemporaryDir directory;
    const QString path = directory.filePath("saved.qvp");
    for (auto _ : state) {
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, path);
        project.loaded.write(streamer, false);
        streamer.close();
    }
    state.SetBytesProcessed(state.iterations() * project.bytes.size());
}

// Each benchmark repeated, reported by its minimum and median (and mean and spread).
void registerBenchmarks()
{
    const auto repeated = [](benchmark::internal::Benchmark* benchmark) {
        return BenchRatio::repeated(benchmark, Repetitions);
    };
    const auto readFresh = [](benchmark::State& state) { readIntoFreshMemory(state, false); };
    const auto readFreshAndFree = [](benchmark::State& state) { readIntoFreshMemory(state, true); };
    const auto loadOnly = [](benchmark::State& state) { load(state, false); };
    const auto loadAndDestroy = [](benchmark::State& state) { load(state, true); };
    repeated(benchmark::RegisterBenchmark("readIntoTouchedMemory", readIntoTouchedMemory))
        ->Arg(256);
    repeated(benchmark::RegisterBenchmark("readIntoFreshMemory", readFresh))->Arg(256);
    repeated(benchmark::RegisterBenchmark("readIntoFreshMemoryAndFree", readFreshAndFree))
        ->Arg(256);
    repeated(benchmark::RegisterBenchmark("load", loadOnly))->Arg(256);
    repeated(benchmark::RegisterBenchmark("loadAndDestroy", loadAndDestroy))->Arg(256);
    repeated(benchmark::RegisterBenchmark("saveToMemory", saveToMemory))->Arg(256);
    repeated(benchmark::RegisterBenchmark("writeBytesWithFsync", writeBytesWithFsync));
    repeated(benchmark::RegisterBenchmark("saveToFile", saveToFile));
    using Function = void (*)(benchmark::State&);
    for (auto [name, function] :
         {std::pair<const char*, Function>{"pages/readIntoTouchedMemory", readIntoTouchedMemory},
          {"pages/load", loadOnly},
          {"pages/saveToMemory", saveToMemory}}) {
        auto* benchmark = repeated(benchmark::RegisterBenchmark(name, function));
        for (int pages : PageCounts)
            benchmark->Arg(pages);
    }
}

} // namespace

int main(int argc, char** argv)
{
    registerBenchmarks();
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);

    reporter.printTimes();
    std::printf("Ratios over %d repetitions (largest project, %lld bytes):\n", Repetitions,
                static_cast<long long>(saved(256).bytes.size()));
    reporter.printRatio("load / read into touched memory", "load/256", "readIntoTouchedMemory/256",
                        8.0);
    reporter.printRatio("load / read into fresh memory", "load/256", "readIntoFreshMemory/256");
    reporter.printRatio("load and destroy / read into fresh memory and free", "loadAndDestroy/256",
                        "readIntoFreshMemoryAndFree/256");
    reporter.printRatio("save to memory / read into touched memory", "saveToMemory/256",
                        "readIntoTouchedMemory/256", 3.0);
    reporter.printRatio("save to memory / read into fresh memory", "saveToMemory/256",
                        "readIntoFreshMemory/256");
    reporter.printRatio("save to file / write bytes with fsync", "saveToFile",
                        "writeBytesWithFsync", 1.5);

    std::printf("\nGrowth with the page count (median times; the theme is the same at every "
                "size):\n%6s %10s %10s %10s %10s %16s %16s\n",
                "pages", "bytes", "read ms", "load ms", "save ms", "load us/page+",
                "save us/page+");
    int previous = 0;
    for (int pages : PageCounts) {
        const std::string arg = "/" + std::to_string(pages);
        if (!reporter.has("pages/load" + arg))
            continue; // left out of this run
        const double load = reporter.median("pages/load" + arg);
        const double save = reporter.median("pages/saveToMemory" + arg);
        std::printf("%6d %10lld %10.3f %10.3f %10.3f", pages,
                    static_cast<long long>(saved(pages).bytes.size()),
                    reporter.median("pages/readIntoTouchedMemory" + arg), load, save);
        if (previous > 0) {
            // The cost of each page added since the size before: equal steps mean linear growth.
            const std::string before = "/" + std::to_string(previous);
            const double added = pages - previous;
            std::printf(" %16.2f %16.2f",
                        1000 * (load - reporter.median("pages/load" + before)) / added,
                        1000 * (save - reporter.median("pages/saveToMemory" + before)) / added);
        }
        std::printf("\n");
        previous = pages;
    }
    benchmark::Shutdown();
    return 0;
}
