// The first divergence from a baseline, found as the live trace grows,
// against CTraceCompare over the exported live trace: real runs of a
// scenario replayed in a workbench session, read in slices of odd sizes,
// held against baselines the runner recorded. Then the ring dropping
// changes before the watch read them.

#include <QTemporaryDir>

#include <fstream>

#include "app/qt_app.h"
#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"
#include "trace/divergence_watch.h"
#include "trace/trace_buffer.h"
#include "trace/trace_compare.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/model/workbench_session.h"

namespace {

const std::string RUN =
    "wait @\n"
    "click power\n"
    "run-until state 파워 온 대기 within 1000\n"
    "click cover\n"
    "click cover\n"
    "run-until state 워싱 within 500\n"
    "#\n"
    "wait 6000\n"
    "click power\n"
    "run-until state 파워 오프 within 1000\n"
    "wait 1500\n";

// The run with its first wait and an extra line after washing began.
std::string run_text(const std::string& firstWait, const std::string& extra)
{
    std::string text = RUN;
    text.replace(text.find('@'), 1, firstWait);
    text.replace(text.find("#\n"), 1, extra);
    return text;
}

class DivergenceWatch : public CQtTest {};

TEST_F(DivergenceWatch, AgreesWithTheCompareOfTheExportedTraceOnRealRuns)
{
    const struct {
        const char* what;
        std::string baseline;      // the run the runner records
        std::string liveVariable;  // traced live only ("" for none)
        bool diverges;
    } cases[] = {
        {"the same run", run_text("1200", ""), "", false},
        {"the same run, a variable traced live only", run_text("1200", ""), "disk_retry_ls", false},
        {"a plant fault", run_text("1200", "fault motor disk jammed"), "", true},
        {"the power key 40 ms later", run_text("1240", ""), "", true},
    };
    const std::string live = run_text("1200", "");
    const uint64_t slices[] = {1, 13, 400, 2, 977};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const std::string baselinePath = dir.filePath(QStringLiteral("baseline.vcd")).toStdString();
        {
            CScenarioParser parser;
            ASSERT_TRUE(parser.Parse(c.baseline)) << parser.ErrorReason();
            CInstrumentedRun run("baseline.scn", parser.Steps());
            run.SetTrace(baselinePath, {});
            ASSERT_EQ(run.Run().code, 0);
        }
        CVcdReader baseline;
        std::string error;
        ASSERT_TRUE(baseline.ParseFile(baselinePath, error)) << error;

        // The live run, the watch reading after every slice.
        const QString scenario = dir.filePath(QStringLiteral("live.scn"));
        std::ofstream(scenario.toStdString()) << live;
        CWorkbenchSession session;
        CScenarioReplay replay(session);
        QString reason;
        ASSERT_TRUE(replay.Open(scenario, reason)) << reason.toStdString();
        replay.Start();
        if (!c.liveVariable.empty()) {
            ASSERT_TRUE(session.Trace().AddVariable(c.liveVariable));
        }
        CDivergenceWatch watch;
        watch.SetBaseline(&baseline);
        for (size_t slice = 0; replay.Active(); ++slice) {
            replay.Advance(session.Now() + slices[slice % std::size(slices)], {});
            watch.Update(session.Trace().Buffer(), session.Now());
        }
        const std::string exported = dir.filePath(QStringLiteral("live.vcd")).toStdString();
        ASSERT_TRUE(session.Trace().ExportVcd(exported, session.Now(), error)) << error;
        watch.Update(session.Trace().Buffer(), session.Now() + 1);
        EXPECT_GT(watch.Compared(), 30u) << "the signals, the numbers and the motors";

        CVcdReader liveDump;
        ASSERT_TRUE(liveDump.ParseFile(exported, error)) << error;
        const CTraceCompare::CResult result = CTraceCompare::Compare(liveDump, baseline, {});
        const bool within = !result.divergences.empty() && result.divergences.front().timeMs <= session.Now();
        EXPECT_EQ(within, c.diverges) << (within ? result.divergences.front().Text() : "no divergence");
        ASSERT_EQ(watch.Found(), within);
        if (!within)
            continue;
        const CTraceCompare::CDivergence& first = result.divergences.front();
        const CDivergenceWatch::CDivergence& found = watch.Divergence();
        EXPECT_EQ(found.timeMs, first.timeMs);
        EXPECT_EQ(found.name, first.name);
        EXPECT_EQ(found.live, first.textA);
        EXPECT_EQ(found.baseline, first.textB);
    }
}

// A dump of two bits: A toggling every ms up to stopMs then held, B rising at riseMs.
std::string two_bits(uint64_t stopMs, uint64_t riseMs)
{
    std::string text =
        "$timescale 1ms $end\n$scope module trelvik $end\n$scope module ports $end\n"
        "$var wire 1 ! A $end\n$var wire 1 \" B $end\n$upscope $end\n$upscope $end\n"
        "$enddefinitions $end\n#0\n$dumpvars\n0!\n0\"\n$end\n";
    for (uint64_t t = 1; t <= 3000; ++t) {
        text += "#" + std::to_string(t) + "\n";
        if (t <= stopMs)
            text += std::string(t % 2 ? "1" : "0") + "!\n";
        if (t == riseMs)
            text += "1\"\n";
    }
    return text;
}

TEST_F(DivergenceWatch, ChangesTheRingDroppedUnreadNeitherRaiseNorHideALaterDivergence)
{
    const struct {
        const char* what;
        uint64_t stopMs, riseMs, every;  // the baseline's A stops, its B rises; the watch reads every so many ms
        uint64_t timeMs;                 // of the divergence found; 0: none
    } cases[] = {
        {"the same, read once after the ring wrapped", 3000, 0, 3001, 0},
        // Late, at the oldest change the ring still holds, but not missed.
        {"the baseline's B rises inside the gap", 3000, 500, 3001, 3001 - CTraceBuffer::BLOCK},
        {"the baseline's A stops, read every ms", 2990, 0, 1, 2991},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CVcdReader baseline;
        std::string error;
        ASSERT_TRUE(baseline.Parse(two_bits(c.stopMs, c.riseMs), error)) << error;
        CTraceBuffer live(CTraceBuffer::BLOCK);
        live.AddChannel("A", true, 0, false, "ports");
        live.AddChannel("B", true, 0, false, "ports");
        CDivergenceWatch watch;
        watch.SetBaseline(&baseline);
        for (uint64_t t = 1; t <= 3000; ++t) {
            live.Set(0, t, static_cast<int32_t>(t % 2));
            if (t % c.every == 0)
                watch.Update(live, t);
        }
        watch.Update(live, 3001);
        ASSERT_GT(live.First(), 0u) << "the ring dropped changes";
        ASSERT_EQ(watch.Found(), c.timeMs > 0);
        EXPECT_EQ(watch.Found() ? watch.Divergence().timeMs : 0, c.timeMs);
    }
}

TEST_F(DivergenceWatch, ABaselineVariableIsNotComparedBeforeItJoins)
{
    const struct {
        const char* what;
        const char* joining;  // the baseline's B, left out of $dumpvars, at 500
        uint64_t timeMs;      // of the divergence found; 0: none
    } cases[] = {
        {"joins with the live value", "1", 0},
        {"joins with another value", "0", 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CVcdReader baseline;
        std::string error;
        ASSERT_TRUE(baseline.Parse(std::string("$timescale 1ms $end\n$scope module trelvik $end\n"
                                               "$scope module ports $end\n$var wire 1 ! A $end\n"
                                               "$var wire 1 \" B $end\n$upscope $end\n$upscope $end\n"
                                               "$enddefinitions $end\n#0\n$dumpvars\n0!\n$end\n#500\n") +
                                       c.joining + "\"\n#1000\n",
                                   error))
            << error;
        CTraceBuffer live(CTraceBuffer::BLOCK);
        live.AddChannel("A", true, 0, false, "ports");
        live.AddChannel("B", true, 1, false, "ports");
        CDivergenceWatch watch;
        watch.SetBaseline(&baseline);
        for (uint64_t t = 100; t <= 1000; t += 100)
            watch.Update(live, t);
        ASSERT_EQ(watch.Found(), c.timeMs > 0);
        EXPECT_EQ(watch.Found() ? watch.Divergence().timeMs : 0, c.timeMs);
    }
}

}  // namespace
