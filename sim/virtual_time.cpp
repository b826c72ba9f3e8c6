#include "sim/virtual_time.h"

#include <algorithm>
#include <cassert>

#include "board/board_link.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"

namespace {

CVirtualTime* s_active = nullptr;

}  // namespace

CVirtualTime::CVirtualTime()
{
    assert(s_active == nullptr && "only one virtual harness at a time");
    s_active = this;
    m_seam = time_seam{&CVirtualTime::SeamNow, &CVirtualTime::SeamSleep};
    time_seam_install(&m_seam);
}

CVirtualTime::~CVirtualTime()
{
    time_seam_install(nullptr);
    s_active = nullptr;
}

cal_time CVirtualTime::SeamNow()
{
    const uint64_t now = s_active->m_now;
    return cal_time{static_cast<uint32_t>(START_SECOND + now / 1000), static_cast<uint16_t>(now % 1000)};
}

void CVirtualTime::SeamSleep(uint32_t ms) { s_active->Sleep(ms); }

void CVirtualTime::At(uint64_t timeMs, std::function<void()> action)
{
    m_actions.push_back(CTimedAction{timeMs, std::move(action)});
}

void CVirtualTime::When(std::function<bool()> condition, std::function<void()> action)
{
    m_conditions.push_back(CCondAction{std::move(condition), std::move(action)});
}

void CVirtualTime::Startup()
{
    fw_startup();
    board_start_exchange();
}

void CVirtualTime::Sleep(uint32_t ms)
{
    for (uint32_t i = 0; i < ms; ++i)
        Tick();
}

// One virtual millisecond.
void CVirtualTime::Tick()
{
    Sample();  // what the firmware changed since the last ms
    ++m_now;
    RunDueActions();
    if (m_onMs)
        m_onMs();
    if (m_onRefresh && m_now % REFRESH_MS == 0)
        m_onRefresh();
    Sample();
    if (!m_running)
        return;
    if (m_done && m_done()) {
        m_doneHeld = true;
        throw CRunEnd{};
    }
    if (m_now >= m_limitMs)
        throw CRunEnd{};
}

void CVirtualTime::RunDueActions()
{
    // Actions may schedule others; each due one runs once, earliest first.
    for (;;) {
        auto due = m_actions.end();
        for (auto it = m_actions.begin(); it != m_actions.end(); ++it)
            if (it->timeMs <= m_now && (due == m_actions.end() || it->timeMs < due->timeMs))
                due = it;
        if (due == m_actions.end())
            break;
        std::function<void()> action = std::move(due->action);
        m_actions.erase(due);
        action();
    }
    for (size_t i = 0; i < m_conditions.size();) {
        if (m_conditions[i].condition()) {
            std::function<void()> action = std::move(m_conditions[i].action);
            m_conditions.erase(m_conditions.begin() + static_cast<std::ptrdiff_t>(i));
            action();
        } else {
            ++i;
        }
    }
}

template <typename Body>
bool CVirtualTime::Run(uint64_t limitMs, std::function<bool()> done, Body body)
{
    if (done && done())
        return true;
    if (m_now >= limitMs)
        return false;
    m_running = true;
    m_limitMs = limitMs;
    m_done = std::move(done);
    m_doneHeld = false;
    try {
        for (;;)
            body();
    } catch (const CRunEnd&) {
    } catch (...) {
        m_running = false;
        m_done = {};
        throw;
    }
    m_running = false;
    m_done = {};
    return m_doneHeld;
}

bool CVirtualTime::RunUntil(uint64_t limitMs, std::function<bool()> done)
{
    return Run(limitMs, std::move(done), [this] {
        time_sleep_ms(1);
        clock_update();
        fw_dispatch();
        Sample();  // before the board consumes a last beep request
        board_periodic_exchange();
        if (m_onPeriodEnd)
            m_onPeriodEnd();
    });
}

bool CVirtualTime::RunLoop(uint64_t limitMs, std::function<void()> pass, std::function<bool()> done)
{
    return Run(limitMs, std::move(done), [this, &pass] {
        const uint64_t before = m_now;
        pass();
        if (m_now == before)
            time_sleep_ms(1);
    });
}
