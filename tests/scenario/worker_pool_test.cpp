// Worker processes: answers come back in the order of the tasks whatever
// order the workers finish in; a worker that dies leaves only its own task
// unanswered, and one that does not answer a signal in time is stopped.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include "cli/cleanup_signals.h"
#include "scenario/run/worker_pool.h"

namespace {

// The early tasks take longest, so that with several workers the late ones finish first.
std::string slow_echo(const std::string& task)
{
    if (task == "die")
        std::_Exit(3);
    if (task == "kill")
        raise(SIGKILL);
    if (task == "signal") {  // the parent is sent a signal, as CI's cancel would send it
        kill(getppid(), SIGTERM);
        return "sent";
    }
    if (task == "hang")
        for (;;)
            pause();  // a worker that never answers
    std::this_thread::sleep_for(std::chrono::milliseconds(30 - 3 * std::stoi(task)));
    return task + "!" + std::string(static_cast<size_t>(std::stoi(task)) * 50000, 'x');
}

TEST(WorkerPool, AnswersComeInTheOrderOfTheTasksForEveryNumberOfJobs)
{
    const std::vector<std::string> tasks = {"0", "1", "2", "3", "4", "5", "6", "7", "8"};
    for (unsigned jobs : {1u, 2u, 3u}) {
        CWorkerPool pool(jobs, slow_echo);
        std::vector<bool> answered;
        std::vector<size_t> told;
        const std::vector<std::string> answers =
            pool.Map(tasks, answered,
                     [&](size_t task, const std::string&, const CWorkerPool::CTaskEnd&) { told.push_back(task); });
        for (size_t i = 0; i < tasks.size(); ++i) {
            EXPECT_TRUE(answered[i]) << jobs << " jobs, task " << i;
            EXPECT_EQ(answers[i], slow_echo(tasks[i])) << jobs << " jobs, task " << i;
            EXPECT_EQ(i < told.size() ? told[i] : 99u, i) << jobs << " jobs: told out of order";
        }
        // Handed out in another order, the answers keep the order of the tasks.
        const std::vector<size_t> backwards = {8, 7, 6, 5, 4, 3, 2, 1, 0};
        EXPECT_EQ(pool.Map(tasks, answered, {}, backwards), answers) << jobs << " jobs";
        // A second round goes to the same workers.
        EXPECT_EQ(pool.Map({"2"}, answered)[0], slow_echo("2")) << jobs << " jobs";
    }
}

// Each task is told once, in order, with how it ended.
std::vector<CWorkerPool::CTaskEnd> told_ends(CWorkerPool& pool, const std::vector<std::string>& tasks)
{
    std::vector<bool> answered;
    std::vector<CWorkerPool::CTaskEnd> ends;
    pool.Map(tasks, answered, [&](size_t task, const std::string&, const CWorkerPool::CTaskEnd& end) {
        EXPECT_EQ(task, ends.size()) << "told out of order";
        ends.push_back(end);
    });
    EXPECT_EQ(ends.size(), tasks.size());
    return ends;
}

TEST(WorkerPool, AWorkerThatDiesLosesOnlyItsTaskAndANewOneTakesItsPlace)
{
    CWorkerPool pool(2, slow_echo);
    const std::vector<CWorkerPool::CTaskEnd> ends = told_ends(pool, {"1", "die", "kill", "kill", "2", "3"});
    using End = CWorkerPool::CTaskEnd;
    const std::vector<End::Kind> kinds = {End::ANSWERED,    End::WORKER_DIED, End::WORKER_DIED,
                                          End::WORKER_DIED, End::ANSWERED,    End::ANSWERED};
    for (size_t i = 0; i < ends.size(); ++i)
        EXPECT_EQ(ends[i].kind, kinds[i]) << "task " << i << ": both workers died, and new ones took the rest";
    EXPECT_TRUE(WIFEXITED(ends[1].status) && WEXITSTATUS(ends[1].status) == 3);
    EXPECT_TRUE(WIFSIGNALED(ends[2].status) && WTERMSIG(ends[2].status) == SIGKILL);
    EXPECT_GT(ends[3].worker, 0) << "the dead worker is named, for its temporary files";
    EXPECT_GE(CWorkerPool::Cores(), 1u);
}

// Last in this file: the signal stays noted in this process.
TEST(WorkerPool, ASignalStopsHandingOutAndAWorkerThatDoesNotAnswerInTimeIsStopped)
{
    install_cleanup_handlers();
    defer_fatal_signals();
    CWorkerPool pool(2, slow_echo);
    pool.SetSignalWait(300);
    const std::vector<CWorkerPool::CTaskEnd> ends = told_ends(pool, {"hang", "signal", "1", "2"});
    using End = CWorkerPool::CTaskEnd;
    EXPECT_EQ(ends[0].kind, End::STOPPED) << "it never answered";
    EXPECT_EQ(ends[1].kind, End::ANSWERED);
    EXPECT_EQ(ends[2].kind, End::NOT_GIVEN) << "nothing is handed out after a signal";
    EXPECT_EQ(ends[3].kind, End::NOT_GIVEN);
    EXPECT_EQ(noted_fatal_signal(), SIGTERM);
}

}  // namespace
