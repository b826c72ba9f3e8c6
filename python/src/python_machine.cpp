#include "python/src/python_machine.h"

#include <stdexcept>

#include "board/wired_signals.h"
#include "firmware/fw_main.h"
#include "firmware/fw_watch.h"
#include "panel/state_names.h"
#include "python/src/python_errors.h"
#include "python/src/step_text.h"
#include "scenario/language/line_words.h"
#include "scenario/run/png_snapshot.h"
#include "sim/panel_parts.h"
#include "sim/plant_faults.h"

namespace py = pybind11;

namespace {

CPythonMachine* s_open = nullptr;  // the one machine of this process

// A time in ms as the language bounds it; otherwise the parser's reason.
uint64_t checked_ms(int64_t ms, const char* step)
{
    if (ms < 0 || ms > CLineWords::MAX_MS)
        parse_step_line(std::string(step) + " " + std::to_string(ms));
    return static_cast<uint64_t>(ms);
}

}  // namespace

CPythonMachine::CPythonMachine(std::vector<std::string> vcdVariables) : m_vcdVariables(std::move(vcdVariables))
{
    if (s_open)
        throw std::runtime_error(
            "a trelvik.Machine is open already: the firmware is one per process; reset() or close() that one");
    m_session = std::make_unique<CMachineSession>(m_vcdVariables);
    s_open = this;
}

CPythonMachine::~CPythonMachine() { Close(); }

bool CPythonMachine::AnyOpen() { return s_open != nullptr; }

void CPythonMachine::CloseOpen()
{
    if (s_open)
        s_open->Close();
}

// A closed machine comes back too, while no other is open.
void CPythonMachine::Reset()
{
    if (s_open && s_open != this)
        throw std::runtime_error("another trelvik.Machine is open: the firmware is one per process");
    m_session.reset();
    m_session = std::make_unique<CMachineSession>(m_vcdVariables);
    s_open = this;
}

void CPythonMachine::Close()
{
    m_session.reset();
    if (s_open == this)
        s_open = nullptr;
}

CMachineSession& CPythonMachine::Session()
{
    if (Closed())
        throw std::runtime_error("the machine is closed");
    return *m_session;
}

// Plays one line; a pending signal (Ctrl-C) stops the time between two slices.
CStepVerdict CPythonMachine::Play(const std::string& line)
{
    const CScenarioStep step = parse_step_line(line);
    CMachineSession& session = Session();
    session.m_interrupted = [] { return PyErr_CheckSignals() != 0; };
    try {
        return session.Play(step);
    } catch (const CSessionInterrupted&) {
        raise_pending();
    }
}

void CPythonMachine::PlayLine(const std::string& line)
{
    const CScenarioStep step = parse_step_line(line);
    if (step.kind == CScenarioStep::SNAPSHOT)
        return Snapshot(step.path);
    const CStepVerdict verdict = Play(line);
    if (verdict.held)
        return;
    if (step.kind == CScenarioStep::RUN_UNTIL && verdict.seen.find("the limit passed") != std::string::npos)
        raise_timeout(verdict.what + "; seen " + verdict.seen);
    raise_assertion(verdict.what + "; seen " + verdict.seen);
}

void CPythonMachine::Click(const std::string& input, uint64_t holdMs)
{
    Play("click " + step_word(input) + " hold " + std::to_string(holdMs));
}

void CPythonMachine::Press(const std::string& input) { Play("press " + step_word(input)); }

void CPythonMachine::Release() { Play("release"); }

void CPythonMachine::ResetCpu()
{
    const CStepVerdict verdict = Play("reset-cpu");
    if (!verdict.held)
        raise_assertion(verdict.what + "; " + verdict.seen);
}

void CPythonMachine::Wait(int64_t ms)
{
    const uint64_t duration = checked_ms(ms, "wait");
    CMachineSession& session = Session();
    session.m_interrupted = [] { return PyErr_CheckSignals() != 0; };
    try {
        session.Wait(duration);
    } catch (const CSessionInterrupted&) {
        raise_pending();
    }
}

uint64_t CPythonMachine::RunUntil(const std::string& condition, int64_t withinMs, int64_t afterMs)
{
    const std::string line = "run-until " + condition + " within " + std::to_string(checked_ms(withinMs, "wait")) +
                             " after " + std::to_string(checked_ms(afterMs, "wait"));
    const CStepVerdict verdict = Play(line);
    if (verdict.held)
        return verdict.elapsedMs;
    if (verdict.seen.find("the limit passed") != std::string::npos)
        raise_timeout(verdict.what + "; seen " + verdict.seen);
    raise_assertion(verdict.what + "; seen " + verdict.seen);
}

void CPythonMachine::Expect(const std::string& condition)
{
    const CStepVerdict verdict = Play("expect " + condition);
    if (!verdict.held)
        raise_assertion(verdict.what + "; seen " + verdict.seen);
}

void CPythonMachine::ExpectFor(int64_t ms, const std::string& condition)
{
    const CStepVerdict verdict = Play("expect-for " + std::to_string(ms) + " " + condition);
    if (!verdict.held)
        raise_assertion(verdict.what + "; seen " + verdict.seen);
}

bool CPythonMachine::Holds(const std::string& condition)
{
    const CScenarioStep step = parse_step_line("expect " + condition);
    return Session().Holds(step.condition);
}

void CPythonMachine::Fault(const std::string& fault) { Play("fault " + fault); }

void CPythonMachine::Clear(const std::string& part) { Play("clear " + part); }

int CPythonMachine::State()
{
    Session();
    return state_number;
}

std::string CPythonMachine::StateName() { return state_name(State()); }

uint64_t CPythonMachine::NowMs() { return Session().Sim().Now(); }

int CPythonMachine::Beeps() { return Session().Beeps(); }

// The condition "KIND NAME VALUE" as the language reads it: its row, or the parser's reason.
const CScenarioCondition& CPythonMachine::Condition(const std::string& kind, const std::string& name, const char* value)
{
    Session();
    m_lookup = parse_step_line("expect " + kind + " " + step_word(name) + " " + value);
    return m_lookup.condition;
}

int64_t CPythonMachine::Var(const std::string& name)
{
    return fw_variable_value(&fw_variables[Condition("var", name, "0").index]);
}

int CPythonMachine::Signal(const std::string& name)
{
    return sig_read(WIRED_SIGNALS[Condition("signal", name, "0").index].signal);
}

bool CPythonMachine::Lamp(const std::string& name)
{
    return panel_lamp(Session().Sim().View(), Condition("lamp", name, "on").index).m_on.load();
}

int CPythonMachine::Motor(const std::string& name)
{
    return panel_motor(Session().Sim().View(), Condition("motor", name, "0").index).m_position.load();
}

std::string CPythonMachine::Faults() { return Session().Sim().Faults().Describe(); }

py::object CPythonMachine::Broken()
{
    const CMachineSession& session = Session();
    if (session.Broken().empty())
        return py::none();
    return py::str(session.Broken() + " (at " + std::to_string(session.BrokenAt()) + " ms)");
}

// Every item with how often it was reached, and the four totals.
py::dict CPythonMachine::Coverage()
{
    const CScenarioCoverage& coverage = Session().Coverage();
    py::dict items;
    for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
        items[py::str(CScenarioCoverage::ItemText(item))] = coverage.Count(item);
    py::dict result;
    result["states"] = py::make_tuple(coverage.States(), STATE_COUNT);
    result["transitions"] = py::make_tuple(coverage.Transitions(), CScenarioCoverage::TRANSITION_COUNT);
    result["timers"] = py::make_tuple(coverage.Timers(), CScenarioCoverage::TIMER_COUNT);
    result["travel_outcomes"] = py::make_tuple(coverage.Outcomes(), static_cast<int>(CScenarioCoverage::OUTCOME_COUNT));
    result["items"] = items;
    return result;
}

void CPythonMachine::BeginTrace(const std::string& path)
{
    std::string error;
    if (!Session().BeginTrace(path, error))
        raise_os_error(error);
}

void CPythonMachine::EndTrace()
{
    std::string error;
    if (!Closed() && !Session().EndTrace(error))
        raise_os_error(error);
}

void CPythonMachine::Snapshot(const std::string& path)
{
    std::string error;
    if (!CPngSnapshot::Save(Session().Sim(), path, error))
        raise_os_error(error);
}
