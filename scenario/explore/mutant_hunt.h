#pragma once
// The parent's side of --guided --mutants: after the coverage is reached,
// uses are also kept for the mutants of the firmware they kill. Each round
// plays its uses as written to learn which mutants' code each reaches, then
// tries every live mutant on the uses of the round that reach it, the
// shortest first (for one set up before main, the longest first), until one
// kills it (CMutantTrial): on TRIES_A_ROUND uses
// a round at most, and MAX_TRIES in all, after which it survives. A use that
// kills mutants no kept use killed is written as DIR/mutant-NNN.scn with the
// checks that kill them standing in its waits. A mutant whose code runs
// before main is tried on every use, in a process of its own (fresh_mutant.h).
// The rounds' results are judged in seed order, so the suite is the same for
// every number of workers. The hunt ends when every mutant is killed or
// tried enough, or after IDLE_ROUNDS rounds that killed none.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/explore/mutant_trial.h"

class CWorkerPool;

class CMutantHunt {
public:
    static constexpr int MAX_TRIES = 12;
    static constexpr int TRIES_A_ROUND = 3;
    static constexpr int IDLE_ROUNDS = 3;

    struct CUse {
        std::vector<std::string> lines;
        std::string from;  // "seed 40", "cover-003.scn"
    };

    CMutantHunt(CWorkerPool& pool, std::string suiteDir, std::ostream& out, std::ostream& err);

    // How the files' first line names the run that found them.
    void SetCommand(std::string command) { m_command = std::move(command); }
    // Only the mutants on these lines or in these files ("firmware/fw_disk.cpp:88",
    // "firmware/fw_disk.cpp"); false with the reason when one names none.
    bool Only(const std::vector<std::string>& places, std::string& error);
    // Leaves out the mutants a file of known equivalents names
    // (mutant_equivalents.h); false with the reason when it cannot be read.
    bool LeaveOut(const std::string& equivalentsPath, std::string& error);
    // Removes the files of an earlier hunt (going on from an interrupted run).
    bool Restart();
    // False when a file could not be written or a signal came.
    bool Round(const std::vector<CUse>& uses);
    bool Over() const;
    // What was killed and what survived; an interrupted hunt tells the
    // mutants not yet killed instead, as their trials did not all run.
    void Summary(bool interrupted);

private:
    struct CTarget {
        int id;
        bool beforeMain = false;  // its code runs as the program starts: tried in a process of its own
        int tries = 0;
        bool reached = false;
        bool killed = false;
    };
    struct CKill {
        size_t target;
        CCheckpoint check;
    };

    std::vector<std::vector<size_t>> Reach(const std::vector<CUse>& uses, std::vector<unsigned>& alarms,
                                           std::vector<std::string>& ends);
    bool Trials(const std::vector<CUse>& uses, const std::vector<std::vector<size_t>>& reached,
                const std::vector<unsigned>& alarms, const std::vector<std::string>& ends,
                std::vector<std::vector<CKill>>& kills);
    bool Write(const CUse& use, const std::vector<CKill>& kills);

    CWorkerPool& m_pool;
    std::string m_suiteDir;
    std::string m_command;
    std::ostream& m_out;
    std::ostream& m_err;
    std::vector<CTarget> m_targets;
    int m_written = 0;
    int m_idleRounds = 0;
    size_t m_hunted = 0;      // uses played by the hunt
    size_t m_equivalent = 0;  // targets left out as known equivalents
};
