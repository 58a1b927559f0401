#include "containers/sortvector.h"

#include "ratio_reporter.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

// The id-keyed container beside its plain alternative, a std::vector of owned elements kept
// sorted by id and searched by binary search, doing the same work: 4096 elements allocated and
// appended in id order (the way a project is read or built) and destroyed again, looked up by
// id, and walked in order.

namespace {

constexpr unsigned int Count = 4096;

// The baseline: elements owned by a vector sorted by id.
struct SortedElements
{
    void append(std::unique_ptr<sortvector_el> element, unsigned int id)
    {
        ids.push_back(id);
        elements.push_back(std::move(element));
    }
    sortvector_el* find(unsigned int id) const
    {
        const auto found = std::lower_bound(ids.begin(), ids.end(), id);
        return found != ids.end() && *found == id ? elements[size_t(found - ids.begin())].get()
                                                  : nullptr;
    }

    std::vector<unsigned int> ids;
    std::vector<std::unique_ptr<sortvector_el>> elements;
};

sortvector<sortvector_el> filledContainer()
{
    sortvector<sortvector_el> controls(64, Count);
    for (unsigned int i = 0; i < Count; ++i) {
        smart_ptr<sortvector_el> control(new sortvector_el);
        controls.insert(control, UINT_MAX);
    }
    return controls;
}

SortedElements filledVector()
{
    SortedElements controls;
    for (unsigned int i = 0; i < Count; ++i)
        controls.append(std::make_unique<sortvector_el>(), i);
    return controls;
}

// Appending controls that sort last, then destroying the container, as a project does when it
// is read and later closed.
void appendControls(benchmark::State& state)
{
    for (auto _ : state) {
        sortvector<sortvector_el> controls(64, Count);
        for (unsigned int i = 0; i < Count; ++i) {
            smart_ptr<sortvector_el> control(new sortvector_el);
            benchmark::DoNotOptimize(controls.insert(control, UINT_MAX));
        }
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

void appendToSortedVector(benchmark::State& state)
{
    for (auto _ : state) {
        SortedElements controls;
        for (unsigned int i = 0; i < Count; ++i)
            controls.append(std::make_unique<sortvector_el>(), i);
        benchmark::DoNotOptimize(controls.elements.data());
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

// 4096 lookups by id in a scattered order.
void lookUpById(benchmark::State& state)
{
    const sortvector<sortvector_el> controls = filledContainer();
    for (auto _ : state) {
        unsigned int id = 0;
        for (unsigned int i = 0; i < Count; ++i, id = (id + 97) % Count)
            benchmark::DoNotOptimize(&controls[id]);
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

void lookUpInSortedVector(benchmark::State& state)
{
    const SortedElements controls = filledVector();
    for (auto _ : state) {
        unsigned int id = 0;
        for (unsigned int i = 0; i < Count; ++i, id = (id + 97) % Count)
            benchmark::DoNotOptimize(controls.find(id));
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

// Walking every element in sequence order.
void walkInOrder(benchmark::State& state)
{
    const sortvector<sortvector_el> controls = filledContainer();
    for (auto _ : state) {
        unsigned int sum = 0;
        for (const sortvector_el& control : controls)
            sum += control.getId();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

void walkSortedVector(benchmark::State& state)
{
    const SortedElements controls = filledVector();
    for (auto _ : state) {
        unsigned int sum = 0;
        for (const auto& control : controls.elements)
            sum += control->getId();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

} // namespace

BENCHMARK(appendControls)->Unit(benchmark::kMicrosecond);
BENCHMARK(appendToSortedVector)->Unit(benchmark::kMicrosecond);
BENCHMARK(lookUpById)->Unit(benchmark::kMicrosecond);
BENCHMARK(lookUpInSortedVector)->Unit(benchmark::kMicrosecond);
BENCHMARK(walkInOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK(walkSortedVector)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter);
    reporter.printTimes();
    reporter.printRatio("append and destroy / sorted vector", "appendControls",
                        "appendToSortedVector");
    reporter.printRatio("look up by id / binary search", "lookUpById", "lookUpInSortedVector");
    reporter.printRatio("walk in order / sorted vector", "walkInOrder", "walkSortedVector");
    benchmark::Shutdown();
    return 0;
}
