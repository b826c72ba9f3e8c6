// trelvik._machine: the simulated machine in virtual time, for Python.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "python/src/python_errors.h"
#include "python/src/python_machine.h"
#include "python/src/scenario_file.h"
#include "scenario/explore/random_use.h"
#include "scenario/language/scenario_step.h"
#include "sim/plant_fault.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

const char* const MACHINE_DOC = R"(The simulated food-waste processor, running its controller firmware in virtual time.

One machine per process (the firmware's state is process-wide): a second
Machine while one is open raises RuntimeError; reset() gives a fresh
controller, close() ends it. Names and conditions are those of the scenario
language, read by its own parser: inputs by caption or role ("전원" or
"power", "수동세척"/"wash", "커버"/"cover", "서랍"/"drawer"), conditions
such as "state 건조", "signal HEATER 1", "lamp red on", "motor disk 0..5",
"var disk_retry_ls 0", "timer fan_timer idle", "not ...". A wrong name or
an unreadable condition raises ValueError with the parser's reason.

    m = trelvik.Machine(vcd_vars=["disk_retry_ls"])
    m.wait(1200)
    m.click("power")
    m.run_until("state 파워 온 대기", within=1000)
    m.expect("lamp red on")

Time is virtual: wait(1000) runs one simulated second in well under a
millisecond. Ctrl-C interrupts a long wait with KeyboardInterrupt.)";

void bind_machine(py::module_& module)
{
    py::class_<CPythonMachine>(module, "Machine", MACHINE_DOC)
        .def(py::init<std::vector<std::string>>(), "vcd_vars"_a = std::vector<std::string>{},
             "Starts a fresh controller. vcd_vars: firmware variables a trace records beside the panel's channels.")
        .def("reset", &CPythonMachine::Reset,
             "A fresh controller in place of this one (a closed one comes back): virtual time, beeps, "
             "faults, coverage and invariants start again.")
        .def("close", &CPythonMachine::Close, "Ends the machine (and its firmware's thread); another may then be made.")
        .def_property_readonly("closed", &CPythonMachine::Closed)
        .def("play", &CPythonMachine::PlayLine, "line"_a,
             "Plays one line of a scenario ('click 커버 hold 100', 'expect lamp red on', ...), raising as the "
             "other calls do.")
        .def("click", &CPythonMachine::Click, "input"_a, "hold"_a = CScenarioStep::DEFAULT_HOLD_MS,
             "Clicks an input, held `hold` ms (as 'click INPUT hold MS'). A click where the last one was first waits "
             "until the key has been up 100 ms, so the firmware sees two clicks.")
        .def("press", &CPythonMachine::Press, "input"_a, "Presses the mouse on an input and keeps it down.")
        .def("release", &CPythonMachine::Release, "Releases the mouse.")
        .def("reset_cpu", &CPythonMachine::ResetCpu,
             "'Reset CPU' as the window does it; returns once the firmware "
             "has restarted.")
        .def("wait", &CPythonMachine::Wait, "ms"_a, "Lets `ms` virtual milliseconds pass.")
        .def("run_until", &CPythonMachine::RunUntil, "condition"_a, "within"_a = CScenarioStep::DEFAULT_WITHIN_MS,
             "after"_a = 0,
             "Runs until the condition holds; returns the ms it took. trelvik.TimeoutError (an AssertionError) "
             "with the condition and what was seen when `within` ms pass first; AssertionError when it held "
             "before `after` ms.")
        .def("expect", &CPythonMachine::Expect, "condition"_a,
             "AssertionError with the condition and the value seen unless it holds now. 'beeps N' counts the "
             "sounds since the last expect of beeps, as in a scenario.")
        .def("expect_for", &CPythonMachine::ExpectFor, "ms"_a, "condition"_a,
             "Watches the condition for `ms` ms; time runs to the end, then AssertionError with the first ms it "
             "failed.")
        .def("holds", &CPythonMachine::Holds, "condition"_a, "Whether the condition holds now (nothing raised).")
        .def("fault", &CPythonMachine::Fault, "fault"_a,
             "Sets a plant fault: 'DISK_MOT_LS stuck 1', 'motor exit jammed', 'heater dead'.")
        .def("clear", &CPythonMachine::Clear, "part"_a,
             "Clears a part's fault: 'DISK_MOT_LS', 'motor exit', 'heater' or 'all'.")
        .def_property_readonly("state", &CPythonMachine::State, "The state number the panel shows, 1..10.")
        .def_property_readonly("state_name", &CPythonMachine::StateName, "The state's name: '워싱'.")
        .def_property_readonly("now_ms", &CPythonMachine::NowMs, "Virtual ms since the start or the last reset().")
        .def_property_readonly("beeps", &CPythonMachine::Beeps,
                               "The buzzer's sounds since the start or the last reset(); reading does not clear it.")
        .def_property_readonly("faults", &CPythonMachine::Faults,
                               "The plant faults in force, as a scenario writes "
                               "them.")
        .def_property_readonly("broken_invariant", &CPythonMachine::Broken,
                               "The first machine invariant broken since the start or reset() (the runner's "
                               "invariants, checked every virtual ms), or None.")
        .def("var", &CPythonMachine::Var, "name"_a, "A watched firmware variable's value.")
        .def("signal", &CPythonMachine::Signal, "name"_a, "A wired signal's level, 0 or 1.")
        .def("lamp", &CPythonMachine::Lamp, "name"_a, "Whether a lamp (red, green, blue) is lit.")
        .def("motor", &CPythonMachine::Motor, "name"_a, "A motor's position (disk, exit, main), 0..100.")
        .def("coverage", &CPythonMachine::Coverage,
             "The behaviour coverage since the start or reset(): totals (reached, of) and every item's count.")
        .def("snapshot", &CPythonMachine::Snapshot, "path"_a, "Saves a picture of the panel as PNG.")
        .def("_begin_trace", &CPythonMachine::BeginTrace, "path"_a)
        .def("_end_trace", &CPythonMachine::EndTrace);
}

// What the explorer's random uses are made of: where it clicks, the faults
// it sets and the parts it clears.
py::dict use_alphabet()
{
    py::list faults, parts;
    for (const CPlantFault& fault : CPlantFault::All()) {
        faults.append(fault.Describe());
        if (!parts.contains(py::str(fault.Part())))
            parts.append(fault.Part());
    }
    py::dict alphabet;
    alphabet["targets"] = std::vector<std::string>(std::begin(CRandomUse::TARGETS), std::end(CRandomUse::TARGETS));
    alphabet["faults"] = faults;
    alphabet["parts"] = parts;
    return alphabet;
}

}  // namespace

PYBIND11_MODULE(_machine, module)
{
    module.doc() = "The compiled part of trelvik: the machine and the scenario runner.";
    register_python_errors(module);
    bind_machine(module);
    module.def("run_scenario", &run_scenario_file, "path"_a,
               "Runs a .scn file from a fresh controller as trelvik-scenario does, in this process; returns its "
               "verdicts. Refused while a Machine is open.");
    module.def("use_alphabet", &use_alphabet, "The explorer's alphabet: targets, faults and parts.");
    // The firmware's thread is ended before the interpreter goes down.
    py::module_::import("atexit").attr("register")(py::cpp_function([] { CPythonMachine::CloseOpen(); }));
}
