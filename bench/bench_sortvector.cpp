#include "containers/sortvector.h"

#include <benchmark/benchmark.h>

namespace {

// Appending controls that sort last, as a project does when it is read or built.
void appendControls(benchmark::State& state)
{
    for (auto _ : state) {
        sortvector<sortvector_el> controls(64, 4096);
        for (int i = 0; i < 4096; ++i) {
            smart_ptr<sortvector_el> control(new sortvector_el);
            benchmark::DoNotOptimize(controls.insert(control, UINT_MAX));
        }
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(appendControls);

void lookUpById(benchmark::State& state)
{
    sortvector<sortvector_el> controls(64, 4096);
    for (int i = 0; i < 4096; ++i) {
        smart_ptr<sortvector_el> control(new sortvector_el);
        controls.insert(control, UINT_MAX);
    }
    unsigned int id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&controls[id]);
        id = (id + 97) % 4096;
    }
}
BENCHMARK(lookUpById);

} // namespace

BENCHMARK_MAIN();
