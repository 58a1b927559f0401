#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
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

// A console report that also keeps the real time per iteration of every repetition, so that
// each benchmark can be set against its baseline measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times[run.run_name.function_name + "/" + run.run_name.args].push_back(
                    run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // For each (benchmark, baseline) pair, "function/args" as Google Benchmark names them:
    // the ratio of the fastest repetitions and the ratio of the median repetitions.
    void printRatios(const std::vector<std::pair<std::string, std::string>>& pairs) const
    {
        std::printf("\n%-32s %-32s %10s %10s\n", "benchmark", "baseline", "min ratio", "median");
        for (const auto& [measured, baseline] : pairs) {
            const auto a = times.find(measured);
            const auto b = times.find(baseline);
            if (a == times.end() || b == times.end())
                continue;
            std::printf("%-32s %-32s %10.2f %10.2f\n", measured.c_str(), baseline.c_str(),
                        minimum(a->second) / minimum(b->second),
                        median(a->second) / median(b->second));
        }
    }

private:
    static double minimum(const std::vector<double>& values)
    {
        return *std::min_element(values.begin(), values.end());
    }
    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        const size_t middle = values.size() / 2;
        return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    }

    std::map<std::string, std::vector<double>> times;
};

// Runs the registered benchmarks, by default ten repetitions each in random order (so that the
// load of the machine falls on benchmarks and baselines alike), then prints the ratios.
inline int runWithRatios(int argc, char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::vector<char*> arguments(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=10";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    auto given = [&](const char* flag) {
        return std::any_of(arguments.begin(), arguments.end(), [flag](const char* argument) {
            return std::strncmp(argument, flag, std::strlen(flag)) == 0;
        });
    };
    if (!given("--benchmark_repetitions"))
        arguments.push_back(repetitions);
    if (!given("--benchmark_enable_random_interleaving"))
        arguments.push_back(interleaving);
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios(pairs);
    benchmark::Shutdown();
    return 0;
}

} // namespace SystemTar
