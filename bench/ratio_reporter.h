#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

// What the benchmark programs share: every benchmark is set against a baseline measured in the
// same run, by the ratio of their fastest repetitions and of their median repetitions.
namespace BenchRatio {

inline double minimumOf(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

inline double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The benchmark in milliseconds of real time, repeated, shown by its aggregates alone: minimum,
// mean, median and spread.
inline benchmark::internal::Benchmark* repeated(benchmark::internal::Benchmark* benchmark,
                                                int repetitions)
{
    return benchmark->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(repetitions)
        ->DisplayAggregatesOnly(true)
        ->ComputeStatistics("min", minimumOf);
}

// The benchmark in milliseconds of the times it reports itself per event (manual time), a
// fixed number of events a repetition, repeated, shown by its aggregates alone.
inline benchmark::internal::Benchmark* perEvent(benchmark::internal::Benchmark* benchmark,
                                                int events, int repetitions)
{
    return benchmark->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(events)
        ->Repetitions(repetitions)
        ->DisplayAggregatesOnly(true)
        ->ComputeStatistics("min", minimumOf);
}

// Shows the runs as the console does and keeps, in milliseconds, the real time of every
// repetition of each benchmark (or, when only the aggregates are shown, their minimum and
// median), with the counters of its last repetition. A benchmark goes by its name and
// arguments as Google Benchmark names them: "load/256", "memoryOfPages/everyPage", "thumbnail".
// With a single repetition the minimum and the median are its one time.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            Results& kept = results[nameOf(run)];
            const double ms = run.GetAdjustedRealTime() *
                              benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                              benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Aggregate) {
                kept.aggregates[run.aggregate_name] = ms;
                continue;
            }
            kept.times.push_back(ms);
            for (const auto& [name, counter] : run.counters)
                kept.counters[name] = counter.value;
        }
    }

    // Whether the benchmark ran (and did not fail).
    bool has(const std::string& name) const { return results.count(name) != 0; }

    // Not a number when the benchmark did not run.
    double minimum(const std::string& name) const { return statistic(name, "min"); }
    double median(const std::string& name) const { return statistic(name, "median"); }
    double counter(const std::string& name, const std::string& counter) const
    {
        const auto found = results.find(name);
        if (found == results.end() || found->second.counters.count(counter) == 0)
            return std::nan("");
        return found->second.counters.at(counter);
    }

    // "measured / baseline" from the minima and from the medians, and with a target whether
    // the larger of the two meets it. Nothing when either was left out of the run.
    void printRatio(const std::string& what, const std::string& measured,
                    const std::string& baseline, double target = 0) const
    {
        if (has(measured) && has(baseline))
            printRatios(what, minimum(measured) / minimum(baseline),
                        median(measured) / median(baseline), target);
    }

    // Every benchmark that ran, by name, with its minimum and median in milliseconds.
    void printTimes() const
    {
        std::printf("\n%-52s %12s %12s\n", "benchmark", "min ms", "median ms");
        for (const auto& [name, kept] : results)
            std::printf("%-52s %12.4f %12.4f\n", name.c_str(), minimum(name), median(name));
        std::printf("\n");
    }

    static void printRatios(const std::string& what, double fromMinima, double fromMedians,
                            double target = 0)
    {
        std::printf("%-44s %6.2f (min)  %6.2f (median)", what.c_str(), fromMinima, fromMedians);
        if (target > 0)
            std::printf("  target <= %.1f: %s", target,
                        std::max(fromMinima, fromMedians) <= target ? "met" : "NOT MET");
        std::printf("\n");
    }

private:
    struct Results
    {
        std::vector<double> times;
        std::map<std::string, double> aggregates;
        std::map<std::string, double> counters;
    };

    static std::string nameOf(const Run& run)
    {
        const std::string& args = run.run_name.args;
        return run.run_name.function_name + (args.empty() ? "" : "/" + args);
    }

    double statistic(const std::string& name, const std::string& which) const
    {
        const auto found = results.find(name);
        if (found == results.end())
            return std::nan("");
        const Results& kept = found->second;
        if (!kept.times.empty())
            return which == "min" ? minimumOf(kept.times) : medianOf(kept.times);
        const auto aggregate = kept.aggregates.find(which);
        return aggregate == kept.aggregates.end() ? std::nan("") : aggregate->second;
    }

    std::map<std::string, Results> results;
};

// Runs the benchmarks the command line selects, shown by the reporter. Each default flag
// ("--benchmark_repetitions=10") is added unless the command line sets that flag itself; without
// one for the repetitions, each benchmark that sets none of its own is repeated five times.
inline void run(int argc, char** argv, RatioReporter& reporter,
                std::vector<std::string> defaults = {})
{
    const std::string repetitions = "--benchmark_repetitions";
    if (std::none_of(defaults.begin(), defaults.end(), [&](const std::string& flag) {
            return flag.compare(0, repetitions.size(), repetitions) == 0;
        }))
        defaults.push_back(repetitions + "=5");
    std::vector<std::string> added;
    for (const std::string& flag : defaults) {
        const std::string name = flag.substr(0, flag.find('='));
        if (std::none_of(argv + 1, argv + argc, [&name](const char* argument) {
                return std::strncmp(argument, name.c_str(), name.size()) == 0;
            }))
            added.push_back(flag);
    }
    std::vector<char*> arguments(argv, argv + argc);
    for (std::string& flag : added)
        arguments.push_back(flag.data());
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
}

} // namespace BenchRatio
