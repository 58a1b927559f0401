#pragma once

#include "ratio_reporter.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// The time of every single event a benchmark times (a click, a drag move, a page switch), so
// that it is judged by its distribution rather than by a mean: the median, the 99th percentile
// and the maximum per event, over all the repetitions of the run.
namespace EventTimes {

// Every event's time in ms, by the benchmark's name.
inline std::map<std::string, std::vector<double>>& all()
{
    static std::map<std::string, std::vector<double>> kept;
    return kept;
}

// The p-th percentile (0 to 100) by the nearest rank.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(p / 100.0 * double(values.size())));
    return values[std::min(values.size(), std::max<std::size_t>(rank, 1)) - 1];
}

// Keeps one event's time under the benchmark's name and makes it the iteration's time (the
// benchmark uses manual time).
inline void add(benchmark::State& state, const std::string& name, double ms)
{
    all()[name].push_back(ms);
    state.SetIterationTime(ms / 1000.0);
}

// "name: n events, median m ms, p99 p ms, max x ms", with whether the limits (ms; 0 for none)
// are met.
inline void print(const std::string& name, double medianLimit = 0, double p99Limit = 0,
                  double maxLimit = 0)
{
    const auto found = all().find(name);
    if (found == all().end() || found->second.empty())
        return;
    const std::vector<double>& times = found->second;
    const double median = percentile(times, 50);
    const double p99 = percentile(times, 99);
    const double max = *std::max_element(times.begin(), times.end());
    std::printf("%-28s %4zu events  median %7.2f ms  p99 %7.2f ms  max %7.2f ms", name.c_str(),
                times.size(), median, p99, max);
    const bool met = (medianLimit <= 0 || median <= medianLimit) &&
                     (p99Limit <= 0 || p99 <= p99Limit) && (maxLimit <= 0 || max <= maxLimit);
    if (medianLimit > 0 || p99Limit > 0 || maxLimit > 0) {
        std::printf("  target");
        if (medianLimit > 0)
            std::printf(" median <= %.1f", medianLimit);
        if (p99Limit > 0)
            std::printf(" p99 <= %.1f", p99Limit);
        if (maxLimit > 0)
            std::printf(" max <= %.1f", maxLimit);
        std::printf(": %s", met ? "met" : "NOT MET");
    }
    std::printf("\n");
}

// The ratio of the medians and of the 99th percentiles of two benchmarks' events.
inline void printRatio(const std::string& what, const std::string& measured,
                       const std::string& baseline)
{
    const auto m = all().find(measured);
    const auto b = all().find(baseline);
    if (m == all().end() || b == all().end() || m->second.empty() || b->second.empty())
        return;
    std::printf("%-44s %6.2f (median)  %6.2f (p99)\n", what.c_str(),
                percentile(m->second, 50) / percentile(b->second, 50),
                percentile(m->second, 99) / percentile(b->second, 99));
}

} // namespace EventTimes
