// The thread layer: the auto-reset event, the suspended start and the
// termination request acted on at the next wait.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "board/platform_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(PlatformEvent, IsCreatedUnsignalledAndAWaitConsumesTheSignal)
{
    CPlatformEvent event;
    EXPECT_EQ(event.Wait(0), CPlatformEvent::WAIT_TIMEOUT) << "created not signalled";
    event.Signal();
    event.Signal();
    EXPECT_EQ(event.Wait(0), CPlatformEvent::WAIT_SIGNALLED);
    EXPECT_EQ(event.Wait(5), CPlatformEvent::WAIT_TIMEOUT) << "auto-reset: two signals wake one wait";
}

TEST(PlatformEvent, AnEndlessWaitReturnsWhenSignalledFromAnotherThread)
{
    CPlatformEvent event;
    std::thread signaller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        event.Signal();
    });
    EXPECT_EQ(event.Wait(-1), CPlatformEvent::WAIT_SIGNALLED);
    signaller.join();
}

struct CThreadProbe {
    std::atomic<int> entered{0};
    std::atomic<int> loops{0};
    CPlatformEvent event;
};

unsigned sleeping_entry(void* param)
{
    auto* probe = static_cast<CThreadProbe*>(param);
    probe->entered.store(1);
    for (;;) {
        probe->loops.fetch_add(1);
        PlatformSleep(1);
    }
}

unsigned waiting_entry(void* param)
{
    auto* probe = static_cast<CThreadProbe*>(param);
    probe->entered.store(1);
    probe->event.Wait(-1);
    probe->loops.store(-1);  // never reached: the wait throws on termination
    return 0;
}

TEST(PlatformThread, ExecutesNothingUntilResumed)
{
    CThreadProbe probe;
    uint32_t id = 0;
    CPlatformThread* thread = CPlatformThread::CreateSuspended(&sleeping_entry, &probe, &id);
    EXPECT_NE(id, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(probe.entered.load(), 0) << "a suspended thread must not run";
    thread->Resume();
    for (int i = 0; i < 2000 && probe.loops.load() < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GE(probe.loops.load(), 3);
    thread->RequestTermination();
    thread->Join();
    delete thread;
}

TEST(PlatformThread, TerminationIsActedOnAtTheNextSleepOrEventWait)
{
    for (auto entry : {&sleeping_entry, &waiting_entry}) {
        CThreadProbe probe;
        CPlatformThread* thread = CPlatformThread::CreateSuspended(entry, &probe, nullptr);
        thread->Resume();
        while (probe.entered.load() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto start = Clock::now();
        thread->RequestTermination();
        thread->Join();
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        EXPECT_LT(took, 500.0) << "the thread ends at its next wait";
        EXPECT_NE(probe.loops.load(), -1) << "the wait unwinds instead of returning";
        delete thread;
    }
}

TEST(PlatformThread, ANeverResumedThreadEndsWithoutRunning)
{
    CThreadProbe probe;
    CPlatformThread* thread = CPlatformThread::CreateSuspended(&sleeping_entry, &probe, nullptr);
    delete thread;  // the destructor asks it to end and joins it
    EXPECT_EQ(probe.entered.load(), 0);
}

TEST(PlatformSleep, OnAnOrdinaryThreadSleepsForItsMilliseconds)
{
    const auto start = Clock::now();
    PlatformSleep(5);
    const double slept = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    EXPECT_GE(slept, 5.0);
}

}  // namespace
