#include "scenario/scenario_runner.h"

#include "scenario/png_snapshot.h"
#include "scenario/scenario_probe.h"
#include "scenario/vcd_recorder.h"
#include "sim/counting_beep.h"
#include "sim/virtual_simulator.h"

struct CScenarioRunner::CMachine {
    CCountingBeep beep;  // installed before the simulator starts, removed after it is gone
    CVirtualSimulator sim;
    CScenarioProbe probe{sim};
    std::unique_ptr<CVcdRecorder> trace;
};

CScenarioRunner::CScenarioRunner(std::ostream& out, std::ostream& err, CScenarioOptions options)
    : m_out(out), m_err(err), m_options(std::move(options))
{
}

CScenarioRunner::~CScenarioRunner() = default;

std::string CScenarioRunner::TraceTempPath() const
{
    return m_machine && m_machine->trace ? m_machine->trace->TempPath() : std::string();
}

int CScenarioRunner::Run(const std::vector<CScenarioStep>& steps)
{
    m_passed = m_failed = 0;
    m_machine = std::make_unique<CMachine>();
    CVirtualSimulator& sim = m_machine->sim;
    if (!m_options.vcdPath.empty()) {
        m_machine->trace = std::make_unique<CVcdRecorder>(sim);
        std::string error;
        if (!m_machine->trace->Open(m_options.vcdPath, error)) {
            m_err << m_options.fileName << ": " << error << "\n";
            m_machine.reset();
            return NOT_RUN;
        }
        // Whatever was seen in the ms before this one.
        CVcdRecorder* trace = m_machine->trace.get();
        sim.m_onMs = [trace, &sim] { trace->Sample(sim.Now() - 1); };
    }
    sim.Startup();
    for (const CScenarioStep& step : steps)
        Execute(step);

    int code = m_failed ? SOME_FAILED : ALL_HELD;
    sim.m_onMs = nullptr;
    if (m_machine->trace) {
        std::string error;
        if (!m_machine->trace->Finish(error)) {
            m_err << m_options.fileName << ": " << error << "\n";
            code = NOT_RUN;
        }
    }
    m_machine.reset();  // the firmware stops before the summary is printed
    m_out << m_passed << " passed, " << m_failed << " failed" << std::endl;
    return code;
}

void CScenarioRunner::Execute(const CScenarioStep& step)
{
    CVirtualSimulator& sim = m_machine->sim;
    switch (step.kind) {
    case CScenarioStep::WAIT:
        sim.RunFor(step.ms);
        break;
    case CScenarioStep::PRESS:
        sim.Press(step.point);
        break;
    case CScenarioStep::RELEASE:
        sim.Release();
        break;
    case CScenarioStep::CLICK:
        sim.Press(step.point);
        sim.RunFor(step.ms);
        sim.Release();
        break;
    case CScenarioStep::RUN_UNTIL:
        RunUntil(step);
        break;
    case CScenarioStep::EXPECT: {
        CScenarioProbe& probe = m_machine->probe;
        const bool held = probe.Holds(step.condition);
        Report(step, held, step.Describe(), probe.Seen(step.condition));
        if (step.condition.kind == CScenarioCondition::BEEPS)
            probe.RestartBeepCount();
        break;
    }
    case CScenarioStep::RESET_CPU:
        ResetCpu(step);
        break;
    case CScenarioStep::SNAPSHOT: {
        std::string error;
        if (!CPngSnapshot::Save(sim, step.path, error))
            Report(step, false, step.Describe(), error);
        break;
    }
    }
}

void CScenarioRunner::RunUntil(const CScenarioStep& step)
{
    CVirtualSimulator& sim = m_machine->sim;
    CScenarioProbe& probe = m_machine->probe;
    const uint64_t start = sim.Now();
    const CScenarioCondition& condition = step.condition;
    const bool held = sim.RunUntil(start + step.ms, [&probe, &condition] { return probe.Holds(condition); });
    const std::string after = held ? " after " + std::to_string(sim.Now() - start) + " ms"
                                   : ", the limit passed";
    Report(step, held, step.Describe(), probe.Seen(condition) + after);
}

// As the window's "Reset CPU": nothing else happens until the restarted
// firmware runs, so the next step comes after the stop.
void CScenarioRunner::ResetCpu(const CScenarioStep& step)
{
    CVirtualSimulator& sim = m_machine->sim;
    const int before = sim.ResetsDone();
    sim.ResetCpuAt(sim.Now());
    const bool done =
        sim.RunFor(CVirtualSimulator::STOP_LIMIT_MS + 1000, [&sim, before] { return sim.ResetsDone() > before; });
    if (!done)
        Report(step, false, step.Describe(), "the firmware did not restart");
}

void CScenarioRunner::Report(const CScenarioStep& step, bool held, const std::string& what, const std::string& seen)
{
    held ? ++m_passed : ++m_failed;
    if (held && m_options.quiet)
        return;
    m_out << m_options.fileName << ":" << step.line << ": " << m_machine->sim.Now() << " ms: "
          << (held ? "ok" : "FAILED") << ": " << what << "; seen " << seen << "\n";
}
