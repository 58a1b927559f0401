#include "core/targz_archive.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library_data.h"
#include "velmora_objects/theme_reader.h"

#include "offscreen_preview.h"
#include "realistic_project.h"
#include "system_tar.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>

// Reading a theme bundle as the editor does (a Theme made from the bundle), listing it as the
// theme library does (ThemeReader::readLibraryData) and writing one (ThemeFileWriter): the theme of
// the realistic project (the built-in Midnight, size 0 below) and themes of 50, 100 and 200 images,
// each against the system's tar extracting or creating an archive of the same members in the same
// run.

using namespace Velmora;

namespace {

// 0 stands for the realistic project's theme.
const int ImageCounts[] = {0, 50, 100, 200};

// A PNG picture of a colour gradient; with grain it compresses as a photograph does rather
// than as flat colour. (Splash images are renderings of sample controls: flat colour.)
QByteArray picture(int width, int height, int seed, bool grain = true)
{
    QRandomGenerator random(quint32(seed) + 1);
    QImage image(width, height, QImage::Format_ARGB32);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 200, 220));
    gradient.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 120, 60));
    QPainter painter(&image);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    for (int y = 0; grain && y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(24)) - 12;
            const QRgb pixel = line[x];
            line[x] =
                qRgba(qBound(0, qRed(pixel) + grain, 255), qBound(0, qGreen(pixel) + grain, 255),
                      qBound(0, qBlue(pixel) + grain, 255), 255);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A theme of the given number of images (two fifths page backgrounds, a fifth each icons,
// control images and skin images that button skins use), written as the bundle both readers
// read, with its members unpacked for the system's tar to pack.
struct Bundle
{
    explicit Bundle(int images)
    {
        if (images == 0) {
            source = RealisticProject::midnightTheme();
            theme = std::make_unique<Theme>(source);
            unpack(images);
            return;
        }
        theme = std::make_unique<Theme>(QString());
        theme->setName("Benchmark");
        theme->setSplashImage(Orientation_LANDSCAPE,
                              QImage::fromData(picture(480, 272, 100, false)));
        theme->setSplashImage(Orientation_PORTRAIT,
                              QImage::fromData(picture(272, 480, 101, false)));
        int seed = 0;
        for (int i = 0; i < images * 2 / 5; ++i)
            theme->addPageBackgroundImageData(picture(300, 170, seed++), Orientation_LANDSCAPE);
        for (int i = 0; i < images / 5; ++i)
            theme->addIconData(picture(64, 64, seed++));
        for (int i = 0; i < images / 5; ++i)
            theme->addControlImageData(picture(160, 90, seed++));
        auto buttons = new SkinSet(ThemedItemType_BUTTON);
        const SkinProperty* definition = SkinProperties::getSkinProperties(ThemedItemType_BUTTON)
                                             ->getProperty("backgroundImage");
        for (int i = 0; i < images / 5; ++i) {
            const unsigned int id = theme->addSkinImageData(picture(200, 80, seed++));
            Skin* skin = buttons->getSkin(QString("Skin %1").arg(i), true);
            smart_ptr<SkinProperty> property(SkinProperty::create(definition->getType()));
            property->copyFrom(*definition);
            property->setValue(id);
            skin->setProperty(property);
            theme->addSkinImageReference(SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"),
                                         id);
        }
        theme->setSkinSet(smart_ptr<SkinSet>(buttons));
        theme->setDefaultSkin(ThemedItemType_BUTTON, "Skin 0");

        source = output.filePath("source.qvt");
        ThemeFileWriter writer(theme.get(), nullptr);
        if (!writer.write(source))
            std::fprintf(stderr, "cannot write the bundle of %d images\n", images);
        unpack(images);
    }

    // The members of the source, for the system's tar to pack.
    void unpack(int images)
    {
        TargzArchive archive;
        if (!archive.list(source, members) || !archive.extractAll(source, memberFiles.path()))
            std::fprintf(stderr, "cannot unpack the bundle of %d images\n", images);
        std::fprintf(stderr, "%d images (0: Midnight): %lld members, bundle of %lld bytes\n",
                     images, (long long)members.size(), (long long)QFileInfo(source).size());
    }

    QTemporaryDir output;
    QTemporaryDir memberFiles;
    std::unique_ptr<Theme> theme;
    QString source;
    QStringList members;
};

Bundle& bundle(int images)
{
    static std::map<int, std::unique_ptr<Bundle>> bundles;
    std::unique_ptr<Bundle>& made = bundles[images];
    if (!made)
        made = std::make_unique<Bundle>(images);
    return *made;
}

void BM_ReadBundle(benchmark::State& state)
{
    Bundle& data = bundle(int(state.range(0)));
    for (auto _ : state) {
        const Theme theme(data.source);
        if (theme.getSkinImages().size() != data.theme->getSkinImages().size())
            state.SkipWithError("read failed");
    }
}

// What one row of the theme library costs: the name and splash pictures of the bundle, with
// the checks that make sure the bundle loads.
void BM_ListBundle(benchmark::State& state)
{
    Bundle& data = bundle(int(state.range(0)));
    for (auto _ : state) {
        ThemeReader reader;
        ThemeLibraryData row;
        if (!reader.readLibraryData(data.source, row))
            state.SkipWithError("list failed");
    }
}

void BM_ExtractSystemTar(benchmark::State& state)
{
    Bundle& data = bundle(int(state.range(0)));
    SystemTar::extract(state, data.source, data.output.filePath("extracted"));
}

void BM_WriteBundle(benchmark::State& state)
{
    Bundle& data = bundle(int(state.range(0)));
    const QString target = data.output.filePath("written.qvt");
    for (auto _ : state) {
        ThemeFileWriter writer(data.theme.get(), nullptr);
        if (!writer.write(target))
            state.SkipWithError("write failed");
    }
    state.counters["bytes"] = double(QFileInfo(target).size());
}

void BM_CreateSystemTar(benchmark::State& state)
{
    Bundle& data = bundle(int(state.range(0)));
    SystemTar::create(state, data.output.filePath("system.tgz"), data.memberFiles.path(),
                      data.members);
}

void sizes(benchmark::internal::Benchmark* benchmark)
{
    for (int images : ImageCounts)
        benchmark->Arg(images);
    benchmark->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_ReadBundle)->Apply(sizes);
BENCHMARK(BM_ListBundle)->Apply(sizes);
BENCHMARK(BM_ExtractSystemTar)->Apply(sizes);
BENCHMARK(BM_WriteBundle)->Apply(sizes);
BENCHMARK(BM_CreateSystemTar)->Apply(sizes);

int main(int argc, char** argv)
{
    // Splash pictures are decoded, which needs a GUI application.
    OffscreenApplication application(argc, argv);
    QTemporaryDir appData;
    TemporaryDirectory::setApplicationDataFolder(appData.path());
    std::vector<SystemTar::RatioPair> pairs;
    for (int images : ImageCounts) {
        const std::string size = "/" + std::to_string(images);
        pairs.push_back({"BM_ReadBundle" + size, "BM_ExtractSystemTar" + size, 1.3});
        pairs.push_back({"BM_ListBundle" + size, "BM_ExtractSystemTar" + size, 1.3});
        pairs.push_back({"BM_WriteBundle" + size, "BM_CreateSystemTar" + size, 1.0});
    }
    return SystemTar::runWithRatios(argc, argv, pairs);
}
