#pragma once
// The base fixture of the firmware tests: a controller in its program-load
// state with all six port bytes 0, the virtual-time harness, its trace and the
// end-switch stand-in hooked to it.

#include <gtest/gtest.h>

#include <functional>

#include "board/port_bytes.h"
#include "firmware/fw_main.h"
#include "firmware/fw_watch.h"
#include "sim/simulation_reset.h"
#include "sim/virtual_time.h"
#include "support/end_switch_model.h"
#include "support/trace_log.h"

// Runs before the harness and the model are built, so that both start from
// the clean controller.
struct CFirmwareLoadState {
    CFirmwareLoadState() { Reset(); }
    ~CFirmwareLoadState() { Reset(); }
    static void Reset() { reset_simulation_statics(); }
};

class CFirmwareFixture : public ::testing::Test {
protected:
    // A watched firmware variable by name; an unknown name fails the test.
    static const fw_variable* WatchedVariable(const char* name)
    {
        const fw_variable* variable = fw_variable_find(name);
        if (!variable)
            ADD_FAILURE() << "no watched firmware variable \"" << name << "\"";
        return variable;
    }
    static int32_t Watched(const char* name)
    {
        const fw_variable* variable = WatchedVariable(name);
        return variable ? fw_variable_read(variable) : 0;
    }
    // Writes the low `width` bits of value through the variable's address.
    static void SetWatched(const char* name, int32_t value)
    {
        const fw_variable* variable = WatchedVariable(name);
        if (!variable)
            return;
        if (variable->width == 8)
            *static_cast<uint8_t*>(variable->address) = static_cast<uint8_t>(value);
        else if (variable->width == 16)
            *static_cast<uint16_t*>(variable->address) = static_cast<uint16_t>(value);
        else
            *static_cast<uint32_t*>(variable->address) = static_cast<uint32_t>(value);
    }

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

    // The firmware's start-up with the inputs at rest; no period has run.
    void Boot()
    {
        InputsAtRest();
        m_harness.Startup();
    }

    // Starts the firmware and runs it into power-off, then standby.
    void StartToStandby()
    {
        Boot();
        m_harness.RunUntil(m_harness.Now() + 20);
        KeyClickAt(m_harness.Now() + 10, POWER_ON_OFF);
        m_harness.RunUntil(m_harness.Now() + 1000, [] { return state_index == ST_STANDBY && sig_read(RED_LED); });
    }

    // Runs a routine once in virtual time; true when it returned before limitMs
    // (absolute), and then m_returnedAt is the virtual time it returned at.
    bool RunRoutine(uint64_t limitMs, const std::function<void()>& routine)
    {
        bool returned = false;
        m_harness.RunLoop(
            limitMs,
            [&] {
                if (returned)
                    return;
                routine();
                returned = true;
                m_returnedAt = m_harness.Now();
            },
            [&] { return returned; });
        return returned;
    }

    // A controller back at program load (port bytes 0, firmware globals 0) for
    // the next case of a test; virtual time and the mechanisms' positions go
    // on, and the trace starts afresh.
    void ReloadController()
    {
        CFirmwareLoadState::Reset();
        m_model.WriteEnds();
        m_log.ClearTrace();
    }

    // Puts the mechanisms at these positions (0..100) and writes their end inputs.
    void PlaceMechanisms(int32_t disk, int32_t exit)
    {
        m_model.m_diskPosition = disk;
        m_model.m_exitPosition = exit;
        m_model.WriteEnds();
    }

    CFirmwareLoadState m_loadState;
    CVirtualTime m_harness;
    CTraceLog m_log{m_harness};
    CEndSwitchModel m_model{m_harness};
    uint64_t m_returnedAt = 0;
};
