#include "board/platform_thread.h"

#include <chrono>
#include <new>
#include <system_error>

namespace {

// The termination flag of the platform thread running on this thread, if any.
thread_local const std::atomic<bool>* t_terminate = nullptr;

std::atomic<uint32_t> s_nextThreadId{1};
std::atomic<bool> s_failNextCreation{false};

using Clock = std::chrono::steady_clock;
constexpr auto SLICE = std::chrono::milliseconds(1);

}  // namespace

void PlatformCheckTermination()
{
    if (t_terminate && t_terminate->load(std::memory_order_acquire))
        throw CThreadTerminated{};
}

void PlatformSleep(uint32_t ms)
{
    PlatformCheckTermination();
    if (!t_terminate) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    // On a platform thread, sleep in slices so a termination request is seen in time.
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        std::this_thread::sleep_for(std::min<Clock::duration>(SLICE, end - now));
        PlatformCheckTermination();
    }
}

void CPlatformEvent::Signal()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = true;
    }
    m_cv.notify_one();
}

CPlatformEvent::WaitResult CPlatformEvent::Wait(int32_t timeoutMs)
{
    const bool forever = timeoutMs < 0;
    const auto end = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (m_signalled) {
            m_signalled = false;
            return WAIT_SIGNALLED;
        }
        const auto now = Clock::now();
        if (!forever && now >= end)
            return WAIT_TIMEOUT;
        // A platform thread wakes at least every millisecond to see a termination request.
        auto until = forever ? now + SLICE : end;
        if (t_terminate && until > now + SLICE)
            until = now + SLICE;
        if (forever && !t_terminate)
            m_cv.wait(lock);
        else
            m_cv.wait_until(lock, until);
        if (t_terminate && t_terminate->load(std::memory_order_acquire))
            throw CThreadTerminated{};
    }
}

void PlatformFailNextThreadCreation() { s_failNextCreation.store(true); }

CPlatformThread* CPlatformThread::CreateSuspended(PlatformThreadEntry entry, void* param, uint32_t* id)
{
    auto* thread = new (std::nothrow) CPlatformThread();
    if (!thread)
        return nullptr;
    try {
        if (s_failNextCreation.exchange(false))
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        thread->m_thread = std::thread(&CPlatformThread::Main, thread, entry, param);
    } catch (const std::system_error&) {
        // Out of threads or memory: nothing was started.
        delete thread;
        return nullptr;
    }
    if (id)
        *id = s_nextThreadId.fetch_add(1);
    return thread;
}

CPlatformThread::~CPlatformThread()
{
    RequestTermination();
    Join();
}

void CPlatformThread::Main(PlatformThreadEntry entry, void* param)
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_resumed || m_terminate.load(); });
        if (!m_resumed)
            return;
    }
    t_terminate = &m_terminate;
    try {
        entry(param);
    } catch (const CThreadTerminated&) {
        // Forced end: the thread stops where its last wait was.
    }
    t_terminate = nullptr;
}

void CPlatformThread::Resume()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_resumed = true;
    }
    m_cv.notify_one();
}

void CPlatformThread::RequestTermination()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_terminate.store(true, std::memory_order_release);
    }
    m_cv.notify_one();
}

void CPlatformThread::Join()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}
