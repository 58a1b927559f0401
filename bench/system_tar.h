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

// Starting tar and waiting for it to end, with no archive to work on ("tar --version"): the part
// of each system-tar baseline that is process start rather than archive work.
inline void processStart(benchmark::State& state)
{
    for (auto _ : state) {
        if (!run({"--version"}))
            state.SkipWithError("tar --version failed");
    }
}

// The name of the process-start benchmark that runWithRatios expects to be registered.
inline const char* const ProcessStart = "tarProcessStart";

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

// A pair of a benchmark of ours and its system-tar baseline, with the target of its ratio.
struct RatioPair
{
    std::string measured;
    std::string baseline;
    double target;
};

// Runs the registered benchmarks, by default ten repetitions each in random order (so that the
// load of the machine falls on benchmarks and baselines alike), with tar's process start
// (registered here), then prints every benchmark's minimum and median and the ratio of each
// pair twice: against tar as it is run, process start included, and against tar's time less
// its process start, which our readers and writers do not pay.
inline int runWithRatios(int argc, char** argv, const std::vector<RatioPair>& pairs)
{
    benchmark::RegisterBenchmark(ProcessStart, processStart)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter,
                    {"--benchmark_repetitions=10", "--benchmark_enable_random_interleaving=true"});
    reporter.printTimes();
    for (const RatioPair& pair : pairs)
        reporter.printRatio(pair.measured + " / " + pair.baseline, pair.measured, pair.baseline,
                            pair.target);
    if (reporter.has(ProcessStart)) {
        std::printf("\nless tar's process start (%.2f ms min, %.2f ms median):\n",
                    reporter.minimum(ProcessStart), reporter.median(ProcessStart));
        for (const RatioPair& pair : pairs) {
            if (!reporter.has(pair.measured) || !reporter.has(pair.baseline))
                continue;
            BenchRatio::RatioReporter::printRatios(
                pair.measured + " / (" + pair.baseline + " - start)",
                reporter.minimum(pair.measured) /
                    (reporter.minimum(pair.baseline) - reporter.minimum(ProcessStart)),
                reporter.median(pair.measured) /
                    (reporter.median(pair.baseline) - reporter.median(ProcessStart)),
                pair.target);
        }
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace SystemTar
