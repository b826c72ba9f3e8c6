// One board exchange on the assembled panel: 27 pin refreshes, two word
// bindings, the motors, end stops, heater and buzzer. Target: 2 us or less.

#include <benchmark/benchmark.h>

#include "app/core/simulator_view.h"
#include "board/port_bytes.h"
#include "firmware/fw_clock.h"
#include "sim/simulation_reset.h"

namespace {

void BM_PeriodicExchange(benchmark::State& state)
{
    reset_simulation_statics();
    CSimulatorView view;
    view.Layout();
    view.m_board.Attach(view);
    view.m_board.StartExchange();
    sig_on(HEATER);
    sig_on(DISK_MOT_B);
    uint32_t n = 0;
    for (auto _ : state) {
        // Some outputs change on every call, as in a running cycle.
        sig_write(GREEN_LED, (++n & 1) != 0);
        run_sec = static_cast<uint16_t>(n >> 10);
        view.m_board.PeriodicExchange();
    }
    view.m_board.Shutdown();
}

BENCHMARK(BM_PeriodicExchange);

}  // namespace

BENCHMARK_MAIN();
