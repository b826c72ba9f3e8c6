#include "scenario/reports/scenario_coverage.h"

#include "firmware/fw_main.h"
#include "panel/state_names.h"

namespace {

bool in_cycle(int32_t state) { return state >= ST_WASHING && state <= ST_DISCHARGE; }

const fw_variable* variable(const char* name) { return fw_variable_find(name); }

int32_t read(const fw_variable* v) { return v ? fw_variable_read(v) : 0; }

void line(std::ostream& out, uint32_t reached, const std::string& what)
{
    out << "  " << (reached > 0 ? '+' : '-') << " " << what << "\n";
}

std::string state_text(int32_t index) { return CScenarioCoverage::StateText(index); }

}  // namespace

std::string CScenarioCoverage::StateText(int32_t index)
{
    return std::to_string(index + 1) + " " + state_name(index + 1);
}

const CScenarioCoverage::CTransition CScenarioCoverage::TRANSITIONS[TRANSITION_COUNT] = {
    // the idle states
    {ST_STARTUP, ST_POWER_OFF, "start-up done"},
    {ST_POWER_OFF, ST_STANDBY, "power key"},
    {ST_STANDBY, ST_POWER_OFF, "power key"},
    {ST_STANDBY, ST_COVER_OPEN, "cover opened"},
    {ST_STANDBY, ST_DRAWER_OPEN, "drawer opened"},
    {ST_STANDBY, ST_MANUAL_WASH, "manual-wash key"},
    {ST_COVER_OPEN, ST_WASHING, "cover closed, the cycle begins"},
    {ST_COVER_OPEN, ST_DRAWER_OPEN, "drawer opened under the open cover"},
    {ST_DRAWER_OPEN, ST_COVER_OPEN, "drawer closed, the cover still open"},
    {ST_DRAWER_OPEN, ST_STANDBY, "drawer closed"},
    {ST_MANUAL_WASH, ST_STANDBY, "wash programme ended or manual-wash key"},
    // the cycle
    {ST_WASHING, ST_CUTTING, "30 s of washing"},
    {ST_CUTTING, ST_DRYING, "30 s of cutting"},
    {ST_DRYING, ST_DISCHARGE, "dry: heater_reading above 516"},
    {ST_DISCHARGE, ST_STANDBY, "30 s of discharge"},
    // the power key in each cycle state
    {ST_WASHING, ST_POWER_OFF, "power key"},
    {ST_CUTTING, ST_POWER_OFF, "power key"},
    {ST_DRYING, ST_POWER_OFF, "power key"},
    {ST_DISCHARGE, ST_POWER_OFF, "power key"},
    // each interruption, resumed when closed
    {ST_WASHING, ST_COVER_OPEN, "interrupted by the cover"},
    {ST_WASHING, ST_DRAWER_OPEN, "interrupted by the drawer"},
    {ST_CUTTING, ST_COVER_OPEN, "interrupted by the cover"},
    {ST_CUTTING, ST_DRAWER_OPEN, "interrupted by the drawer"},
    {ST_DRYING, ST_COVER_OPEN, "interrupted by the cover"},
    {ST_DRYING, ST_DRAWER_OPEN, "interrupted by the drawer"},
    {ST_DISCHARGE, ST_COVER_OPEN, "interrupted by the cover"},
    {ST_DISCHARGE, ST_DRAWER_OPEN, "interrupted by the drawer"},
};

const char* const CScenarioCoverage::OUTCOMES[OUTCOME_COUNT] = {"arrived", "retried", "given up"};

CScenarioCoverage::CScenarioCoverage() : m_stateIndex(variable("state_index"))
{
    m_travels[0] = CTravel{fw_timer_find("disk_timer"),
                           {variable("disk_retry_rs"), variable("disk_retry_ls")},
                           {DISK_MOT_RS, DISK_MOT_LS},
                           {DISK_MOT_A, DISK_MOT_B},
                           false,
                           -1,
                           {0, 0}};
    m_travels[1] = CTravel{fw_timer_find("exit_timer"),
                           {variable("exit_retry_ccw"), variable("exit_retry_cw")},
                           {OVER_SENSOR_CCW, OVER_SENSOR_CW},
                           {EXIT_MOT_A, EXIT_MOT_B},
                           false,
                           -1,
                           {0, 0}};
}

void CScenarioCoverage::Start()
{
    m_state = ST_STARTUP;
    m_interrupted = -1;
    ++m_entered[ST_STARTUP];
    ++m_events;
    for (bool& running : m_running)
        running = false;
    for (CTravel& travel : m_travels) {
        travel.running = false;
        travel.direction = -1;
        travel.retries[0] = travel.retries[1] = 0;
    }
}

void CScenarioCoverage::Enter(int32_t state)
{
    const int32_t from = m_state;
    m_state = state;
    if (state < 0 || state >= STATE_COUNT)
        return;
    ++m_entered[state];
    ++m_events;
    // Closing the cover or drawer over a suspended cycle state resumes it.
    const bool resumes = (from == ST_COVER_OPEN || from == ST_DRAWER_OPEN) && state == m_interrupted;
    if (in_cycle(from) && (state == ST_COVER_OPEN || state == ST_DRAWER_OPEN))
        m_interrupted = from;
    else if (state != ST_COVER_OPEN && state != ST_DRAWER_OPEN)
        m_interrupted = -1;
    if (resumes)
        return;
    for (int i = 0; i < TRANSITION_COUNT; ++i)
        if (TRANSITIONS[i].from == from && TRANSITIONS[i].to == state)
            ++m_taken[i], ++m_events;
}

void CScenarioCoverage::WatchTravel(CTravel& travel)
{
    for (int end = 0; end < 2; ++end)
        if (sig_read(travel.drive[end]))
            travel.direction = end;
    const bool running = travel.timer && travel.timer->timer->status == TIMER_RUNNING;
    if (travel.running && !running && travel.direction >= 0 && sig_read(travel.end[travel.direction]) == 0)
        ++m_seen[ARRIVED], ++m_events;
    travel.running = running;
    for (int end = 0; end < 2; ++end) {
        const int32_t retries = read(travel.retry[end]);
        if (retries > travel.retries[end]) {
            m_seen[RETRIED] += static_cast<uint32_t>(retries - travel.retries[end]);
            ++m_events;
        }
        // The fourth failure clears the counter with the mechanism still away from that end.
        if (travel.retries[end] == 3 && retries == 0 && sig_read(travel.end[end]) != 0)
            ++m_seen[GIVEN_UP], ++m_events;
        travel.retries[end] = retries;
    }
}

void CScenarioCoverage::AfterMs()
{
    const int32_t state = read(m_stateIndex);
    if (state != m_state)
        Enter(state);
    for (int i = 0; i < TIMER_COUNT && i < FW_TIMER_COUNT; ++i) {
        const bool running = fw_timers[i].timer->status == TIMER_RUNNING;
        if (running && !m_running[i])
            ++m_started[i], ++m_events;
        m_running[i] = running;
    }
    for (CTravel& travel : m_travels)
        WatchTravel(travel);
}

uint32_t CScenarioCoverage::Count(int item) const
{
    if (item < STATE_COUNT)
        return m_entered[item];
    if ((item -= STATE_COUNT) < TRANSITION_COUNT)
        return m_taken[item];
    if ((item -= TRANSITION_COUNT) < TIMER_COUNT)
        return m_started[item];
    return m_seen[item - TIMER_COUNT];
}

void CScenarioCoverage::SetCount(int item, uint32_t count)
{
    if (item < STATE_COUNT)
        m_entered[item] = count;
    else if ((item -= STATE_COUNT) < TRANSITION_COUNT)
        m_taken[item] = count;
    else if ((item -= TRANSITION_COUNT) < TIMER_COUNT)
        m_started[item] = count;
    else if (item - TIMER_COUNT < OUTCOME_COUNT)
        m_seen[item - TIMER_COUNT] = count;
}

std::string CScenarioCoverage::ItemText(int item)
{
    if (item < STATE_COUNT)
        return "state " + state_text(item);
    if ((item -= STATE_COUNT) < TRANSITION_COUNT) {
        const CTransition& t = TRANSITIONS[item];
        return "transition " + state_text(t.from) + " -> " + state_text(t.to) + " (" + t.what + ")";
    }
    if ((item -= TRANSITION_COUNT) < TIMER_COUNT)
        return std::string("timer ") + (item < FW_TIMER_COUNT ? fw_timers[item].name : "?");
    return std::string("travel outcome ") + OUTCOMES[item - TIMER_COUNT];
}

void CScenarioCoverage::Merge(const CScenarioCoverage& other)
{
    for (int item = 0; item < ITEM_COUNT; ++item)
        SetCount(item, Count(item) + other.Count(item));
}

namespace {
// The items reached at least once.
template <size_t N>
int count(const uint32_t (&counts)[N])
{
    int n = 0;
    for (uint32_t times : counts)
        n += times > 0;
    return n;
}
}  // namespace

int CScenarioCoverage::States() const { return count(m_entered); }
int CScenarioCoverage::Transitions() const { return count(m_taken); }
int CScenarioCoverage::Timers() const { return count(m_started); }
int CScenarioCoverage::Outcomes() const { return count(m_seen); }

void CScenarioCoverage::Report(std::ostream& out) const
{
    out << "states entered: " << States() << "/" << STATE_COUNT << "\n";
    for (int32_t s = 0; s < STATE_COUNT; ++s)
        line(out, m_entered[s], state_text(s));
    out << "transitions taken: " << Transitions() << "/" << TRANSITION_COUNT << "\n";
    for (int i = 0; i < TRANSITION_COUNT; ++i) {
        const CTransition& t = TRANSITIONS[i];
        line(out, m_taken[i], state_text(t.from) + " -> " + state_text(t.to) + " (" + t.what + ")");
    }
    out << "timers started: " << Timers() << "/" << TIMER_COUNT << "\n";
    for (int i = 0; i < TIMER_COUNT && i < FW_TIMER_COUNT; ++i)
        line(out, m_started[i], fw_timers[i].name);
    out << "travel outcomes seen: " << Outcomes() << "/" << OUTCOME_COUNT << "\n";
    for (int i = 0; i < OUTCOME_COUNT; ++i)
        line(out, m_seen[i], OUTCOMES[i]);
    out << "coverage: states " << States() << "/" << STATE_COUNT << ", transitions " << Transitions() << "/"
        << TRANSITION_COUNT << ", timers " << Timers() << "/" << TIMER_COUNT << ", travel outcomes " << Outcomes()
        << "/" << OUTCOME_COUNT << "\n";
}
