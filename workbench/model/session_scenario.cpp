#include "workbench/model/session_scenario.h"

#include <ctime>

#include "scenario/run/machine_expectations.h"
#include "sim/virtual_simulator.h"
#include "trelvik_version.h"
#include "workbench/model/session_record.h"

namespace {

std::string header(const CSessionRecord& record, uint64_t endMs)
{
    char saved[64] = "";
    const std::time_t now = std::time(nullptr);
    std::strftime(saved, sizeof saved, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return "# A session at trelvik-workbench " TRELVIK_VERSION ", saved " + std::string(saved) + ":\n# " +
           std::to_string(record.Actions().size()) + " actions from " + clock_text(record.StartMs()) + " to " +
           clock_text(endMs) + " of virtual time, then the appliance as it stood.\n" +
           "# Replay: trelvik-scenario FILE (or open it in the workbench).\n\n";
}

}  // namespace

std::string CSessionScenario::Text(const CSessionRecord& record, CVirtualSimulator& sim)
{
    return header(record, sim.Now()) + record.Steps(sim.Now()) + "\n# As it stood at " + clock_text(sim.Now()) + ".\n" +
           Expectations(sim);
}

std::string CSessionScenario::Expectations(CVirtualSimulator& sim) { return CMachineExpectations::Text(sim); }
