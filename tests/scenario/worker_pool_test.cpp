// Worker processes: answers come back in the order of the tasks whatever
// order the workers finish in, and a worker that dies leaves only its own
// task unanswered.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <unistd.h>

#include "scenario/run/worker_pool.h"

namespace {

// The early tasks take longest, so that with several workers the late ones finish first.
std::string slow_echo(const std::string& task)
{
    if (task == "die")
        std::_Exit(3);
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
            pool.Map(tasks, answered, [&](size_t task, const std::string&) { told.push_back(task); });
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

TEST(WorkerPool, AWorkerThatDiesLeavesOnlyItsTaskUnanswered)
{
    CWorkerPool pool(2, slow_echo);
    std::vector<bool> answered;
    const std::vector<std::string> answers = pool.Map({"1", "die", "2", "3", "4"}, answered);
    EXPECT_EQ(answered, (std::vector<bool>{true, false, true, true, true}));
    EXPECT_EQ(answers[4], slow_echo("4")) << "the other worker took the rest";
    EXPECT_GE(CWorkerPool::Cores(), 1u);
}

}  // namespace
