#pragma once
// A seam in the board's plant model: what an end switch reports, given what
// the motor's position says. The window program never installs one; the
// simulator in virtual time installs its plant faults here while a switch is
// stuck, so without a fault the exchange pays one null check.

#include <cstdint>

#include "board/port_bytes.h"

class CEndSwitchSeam {
public:
    virtual ~CEndSwitchSeam() = default;
    // The physical level `input` reads, given `level` from the motor's position.
    virtual bool Level(port_signal input, bool level) const = 0;
};
