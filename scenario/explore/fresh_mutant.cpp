#include "scenario/explore/fresh_mutant.h"

#include <csignal>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scenario/explore/mutant_trial.h"
#include "scenario/explore/use_lines.h"
#include "scenario/run/socket_frame.h"

extern char** environ;

namespace {

constexpr uint64_t PLAIN = 0, TRACED = 1;  // a frame's index: how to play the use it holds

}  // namespace

CFreshMutant::CFreshMutant(int mutant)
{
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    // Made before the fork: the child only calls what is safe there.
    std::vector<std::string> env = {"TRELVIK_MUTANT=" + std::to_string(mutant)};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "TRELVIK_MUTANT=", 15) != 0)
            env.push_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = "trelvik-scenario-mutants", option = SERVE_OPTION;
    char* argv[] = {program.data(), option.data(), nullptr};
    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(ends[1], STDIN_FILENO);
        dup2(ends[1], STDOUT_FILENO);
        fcntl(STDIN_FILENO, F_SETFD, 0);  // kept across the exec, even where dup2 had nothing to copy
        fcntl(STDOUT_FILENO, F_SETFD, 0);
        execve("/proc/self/exe", argv, envp.data());
        _exit(127);
    }
    close(ends[1]);
    m_socket = ends[0];
    if (m_pid < 0)
        close(m_socket), m_socket = -1;
}

CFreshMutant::~CFreshMutant()
{
    if (m_socket >= 0)
        close(m_socket);
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

bool CFreshMutant::Play(const std::vector<std::string>& lines, bool traced, CTracedPlay& played)
{
    uint64_t index = 0;
    std::string answer;
    return m_socket >= 0 && CSocketFrame::Send(m_socket, traced ? TRACED : PLAIN, CUseLines::Join(lines)) &&
           CSocketFrame::Receive(m_socket, index, answer) && played.Parse(answer);
}

int CFreshMutant::Serve()
{
    uint64_t how = 0;
    std::string use;
    while (CSocketFrame::Receive(STDIN_FILENO, how, use)) {
        const CTracedPlay played = CMutantTrial::Play(CUseLines::Split(use), how == TRACED);
        if (!CSocketFrame::Send(STDOUT_FILENO, how, played.Serialize()))
            return 1;
    }
    return 0;
}
