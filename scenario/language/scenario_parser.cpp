#include "scenario/language/scenario_parser.h"

#include <sstream>

#include "cli/input_file.h"
#include "scenario/language/line_words.h"
#include "scenario/language/panel_names.h"
#include "scenario/language/scenario_conditions.h"

namespace {

using CStep = CScenarioStep;

// An input by caption or role, or X Y.
void parse_place(CLineWords& args, CStep& step)
{
    if (args.PeekIsNumber()) {
        step.point.x = static_cast<int32_t>(args.Number(-100000, 100000));
        step.point.y = static_cast<int32_t>(args.Number(-100000, 100000));
        return;
    }
    const std::string name = args.Word();
    step.input = scenario_input_index(name);
    if (step.input < 0)
        throw CLineError("unknown input '" + name + "' (전원, 수동세척, 커버, 서랍 or power, wash, cover, drawer)");
    step.point = SCENARIO_INPUTS[step.input].point;
}

// The part a fault or a clear names: a switch, "motor NAME" or "heater".
CPlantFault parse_fault_part(CLineWords& args)
{
    CPlantFault fault;
    const std::string part = args.Word();
    if (part == "motor") {
        fault.kind = CPlantFault::JAMMED_MOTOR;
        fault.index = scenario_named(scenario_names(MOTOR_NAMES, MOTOR_COUNT), args.Word(), "motor");
        return fault;
    }
    if (part == "heater") {
        fault.kind = CPlantFault::DEAD_HEATER;
        return fault;
    }
    fault.kind = CPlantFault::STUCK_SWITCH;
    fault.index = CPlantFault::SwitchIndex(part);
    if (fault.index < 0) {
        std::vector<std::string> parts(CPlantFault::SWITCH_NAMES,
                                       CPlantFault::SWITCH_NAMES + CPlantFault::SWITCH_COUNT);
        parts.insert(parts.end(), {"motor", "heater"});
        throw CLineError("unknown part '" + part + "' (" + scenario_known_names(parts) + ")");
    }
    return fault;
}

void parse_wait(CLineWords& args, CStep& step) { step.ms = static_cast<uint64_t>(args.Number(0, CLineWords::MAX_MS)); }

void parse_press(CLineWords& args, CStep& step) { parse_place(args, step); }

void parse_release(CLineWords& args, CStep& step)
{
    if (!args.Empty())
        parse_place(args, step);
}

void parse_click(CLineWords& args, CStep& step)
{
    step.ms = args.TakeTrailing("hold", CStep::DEFAULT_HOLD_MS);
    parse_place(args, step);
}

// "within" and "after" close the line, in either order.
void parse_run_until(CLineWords& args, CStep& step)
{
    step.afterMs = args.TakeTrailing("after", 0);
    step.ms = args.TakeTrailing("within", CStep::DEFAULT_WITHIN_MS);
    if (step.afterMs == 0)
        step.afterMs = args.TakeTrailing("after", 0);
    for (const char* word : {"within", "after"})
        if (args.HasWord(word))
            throw CLineError(std::string(word) + " given twice");
    step.condition = scenario_parse_condition(args);
    if (step.afterMs > step.ms)
        throw CLineError("after " + std::to_string(step.afterMs) + " is beyond within " + std::to_string(step.ms));
}

void parse_expect(CLineWords& args, CStep& step) { step.condition = scenario_parse_condition(args); }

void parse_expect_for(CLineWords& args, CStep& step)
{
    step.ms = static_cast<uint64_t>(args.Number(1, CLineWords::MAX_MS));
    step.condition = scenario_parse_condition(args);
}

void parse_fault(CLineWords& args, CStep& step)
{
    step.fault = parse_fault_part(args);
    if (step.fault.kind == CPlantFault::STUCK_SWITCH) {
        args.Expect("stuck");
        const std::string level = args.Word();
        if (level != "0" && level != "1")
            throw CLineError("bad level '" + level + "' (0 or 1)");
        step.fault.level = level == "1";
    } else {
        args.Expect(step.fault.kind == CPlantFault::JAMMED_MOTOR ? "jammed" : "dead");
    }
}

void parse_clear(CLineWords& args, CStep& step)
{
    step.allFaults = args.PeekIsWord("all");
    if (step.allFaults)
        args.Word();
    else
        step.fault = parse_fault_part(args);
}

void parse_nothing(CLineWords&, CStep&) {}

void parse_snapshot(CLineWords& args, CStep& step)
{
    step.path = args.Word();
    args.End();
    if (step.path.size() < 4 || step.path.compare(step.path.size() - 4, 4, ".png") != 0)
        throw CLineError("snapshot file '" + step.path + "' does not end in .png");
    if (step.path.size() == 4 || step.path[step.path.size() - 5] == '/')
        throw CLineError("snapshot file '" + step.path + "' has no name before .png");
}

struct CStepKind {
    const char* name;
    CStep::Kind kind;
    const char* usage;
    void (*parse)(CLineWords&, CStep&);
};

// clang-format off
const CStepKind STEP_KINDS[] = {
    {"wait",       CStep::WAIT,       "wait MS",                                  parse_wait},
    {"press",      CStep::PRESS,      "press INPUT | press X Y",                  parse_press},
    {"release",    CStep::RELEASE,    "release [INPUT]",                          parse_release},
    {"click",      CStep::CLICK,      "click INPUT [hold MS] | click X Y [hold MS]", parse_click},
    {"run-until",  CStep::RUN_UNTIL,  "run-until CONDITION [within MS] [after MS]", parse_run_until},
    {"expect",     CStep::EXPECT,     "expect CONDITION",                         parse_expect},
    {"expect-for", CStep::EXPECT_FOR, "expect-for MS CONDITION",                  parse_expect_for},
    {"fault",      CStep::FAULT,      "fault SIGNAL stuck 0|1 | fault motor NAME jammed | fault heater dead",
                                                                                  parse_fault},
    {"clear",      CStep::CLEAR,      "clear SIGNAL | clear motor NAME | clear heater | clear all", parse_clear},
    {"reset-cpu",  CStep::RESET_CPU,  "reset-cpu",                                parse_nothing},
    {"snapshot",   CStep::SNAPSHOT,   "snapshot FILE.png",                        parse_snapshot},
};
// clang-format on

CStep parse_step(const std::vector<CToken>& tokens)
{
    const CToken& first = tokens.front();
    const std::string name = first.quoted ? "\"" + first.text + "\"" : first.text;
    for (const CStepKind& kind : STEP_KINDS) {
        if (name != kind.name)
            continue;
        CLineWords args(std::vector<CToken>(tokens.begin() + 1, tokens.end()), kind.usage);
        CStep step;
        step.kind = kind.kind;
        kind.parse(args, step);
        args.End();
        return step;
    }
    std::vector<std::string> names;
    for (const CStepKind& kind : STEP_KINDS)
        names.push_back(kind.name);
    throw CLineError("unknown step '" + name + "' (" + scenario_known_names(names) + ")");
}

}  // namespace

bool CScenarioParser::Parse(const std::string& text)
{
    m_steps.clear();
    m_errorLine = 0;
    m_errorReason.clear();
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);  // a byte-order mark
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        try {
            const std::vector<CToken> tokens = scenario_tokenize(line);
            if (tokens.empty())
                continue;
            CStep step = parse_step(tokens);
            step.line = number;
            m_steps.push_back(std::move(step));
        } catch (const CLineError& error) {
            m_steps.clear();
            m_errorLine = number;
            m_errorReason = error.what();
            return false;
        }
    }
    return true;
}

// The file must be a scenario before it is parsed: readable UTF-8 text with
// at least one step.
bool CScenarioParser::ParseFile(const std::string& path)
{
    CInputFile input;
    if (!input.Read(path)) {
        m_steps.clear();
        m_errorLine = input.ErrorLine();
        m_errorReason = input.ErrorReason();
        return false;
    }
    return Parse(input.Text());
}

std::string CScenarioParser::ErrorMessage(const std::string& fileName) const
{
    if (m_errorLine == 0)
        return fileName + ": " + m_errorReason;
    return fileName + ":" + std::to_string(m_errorLine) + ": " + m_errorReason;
}
