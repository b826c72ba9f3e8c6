#include "scenario/language/scenario_step.h"

#include "firmware/fw_watch.h"
#include "panel/state_names.h"
#include "scenario/language/panel_names.h"

namespace {

std::string range_text(int64_t low, int64_t high)
{
    return low == high ? std::to_string(low) : std::to_string(low) + ".." + std::to_string(high);
}

}  // namespace

std::string CScenarioCondition::Describe() const
{
    if (negated) {
        CScenarioCondition plain = *this;
        plain.negated = false;
        return "not " + plain.Describe();
    }
    switch (kind) {
    case STATE:
        return "state " + std::to_string(low) + " (" + state_name(static_cast<int32_t>(low)) + ")";
    case SIGNAL:
        return std::string("signal ") + WIRED_SIGNALS[index].name + " " + std::to_string(low);
    case READOUT:
        return std::string("readout ") + SCENARIO_READOUTS[index] + " \"" + text + "\"";
    case LAMP:
        return std::string("lamp ") + LAMP_NAMES[index] + (low ? " on" : " off");
    case MOTOR:
        return std::string("motor ") + MOTOR_NAMES[index] + " " + range_text(low, high);
    case BEEPS:
        return "beeps " + range_text(low, high);
    case VAR:
        return std::string("var ") + fw_variables[index].name + " " + range_text(low, high);
    case TIMER:
        return std::string("timer ") + fw_timers[index].name + (low ? " running" : " idle");
    }
    return {};
}

std::string CScenarioStep::Describe() const
{
    const std::string where = input >= 0 ? std::string(SCENARIO_INPUTS[input].caption)
                                         : std::to_string(point.x) + " " + std::to_string(point.y);
    switch (kind) {
    case WAIT:
        return "wait " + std::to_string(ms);
    case PRESS:
        return "press " + where;
    case RELEASE:
        return input >= 0 ? "release " + where : "release";
    case CLICK:
        return "click " + where + " hold " + std::to_string(ms);
    case RUN_UNTIL:
        return "run-until " + condition.Describe() + " within " + std::to_string(ms) +
               (afterMs ? " after " + std::to_string(afterMs) : "");
    case EXPECT_FOR:
        return "expect-for " + std::to_string(ms) + " " + condition.Describe();
    case FAULT:
        return "fault " + fault.Describe();
    case CLEAR:
        return allFaults ? "clear all" : "clear " + fault.Part();
    case EXPECT:
        return "expect " + condition.Describe();
    case RESET_CPU:
        return "reset-cpu";
    case SNAPSHOT: {
        // Quoted where the bare word would not read back as this path.
        const bool quoted = path.find_first_of(" \t") != std::string::npos || path[0] == '#';
        return "snapshot " + (quoted ? '"' + path + '"' : path);
    }
    }
    return {};
}
