#pragma once
// What the runs of one call reached of the controller, gathered over all its
// scenario files: the ten states entered; the transitions of the state
// tables taken (the idle states, the cycle, the power key in each cycle
// state, each interruption of a cycle state by the cover or the drawer); the
// eleven software timers started; and the outcomes of the motors' travels
// (arrived, retried, given up).
//
// Looked at after every virtual ms, on the firmware's side of the lockstep,
// through the table of watched firmware variables and timers and the port
// bits: a state_index change is a transition, a timer going from idle to
// running a start, a retry counter going up a retry and one falling from 3
// to 0 away from its end a travel given up.

#include <cstdint>
#include <ostream>
#include <string>

#include "board/port_bytes.h"
#include "firmware/fw_main.h"
#include "firmware/fw_watch.h"

class CScenarioCoverage {
public:
    struct CTransition {
        int32_t from;  // state_index
        int32_t to;
        const char* what;
    };
    static constexpr int TRANSITION_COUNT = 27;
    static const CTransition TRANSITIONS[TRANSITION_COUNT];
    static constexpr int TIMER_COUNT = 11;
    enum : int { ARRIVED, RETRIED, GIVEN_UP, OUTCOME_COUNT };
    static const char* const OUTCOMES[OUTCOME_COUNT];

    CScenarioCoverage();

    // A freshly started controller (program-load state, start-up done): call
    // before its first ms. What was reached before is kept.
    void Start();
    // After every virtual ms.
    void AfterMs();

    int States() const;
    int Transitions() const;
    int Timers() const;
    int Outcomes() const;
    // How many times each item was reached.
    uint32_t Entered(int32_t state) const { return m_entered[state]; }
    uint32_t Taken(int transition) const { return m_taken[transition]; }
    uint32_t Started(int timer) const { return m_started[timer]; }
    uint32_t Seen(int outcome) const { return m_seen[outcome]; }
    // Every item in one row: the states, the transitions, the timers, the travel outcomes.
    static constexpr int ITEM_COUNT = STATE_COUNT + TRANSITION_COUNT + TIMER_COUNT + OUTCOME_COUNT;
    uint32_t Count(int item) const;
    void SetCount(int item, uint32_t count);
    // "state 6 건조", "transition 6 건조 -> 7 배출 (dry: ...)", "timer fan_timer", "travel outcome given up".
    static std::string ItemText(int item);
    // Adds another call's counts to these (shards of one exploration).
    void Merge(const CScenarioCoverage& other);
    // Goes up whenever any count does: cheap to watch after every ms.
    uint64_t Events() const { return m_events; }
    // "3 파워 온 대기" for state_index 2.
    static std::string StateText(int32_t index);
    // One line per item, reached (+) or not (-), then
    // "coverage: states S/10, transitions T/N, timers X/11, travel outcomes Y/3".
    void Report(std::ostream& out) const;

private:
    // A travel mechanism: its timer, its two ends with their retry counters.
    struct CTravel {
        const fw_timer_entry* timer;
        const fw_variable* retry[2];  // toward end 0, toward end 1
        port_signal end[2];           // read 0 at that end
        port_signal drive[2];         // the wire driving toward that end
        bool running;
        int direction;  // the end last driven toward, or -1
        int32_t retries[2];
    };

    void Enter(int32_t state);
    void WatchTravel(CTravel& travel);

    const fw_variable* m_stateIndex;
    // Each item's count: how many times it was reached.
    uint32_t m_entered[STATE_COUNT] = {};
    uint32_t m_taken[TRANSITION_COUNT] = {};
    uint32_t m_started[TIMER_COUNT] = {};
    uint32_t m_seen[OUTCOME_COUNT] = {};
    uint64_t m_events = 0;
    int32_t m_state = 0;
    int32_t m_interrupted = -1;  // the cycle state an open cover or drawer suspends, or -1
    bool m_running[TIMER_COUNT] = {};
    CTravel m_travels[2];
};
