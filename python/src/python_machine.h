#pragma once
// The machine as Python sees it: one per process, its calls turned into
// steps of the scenario language and played on a CMachineSession, its
// failed checks raised as Python exceptions. Time runs with the interpreter
// held; between two slices of virtual time it looks for a pending signal, so
// Ctrl-C ends even a very long wait.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "python/src/machine_session.h"

class CPythonMachine {
public:
    explicit CPythonMachine(std::vector<std::string> vcdVariables);
    ~CPythonMachine();

    // Whether a machine is open in this process (run_scenario is refused then).
    static bool AnyOpen();
    // Ends the machine that is open, if any: at the interpreter's exit.
    static void CloseOpen();

    void Reset();
    void Close();
    bool Closed() const { return !m_session; }

    // Any one line of a scenario, with the verdict raised as the calls below raise it.
    void PlayLine(const std::string& line);
    void Click(const std::string& input, uint64_t holdMs);
    void Press(const std::string& input);
    void Release();
    void ResetCpu();
    void Wait(int64_t ms);
    uint64_t RunUntil(const std::string& condition, int64_t withinMs, int64_t afterMs);
    void Expect(const std::string& condition);
    void ExpectFor(int64_t ms, const std::string& condition);
    bool Holds(const std::string& condition);
    void Fault(const std::string& fault);
    void Clear(const std::string& part);

    int State();
    std::string StateName();
    uint64_t NowMs();
    int Beeps();
    int64_t Var(const std::string& name);
    int Signal(const std::string& name);
    bool Lamp(const std::string& name);
    int Motor(const std::string& name);
    std::string Faults();
    pybind11::object Broken();
    pybind11::dict Coverage();

    void BeginTrace(const std::string& path);
    void EndTrace();
    void Snapshot(const std::string& path);

private:
    CMachineSession& Session();
    CStepVerdict Play(const std::string& line);
    const CScenarioCondition& Condition(const std::string& kind, const std::string& name, const char* value);

    std::vector<std::string> m_vcdVariables;
    std::unique_ptr<CMachineSession> m_session;
    CScenarioStep m_lookup;  // the step a reading by name parsed last
};
