#include "firmware/fw_motors.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_events.h"
#include "firmware/fw_main.h"
#include "firmware/fw_outputs.h"
#include "firmware/fw_timers.h"
#include "support/firmware_fixture.h"

namespace {

const std::string DISK_A = CTraceLog::NameOf(DISK_MOT_A);
const std::string DISK_B = CTraceLog::NameOf(DISK_MOT_B);
const std::string EXIT_A = CTraceLog::NameOf(EXIT_MOT_A);
const std::string EXIT_B = CTraceLog::NameOf(EXIT_MOT_B);

class Motors : public CFirmwareFixture {
protected:
    void SetUp() override { Boot(); }
    // Polls the disk travel (and the pace) until it ends.
    void PlayDisk(uint64_t limitMs)
    {
        m_harness.RunLoop(
            limitMs,
            [] {
                timer_poll(&disk_timer);
                timer_poll(&tick_timer);
            },
            [] { return disk_timer.status == TIMER_IDLE; });
    }
};

TEST_F(Motors, ATravelAlreadyAtItsEndStopsOnItsFirstStep)
{
    PlaceMechanisms(100, 50);  // disk at LS
    timer_start(&disk_timer, EVT_DISK_TO_LS);
    EXPECT_EQ(sig_read(DISK_MOT_B), 1) << "the start drives toward LS";
    EXPECT_EQ(sig_read(DISK_MOT_A), 0);
    timer_poll(&disk_timer);
    EXPECT_EQ(disk_timer.status, TIMER_IDLE) << "stopped on the first step";
    EXPECT_EQ(sig_read(DISK_MOT_A) | sig_read(DISK_MOT_B), 0);
}

TEST_F(Motors, ATravelToAFarEndArrivesAndStops)
{
    PlaceMechanisms(0, 50);
    timer_start(&disk_timer, EVT_DISK_TO_LS);
    PlayDisk(20000);
    EXPECT_EQ(m_model.m_diskPosition, 100);
    EXPECT_NEAR(static_cast<double>(m_log.FirstTime(DISK_B, 0)), 5000.0, 100.0)
        << "from RS to LS in 5 s, stopped within one 100 ms watch";
    EXPECT_EQ(m_log.Changes(DISK_A).size(), 0u) << "no back-off";
}

TEST_F(Motors, ATravelThatNeverArrivesBacksOffRetriesAndIsGivenUpAfterTheFourthFailure)
{
    m_model.NeverArrive(DISK_MOT_LS);
    std::vector<uint8_t> retriesAtBackOff;
    bool backingOff = false;
    m_harness.m_onMs = [&] {
        m_model.OnMs();
        if (!backingOff && sig_read(DISK_MOT_A))
            retriesAtBackOff.push_back(static_cast<uint8_t>(Watched("disk_retry_ls")));
        backingOff = sig_read(DISK_MOT_A);
    };
    timer_start(&disk_timer, EVT_DISK_TO_LS);
    PlayDisk(4000000);

    const std::vector<uint64_t> towardLs = m_log.TimesOf(DISK_B, 1);
    const std::vector<uint64_t> failed = m_log.TimesOf(DISK_B, 0);
    const std::vector<uint64_t> backOff = m_log.TimesOf(DISK_A, 1);
    ASSERT_EQ(towardLs.size(), 4u) << "the first try and three retries";
    ASSERT_EQ(failed.size(), 4u);
    ASSERT_EQ(backOff.size(), 3u) << "a back-off after each of the first three failures";
    EXPECT_NEAR(static_cast<double>(failed[0]), 600000.0, 200.0) << "a travel fails after 600 s";
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(backOff[i], failed[i]) << "the back-off starts in the failing step";
        EXPECT_NEAR(static_cast<double>(towardLs[i + 1] - backOff[i]), 5000.0, 200.0)
            << "back toward LS once RS is reached";
        EXPECT_NEAR(static_cast<double>(failed[i + 1] - towardLs[i + 1]), 600000.0, 200.0);
    }
    EXPECT_EQ(retriesAtBackOff, std::vector<uint8_t>({1, 2, 3}));
    EXPECT_EQ(Watched("disk_retry_ls"), 0) << "given up: the counter is back to 0";
    EXPECT_EQ(sig_read(DISK_MOT_A) | sig_read(DISK_MOT_B), 0) << "the motor stays off";
    EXPECT_EQ(disk_timer.status, TIMER_IDLE);
}

TEST_F(Motors, HomingDrivesTheDiskThenTheExitAndAtHomeStartsNothing)
{
    PlaceMechanisms(0, 0);
    ASSERT_TRUE(RunRoutine(1000, home_motors));
    EXPECT_EQ(m_returnedAt, 0u) << "at home: returns at once";
    for (const std::string& drive : {DISK_A, DISK_B, EXIT_A, EXIT_B})
        EXPECT_TRUE(m_log.Changes(drive).empty()) << drive << " never driven";

    PlaceMechanisms(60, 40);
    ASSERT_TRUE(RunRoutine(20000, home_motors));
    EXPECT_EQ(m_model.m_diskPosition, 0);
    EXPECT_EQ(m_model.m_exitPosition, 0);
    ASSERT_EQ(m_log.TimesOf(DISK_A, 0).size(), 1u);
    EXPECT_GE(m_log.FirstTime(EXIT_A, 1), m_log.FirstTime(DISK_A, 0)) << "the exit only after the disk";
    EXPECT_TRUE(m_log.Changes(DISK_B).empty());
}

TEST_F(Motors, TheShortInterruptionLeavesTheMainMotorAndTheFullOneStopsIt)
{
    for (uint8_t kind : {INTERRUPT_SHORT, INTERRUPT_FULL}) {
        main_motor_start();
        sig_on(EXIT_MOT_B);
        sig_on(COOLING_FAN);
        state_index = ST_WASHING;
        const uint64_t t = m_harness.Now();
        sig_on(DRAWER);
        last_event = EV_DRAWER_OPENED;
        SetInputAt(t + 2000, DRAWER, false);
        ASSERT_TRUE(RunRoutine(t + 5000, [kind] { interruption(kind, DRIVE_EXIT); }));
        const bool full = kind == INTERRUPT_FULL;
        EXPECT_EQ(m_log.ValueAt("state_number", t + 1000), ST_DRAWER_OPEN + 1);
        EXPECT_EQ(m_log.ValueAt(CTraceLog::NameOf(MAIN_MOTOR), t + 1000), full ? 0 : 1)
            << (full ? "full" : "short") << " kind";
        EXPECT_EQ(m_log.ValueAt(EXIT_B, t + 1000), 0) << "the drive is off meanwhile";
        EXPECT_EQ(m_log.ValueAt(CTraceLog::NameOf(COOLING_FAN), t + 1000), 0);
        EXPECT_EQ(state_number, ST_WASHING + 1) << "the interrupted state is shown again";
        EXPECT_EQ(sig_read(MAIN_MOTOR), 1);
        EXPECT_EQ(sig_read(EXIT_MOT_B), 1);
        EXPECT_EQ(sig_read(COOLING_FAN), 1);
    }
}

// A cover opened during the cutting travel toward RS: the motor, fan and main
// motor stop; closing it restores them and the lamps, and restarts the seconds.
TEST_F(Motors, AnInterruptionDuringATravelRestoresDriveOutputsLampsAndRestartsTheSeconds)
{
    PlaceMechanisms(100, 0);
    state_index = ST_CUTTING;
    uint16_t secondsAtOpening = 0;
    SetInputAt(3500, RUN_KEY, true);
    m_harness.At(3499, [&] { secondsAtOpening = run_sec; });
    SetInputAt(6000, RUN_KEY, false);
    m_harness.RunUntil(9000);

    EXPECT_EQ(secondsAtOpening, 3);
    const std::string fan = CTraceLog::NameOf(COOLING_FAN);
    const std::string motor = CTraceLog::NameOf(MAIN_MOTOR);
    const std::string red = CTraceLog::NameOf(RED_LED);
    const std::string green = CTraceLog::NameOf(GREEN_LED);
    for (uint64_t at : {3000u, 6100u})
        EXPECT_EQ(m_log.ValueAt(DISK_A, at) & m_log.ValueAt(fan, at) & m_log.ValueAt(motor, at) &
                      m_log.ValueAt(red, at) & m_log.ValueAt(green, at),
                  1)
            << "travel, cooling fan, main motor, red and green at " << at << " ms";
    EXPECT_EQ(m_log.ValueAt("state_number", 5900), ST_COVER_OPEN + 1);
    EXPECT_EQ(m_log.ValueAt(DISK_A, 5900) | m_log.ValueAt(fan, 5900) | m_log.ValueAt(motor, 5900), 0)
        << "all stopped while the cover is open";
    EXPECT_FALSE(m_log.TimesOf(green, 0, 3500, 5900).empty()) << "green blinks while open";
    EXPECT_EQ(m_log.ValueAt("state_number", 6100), ST_CUTTING + 1);
    EXPECT_EQ(m_log.ValueAt("run_sec", 6100), 0) << "the seconds count starts again";
    EXPECT_EQ(m_log.ValueAt("run_sec", 7100), 1);
    // The disk had 1.5 s of its 5 s travel left when the cover opened.
    EXPECT_NEAR(static_cast<double>(m_log.FirstTime(DISK_A, 0, 6000)), 6000.0 + 1500.0, 200.0);
}

}  // namespace
