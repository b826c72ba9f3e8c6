#include "scenario/explore/fresh_mutant.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scenario/explore/mutant_trial.h"
#include "scenario/explore/use_lines.h"

extern char** environ;

namespace {

bool write_all(int fd, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool read_exactly(int fd, size_t count, std::string& bytes)
{
    bytes.resize(count);
    for (size_t done = 0; done < count;) {
        const ssize_t n = read(fd, bytes.data() + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// "WORD N\n" then N bytes.
bool read_message(int fd, std::string& head, std::string& body)
{
    head.clear();
    for (char c = 0; c != '\n';) {
        const ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || head.size() > 64)
            return false;
        if (c != '\n')
            head += c;
    }
    const size_t space = head.rfind(' ');
    if (space == std::string::npos)
        return false;
    return read_exactly(fd, std::strtoull(head.c_str() + space + 1, nullptr, 10), body);
}

bool write_message(int fd, const std::string& word, const std::string& body)
{
    return write_all(fd, word + " " + std::to_string(body.size()) + "\n" + body);
}

}  // namespace

CFreshMutant::CFreshMutant(int mutant)
{
    int to[2], from[2];
    if (pipe(to) != 0)
        return;
    if (pipe(from) != 0) {
        close(to[0]), close(to[1]);
        return;
    }
    // Made before the fork: the child only calls what is safe there.
    std::vector<std::string> env = {"TRELVIK_MUTANT=" + std::to_string(mutant)};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "TRELVIK_MUTANT=", 15) != 0)
            env.push_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char program[] = "trelvik-scenario-mutants";
    char option[] = "--play-mutant";
    char* argv[] = {program, option, nullptr};
    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(to[0], STDIN_FILENO);
        dup2(from[1], STDOUT_FILENO);
        close(to[0]), close(to[1]), close(from[0]), close(from[1]);
        execve("/proc/self/exe", argv, envp.data());
        _exit(127);
    }
    close(to[0]), close(from[1]);
    m_to = to[1], m_from = from[0];
    if (m_pid < 0)
        close(m_to), close(m_from), m_to = m_from = -1;
}

CFreshMutant::~CFreshMutant()
{
    if (m_to >= 0)
        close(m_to);  // its stdin ends: it answers no more and exits
    if (m_from >= 0)
        close(m_from);
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

bool CFreshMutant::Play(const std::vector<std::string>& lines, bool traced, CTracedPlay& played)
{
    std::string head, body;
    void (*const before)(int) = std::signal(SIGPIPE, SIG_IGN);  // a dead process is an answer missing
    const bool answered = m_to >= 0 && write_message(m_to, traced ? "traced" : "plain", CUseLines::Join(lines)) &&
                          read_message(m_from, head, body) && played.Parse(body);
    std::signal(SIGPIPE, before);
    return answered;
}

int CFreshMutant::Serve()
{
    std::string head, body;
    while (read_message(STDIN_FILENO, head, body)) {
        const bool traced = head.rfind("traced ", 0) == 0;
        const CTracedPlay played = CMutantTrial::Play(CUseLines::Split(body), traced);
        if (!write_message(STDOUT_FILENO, "play", played.Serialize()))
            return 1;
    }
    return 0;
}
