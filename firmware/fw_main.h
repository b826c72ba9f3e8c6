#pragma once
// The frame of the controller program: start-up, the ten operating states and
// the dispatch that runs one whole state per call.

#include <cstdint>

#include "firmware/fw_board_vars.h"

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

// state_number (state_index + 1, shown on the panel) is in fw_board_vars.h.
extern int32_t state_index;          // the operating state, ST_STARTUP..ST_MANUAL_WASH
extern int32_t cover_return_state;   // state resumed when the cover closes
extern int32_t drawer_return_state;  // state resumed when the drawer closes

// Once per start of the firmware thread, before its first period.
void fw_startup();
// One period: runs the current state until it has decided the next; returns 0.
int fw_dispatch();

// Puts every firmware global back to its program-load state (all zero);
// used only by test fixtures.
void fw_reset();
