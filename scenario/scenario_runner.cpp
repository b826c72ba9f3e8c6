#include "scenario/scenario_runner.h"

#include "scenario/vcd_recorder.h"
#include "sim/counting_beep.h"
#include "sim/virtual_simulator.h"

struct CScenarioRunner::CMachine {
    CCountingBeep beep;  // installed before the simulator starts, removed after it is gone
    CVirtualSimulator sim;
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
    m_results.clear();
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
    int errors = 0;
    {
        CScenarioExecutor executor(sim, steps);
        executor.m_onResult = [this](const CScenarioResult& result) { Print(result); };
        executor.RunToEnd();
        m_passed = executor.Passed();
        m_failed = executor.Failed();
        errors = executor.Errors();
        m_results = executor.Results();
    }

    int code = errors ? NOT_RUN : m_failed ? SOME_FAILED : ALL_HELD;
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

void CScenarioRunner::Print(const CScenarioResult& result)
{
    if (result.error) {
        m_err << m_options.fileName << ":" << result.line << ": " << result.what << ": " << result.seen << "\n";
        return;
    }
    if (result.held && m_options.quiet)
        return;
    m_out << m_options.fileName << ":" << result.line << ": " << result.timeMs << " ms: "
          << (result.held ? "ok" : "FAILED") << ": " << result.what << "; seen " << result.seen << "\n";
}
