#include "workbench/workbench_session.h"

#include "firmware/fw_watch.h"
#include "scenario/scenario_signals.h"

namespace {
// The firmware's own trace grows with every change; the workbench keeps its
// own ring, so the simulator's is cut back now and then.
constexpr size_t SIM_TRACE_LIMIT = 65536;
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
}

void CWorkbenchSession::Restart() { Start(); }

int32_t CWorkbenchSession::StateNumber() const
{
    static const fw_variable* const STATE_NUMBER = fw_variable_find("state_number");
    return fw_variable_read(STATE_NUMBER);
}

bool CWorkbenchSession::RunUntil(uint64_t limitMs, const std::function<bool()>& stop)
{
    CVirtualSimulator& sim = Sim();
    if (sim.Time().Trace().size() > SIM_TRACE_LIMIT)
        sim.Time().ClearTrace();
    while (ResettingCpu()) {
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
    }
    return sim.RunUntil(limitMs, stop);
}

void CWorkbenchSession::FinishReset()
{
    m_resetFrom = -1;
    m_record.ResetDone(Now());
    std::vector<CHeldInput> held;
    held.swap(m_held);
    for (const CHeldInput& input : held)
        input.press ? DoPress(input.point) : DoRelease();
}

void CWorkbenchSession::Press(CPoint point)
{
    if (ResettingCpu())
        m_held.push_back(CHeldInput{true, point});
    else
        DoPress(point);
}

void CWorkbenchSession::Release()
{
    if (ResettingCpu())
        m_held.push_back(CHeldInput{false, {0, 0}});
    else
        DoRelease();
}

// Only what reaches a widget is recorded: a press that captured one, and its release.
void CWorkbenchSession::DoPress(CPoint point)
{
    const int input = InputAt(point);
    Sim().Press(point);
    if (!View().m_captured)
        return;
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
    CRecordedAction action;
    action.kind = CRecordedAction::RELEASE;
    action.timeMs = Now();
    m_record.Add(action);
}

void CWorkbenchSession::ResetCpu()
{
    if (ResettingCpu())
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
