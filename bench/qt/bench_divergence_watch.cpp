// The workbench's divergence watch, called on every virtual ms of a whole
// processing cycle (about 141 s) replayed in a session and held against the
// runner's trace of the same run, so it never finds a divergence and reads
// the whole of both: the time per call is what a replay pays each ms.
// A call reads only the changes since the one before, so the cost per call
// should not grow with the run's length. Run with QT_QPA_PLATFORM=offscreen.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"
#include "trace/divergence_watch.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/model/workbench_session.h"

namespace {

const char* const CYCLE = TRELVIK_SOURCE_DIR "/scenario/examples/whole_cycle.scn";

void BM_DivergenceWatchEveryMs(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());  // the cycle's snapshot lands there, not in the caller's folder
    const std::string golden = dir.filePath(QStringLiteral("golden.vcd")).toStdString();
    CScenarioParser parser;
    if (!parser.ParseFile(CYCLE)) {
        state.SkipWithError(parser.ErrorMessage(CYCLE).c_str());
        return;
    }
    {
        CInstrumentedRun run("whole_cycle.scn", parser.Steps());
        run.SetTrace(golden, {});
        run.Run();
    }
    CVcdReader baseline;
    std::string error;
    if (!baseline.ParseFile(golden, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CWorkbenchSession session;
    CScenarioReplay replay(session);
    QString reason;
    replay.Open(QString::fromUtf8(CYCLE), reason);
    replay.Start();
    while (replay.Active())
        replay.Advance(session.Now() + 1000, {});
    const CTraceBuffer& live = session.Trace().Buffer();
    const uint64_t endMs = session.Now();

    CDivergenceWatch watch;
    int64_t calls = 0;
    for (auto _ : state) {
        watch.SetBaseline(&baseline);
        for (uint64_t ms = 1; ms <= endMs; ++ms)
            watch.Update(live, ms);
        calls += static_cast<int64_t>(endMs);
        if (watch.Found())
            state.SkipWithError("the same run diverged");
    }
    state.SetItemsProcessed(calls);
    state.counters["ns_per_call"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["changes"] = static_cast<double>(live.End());
    state.counters["run_ms"] = static_cast<double>(endMs);
}
BENCHMARK(BM_DivergenceWatchEveryMs)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
