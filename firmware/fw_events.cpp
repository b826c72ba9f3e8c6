#include "firmware/fw_events.h"

#include "board/port_bytes.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"

int32_t last_event;

namespace {

// A key reads 0 while pressed; it is reported on its release.
void wait_key_release(port_signal key)
{
    while (sig_read(key) == 0)
        time_sleep_ms(1);
}

// One event: the input and the level that make it, in the order tested.
struct event_source {
    int32_t event;
    uint8_t mask;
    port_signal input;
    uint8_t level;
    int32_t* return_state;  // records the state it was opened in, if any
    uint8_t is_key;         // reported once released
};

// clang-format off
const event_source EVENT_SOURCES[] = {
    {EV_COVER_OPENED,  MASK_COVER_OPENED,  RUN_KEY,      1, &cover_return_state,  0},
    {EV_COVER_CLOSED,  MASK_COVER_CLOSED,  RUN_KEY,      0, nullptr,              0},
    {EV_DRAWER_OPENED, MASK_DRAWER_OPENED, DRAWER,       1, &drawer_return_state, 0},
    {EV_DRAWER_CLOSED, MASK_DRAWER_CLOSED, DRAWER,       0, nullptr,              0},
    {EV_POWER_KEY,     MASK_POWER_KEY,     POWER_ON_OFF, 0, nullptr,              1},
    {EV_WASH_KEY,      MASK_WASH_KEY,      SOL_VALVE,    0, nullptr,              1},
};
// clang-format on

}  // namespace

int32_t wait_event(uint8_t mask)
{
    for (const event_source& source : EVENT_SOURCES) {
        if (!(mask & source.mask) || sig_read(source.input) != source.level)
            continue;
        if (source.return_state)
            *source.return_state = state_index;
        if (source.is_key)
            wait_key_release(source.input);
        delay_ms(DEBOUNCE_MS);
        return source.event;
    }
    return EV_NONE;
}

bool poll_event(uint8_t mask)
{
    last_event = wait_event(mask);
    return last_event < EV_NONE;
}

void events_reset_state() { last_event = 0; }
