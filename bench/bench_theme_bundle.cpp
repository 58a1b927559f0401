#include "core/targz_archive.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_reader.h"

#include "system_tar.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

// Writing a theme bundle of a theme with 50 images and reading it back (open, then extract
// every image member one at a time, as the document reader does), beside the system's tar
// creating and extracting an archive of the same members.

using namespace Velmora;

namespace {

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

struct Fixture
{
    Fixture()
    {
        TemporaryDirectory::setApplicationDataFolder(appData.path());
        theme = std::make_unique<Theme>(QString());
        theme->setName("Benchmark");
        theme->setSplashImage(Orientation_LANDSCAPE,
                              QImage::fromData(picture(480, 272, 100, false)));
        theme->setSplashImage(Orientation_PORTRAIT,
                              QImage::fromData(picture(272, 480, 101, false)));
        // 50 images: 20 page backgrounds, 10 icons, 10 control images, 10 skin images that
        // button skins use.
        int seed = 0;
        for (int i = 0; i < 20; ++i)
            theme->addPageBackgroundImageData(picture(300, 170, seed++), Orientation_LANDSCAPE);
        for (int i = 0; i < 10; ++i)
            theme->addIconData(picture(64, 64, seed++));
        for (int i = 0; i < 10; ++i)
            theme->addControlImageData(picture(160, 90, seed++));
        auto buttons = new SkinSet(ThemedItemType_BUTTON);
        const SkinProperty* definition = SkinProperties::getSkinProperties(ThemedItemType_BUTTON)
                                             ->getProperty("backgroundImage");
        for (int i = 0; i < 10; ++i) {
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

        // The bundle both readers read, and its members as files for the system's tar.
        ThemeFileWriter writer(theme.get(), nullptr);
        if (!writer.write(output.filePath("source.qvt")))
            std::fprintf(stderr, "cannot write the bundle to read\n");
        TargzArchive archive;
        if (!archive.list(output.filePath("source.qvt"), members) ||
            !archive.extractAll(output.filePath("source.qvt"), memberFiles.path()))
            std::fprintf(stderr, "cannot unpack the bundle\n");
        qint64 total = 0;
        for (const QString& member : members)
            total += QFileInfo(memberFiles.filePath(member)).size();
        std::fprintf(stderr, "%lld members, %lld bytes in all\n", (long long)members.size(),
                     (long long)total);
    }

    QTemporaryDir appData;
    QTemporaryDir output;
    QTemporaryDir memberFiles;
    std::unique_ptr<Theme> theme;
    QStringList members;
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void BM_WriteBundle(benchmark::State& state)
{
    Fixture& data = fixture();
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
    Fixture& data = fixture();
    SystemTar::create(state, data.output.filePath("system.tgz"), data.memberFiles.path(),
                      data.members);
}

void BM_ReadBundle(benchmark::State& state)
{
    Fixture& data = fixture();
    const QString source = data.output.filePath("source.qvt");
    qint64 bytes = 0;
    for (auto _ : state) {
        ThemeReader reader;
        if (!reader.open(source)) {
            state.SkipWithError("open failed");
            break;
        }
        bytes = reader.device()->readAll().size();
        for (const QString& member : reader.members()) {
            if (member.endsWith(".xml"))
                continue;
            QFile file(reader.extractMember(member));
            if (!file.open(QIODevice::ReadOnly)) {
                state.SkipWithError("extract failed");
                break;
            }
            bytes += file.readAll().size();
            file.remove();
        }
    }
    state.counters["bytes"] = double(bytes);
}

void BM_ExtractSystemTar(benchmark::State& state)
{
    Fixture& data = fixture();
    SystemTar::extract(state, data.output.filePath("source.qvt"),
                       data.output.filePath("extracted_system"));
}

} // namespace

BENCHMARK(BM_WriteBundle)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CreateSystemTar)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadBundle)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtractSystemTar)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
