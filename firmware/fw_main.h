#pragma once
// The frame of the controller program: start-up, the ten operating states and
// the dispatch that runs one whole state per call, and the small actuator
// helpers every state uses.

#include <cstdint>

enum : int32_t {
    ST_STARTUP = 0,      // "기동"
    ST_POWER_OFF = 1,    // "파워 오프"
    ST_STANDBY = 2,      // "파워 온 대기"
    ST_COVER_OPEN = 3,   // "커버 열림"
    ST_WASHING = 4,      // "워싱"
    ST_CUTTING = 5,      // "컷팅"
    ST_DRYING = 6,       // "건조"
    ST_DISCHARGE = 7,    // "배출"
    ST_DRAWER_OPEN = 8,  // "서랍열림"
    ST_MANUAL_WASH = 9,  // "수동세척"
};
inline constexpr int32_t STATE_COUNT = 10;

extern int32_t state_index;          // the operating state, ST_STARTUP..ST_MANUAL_WASH
extern uint16_t state_number;        // state_index + 1, shown on the panel
extern int32_t cover_return_state;   // state resumed when the cover closes
extern int32_t drawer_return_state;  // state resumed when the drawer closes
extern uint8_t buzzer_request;       // non-zero: a beep the board has not sounded yet
extern uint8_t main_motor_on;        // kept beside the MAIN_MOTOR bit
extern uint8_t heater_pulses;        // counted up by the board while the heater is on
extern uint8_t heater_cut;           // the regulation has switched the heater off

using state_handler = void (*)();
extern const state_handler state_handlers[STATE_COUNT];

// Once per start of the firmware thread, before its first period.
void fw_startup();
// One period: runs the current state until it has decided the next; returns 0.
int fw_dispatch();

void buzzer(uint8_t pattern);
void main_motor_start();
void main_motor_stop();
// Both keys read released.
void keys_release();
// All three lamps lit for a moment that the panel never shows.
void lamp_test();

// Puts every firmware global back to its program-load state (all zero);
// used only by test fixtures.
void fw_reset();
