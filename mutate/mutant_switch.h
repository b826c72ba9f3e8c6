#pragma once
// Which mutant of the firmware runs: chosen at start-up by TRELVIK_MUTANT (a
// mutant's id; none, 0, for the firmware as written), and between two runs
// by the guided exploration's mutant hunt (mutant_select). Every switched
// expression of the mutant build asks mutant_active(ID), which also notes
// that the mutant's code ran, so that a run of the firmware as written tells
// which mutants it reached. Atomics: the firmware may ask from its own thread.

#include <atomic>

constexpr int MUTANT_CAPACITY = 4096;  // more than the firmware's mutants; generate.py checks it

int mutant_read_selection();
extern std::atomic<bool> mutant_ran[MUTANT_CAPACITY];

inline std::atomic<int>& mutant_selection()
{
    static std::atomic<int> selected{mutant_read_selection()};
    return selected;
}

inline bool mutant_active(int id)
{
    if (!mutant_ran[id].load(std::memory_order_relaxed))
        mutant_ran[id].store(true, std::memory_order_relaxed);
    return mutant_selection().load(std::memory_order_relaxed) == id;
}
