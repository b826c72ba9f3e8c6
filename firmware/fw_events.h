#pragma once
// The one way the controller reads its user: the cover, the drawer and the two
// keys, tested in a fixed order against a mask of the events a state accepts.

#include <cstdint>

enum : int32_t {
    EV_POWER_KEY = 0,
    EV_COVER_OPENED = 1,
    EV_COVER_CLOSED = 2,
    EV_DRAWER_OPENED = 3,
    EV_DRAWER_CLOSED = 4,
    EV_WASH_KEY = 5,
    EV_NONE = 6,
};

// Event mask bits.
enum : uint8_t {
    MASK_POWER_KEY = 0x01,
    MASK_COVER_OPENED = 0x02,
    MASK_COVER_CLOSED = 0x04,
    MASK_DRAWER_OPENED = 0x08,
    MASK_DRAWER_CLOSED = 0x10,
    MASK_WASH_KEY = 0x20,
};

inline constexpr uint32_t DEBOUNCE_MS = 60;

// The result of the latest wait_event made through poll_event.
extern int32_t last_event;

// The first event of the mask that holds, in the order cover opened, cover
// closed, drawer opened, drawer closed, power key, wash key; EV_NONE if none.
// The cover and drawer are levels; a key is reported once it is released,
// and the controller does nothing else while a key is held down.
int32_t wait_event(uint8_t mask);
// wait_event into last_event; true when an event was found.
bool poll_event(uint8_t mask);

// Back to the program-load state; for test fixtures.
void events_reset_state();
