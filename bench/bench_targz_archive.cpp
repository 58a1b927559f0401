#include "core/targz_archive.h"

#include "system_tar.h"
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

// A theme bundle's worth of images: 50 PNG files of a few MB in all, archived and extracted
// here and by the system's tar (whose gzip compresses at the same default level as zlib).

namespace {

constexpr int ImageCount = 50;

struct Images
{
    Images()
    {
        QRandomGenerator random(7);
        qint64 total = 0;
        for (int i = 0; i < ImageCount; ++i) {
            QImage image(300, 170, QImage::Format_ARGB32);
            QLinearGradient gradient(0, 0, 300, 170);
            gradient.setColorAt(0, QColor::fromHsv((i * 37) % 360, 200, 220));
            gradient.setColorAt(1, QColor::fromHsv((i * 37 + 120) % 360, 120, 60));
            QPainter painter(&image);
            painter.fillRect(image.rect(), gradient);
            painter.end();
            // Grain, so that the images compress as photographs do rather than as flat colour.
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const int grain = int(random.bounded(24)) - 12;
                    const QRgb pixel = line[x];
                    line[x] = qRgba(qBound(0, qRed(pixel) + grain, 255),
                                    qBound(0, qGreen(pixel) + grain, 255),
                                    qBound(0, qBlue(pixel) + grain, 255), 255);
                }
            }
            const QString name = QString("image_%1").arg(i);
            image.save(dir.filePath(name), "PNG");
            names << name;
            items << TarItemInfo{dir.filePath(name), name};
            total += QFileInfo(dir.filePath(name)).size();
        }
        std::fprintf(stderr, "%d images, %lld bytes in all\n", ImageCount,
                     static_cast<long long>(total));
        // The archive both extraction benchmarks read.
        TargzArchive archive;
        if (!archive.create(output.filePath("source.tgz"), items))
            std::fprintf(stderr, "cannot create the archive to extract\n");
    }

    QTemporaryDir dir;
    QTemporaryDir output;
    QStringList names;
    QList<TarItemInfo> items;
};

Images& images()
{
    static Images instance;
    return instance;
}

void BM_CreateHere(benchmark::State& state)
{
    Images& data = images();
    const QString target = data.output.filePath("here.tgz");
    for (auto _ : state) {
        TargzArchive archive;
        if (!archive.create(target, data.items))
            state.SkipWithError("create failed");
    }
    state.counters["bytes"] = double(QFileInfo(target).size());
}

void BM_CreateSystemTar(benchmark::State& state)
{
    Images& data = images();
    SystemTar::create(state, data.output.filePath("system.tgz"), data.dir.path(), data.names);
}

void BM_ExtractAllHere(benchmark::State& state)
{
    Images& data = images();
    const QString source = data.output.filePath("source.tgz");
    const QString target = data.output.filePath("extracted_here");
    for (auto _ : state) {
        state.PauseTiming();
        QDir(target).removeRecursively();
        state.ResumeTiming();
        TargzArchive archive;
        if (!archive.extractAll(source, target))
            state.SkipWithError("extractAll failed");
    }
}

void BM_ExtractSystemTar(benchmark::State& state)
{
    Images& data = images();
    SystemTar::extract(state, data.output.filePath("source.tgz"),
                       data.output.filePath("extracted_system"));
}

} // namespace

BENCHMARK(BM_CreateHere)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CreateSystemTar)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtractAllHere)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtractSystemTar)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    return SystemTar::runWithRatios(argc, argv,
                                    {{"BM_CreateHere", "BM_CreateSystemTar", 1.0},
                                     {"BM_ExtractAllHere", "BM_ExtractSystemTar", 1.3}});
}
