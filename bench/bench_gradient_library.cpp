#include "core/gradient_library.h"

#include "ratio_reporter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

// Refusing a hostile gradient pack, against reading its bytes in the same run: a pack of
// 1.7 MB whose root carries 150,000 attributes (Qt's parsers take time that grows with the
// square of the attributes of one element: it once took four minutes), and one of the same
// size whose attributes are spread over elements of four each.

namespace {

constexpr int Repetitions = 10;
constexpr int AttributeCount = 150000;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString packPath(bool spread)
{
    const QString path = folder().filePath(spread ? "spread.xml" : "one_element.xml");
    if (QFile::exists(path))
        return path;
    QByteArray text = "<GradientPack name=\"hostile\"";
    for (int i = 0; i < AttributeCount; ++i) {
        if (spread && i % 4 == 0)
            text += "><Gradient";
        text += " a" + QByteArray::number(i) + "=\"1\"";
    }
    text += spread ? "/></GradientPack>" : "/>";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        std::abort();
    return path;
}

void readBytes(benchmark::State& state)
{
    const QString path = packPath(state.range(0) != 0);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        benchmark::DoNotOptimize(file.readAll());
    }
}

void refuse(benchmark::State& state)
{
    const QString path = packPath(state.range(0) != 0);
    GradientLibrary library(QString(), folder().filePath("user"));
    for (auto _ : state)
        library.loadFile(path, GradientLibrary::UserGradient);
    if (library.rowCount() != 0)
        state.SkipWithError("the hostile pack was loaded");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    for (const auto& [name, function] : {std::pair{"readBytes", readBytes}, {"refuse", refuse}})
        BenchRatio::repeated(benchmark::RegisterBenchmark(name, function), Repetitions)
            ->Arg(0)
            ->Arg(1);
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);

    std::printf("\nRatios over %d repetitions (%lld bytes, %d attributes):\n", Repetitions,
                static_cast<long long>(QFile(packPath(false)).size()), AttributeCount);
    reporter.printRatio("refuse / read bytes, one element", "refuse/0", "readBytes/0", 10.0);
    reporter.printRatio("refuse / read bytes, four per element", "refuse/1", "readBytes/1", 10.0);
    return 0;
}
