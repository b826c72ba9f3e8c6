#include "sim/virtual_time.h"

#include <algorithm>
#include <cassert>

#include "board/board_link.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"

namespace {

CVirtualTime* s_active = nullptr;

// Names of the 48 port bits: the signal names where wired.
const char* const BIT_NAMES[6][8] = {
    {"port0.bit0", "port0.bit1", "HEATER_FAN", "TEMP_HEATER", "POWER_ON_OFF", "COOLING_FAN", "port0.bit6",
     "port0.bit7"},
    {"port1.bit0", "port1.bit1", "port1.bit2", "port1.bit3", "port1.bit4", "port1.bit5", "GREEN_LED",
     "BLUE_LED"},
    {"SOL_VALVE", "DRAWER", "FAN_ENCODER", "port2.bit3", "SDA", "SCL", "MAIN_FAN", "port2.bit7"},
    {"port3.bit0", "port3.bit1", "MAIN_MOTOR", "BUZZER", "RELAY", "OVER_SENSOR_CCW", "OVER_SENSOR_CW",
     "port3.bit7"},
    {"DISK_MOT_A", "port4.bit1", "DISK_MOT_B", "EXIT_MOT_A", "EXIT_MOT_B", "RUN_KEY", "port4.bit6",
     "port4.bit7"},
    {"RED_LED", "port5.bit1", "port5.bit2", "port5.bit3", "DISK_MOT_RS", "DISK_MOT_LS", "WATER_SOL", "HEATER"},
};

bool find_bit(const std::string& name, int& port, int& bit)
{
    for (port = 0; port < 6; ++port)
        for (bit = 0; bit < 8; ++bit)
            if (name == BIT_NAMES[port][bit])
                return true;
    return false;
}

}  // namespace

CVirtualTime::CVirtualTime()
{
    assert(s_active == nullptr && "only one virtual harness at a time");
    s_active = this;
    m_seam = time_seam{&CVirtualTime::SeamNow, &CVirtualTime::SeamSleep};
    time_seam_install(&m_seam);
    ClearTrace();
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

void CVirtualTime::Sample()
{
    if (!m_tracing)
        return;
    for (int p = 0; p < 6; ++p) {
        const uint8_t value = port_bytes[p]->load(std::memory_order_relaxed);
        const uint8_t changed = value ^ m_lastPorts[p];
        if (changed == 0)
            continue;
        for (int b = 0; b < 8; ++b)
            if (changed & (1u << b))
                m_trace.push_back(CTraceEntry{m_now, BIT_NAMES[p][b], (value >> b) & 1});
        m_lastPorts[p] = value;
    }
    if (state_number != m_lastStateNumber) {
        m_lastStateNumber = state_number;
        m_trace.push_back(CTraceEntry{m_now, "state_number", state_number});
    }
    if (buzzer_request != m_lastBuzzer) {
        m_lastBuzzer = buzzer_request;
        m_trace.push_back(CTraceEntry{m_now, "buzzer_request", buzzer_request});
    }
    if (run_sec != m_lastRunSec) {
        m_lastRunSec = run_sec;
        m_trace.push_back(CTraceEntry{m_now, "run_sec", run_sec});
    }
}

void CVirtualTime::ClearTrace()
{
    m_trace.clear();
    for (int p = 0; p < 6; ++p)
        m_basePorts[p] = m_lastPorts[p] = port_bytes[p]->load(std::memory_order_relaxed);
    m_baseStateNumber = m_lastStateNumber = state_number;
    m_baseBuzzer = m_lastBuzzer = buzzer_request;
    m_baseRunSec = m_lastRunSec = run_sec;
}

std::vector<CVirtualTime::CTraceEntry> CVirtualTime::Changes(const std::string& name, uint64_t fromMs,
                                                                   uint64_t toMs) const
{
    std::vector<CTraceEntry> found;
    for (const CTraceEntry& entry : m_trace)
        if (entry.name == name && entry.timeMs >= fromMs && entry.timeMs <= toMs)
            found.push_back(entry);
    return found;
}

std::vector<uint64_t> CVirtualTime::TimesOf(const std::string& name, int32_t value, uint64_t fromMs,
                                               uint64_t toMs) const
{
    std::vector<uint64_t> times;
    for (const CTraceEntry& entry : Changes(name, fromMs, toMs))
        if (entry.value == value)
            times.push_back(entry.timeMs);
    return times;
}

uint64_t CVirtualTime::FirstTime(const std::string& name, int32_t value, uint64_t fromMs) const
{
    const std::vector<uint64_t> times = TimesOf(name, value, fromMs);
    return times.empty() ? UINT64_MAX : times.front();
}

int32_t CVirtualTime::ValueAt(const std::string& name, uint64_t timeMs) const
{
    int32_t value = 0;
    int port = 0;
    int bit = 0;
    if (name == "state_number")
        value = m_baseStateNumber;
    else if (name == "buzzer_request")
        value = m_baseBuzzer;
    else if (name == "run_sec")
        value = m_baseRunSec;
    else if (find_bit(name, port, bit))
        value = (m_basePorts[port] >> bit) & 1;
    for (const CTraceEntry& entry : m_trace) {
        if (entry.timeMs > timeMs)
            break;
        if (entry.name == name)
            value = entry.value;
    }
    return value;
}

size_t CVirtualTime::CountNonZero(const std::string& name, uint64_t fromMs, uint64_t toMs) const
{
    size_t count = 0;
    for (const CTraceEntry& entry : Changes(name, fromMs, toMs))
        if (entry.value != 0)
            ++count;
    return count;
}

std::string CVirtualTime::NameOf(port_signal signal) { return BIT_NAMES[signal.port][signal.bit]; }
