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

}  // namespace

int32_t wait_event(uint8_t mask)
{
    if ((mask & MASK_COVER_OPENED) && sig_read(RUN_KEY) == 1) {
        cover_return_state = state_index;
        delay_ms(DEBOUNCE_MS);
        return EV_COVER_OPENED;
    }
    if ((mask & MASK_COVER_CLOSED) && sig_read(RUN_KEY) == 0) {
        delay_ms(DEBOUNCE_MS);
        return EV_COVER_CLOSED;
    }
    if ((mask & MASK_DRAWER_OPENED) && sig_read(DRAWER) == 1) {
        drawer_return_state = state_index;
        delay_ms(DEBOUNCE_MS);
        return EV_DRAWER_OPENED;
    }
    if ((mask & MASK_DRAWER_CLOSED) && sig_read(DRAWER) == 0) {
        delay_ms(DEBOUNCE_MS);
        return EV_DRAWER_CLOSED;
    }
    if ((mask & MASK_POWER_KEY) && sig_read(POWER_ON_OFF) == 0) {
        wait_key_release(POWER_ON_OFF);
        delay_ms(DEBOUNCE_MS);
        return EV_POWER_KEY;
    }
    if ((mask & MASK_WASH_KEY) && sig_read(SOL_VALVE) == 0) {
        wait_key_release(SOL_VALVE);
        delay_ms(DEBOUNCE_MS);
        return EV_WASH_KEY;
    }
    return EV_NONE;
}

bool poll_event(uint8_t mask)
{
    last_event = wait_event(mask);
    return last_event < EV_NONE;
}

void events_reset_state() { last_event = 0; }
