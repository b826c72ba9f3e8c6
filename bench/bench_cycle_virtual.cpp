// One whole processing cycle in virtual time, with the end-switch stand-in as
// the plant: start-up, power key, cover opened and closed in standby, then
// washing, cutting, drying and discharge back to standby. Reported as
// simulated seconds per wall-clock second.

#include <benchmark/benchmark.h>

#include "board/port_bytes.h"
#include "firmware/fw_main.h"
#include "sim/simulation_reset.h"
#include "sim/virtual_time.h"
#include "support/end_switch_model.h"

namespace {

// Runs one cycle from program load; returns the virtual milliseconds it took.
uint64_t run_one_cycle()
{
    reset_simulation_statics();
    CVirtualTime harness;
    CEndSwitchModel model(harness);
    sig_on(POWER_ON_OFF);
    sig_on(SOL_VALVE);

    harness.Startup();
    harness.At(100, [] { sig_off(POWER_ON_OFF); });
    harness.At(200, [] { sig_on(POWER_ON_OFF); });
    harness.At(1000, [] { sig_on(RUN_KEY); });
    harness.At(2000, [] { sig_off(RUN_KEY); });
    const bool done =
        harness.RunUntil(600000, [&harness] { return harness.Now() > 3000 && state_number == ST_STANDBY + 1; });
    if (!done)
        return 0;
    return harness.Now();
}

void BM_CycleVirtual(benchmark::State& state)
{
    uint64_t virtualMs = 0;
    for (auto _ : state) {
        const uint64_t ms = run_one_cycle();
        if (ms == 0) {
            state.SkipWithError("the cycle did not come back to standby");
            return;
        }
        virtualMs += ms;
    }
    state.counters["virtual_s_per_cycle"] = static_cast<double>(virtualMs) / 1000.0 / state.iterations();
    // Simulated seconds per wall-clock second: the target is at least 1000.
    state.counters["sim_s_per_wall_s"] =
        benchmark::Counter(static_cast<double>(virtualMs) / 1000.0, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_CycleVirtual)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
