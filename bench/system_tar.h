#pragma once

#include "ratio_reporter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// The system's tar as the baseline of the archive benchmarks: same members, same gzip level
// (tar's gzip and zlib both compress at level 6 by default).
namespace SystemTar {

inline bool run(const QStringList& arguments)
{
    QProcess process;
    process.start("tar", arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// "tar czf target -C folder members..." once per iteration.
inline void create(benchmark::State& state, const QString& target, const QString& folder,
                   const QStringList& members)
{
    for (auto _ : state) {
        if (!run(QStringList{"czf", target, "-C", folder} + members))
            state.SkipWithError("tar czf failed");
    }
    state.counters["bytes"] = double(QFileInfo(target).size());
}

// "tar xzf source -C target" once per iteration, into an emptied folder.
inline void extract(benchmark::State& state, const QString& source, const QString& target)
{
    for (auto _ : state) {
        state.PauseTiming();
        QDir(target).removeRecursively();
        QDir().mkpath(target);
        state.ResumeTiming();
        if (!run({"xzf", source, "-C", target}))
            state.SkipWithError("tar xzf failed");
    }
}

// Runs the registered benchmarks, by default ten repetitions each in random order (so that the
// load of the machine falls on benchmarks and baselines alike), then prints the ratio of each
// (benchmark, baseline) pair.
inline int runWithRatios(int argc, char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs)
{
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter,
                    {"--benchmark_repetitions=10", "--benchmark_enable_random_interleaving=true"});
    std::printf("\n");
    for (const auto& [measured, baseline] : pairs)
        reporter.printRatio(measured + " / " + baseline, measured, baseline);
    benchmark::Shutdown();
    return 0;
}

} // namespace SystemTar
