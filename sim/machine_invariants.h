#pragma once
// What must hold of the assembled machine at every virtual ms, whatever the
// user does: never both wires of a motor driven, a state number the panel
// can show, the heater on only where the controller heats, motors and the
// heater gauge inside their travel, and the end-stop inputs agreeing with
// the motors' positions once the board has exchanged after a start.
//
// Positions move on the refresh ticks, before the next exchange, so the
// check skips the ms of a tick. Checked on the firmware's side of the
// lockstep (from CVirtualSimulator::m_onMs).

#include <cstdint>
#include <string>

class CVirtualSimulator;

class CMachineInvariants {
public:
    explicit CMachineInvariants(CVirtualSimulator& sim) : m_sim(sim) {}

    // Called after every virtual ms: the first invariant broken, or empty.
    std::string AfterMs();
    // The invariants as they stand now, without the bookkeeping of AfterMs.
    std::string Broken() const;

private:
    CVirtualSimulator& m_sim;
    uint64_t m_lastStartupAt = 0;
    int m_resetsSeen = 0;
    bool m_keyDown = false;
    uint64_t m_lastKeyUpAt = 0;
};
