#include "scenario/run/worker_pool.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <iostream>

#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cleanup_signals.h"
#include "scenario/run/cpu_quota.h"
#include "scenario/run/firmware_coverage.h"
#include "scenario/run/socket_frame.h"

// One call of Map: its tasks, their answers so far, and what is told and handed out.
struct CWorkerPool::CRound {
    const std::vector<std::string>& tasks;
    const COnAnswer& onAnswer;
    const std::vector<size_t>& order;  // of handing out; empty: the order of the tasks
    std::vector<CTaskEnd>& ends;
    std::vector<std::string> answers;
    size_t told = 0;
    size_t next = 0;  // in the order of handing out

    // Tells each task that has ended, in task order, up to the first still out.
    void Tell(bool all = false)
    {
        for (; told < tasks.size() && (all || ends[told].kind != CTaskEnd::NOT_GIVEN); ++told)
            if (onAnswer)
                onAnswer(told, answers[told], ends[told]);
    }
    bool Left() const { return next < tasks.size(); }
    size_t Next() const { return order.size() == tasks.size() ? order[next] : next; }
};

CWorkerPool::CWorkerPool(unsigned jobs, CHandler handler)
    : m_jobs(jobs == 0 ? Cores() : jobs), m_handler(std::move(handler))
{
}

CWorkerPool::~CWorkerPool() { Stop(); }

// The CPUs this process may run on, and no more than its cgroup's quota allows.
unsigned CWorkerPool::Cores()
{
    cpu_set_t set;
    long cores = sysconf(_SC_NPROCESSORS_ONLN);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        cores = CPU_COUNT(&set);
    const unsigned quota = cgroup_cpu_limit();
    if (quota > 0 && static_cast<long>(quota) < cores)
        cores = static_cast<long>(quota);
    return cores > 0 ? static_cast<unsigned>(cores) : 1;
}

// A slot whose worker could not be forked is tried again when there is a task for it.
void CWorkerPool::Start()
{
    m_started = true;
    m_workers.resize(m_jobs);
    for (CWorker& worker : m_workers)
        Spawn(worker);
}

// Forks one worker into `slot`, from the main thread: the parent-death signal
// is sent when the thread that forked ends, not the process.
bool CWorkerPool::Spawn(CWorker& slot)
{
    std::cout.flush();  // a child must not write the parent's buffered lines again
    std::cerr.flush();
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return false;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        close(pair[0]);
        close(pair[1]);
        return false;
    }
    if (pid == 0) {
        firmware_coverage_after_fork();
        close(pair[0]);
        for (const CWorker& other : m_workers)  // else a worker's end would never be seen
            if (other.socket >= 0)
                close(other.socket);
        ignore_repeated_signals();
        accept_stop_requests();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The parent may have died before that: the worker was then handed to
        // init or to a subreaper, whatever its pid.
        if (getppid() != parent)
            end_by_signal(SIGTERM);
        Serve(pair[1]);
    }
    close(pair[1]);
    slot.pid = pid;
    slot.socket = pair[0];
    slot.task = -1;
    return true;
}

void CWorkerPool::Serve(int socket)
{
    uint64_t index = 0;
    std::string task;
    while (CSocketFrame::Receive(socket, index, task)) {
        const std::string answer = m_handler(task);
        if (!CSocketFrame::Send(socket, index, answer))
            break;
        if (const int sig = noted_fatal_signal())
            end_by_signal(sig);
    }
    if (const int sig = noted_fatal_signal())
        end_by_signal(sig);
    firmware_coverage_before_exit();
    std::_Exit(0);  // no static destructors, no flushing of buffers copied from the parent
}

void CWorkerPool::PassOnSignal()
{
    if (m_signalPassed)
        return;
    m_signalPassed = true;
    for (const CWorker& worker : m_workers)
        if (worker.socket >= 0)
            kill(worker.pid, noted_fatal_signal());
}

void CWorkerPool::Halt()
{
    m_halted = true;
    for (const CWorker& worker : m_workers)
        if (worker.task >= 0)
            kill(worker.pid, SIGUSR1);
}

void CWorkerPool::Stop()
{
    for (CWorker& worker : m_workers) {
        if (worker.socket >= 0)
            close(worker.socket);  // the worker reads its end and leaves
        worker.socket = -1;
    }
    for (CWorker& worker : m_workers)
        if (worker.pid > 0) {
            int status = 0;
            while (waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
            }
            worker.pid = -1;
        }
    m_workers.clear();
}

// The worker's answer to its task, or its end: a worker that closed its end
// without answering has died (or is about to), and is reaped.
void CWorkerPool::Receive(CWorker& worker, CRound& round)
{
    uint64_t index = 0;
    std::string answer;
    if (!CSocketFrame::Receive(worker.socket, index, answer) || index != static_cast<uint64_t>(worker.task)) {
        Lose(worker, CTaskEnd::WORKER_DIED);
        return;
    }
    round.answers[index] = std::move(answer);
    m_ends[index].kind = CTaskEnd::ANSWERED;
    worker.task = -1;
}

// Takes a worker out with the task it had, and reaps it. It is killed first:
// a stopped one has not answered, and one that broke the protocol might
// never end; a dead one keeps the status it ended with.
void CWorkerPool::Lose(CWorker& worker, CTaskEnd::Kind kind)
{
    kill(worker.pid, SIGKILL);
    close(worker.socket);
    worker.socket = -1;
    int status = 0;
    while (waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (worker.task >= 0)
        m_ends[static_cast<size_t>(worker.task)] = CTaskEnd{kind, status, worker.pid};
    worker.pid = -1;
    worker.task = -1;
}

// With one job: the tasks run here, one after another, until a signal is
// noted or the round is halted.
std::vector<std::string> CWorkerPool::MapHere(const std::vector<std::string>& tasks, CRound& round)
{
    for (size_t i = 0; i < tasks.size() && !noted_fatal_signal() && !m_halted; ++i) {
        round.answers[i] = m_handler(tasks[i]);
        m_ends[i].kind = CTaskEnd::ANSWERED;
        round.Tell();
    }
    round.Tell(true);
    return std::move(round.answers);
}

std::vector<std::string> CWorkerPool::Map(const std::vector<std::string>& tasks, std::vector<bool>& answered,
                                          const COnAnswer& onAnswer, const std::vector<size_t>& longestFirst)
{
    m_ends.assign(tasks.size(), CTaskEnd{});
    m_halted = false;
    CRound round{tasks, onAnswer, longestFirst, m_ends, std::vector<std::string>(tasks.size())};
    std::vector<std::string> answers;
    if (m_jobs <= 1 && !m_forkAlone)
        answers = MapHere(tasks, round);
    else {
        if (!m_started)
            Start();
        answers = MapInWorkers(round);
    }
    answered.assign(tasks.size(), false);
    for (size_t i = 0; i < tasks.size(); ++i)
        answered[i] = m_ends[i].kind == CTaskEnd::ANSWERED;
    return answers;
}

// Hands the tasks out to the workers and takes their answers as they come.
// Once a signal is noted, nothing more is handed out, and the workers under
// way get m_signalWaitMs to answer before they are stopped.
std::vector<std::string> CWorkerPool::MapInWorkers(CRound& round)
{
    using CClock = std::chrono::steady_clock;
    CClock::time_point deadline{};
    // A worker found dead when it is handed a task is replaced, once.
    const auto give = [&](CWorker& worker) {
        for (int attempt = 0; attempt < 2 && round.Left() && !noted_fatal_signal() && !m_halted; ++attempt) {
            if (worker.socket < 0 && !Spawn(worker))
                return;
            const size_t task = round.Next();
            if (CSocketFrame::Send(worker.socket, task, round.tasks[task])) {
                worker.task = static_cast<long>(task);
                ++round.next;
                return;
            }
            Lose(worker, CTaskEnd::WORKER_DIED);
        }
    };
    for (CWorker& worker : m_workers)
        give(worker);
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<CWorker*> busy;
        for (CWorker& worker : m_workers)
            if (worker.task >= 0) {
                fds.push_back({worker.socket, POLLIN, 0});
                busy.push_back(&worker);
            }
        if (fds.empty())
            break;
        int timeout = -1;
        if (noted_fatal_signal()) {
            PassOnSignal();
            if (deadline == CClock::time_point{})
                deadline = CClock::now() + std::chrono::milliseconds(m_signalWaitMs);
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - CClock::now());
            timeout = static_cast<int>(std::max<int64_t>(0, left.count()));
        }
        const int ready = poll(fds.data(), fds.size(), timeout);
        if (ready < 0)
            continue;  // a signal: noted, and looked at above
        for (size_t i = 0; i < fds.size(); ++i) {
            if (ready == 0)
                Lose(*busy[i], CTaskEnd::STOPPED);
            else if (fds[i].revents != 0)
                Receive(*busy[i], round);
        }
        round.Tell();  // first, so that what is told may halt the handing out
        for (CWorker& worker : m_workers)
            if (worker.task < 0)
                give(worker);
    }
    round.Tell(true);
    return std::move(round.answers);
}
