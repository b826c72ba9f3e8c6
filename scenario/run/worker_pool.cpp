#include "scenario/run/worker_pool.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <iostream>

#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cleanup_signals.h"
#include "scenario/run/firmware_coverage.h"

namespace {

// A frame: the task's index, the length, the bytes.
bool send_all(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);  // a dead peer is an error, not SIGPIPE
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool receive_all(int fd, char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = recv(fd, data, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool send_frame(int fd, uint64_t index, const std::string& bytes)
{
    const uint64_t head[2] = {index, bytes.size()};
    return send_all(fd, reinterpret_cast<const char*>(head), sizeof head) && send_all(fd, bytes.data(), bytes.size());
}

bool receive_frame(int fd, uint64_t& index, std::string& bytes)
{
    uint64_t head[2] = {0, 0};
    if (!receive_all(fd, reinterpret_cast<char*>(head), sizeof head) || head[1] > (uint64_t{1} << 34))
        return false;
    index = head[0];
    bytes.resize(head[1]);
    return receive_all(fd, bytes.data(), bytes.size());
}

}  // namespace

CWorkerPool::CWorkerPool(unsigned jobs, CHandler handler)
    : m_jobs(jobs == 0 ? Cores() : jobs), m_handler(std::move(handler))
{
}

CWorkerPool::~CWorkerPool() { Stop(); }

unsigned CWorkerPool::Cores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<unsigned>(n) : 1;
}

bool CWorkerPool::Start()
{
    m_started = true;
    std::cout.flush();  // a child must not write the parent's buffered lines again
    std::cerr.flush();
    for (unsigned i = 0; i < m_jobs; ++i) {
        int pair[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
            break;
        const pid_t pid = fork();
        if (pid < 0) {
            close(pair[0]);
            close(pair[1]);
            break;
        }
        if (pid == 0) {
            firmware_coverage_after_fork();
            close(pair[0]);
            for (const CWorker& other : m_workers)  // else a worker's end would never be seen
                close(other.toWorker);
            Serve(pair[1], pair[1]);
        }
        close(pair[1]);
        CWorker worker;
        worker.pid = pid;
        worker.toWorker = worker.fromWorker = pair[0];
        m_workers.push_back(worker);
    }
    return !m_workers.empty();
}

void CWorkerPool::Serve(int in, int out)
{
    uint64_t index = 0;
    std::string task;
    while (receive_frame(in, index, task)) {
        const std::string answer = m_handler(task);
        if (!send_frame(out, index, answer))
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
        if (worker.pid > 0)
            kill(worker.pid, noted_fatal_signal());
}

void CWorkerPool::Stop()
{
    for (CWorker& worker : m_workers) {
        if (worker.toWorker >= 0)
            close(worker.toWorker);  // the worker reads its end and leaves
        worker.toWorker = worker.fromWorker = -1;
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

std::vector<std::string> CWorkerPool::Map(const std::vector<std::string>& tasks, std::vector<bool>& answered,
                                          const COnAnswer& onAnswer, const std::vector<size_t>& longestFirst)
{
    std::vector<std::string> answers(tasks.size());
    answered.assign(tasks.size(), false);
    size_t told = 0;
    const auto tell = [&] {
        for (; told < tasks.size() && answered[told]; ++told)
            if (onAnswer)
                onAnswer(told, answers[told]);
    };
    if (m_jobs <= 1) {
        for (size_t i = 0; i < tasks.size() && !noted_fatal_signal(); ++i) {
            answers[i] = m_handler(tasks[i]);
            answered[i] = true;
            tell();
        }
        return answers;
    }
    if (!m_started && !Start())
        return answers;
    size_t next = 0;  // in the order of handing out
    const bool ordered = longestFirst.size() == tasks.size();
    const auto give = [&](CWorker& worker) {
        if (worker.fromWorker < 0 || next >= tasks.size() || noted_fatal_signal())
            return;
        const size_t task = ordered ? longestFirst[next] : next;
        if (send_frame(worker.toWorker, task, tasks[task])) {
            worker.task = static_cast<long>(task);
            ++next;
        }
    };
    for (CWorker& worker : m_workers)
        give(worker);
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<CWorker*> busy;
        for (CWorker& worker : m_workers)
            if (worker.task >= 0) {
                fds.push_back({worker.fromWorker, POLLIN, 0});
                busy.push_back(&worker);
            }
        if (fds.empty())
            break;
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR && noted_fatal_signal())
                PassOnSignal();
            continue;
        }
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents == 0)
                continue;
            CWorker& worker = *busy[i];
            uint64_t index = 0;
            std::string answer;
            if (receive_frame(worker.fromWorker, index, answer) && index == static_cast<uint64_t>(worker.task)) {
                answers[index] = std::move(answer);
                answered[index] = true;
                worker.task = -1;
                give(worker);
                tell();
            } else {  // the worker died: its task stays unanswered
                worker.task = -1;
                close(worker.toWorker);
                worker.toWorker = worker.fromWorker = -1;
            }
        }
        if (noted_fatal_signal())
            PassOnSignal();
    }
    return answers;
}
