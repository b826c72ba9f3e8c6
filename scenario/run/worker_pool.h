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
// and ends by the signal, its temporary files removed. The parent waits at
// most SIGNAL_WAIT_MS for those answers, then stops the workers still busy.
// A worker that dies loses its own task only: the others go on, and a new
// worker takes its place. Workers end with their parent: a parent killed
// outright sends them SIGTERM, which each takes as any other signal.

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

class CWorkerPool {
public:
    using CHandler = std::function<std::string(const std::string& task)>;

    // How a task ended.
    struct CTaskEnd {
        enum Kind {
            NOT_GIVEN,    // never handed out: a signal came first, or no worker could be started
            ANSWERED,     // its answer came
            WORKER_DIED,  // its worker ended without answering
            STOPPED,      // a signal was noted and its worker did not answer in time
        };
        Kind kind = NOT_GIVEN;
        int status = 0;     // WORKER_DIED: how the worker ended, as waitpid tells it
        pid_t worker = -1;  // WORKER_DIED, STOPPED: the worker, whose temporary files may be left
    };

    // How long the workers under way get to answer once a signal is noted.
    static constexpr int SIGNAL_WAIT_MS = 5000;

    // jobs 0: one per CPU this process may use (Cores).
    CWorkerPool(unsigned jobs, CHandler handler);
    ~CWorkerPool();

    static unsigned Cores();
    unsigned Jobs() const { return m_jobs; }

    // Every task's answer, in the order of the tasks; `answered[i]` is false
    // for a task that got no answer. `onAnswer`, when
    // given, is told of each task once, in task order, as soon as it and
    // those before it have ended, so that results can be printed as they come;
    // the tasks never handed out are told last.
    using COnAnswer = std::function<void(size_t task, const std::string& answer, const CTaskEnd& end)>;
    // `longestFirst`, when given, is the order to hand the tasks out in (the
    // longest first keeps a worker from being left with one long task at the
    // end); the answers keep the order of the tasks.
    std::vector<std::string> Map(const std::vector<std::string>& tasks, std::vector<bool>& answered,
                                 const COnAnswer& onAnswer = {}, const std::vector<size_t>& longestFirst = {});
    // From `onAnswer`: hands nothing more out in this Map, and asks the
    // workers under way to stop their tasks early (a stop request,
    // cleanup_signals.h); they still answer.
    void Halt();
    // Forks a worker even for one job: for tasks that may stall or crash
    // (a mutant of the firmware), so that the caller lives on.
    void SetForkAlone() { m_forkAlone = true; }
    // For tests: a shorter wait than SIGNAL_WAIT_MS.
    void SetSignalWait(int ms) { m_signalWaitMs = ms; }

    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

private:
    struct CWorker {
        pid_t pid = -1;
        int socket = -1;
        long task = -1;  // the task it is working on, or -1
    };
    struct CRound;

    void Start();
    bool Spawn(CWorker& slot);
    [[noreturn]] void Serve(int socket);  // a worker's life
    void Stop();
    void PassOnSignal();
    void Receive(CWorker& worker, CRound& round);
    void Lose(CWorker& worker, CTaskEnd::Kind kind);
    std::vector<std::string> MapHere(const std::vector<std::string>& tasks, CRound& round);
    std::vector<std::string> MapInWorkers(CRound& round);

    unsigned m_jobs;
    CHandler m_handler;
    std::vector<CWorker> m_workers;
    std::vector<CTaskEnd> m_ends;
    bool m_started = false;
    bool m_signalPassed = false;
    bool m_halted = false;
    bool m_forkAlone = false;
    int m_signalWaitMs = SIGNAL_WAIT_MS;
};
