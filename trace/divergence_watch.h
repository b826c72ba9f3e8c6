#pragma once
// The first moment the live trace parts from a baseline, by the rule of
// trace/divergence_rule.h (without slack), as CTraceCompare finds it between
// an exported live trace and the baseline: a live channel's full name is the
// one an exported trace declares, "trelvik.ports.MAIN_FAN".
//
// Found as the live trace grows: each Update reads only the live changes
// and the baseline's changes since the one before, so it may run every
// virtual ms. Once found, the divergence stands (time only moves forward)
// until Reset; a new ring (a new session) or a time gone back resets it too.
//
// Live changes the ring dropped before they were read are taken as one
// change, to the value the ring holds for the time before its oldest change,
// at the moment they are missed (the first read of a ring that dropped the
// run's start compares from its oldest change on): a divergence inside the
// gap may be found late or not at all, never one that was not there. A channel joining the trace has the matching made
// again, from the oldest change held, with the values before it as starting values, which is how an exported trace
// reads too. A baseline variable that joins its trace late is not compared
// before it joins. Standard C++ only.

#include <cstdint>
#include <string>
#include <vector>

#include "trace/divergence_rule.h"
#include "trace/vcd_reader.h"

class CTraceBuffer;

class CDivergenceWatch {
public:
    struct CDivergence {
        uint64_t timeMs = 0;
        std::string name;      // as CTraceCompare names it: "MAIN_FAN"
        std::string live;      // the values after that time, as the dump writes them
        std::string baseline;  //
        int channel = -1;      // the live channel
    };

    // Null: no baseline, never a divergence. Resets.
    void SetBaseline(const CVcdReader* dump);
    void Reset();

    // Reads the live trace up to nowMs: every time before it is then decided.
    void Update(const CTraceBuffer& live, uint64_t nowMs);

    bool Found() const { return m_found; }
    const CDivergence& Divergence() const { return m_divergence; }
    // The variables compared (after the last Update).
    size_t Compared() const { return m_pairs.size(); }

    // Each live channel's namesake in the baseline, by the rule of
    // trace/divergence_rule.h, with the name they are matched by; null where
    // the baseline has none. The one pairing of the watch and of the
    // workbench's faint baseline rows.
    struct CPartner {
        const CVcdReader::CVariable* var = nullptr;
        std::string name;
    };
    static std::vector<CPartner> Partners(const CTraceBuffer& live, const CVcdReader& dump);

private:
    static constexpr uint64_t NONE = UINT64_MAX;

    // A live channel and its namesake in the baseline; the pair's values
    // are the live one (a) and the baseline's (b).
    struct CPair {
        int channel;
        std::string name;  // as matched
        const CVcdReader::CVariable* base;
        size_t baseNext = 0;  // the baseline's next change
        CValuePair values{};
    };

    void Match(const CTraceBuffer& live);
    void CatchUpDropped(const CTraceBuffer& live);
    void LiveChange(CPair& pair, uint64_t timeMs, uint64_t value);
    void BaseUpTo(CPair& pair, uint64_t beforeMs);
    void Diverged(const CPair& pair, uint64_t timeMs);
    static uint64_t AsDumped(const CTraceBuffer& live, int channel, int32_t value);

    const CVcdReader* m_dump = nullptr;
    const CTraceBuffer* m_live = nullptr;  // the ring read; another one resets
    int m_channels = -1;                   // channels matched; -1: none yet
    std::vector<CPair> m_pairs;
    std::vector<int> m_pairOf;  // per live channel: its pair, or -1
    uint64_t m_next = 0;        // the live change to read next
    uint64_t m_doneMs = 0;      // every time before it is decided
    bool m_found = false;
    CDivergence m_divergence;
    // The earliest divergence seen by this Update, before it is final.
    uint64_t m_bestMs = NONE;
    int m_bestChannel = -1;
};
