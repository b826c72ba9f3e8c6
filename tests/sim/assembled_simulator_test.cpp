// The assembled simulator end to end, in virtual time, driven only by clicks
// at panel coordinates: the real firmware, board, plant and widgets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/port_bytes.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_main.h"
#include "sim/counting_beep.h"
#include "sim/virtual_simulator.h"
#include "support/recording_surface.h"
#include "support/trace_log.h"

namespace {

std::string text_of(CPanelWidget& widget)
{
    CRecordingSurface surface;
    widget.Draw(surface);
    const auto texts = surface.Texts();
    return texts.empty() ? std::string() : texts.back();
}

// The virtual times at which the shown state number took each value, in order.
struct CStateChange {
    uint64_t timeMs;
    int32_t state;
};

class AssembledSimulator : public ::testing::Test {
protected:
    void SetUp() override { m_sim.Startup(); }

    // Powers the appliance on from power-off and waits for standby.
    void PowerOn()
    {
        m_sim.RunUntil(m_sim.Now() + 50);
        ASSERT_EQ(state_number, 2) << "the controller starts in power-off";
        Click(CVirtualSimulator::POWER_KEY);
        ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 1000, [] { return state_number == 3; }));
        m_sim.RunUntil(m_sim.Now() + 200);  // one refresh shows it
    }

    void Click(CPoint point, uint64_t holdMs = 100)
    {
        m_sim.ClickAt(m_sim.Now() + 1, point, holdMs);
        m_sim.RunUntil(m_sim.Now() + holdMs + 2);
    }

    std::vector<CStateChange> StateChanges() const
    {
        std::vector<CStateChange> changes;
        for (const auto& entry : m_log.Trace())
            if (entry.name == "state_number")
                changes.push_back({entry.timeMs, entry.value});
        return changes;
    }

    CCountingBeep m_beep;
    CVirtualSimulator m_sim;
    CTraceLog m_log{m_sim.Time()};
};

TEST_F(AssembledSimulator, OpeningTheCoverInStandbyBlinksGreenAndClosingItStartsWashing)
{
    PowerOn();
    CSimulatorView& v = m_sim.View();
    EXPECT_EQ(text_of(v.m_readoutState), "state: 3 (파워 온 대기)");
    EXPECT_EQ(v.m_lampRed.m_on.load(), 1);

    Click(CVirtualSimulator::COVER);
    EXPECT_EQ(v.m_cover.m_open.load(), 1);
    EXPECT_EQ(v.m_cover.m_caption, "커버(열림)");
    m_sim.RunUntil(m_sim.Now() + 200);
    EXPECT_EQ(text_of(v.m_readoutState), "state: 4 (커버 열림)");

    // The green lamp blinks 300 ms lit, 300 ms dark.
    std::vector<uint64_t> edges;
    int32_t last = v.m_lampGreen.m_on.load();
    m_sim.m_onMs = [&] {
        const int32_t now = v.m_lampGreen.m_on.load();
        if (now != last)
            edges.push_back(m_sim.Now());
        last = now;
    };
    m_sim.RunUntil(m_sim.Now() + 3000);
    m_sim.m_onMs = nullptr;
    ASSERT_GE(edges.size(), 8u);
    for (size_t i = 1; i < edges.size(); ++i) {
        EXPECT_GE(edges[i] - edges[i - 1], 298u) << "edge " << i;
        EXPECT_LE(edges[i] - edges[i - 1], 304u) << "edge " << i;
    }
    EXPECT_EQ(v.m_lampRed.m_on.load(), 1);

    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 1000, [] { return state_number == 5; }));
    m_sim.RunUntil(m_sim.Now() + 200);
    EXPECT_EQ(text_of(v.m_readoutState), "state: 5 (워싱)");
    EXPECT_EQ(v.m_lampGreen.m_on.load(), 0);
    EXPECT_EQ(v.m_lampBlue.m_on.load(), 1);
}

TEST_F(AssembledSimulator, TheDrawerAlarmBeepsEveryOnePointEightSeconds)
{
    PowerOn();
    const int before = m_beep.Count();
    Click(CVirtualSimulator::DRAWER);
    EXPECT_EQ(m_sim.View().m_drawer.m_rect.right, 427);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 9; }));
    const uint64_t start = m_sim.Now();
    m_sim.RunUntil(start + 18000);
    EXPECT_GE(m_beep.Count() - before, 10) << "18 s of alarm";
    EXPECT_LE(m_beep.Count() - before, 11);
    EXPECT_EQ(text_of(m_sim.View().m_readoutState), "state: 9 (서랍열림)");

    Click(CVirtualSimulator::DRAWER);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 1000, [] { return state_number == 3; }));
    const int afterClose = m_beep.Count();
    m_sim.RunUntil(m_sim.Now() + 5000);
    EXPECT_LE(m_beep.Count() - afterClose, 1) << "only standby's own beep once the drawer is in";
    EXPECT_EQ(m_sim.View().m_lampBlue.m_on.load(), 0);
    EXPECT_EQ(m_sim.View().m_lampRed.m_on.load(), 1);
}

TEST_F(AssembledSimulator, TheDrawerOpenedWhileTheCoverIsOpenRunsTheAlarmInside)
{
    PowerOn();
    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 4; }));
    Click(CVirtualSimulator::DRAWER);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 9; }));
    Click(CVirtualSimulator::DRAWER);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 4; }))
        << "closing the drawer returns to the cover-open display";
    Click(CVirtualSimulator::COVER);
    EXPECT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 5; }))
        << "closing the cover then starts washing";
}

TEST_F(AssembledSimulator, AManualWashRunsFifteenMotorRunsAndBeepsAtItsEnd)
{
    PowerOn();
    Click(CVirtualSimulator::WASH_KEY);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 10; }));
    const uint64_t start = m_sim.Now();
    m_sim.RunUntil(start + 1000);
    EXPECT_EQ(m_sim.View().m_motorMain.m_running.load(), 1);
    EXPECT_EQ(m_sim.View().m_valveWater.m_running.load(), 1);
    ASSERT_TRUE(m_sim.RunUntil(start + 110000, [] { return state_number == 3; }));
    const uint64_t took = m_sim.Now() - start;
    EXPECT_GE(took, 104000u);
    EXPECT_LE(took, 106000u) << "15 runs of 5 s with 2 s pauses";
    m_sim.RunUntil(m_sim.Now() + 300);
    EXPECT_EQ(m_sim.View().m_motorMain.m_running.load(), 0);
    EXPECT_EQ(text_of(m_sim.View().m_readoutState), "state: 3 (파워 온 대기)");
}

TEST_F(AssembledSimulator, AWholeProcessingCycleWithTheRealPlant)
{
    PowerOn();
    CSimulatorView& v = m_sim.View();
    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 4; }));
    const uint64_t closedAt = m_sim.Now();
    Click(CVirtualSimulator::COVER);

    int32_t peakReading = 0;
    int32_t readingAtDryEnd = 0;
    m_sim.m_onMs = [&] {
        peakReading = std::max<int32_t>(peakReading, heater_reading);
        if (state_number == 7)
            readingAtDryEnd = heater_reading;
    };
    ASSERT_TRUE(m_sim.RunUntil(closedAt + 400000, [] { return state_number == 3; })) << "the cycle ends in standby";
    m_sim.m_onMs = nullptr;

    std::vector<int32_t> order;
    std::vector<uint64_t> at;
    for (const CStateChange& change : StateChanges())
        if (change.timeMs >= closedAt) {
            order.push_back(change.state);
            at.push_back(change.timeMs);
        }
    ASSERT_EQ(order, (std::vector<int32_t>{5, 6, 7, 8, 3}));

    // Washing: the disk homes to RS (2.5 s from the middle), the exit to CCW
    // (2.5 s), the disk travels to LS (5 s), then 30 s of washing.
    const uint64_t washing = at[1] - at[0];
    EXPECT_GE(washing, 39000u);
    EXPECT_LE(washing, 42000u);
    // Cutting: the disk back to RS (5 s), then 30 s.
    EXPECT_GE(at[2] - at[1], 34000u);
    EXPECT_LE(at[2] - at[1], 37000u);
    // Drying: the disk to LS (5 s), then the gauge warms past 516 (level 33, about 16.5 s).
    EXPECT_GE(at[3] - at[2], 20000u);
    EXPECT_LE(at[3] - at[2], 24000u);
    EXPECT_GT(peakReading, 516);
    // Discharge: the exit to CW (5 s), 30 s, then homing the disk from LS and
    // the exit from CW (5 s each).
    EXPECT_GE(at[4] - at[3], 44000u);
    EXPECT_LE(at[4] - at[3], 46000u);

    m_sim.RunUntil(m_sim.Now() + 6000);
    EXPECT_EQ(v.m_motorDisk.m_position.load(), 0) << "the disk ends at RS";
    EXPECT_EQ(v.m_motorExit.m_position.load(), 0) << "the exit mechanism ends at CCW";
    EXPECT_EQ(sig_read(DISK_MOT_RS), 0);
    EXPECT_EQ(sig_read(OVER_SENSOR_CCW), 0);
    EXPECT_EQ(v.m_diskStopLeft.m_on.load(), 1);
    EXPECT_EQ(v.m_exitStopLeft.m_on.load(), 1);
    EXPECT_EQ(v.m_motorMain.m_running.load(), 0);
    EXPECT_EQ(v.m_fanCooling.m_running.load(), 0);
    EXPECT_EQ(v.m_fanHeater.m_running.load(), 0);
    EXPECT_EQ(v.m_gaugeHeater.m_on.load(), 0);
    EXPECT_EQ(v.m_lampRed.m_on.load(), 1);
    EXPECT_EQ(text_of(v.m_readoutState), "state: 3 (파워 온 대기)");
}

TEST_F(AssembledSimulator, ResetCpuWithTheCoverOpenLeavesTheWidgetOpenAndTheFirmwareSeesItClosed)
{
    PowerOn();
    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 500, [] { return state_number == 4; }));
    m_sim.ResetCpuAt(m_sim.Now() + 1);
    const uint64_t resetAt = m_sim.Now() + 1;
    ASSERT_TRUE(m_sim.RunUntil(m_sim.Now() + 8000, [&] { return m_sim.ResetsDone() == 1; }));
    EXPECT_GE(m_sim.Now() - resetAt, 5050u) << "the cover-open state does not end: the stop is forced";
    m_sim.RunUntil(m_sim.Now() + 300);
    EXPECT_EQ(state_number, 2) << "a restart reaches power-off";
    EXPECT_EQ(m_sim.View().m_cover.m_open.load(), 1) << "the widget keeps showing the open cover";
    EXPECT_EQ(sig_read(RUN_KEY), 0) << "the start exchange puts the cover bit at rest";
    EXPECT_EQ(sig_read(RED_LED), 0) << "power-off switches every output off";
    EXPECT_EQ(m_sim.View().m_lampRed.m_on.load(), 1)
        << "the start exchange sampled the lamp's bit without telling the lamp: it shows its last state";
}

}  // namespace
