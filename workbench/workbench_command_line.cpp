#include "workbench/workbench_command_line.h"

#include <cstring>
#include <iostream>

#include "cli/option_reader.h"
#include "firmware/fw_watch.h"
#include "scenario/language/scenario_parser.h"
#include "trelvik_version.h"
#include "workbench/measure_report.h"
#include "workbench/model/frame_clock.h"
#include "workbench/model/frame_driver.h"
#include "workbench/widgets/baseline_control.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/workbench_window.h"

namespace {

const char* const USAGE =
    "usage: trelvik-workbench [--speed S] [--paused] [--trace VARIABLE]...\n"
    "                         [--baseline FILE.vcd] [FILE.scn]\n"
    "The food-waste processor's panel in virtual time: pause, step and speed,\n"
    "the controller's variables and timers, a live trace, plant faults, and\n"
    "sessions saved as scenarios.\n"
    "\n"
    "  FILE.scn     replay this scenario in the window\n"
    "  --speed S    start at speed S: 0.1, 1, 10, 100, 1000 or max (default 1)\n"
    "  --paused     start with the clock stopped\n"
    "  --trace V    add the firmware variable V to the trace (repeatable)\n"
    "  --baseline F hold the live trace against the trace F (a VCD file) and\n"
    "               mark, or in a replay pause at, the first difference\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "Exit status: 0 when the window was closed, 2 for a usage error or a\n"
    "scenario or baseline that cannot be read.\n";

const char* const SPEED_WORDS[CFrameClock::SPEED_COUNT] = {"0.1", "1", "10", "100", "1000", "max"};

int usage_error(const std::string& reason)
{
    std::cerr << "trelvik-workbench: " << reason << "\n"
              << "Try 'trelvik-workbench --help'.\n";
    return 2;
}

}  // namespace

int CWorkbenchCommandLine::Parse(int argc, char** argv)
{
    COptionReader reader(
        {{"--speed", true}, {"--paused"}, {"--trace", true, true}, {"--baseline", true}, {"--help"}, {"--version"}});
    if (!reader.Read(argc, argv))
        return usage_error(reader.Error());
    for (const COptionReader::COption& option : reader.Options()) {
        if (option.name == "--help") {
            std::cout << USAGE;
            return 0;
        }
        if (option.name == "--version") {
            std::cout << "trelvik-workbench " << TRELVIK_VERSION << "\n";
            return 0;
        }
    }
    for (const COptionReader::COption& option : reader.Options()) {
        if (option.name == "--paused") {
            m_paused = true;
        } else if (option.name == "--trace") {
            if (!fw_variable_find(option.value.c_str())) {
                std::string known;
                for (uint8_t v = 0; v < FW_VARIABLE_COUNT; ++v)
                    known += (v ? ", " : "") + std::string(fw_variables[v].name);
                return usage_error("unknown variable '" + option.value + "' (" + known + ")");
            }
            m_traced.push_back(option.value);
        } else if (option.name == "--baseline") {
            std::string error;
            if (!m_baseline.Open(option.value, error)) {
                std::cerr << error << "\n";
                return 2;
            }
        } else if (option.name == "--speed") {
            m_speed = -1;
            for (int s = 0; s < CFrameClock::SPEED_COUNT; ++s)
                if (option.value == SPEED_WORDS[s])
                    m_speed = s;
            if (m_speed < 0)
                return usage_error("unknown speed '" + option.value + "' (0.1, 1, 10, 100, 1000 or max)");
        }
    }
    if (reader.Operands().size() > 1)
        return usage_error("one scenario at a time");
    if (!reader.Operands().empty())
        m_scenario = reader.Operands().front();
    // A file that is no scenario is refused before any window opens.
    CScenarioParser parser;
    if (!m_scenario.empty() && !parser.ParseFile(m_scenario)) {
        std::cerr << parser.ErrorMessage(m_scenario) << "\n";
        return 2;
    }
    return -1;
}

bool CWorkbenchCommandLine::Apply(CWorkbenchWindow& window)
{
    new CMeasureReport(window);
    window.Driver().SetSpeed(m_speed);
    for (const std::string& name : m_traced)
        window.TraceDock().AddVariable(QString::fromStdString(name));
    if (m_baseline.Dump())
        window.Baseline().Take(std::move(m_baseline));
    if (!m_scenario.empty()) {
        QString error;
        if (!window.OpenScenario(QString::fromStdString(m_scenario), error)) {
            std::cerr << error.toStdString() << "\n";
            return false;
        }
    }
    m_paused ? window.Driver().Pause() : window.Driver().Run();
    return true;
}
