#pragma once
// The 27 wired signals by name, in the order the board binds them, with the
// polarity of their line: an inverted input reads 0 while pressed or active.

#include <cstdint>

#include "board/port_bytes.h"

inline constexpr int32_t LINE_NORMAL = 0;
inline constexpr int32_t LINE_INVERTED = 1;

struct CWiredSignal {
    const char* name;
    port_signal signal;
    int32_t polarity;  // LINE_NORMAL or LINE_INVERTED
};

inline constexpr int WIRED_SIGNAL_COUNT = 27;
extern const CWiredSignal WIRED_SIGNALS[WIRED_SIGNAL_COUNT];
