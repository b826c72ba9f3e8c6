#include "scenario/language/scenario_conditions.h"

#include "firmware/fw_watch.h"
#include "panel/state_names.h"
#include "scenario/language/panel_names.h"

namespace {

using CCondition = CScenarioCondition;

// One of two words: 0 for the first, 1 for the second.
int64_t one_of(CLineWords& args, const char* first, const char* second, const char* what)
{
    const std::string word = args.Word();
    if (word != first && word != second)
        throw CLineError(std::string("bad ") + what + " '" + word + "' (" + first + " or " + second + ")");
    return word == second;
}

void parse_state(CLineWords& args, CCondition& c)
{
    if (args.PeekIsNumber() && args.Left() == 1) {
        c.low = c.high = args.Number(STATE_NUMBER_FIRST, STATE_NUMBER_LAST);
        return;
    }
    const std::string name = args.Text();
    c.low = c.high = state_number_of(name.c_str());
    if (c.low != 0)
        return;
    std::vector<std::string> names;
    for (int32_t n = STATE_NUMBER_FIRST; n <= STATE_NUMBER_LAST; ++n)
        names.push_back(state_name(n));
    throw CLineError("unknown state '" + name + "' (" + scenario_known_names(names) + ", or their numbers 1..10)");
}

void parse_signal(CLineWords& args, CCondition& c)
{
    std::vector<std::string> names;
    for (const CWiredSignal& signal : WIRED_SIGNALS)
        names.push_back(signal.name);
    c.index = scenario_named(names, args.Word(), "signal");
    c.low = c.high = one_of(args, "0", "1", "level");
}

void parse_readout(CLineWords& args, CCondition& c)
{
    c.index = scenario_named(scenario_names(SCENARIO_READOUTS, 2), args.Word(), "readout");
    c.text = args.Text();
}

void parse_lamp(CLineWords& args, CCondition& c)
{
    c.index = scenario_named(scenario_names(LAMP_NAMES, LAMP_COUNT), args.Word(), "lamp");
    c.low = c.high = one_of(args, "on", "off", "lamp state") == 0;
}

void parse_motor(CLineWords& args, CCondition& c)
{
    c.index = scenario_named(scenario_names(MOTOR_NAMES, MOTOR_COUNT), args.Word(), "motor");
    args.Range(0, 100, c.low, c.high);
}

void parse_beeps(CLineWords& args, CCondition& c) { args.Range(0, 1'000'000, c.low, c.high); }

// A watched variable's value, within what its width and sign can hold.
void parse_var(CLineWords& args, CCondition& c)
{
    std::vector<std::string> names;
    for (int i = 0; i < FW_VARIABLE_COUNT; ++i)
        names.push_back(fw_variables[i].name);
    c.index = scenario_named(names, args.Word(), "variable");
    const fw_variable& variable = fw_variables[c.index];
    const int64_t span = int64_t{1} << variable.width;
    const int64_t min = variable.is_signed ? -span / 2 : 0;
    args.Range(min, min + span - 1, c.low, c.high);
}

void parse_timer(CLineWords& args, CCondition& c)
{
    std::vector<std::string> names;
    for (int i = 0; i < FW_TIMER_COUNT; ++i)
        names.push_back(fw_timers[i].name);
    c.index = scenario_named(names, args.Word(), "timer");
    c.low = c.high = one_of(args, "running", "idle", "timer status") == 0;
}

struct CConditionKind {
    const char* name;
    CCondition::Kind kind;
    void (*parse)(CLineWords&, CCondition&);
};

const CConditionKind CONDITION_KINDS[] = {
    {"state", CCondition::STATE, parse_state},
    {"signal", CCondition::SIGNAL, parse_signal},
    {"readout", CCondition::READOUT, parse_readout},
    {"lamp", CCondition::LAMP, parse_lamp},
    {"motor", CCondition::MOTOR, parse_motor},
    {"beeps", CCondition::BEEPS, parse_beeps},
    {"var", CCondition::VAR, parse_var},
    {"timer", CCondition::TIMER, parse_timer},
};

}  // namespace

CScenarioCondition scenario_parse_condition(CLineWords& args)
{
    const std::string word = args.Word();
    if (word == "not") {
        if (args.PeekIsWord("not"))
            throw CLineError("'not not': write the condition itself");
        CCondition c = scenario_parse_condition(args);
        c.negated = true;
        return c;
    }
    for (const CConditionKind& kind : CONDITION_KINDS) {
        if (word != kind.name)
            continue;
        CCondition c;
        c.kind = kind.kind;
        kind.parse(args, c);
        args.End();
        return c;
    }
    std::vector<std::string> names;
    for (const CConditionKind& kind : CONDITION_KINDS)
        names.push_back(kind.name);
    names.push_back("not");
    throw CLineError("unknown condition '" + word + "' (" + scenario_known_names(names) + ")");
}
