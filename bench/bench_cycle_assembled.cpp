// One whole processing cycle on the assembled simulator (real firmware,
// board, plant and widgets) in virtual time: from closing the cover in
// standby to standby again. Reports simulated seconds per wall-clock second;
// the target is at least 1000 times real time.

#include <benchmark/benchmark.h>

#include <chrono>

#include "firmware/fw_main.h"
#include "sim/virtual_simulator.h"

namespace {

void BM_WholeCycleAssembled(benchmark::State& state)
{
    double simulatedMs = 0;
    double wallMs = 0;
    for (auto _ : state) {
        CVirtualSimulator sim;
        sim.Startup();
        sim.ClickAt(100, CVirtualSimulator::POWER_KEY);
        sim.RunUntil(2000, [] { return state_number == 3; });
        sim.ClickAt(sim.Now() + 1, CVirtualSimulator::COVER);
        sim.ClickAt(sim.Now() + 500, CVirtualSimulator::COVER);
        sim.RunUntil(sim.Now() + 1000, [] { return state_number == 5; });
        const uint64_t from = sim.Now();
        const auto start = std::chrono::steady_clock::now();
        sim.RunUntil(from + 400000, [] { return state_number == 3; });
        wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        simulatedMs += static_cast<double>(sim.Now() - from);
    }
    state.counters["simulated_s"] = simulatedMs / 1000.0 / static_cast<double>(state.iterations());
    state.counters["times_real_time"] = simulatedMs / wallMs;
}

BENCHMARK(BM_WholeCycleAssembled)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
