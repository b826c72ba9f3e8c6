#include "workbench/model/workbench_session.h"

#include "firmware/fw_watch.h"
#include "scenario/language/panel_names.h"
#include "scenario/language/scenario_step.h"

namespace {
bool is_mouse(CRecordedAction::Kind kind) { return kind == CRecordedAction::PRESS || kind == CRecordedAction::RELEASE; }
}  // namespace

CWorkbenchSession::CWorkbenchSession() { Start(); }

CWorkbenchSession::~CWorkbenchSession() = default;

void CWorkbenchSession::Start()
{
    m_machine.reset();  // one simulator at a time
    m_machine = std::make_unique<CMachine>();
    CMachine* machine = m_machine.get();
    machine->sim.m_onMs = [machine] { machine->trace.Sample(machine->sim.Now()); };
    machine->sim.Startup();
    m_record.Start(Now());
    m_resetFrom = -1;
    m_held.clear();
    m_waiting.clear();
    m_pressedAtMs = UINT64_MAX;
    m_releasedAtMs = UINT64_MAX;
    m_inputBlocked = false;
}

void CWorkbenchSession::Restart() { Start(); }

int32_t CWorkbenchSession::StateNumber() const
{
    static const fw_variable* const STATE_NUMBER = fw_variable_find("state_number");
    return fw_variable_read(STATE_NUMBER);
}

// In parts: up to the end of a reset's stop, up to the ms waiting input is
// due, and on to the limit.
bool CWorkbenchSession::RunUntil(uint64_t limitMs, const std::function<bool()>& stop)
{
    for (;;) {
        if (ResettingCpu() || m_waiting.empty() || m_waitUntilMs > limitMs)
            return RunOnePart(limitMs, stop);
        if (Now() < m_waitUntilMs && Sim().RunUntil(m_waitUntilMs, stop))
            return true;
        DrainWaiting();
        if (Now() >= limitMs)
            return false;
    }
}

// To the limit, or through a reset's stop to the ms the firmware runs again.
bool CWorkbenchSession::RunOnePart(uint64_t limitMs, const std::function<bool()>& stop)
{
    CVirtualSimulator& sim = Sim();
    if (!ResettingCpu())
        return sim.RunUntil(limitMs, stop);
    bool stopHeld = false;
    const int from = m_resetFrom;
    sim.RunUntil(limitMs, [&sim, &stop, &stopHeld, from] {
        if (sim.ResetsDone() > from)
            return true;
        stopHeld = stop && stop();
        return stopHeld;
    });
    if (sim.ResetsDone() <= from)
        return stopHeld;
    FinishReset();
    if (stopHeld || (stop && stop()))
        return true;
    return Now() < limitMs ? RunUntil(limitMs, stop) : false;
}

void CWorkbenchSession::FinishReset()
{
    m_resetFrom = -1;
    m_record.ResetDone(Now());
    std::vector<CHeldInput> held;
    held.swap(m_held);
    for (const CHeldInput& input : held)
        Hold(input);
}

// Now, unless a reset is stopping the firmware or mouse input must wait.
void CWorkbenchSession::Hold(const CHeldInput& input)
{
    if (m_inputBlocked)
        return;
    if (ResettingCpu()) {
        m_held.push_back(input);
        return;
    }
    uint64_t until = 0;
    if (is_mouse(input.kind) && (!m_waiting.empty() || MustWait(input, until))) {
        if (m_waiting.empty())
            m_waitUntilMs = until;
        m_waiting.push_back(input);
        return;
    }
    Apply(input);
}

// A release on the ms of its press, or a press on the ms of a release.
bool CWorkbenchSession::MustWait(const CHeldInput& input, uint64_t& untilMs) const
{
    if (input.kind == CRecordedAction::RELEASE && m_pressedAtMs == Now() && m_machine->sim.View().m_captured) {
        untilMs = Now() + CScenarioStep::DEFAULT_HOLD_MS;
        return true;
    }
    if (input.kind == CRecordedAction::PRESS && m_releasedAtMs == Now()) {
        untilMs = Now() + CScenarioStep::RELEASE_GAP_MS;
        return true;
    }
    return false;
}

// What has come due, in order, until an input must wait again.
void CWorkbenchSession::DrainWaiting()
{
    while (!m_waiting.empty() && Now() >= m_waitUntilMs) {
        const CHeldInput input = m_waiting.front();
        uint64_t until = 0;
        if (MustWait(input, until)) {
            m_waitUntilMs = until;
            return;
        }
        m_waiting.pop_front();
        Apply(input);
    }
}

void CWorkbenchSession::Apply(const CHeldInput& input)
{
    switch (input.kind) {
    case CRecordedAction::PRESS:
        DoPress(input.point);
        break;
    case CRecordedAction::RELEASE:
        DoRelease();
        break;
    default:
        DoFault(input);
        break;
    }
}

void CWorkbenchSession::BeforeInput()
{
    if (m_beforeInput && !m_inputBlocked)
        m_beforeInput();
}

void CWorkbenchSession::Press(CPoint point)
{
    BeforeInput();
    Hold(CHeldInput{CRecordedAction::PRESS, point, {}, false});
}

void CWorkbenchSession::Release()
{
    BeforeInput();
    Hold(CHeldInput{CRecordedAction::RELEASE, {0, 0}, {}, false});
}

void CWorkbenchSession::SetFault(const CPlantFault& fault)
{
    BeforeInput();
    Hold(CHeldInput{CRecordedAction::FAULT_SET, {0, 0}, fault, false});
}

void CWorkbenchSession::ClearFault(const CPlantFault& fault)
{
    BeforeInput();
    Hold(CHeldInput{CRecordedAction::FAULT_CLEAR, {0, 0}, fault, false});
}

void CWorkbenchSession::ClearAllFaults()
{
    BeforeInput();
    Hold(CHeldInput{CRecordedAction::FAULT_CLEAR, {0, 0}, {}, true});
}

void CWorkbenchSession::DoFault(const CHeldInput& input)
{
    CPlantFaults& faults = Sim().Faults();
    CRecordedAction action;
    action.kind = input.kind;
    action.timeMs = Now();
    if (input.kind == CRecordedAction::FAULT_SET) {
        faults.Set(input.fault);
        action.fault = input.fault.Describe();
    } else if (input.all) {
        faults.ClearAll();
        action.fault = "all";
    } else {
        faults.Clear(input.fault);
        action.fault = input.fault.Part();
    }
    m_record.Add(action);
}

// Only what reaches a widget is recorded: a press that captured one, and its release.
void CWorkbenchSession::DoPress(CPoint point)
{
    const int input = InputAt(point);
    Sim().Press(point);
    if (!View().m_captured)
        return;
    m_pressedAtMs = Now();
    CRecordedAction action;
    action.kind = CRecordedAction::PRESS;
    action.timeMs = Now();
    action.point = point;
    action.input = input;
    m_record.Add(action);
}

void CWorkbenchSession::DoRelease()
{
    if (!View().m_captured)
        return;
    Sim().Release();
    m_releasedAtMs = Now();
    CRecordedAction action;
    action.kind = CRecordedAction::RELEASE;
    action.timeMs = Now();
    m_record.Add(action);
}

void CWorkbenchSession::ResetCpu()
{
    BeforeInput();
    if (ResettingCpu() || m_inputBlocked)
        return;
    m_resetFrom = Sim().ResetsDone();
    Sim().ResetCpuAt(Now());
    CRecordedAction action;
    action.kind = CRecordedAction::RESET_CPU;
    action.timeMs = Now();
    m_record.Add(action);
}

// The named input whose widget the point reaches, so the scenario reads
// "press 커버"; -1 when the point reaches another widget than any input's.
int CWorkbenchSession::InputAt(CPoint point)
{
    const auto widget_at = [this](CPoint p) -> CPanelWidget* {
        for (CPanelWidget* widget : View().m_widgets)
            if (widget->HitTest(p))
                return widget;
        return nullptr;
    };
    CPanelWidget* hit = widget_at(point);
    for (int i = 0; hit && i < SCENARIO_INPUT_COUNT; ++i)
        if (widget_at(SCENARIO_INPUTS[i].point) == hit)
            return i;
    return -1;
}
