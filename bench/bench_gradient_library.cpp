#include "core/gradient_library.h"

#include "ratio_reporter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

// Refusing a hostile gradient pack, against reading its bytes in the same run: a pack of
// 1.7 MB whose root carries 150,000 attributes (Qt's parsers take time that grows with the
// square of the attributes of one element: it once took four minutes; the target is 10 times
// the reading), and one of about the same size whose attributes are spread over elements of
// eight each.

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
    QByteArray text = spread ? "<GradientPack name=\"hostile\">" : "<GradientPack name=\"hostile\"";
    for (int i = 0; i < AttributeCount; ++i) {
        if (spread && i % 8 == 0)
            text += i == 0 ? "<Gradient" : "/><Gradient";
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
    // Spread out, the attributes are counted one by one up to the bound of the whole file: a
    // pass over the bytes that the first bound met ends, with no target of its own.
    reporter.printRatio("refuse / read bytes, eight per element", "refuse/1", "readBytes/1");
    return 0;
}
