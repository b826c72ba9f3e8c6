#pragma once
// The worker's side of the guided exploration's mutant hunt. A trial plays a
// use on the firmware as written and on one mutant, each with every port
// signal, firmware variable and motor traced, and finds the first virtual ms
// at which the two traces differ. There it writes a check of what the
// firmware as written does, standing in for that part of one of the use's
// waits: a `run-until` that a value changes at that very ms (`within` and
// `after` the same), or an `expect-for` that a value holds since its last
// change through that ms. The use cut after the check must pass on the
// firmware as written and fail on the mutant, both played; else the next
// difference is tried, and last the whole use with its end as expectations.
// A mutant that stalls the firmware ends the worker by the alarm.

#include <string>
#include <vector>

#include "scenario/explore/trace_divergence.h"

class CMutantTrial {
public:
    // What a worker does with the hunt's tasks (IsTask):
    //   ReachTask: plays the use as written: "reach SECONDS ID ID ...\n" (the mutants
    //     whose code ran), then its end as expectations;
    //   TrialTask: "kill " + the checkpoint that kills the mutant, or "survived".
    static bool IsTask(const std::string& task);
    static std::string Task(const std::string& task);
    static std::string ReachTask(const std::vector<std::string>& lines);
    // `fresh`: the mutant's code runs before main, so it is played in a
    // process of its own (fresh_mutant.h).
    static std::string TrialTask(int mutant, unsigned alarmSeconds, bool fresh, const std::vector<std::string>& lines);

    // The lines played from a fresh controller on the mutant chosen now, traced or not.
    static CTracedPlay Play(const std::vector<std::string>& lines, bool traced);
    // The use with the checks standing in their waits, cut after the last check.
    static std::vector<std::string> WithChecks(const std::vector<std::string>& lines, std::vector<CCheckpoint> checks);
};
