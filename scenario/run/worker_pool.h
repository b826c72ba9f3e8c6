#pragma once
// Runs independent tasks in worker processes and gives their answers back
// in the order of the tasks, so that what the caller prints does not depend
// on how many workers there were. The firmware, the port bytes and the
// board are process-wide: one simulated machine per process, so parallel
// runs need processes, not threads. The workers are forked when the pool
// starts, which must be before any Qt object exists; each answers one task
// at a time over a pipe. With one job nothing is forked: the tasks run in
// this process, one after another, through the same handler.
//
// A task and its answer are opaque bytes. A signal noted while tasks are
// out (cleanup_signals.h) is passed on to the workers; each finishes the
// task under way (a scenario run stops at its next virtual ms), answers it
// and ends by the signal, its temporary files removed. Map then returns
// with the answers it has; the ones missing are flagged.

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

class CWorkerPool {
public:
    using CHandler = std::function<std::string(const std::string& task)>;

    // jobs 0: one per core.
    CWorkerPool(unsigned jobs, CHandler handler);
    ~CWorkerPool();

    static unsigned Cores();
    unsigned Jobs() const { return m_jobs; }

    // Every task's answer, in the order of the tasks; `answered[i]` is false
    // for a task that got no answer (a signal, or a worker that died).
    // `onAnswer`, when given, is told of each answer in task order as soon as
    // those before it are in, so that results can be printed as they come.
    using COnAnswer = std::function<void(size_t task, const std::string& answer)>;
    // `longestFirst`, when given, is the order to hand the tasks out in (the
    // longest first keeps a worker from being left with one long task at the
    // end); the answers keep the order of the tasks.
    std::vector<std::string> Map(const std::vector<std::string>& tasks, std::vector<bool>& answered,
                                 const COnAnswer& onAnswer = {}, const std::vector<size_t>& longestFirst = {});

    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

private:
    struct CWorker {
        pid_t pid = -1;
        int toWorker = -1;
        int fromWorker = -1;
        long task = -1;  // the task it is working on, or -1
    };

    bool Start();
    void Serve(int in, int out);  // a worker's life; never returns
    void Stop();
    void PassOnSignal();

    unsigned m_jobs;
    CHandler m_handler;
    std::vector<CWorker> m_workers;
    bool m_started = false;
    bool m_signalPassed = false;
};
