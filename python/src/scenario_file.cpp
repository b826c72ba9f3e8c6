#include "python/src/scenario_file.h"

#include <stdexcept>

#include "python/src/python_machine.h"
#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"

namespace py = pybind11;

py::dict run_scenario_file(const std::string& path)
{
    if (CPythonMachine::AnyOpen())
        throw std::runtime_error("run_scenario needs the process's machine: close() the open trelvik.Machine first");
    CScenarioParser parser;
    if (!parser.ParseFile(path))
        throw py::value_error(parser.ErrorMessage(path));
    CInstrumentedRun run(path, parser.Steps());
    const CFileResult file = run.Run();
    py::list verdicts;
    for (const CScenarioResult& r : file.results) {
        py::dict verdict;
        verdict["line"] = r.line;
        verdict["time_ms"] = r.timeMs;
        verdict["held"] = r.held;
        verdict["error"] = r.error;
        verdict["what"] = r.what;
        verdict["seen"] = r.seen;
        verdict["text"] = file.Line(r);
        verdicts.append(verdict);
    }
    py::dict result;
    result["file"] = file.file;
    result["code"] = file.code;
    result["error"] = file.error;
    result["verdicts"] = verdicts;
    return result;
}
