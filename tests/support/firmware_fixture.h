#pragma once
// The base fixture of the firmware tests: a controller in its program-load
// state with all six port bytes 0, the virtual-time harness and the end-switch
// stand-in hooked to it.

#include <gtest/gtest.h>

#include "board/port_bytes.h"
#include "firmware/fw_main.h"
#include "support/end_switch_model.h"
#include "support/virtual_harness.h"

// Runs before the harness and the model are built, so that both start from
// the clean controller.
struct CFirmwareLoadState {
    CFirmwareLoadState() { Reset(); }
    ~CFirmwareLoadState() { Reset(); }
    static void Reset()
    {
        fw_reset();
        for (std::atomic<uint8_t>* port : port_bytes)
            port->store(0);
    }
};

class CFirmwareFixture : public ::testing::Test {
protected:
    // Keys released, cover and drawer closed, as the board's start exchange leaves them.
    static void InputsAtRest()
    {
        sig_on(POWER_ON_OFF);
        sig_on(SOL_VALVE);
        sig_off(RUN_KEY);
        sig_off(DRAWER);
    }

    // A press of a key (POWER_ON_OFF or SOL_VALVE, 0 = pressed) held for holdMs.
    void KeyClickAt(uint64_t timeMs, port_signal key, uint64_t holdMs = 100)
    {
        m_harness.At(timeMs, [key] { sig_off(key); });
        m_harness.At(timeMs + holdMs, [key] { sig_on(key); });
    }
    // RUN_KEY or DRAWER to 1 (open) or 0 (closed) at that time.
    void SetInputAt(uint64_t timeMs, port_signal input, bool level)
    {
        m_harness.At(timeMs, [input, level] { sig_write(input, level); });
    }

    // Starts the firmware and runs it into power-off, then standby.
    void StartToStandby()
    {
        InputsAtRest();
        m_harness.Startup();
        m_harness.RunUntil(m_harness.Now() + 20);
        KeyClickAt(m_harness.Now() + 10, POWER_ON_OFF);
        m_harness.RunUntil(m_harness.Now() + 1000, [] { return state_index == ST_STANDBY && sig_read(RED_LED); });
    }

    CFirmwareLoadState m_loadState;
    CVirtualHarness m_harness;
    CEndSwitchModel m_model{m_harness};
};
