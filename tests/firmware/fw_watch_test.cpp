#include "firmware/fw_watch.h"

#include <set>
#include <string>

#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"
#include "firmware/fw_timers.h"
#include "support/firmware_fixture.h"

namespace {

class Watch : public CFirmwareFixture {};

// What the board's readouts, the tests, the runner and the workbench look up.
const char* const READ_FROM_OUTSIDE[] = {
    "state_index",    "state_number",  "cover_return_state", "drawer_return_state", "last_event",     "run_sec",
    "now_ms",         "phase_timing",  "heater_pulses",      "heater_reading",      "heater_cut",     "main_motor_on",
    "buzzer_request", "disk_retry_ls", "disk_retry_rs",      "exit_retry_cw",       "exit_retry_ccw",
};

// Every bit of one variable's width set shows in that variable alone, read at
// its width and sign; at load state every watched variable reads 0.
TEST_F(Watch, EachNameReadsItsOwnVariableAtItsWidthAndSign)
{
    for (const char* name : READ_FROM_OUTSIDE)
        EXPECT_NE(fw_variable_find(name), nullptr) << name;
    for (uint8_t i = 0; i < FW_VARIABLE_COUNT; ++i) {
        const fw_variable& variable = fw_variables[i];
        SCOPED_TRACE(variable.name);
        ASSERT_EQ(fw_variable_find(variable.name), &variable) << "each name once";
        ASSERT_TRUE(variable.width == 8 || variable.width == 16 || variable.width == 32);
        SetWatched(variable.name, -1);
        const int32_t all_ones = variable.is_signed || variable.width == 32 ? -1 : (1 << variable.width) - 1;
        EXPECT_EQ(fw_variable_read(&variable), all_ones);
        for (uint8_t j = 0; j < FW_VARIABLE_COUNT; ++j) {
            if (j != i) {
                EXPECT_EQ(fw_variable_read(&fw_variables[j]), 0) << fw_variables[j].name << " untouched";
            }
        }
        SetWatched(variable.name, 0);
    }

    // The same through the firmware's own names and types.
    state_index = -2;
    run_sec = 60000;
    heater_pulses = 200;
    now_ms = 3'000'000'000u;
    EXPECT_EQ(Watched("state_index"), -2);
    EXPECT_EQ(Watched("run_sec"), 60000);
    EXPECT_EQ(Watched("heater_pulses"), 200);
    EXPECT_EQ(static_cast<uint32_t>(Watched("now_ms")), 3'000'000'000u);

    EXPECT_EQ(fw_variable_find("no_such_variable"), nullptr);
    EXPECT_EQ(fw_variable_find("state"), nullptr) << "whole names only";
    EXPECT_EQ(fw_variable_find("disk_timer"), nullptr) << "a timer is not a variable";
}

// Every timer of the table has a name of its own and a slot of its own, and
// is found by that name; neither a variable nor an unknown name is a timer.
TEST_F(Watch, EachOfTheElevenTimersHasItsOwnNameAndSlot)
{
    ASSERT_EQ(FW_TIMER_COUNT, 11);
    std::set<std::string> names;
    std::set<const void*> slots;
    for (uint8_t i = 0; i < FW_TIMER_COUNT; ++i) {
        const fw_timer_entry& entry = fw_timers[i];
        ASSERT_NE(entry.name, nullptr) << "position " << int{i};
        SCOPED_TRACE(entry.name);
        EXPECT_TRUE(std::string(entry.name).ends_with("_timer"));
        EXPECT_TRUE(names.insert(entry.name).second) << "a name used twice";
        ASSERT_NE(entry.timer, nullptr);
        EXPECT_TRUE(slots.insert(entry.timer).second) << "a slot used twice";
        EXPECT_EQ(fw_timer_find(entry.name), &entry);
        EXPECT_EQ(fw_variable_find(entry.name), nullptr) << "a timer is not a variable";
    }
    EXPECT_EQ(fw_timer_find("no_such_timer"), nullptr);
    EXPECT_EQ(fw_timer_find("state_index"), nullptr);
}

}  // namespace
