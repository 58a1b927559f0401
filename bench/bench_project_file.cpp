// Saving and loading the largest project the limits allow, beside the cost of reading the same
// file's bytes into memory.

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Velmora;

namespace {

// A PNG of noise, which compresses about as badly as a photograph.
QByteArray noisePng(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A theme with a skin set for each control type and 50 images: 20 page backgrounds and 10 each
// of icons, control images and skin images.
Theme* largeTheme()
{
    auto* theme = new Theme(QString());
    QImage splash(480, 272, QImage::Format_RGB32);
    splash.fill(QColor(30, 60, 120));
    theme->setSplashImage(Orientation_LANDSCAPE, splash);
    theme->setSplashImage(Orientation_PORTRAIT, splash.transformed(QTransform().rotate(90)));
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
    return theme;
}

Control* newControl(int index)
{
    switch (index % 6) {
    case 0: {
        auto* button = new Button;
        button->setFunction(ButtonFunction_NEXT_PAGE);
        button->setImageId(unsigned(index % 10));
        return button;
    }
    case 1:
        return new Slider;
    case 2:
        return new ColourPicker;
    case 3:
        return new Keypad;
    case 4:
        return new Label;
    default:
        return new Clock;
    }
}

// 256 pages of 16 controls each (4096, all six types), 256 page switchers, every IR slot in use.
std::unique_ptr<Configuration> largestProject()
{
    auto project = std::make_unique<Configuration>();
    project->clear();
    project->setName("Largest project");
    project->setTheme(largeTheme());
    int controlIndex = 0;
    unsigned char slot = 0;
    for (unsigned int p = 0; p < Configuration::MaximumPages; ++p) {
        const unsigned int pageId = project->addPage();
        Page& page = project->getPage(pageId);
        page.setName(QString("Page %1").arg(p));
        page.setBackgroundImageId(p % 20);
        page.setIconId(p % 10);
        page.setPageSwitcherId(p);
        smart_ptr<PageSwitcher> bar(new PageSwitcher);
        bar->setPageIds({pageId, (pageId + 1) % Configuration::MaximumPages});
        bar->setUsage(1);
        project->insertPageSwitcher(bar, UINT_MAX);
        for (int c = 0; c < 16; ++c, ++controlIndex) {
            Control* control = newControl(controlIndex);
            control->setPageId(pageId);
            control->setGeometry(QRect(c * 20, c * 10, 60, 30));
            control->setCaption(QString("Control %1").arg(controlIndex));
            control->setStartupSkin("Normal");
            if (slot < NoIRSlot && (control->getType() == ControlType_BUTTON))
                control->setIRSlotId(Action_CLICK, slot++);
            smart_ptr<Control> owned(control);
            const unsigned int id = project->insertControl(owned, UINT_MAX);
            page.getControlIds().insert(id);
        }
    }
    project->setDefaultPageId(0);
    project->setUnlockCode("123456");
    project->setLockTimeout(600000);
    return project;
}

const Configuration& project()
{
    static const std::unique_ptr<Configuration> largest = largestProject();
    return *largest;
}

struct SavedFile
{
    SavedFile()
    {
        path = directory.filePath("largest.qvp");
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, path);
        project().write(streamer, false);
        streamer.close();
        size = QFile(path).size();
    }

    QTemporaryDir directory;
    QString path;
    qint64 size = 0;
};

const SavedFile& savedFile()
{
    static const SavedFile file;
    return file;
}

void saveToMemory(benchmark::State& state)
{
    const Configuration& largest = project();
    for (auto _ : state) {
        QByteArray bytes;
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, &bytes);
        largest.write(streamer, false);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * savedFile().size);
}
BENCHMARK(saveToMemory)->Unit(benchmark::kMillisecond);

// Through a temporary file beside the target, flushed to the disk and renamed over it.
void saveToFile(benchmark::State& state)
{
    const Configuration& largest = project();
    QTemporaryDir directory;
    const QString path = directory.filePath("saved.qvp");
    for (auto _ : state) {
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, path);
        largest.write(streamer, false);
        streamer.close();
    }
    state.SetBytesProcessed(state.iterations() * savedFile().size);
}
BENCHMARK(saveToFile)->Unit(benchmark::kMillisecond);

void load(benchmark::State& state)
{
    const SavedFile& file = savedFile();
    Configuration loaded;
    for (auto _ : state) {
        loaded.clear();
        Streamer streamer;
        streamer.open(Streamer::Mode_READ, file.path);
        loaded.read(streamer);
        benchmark::DoNotOptimize(loaded.getControls().size());
    }
    state.SetBytesProcessed(state.iterations() * file.size);
    state.counters["controls"] = double(loaded.getControls().size());
}
BENCHMARK(load)->Unit(benchmark::kMillisecond);

// The same, with the file's bytes read into memory first and the project read from them.
void loadFromBytes(benchmark::State& state)
{
    const SavedFile& file = savedFile();
    Configuration loaded;
    for (auto _ : state) {
        QFile input(file.path);
        input.open(QIODevice::ReadOnly);
        QByteArray bytes = input.readAll();
        loaded.clear();
        Streamer streamer;
        streamer.open(Streamer::Mode_READ, &bytes);
        loaded.read(streamer);
        benchmark::DoNotOptimize(loaded.getControls().size());
    }
    state.SetBytesProcessed(state.iterations() * file.size);
}
BENCHMARK(loadFromBytes)->Unit(benchmark::kMillisecond);

// The baseline: the same file's bytes read into memory.
void readFileBytes(benchmark::State& state)
{
    const SavedFile& file = savedFile();
    for (auto _ : state) {
        QFile input(file.path);
        input.open(QIODevice::ReadOnly);
        const QByteArray bytes = input.readAll();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * file.size);
    state.counters["fileBytes"] = double(file.size);
}
BENCHMARK(readFileBytes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
