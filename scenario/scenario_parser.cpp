#include "scenario/scenario_parser.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "firmware/fw_watch.h"
#include "panel/state_names.h"
#include "scenario/scenario_signals.h"

namespace {

// Thrown with the reason when a line is not understood.
struct CLineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CToken {
    std::string text;
    bool quoted;
};

// Splits a line into words and "quoted texts"; a '#' that starts a word starts a comment.
std::vector<CToken> tokenize(const std::string& line)
{
    std::vector<CToken> tokens;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size() || line[i] == '#')
            return tokens;
        if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            if (end == std::string::npos)
                throw CLineError("unterminated quote");
            tokens.push_back({line.substr(i + 1, end - i - 1), true});
            i = end + 1;
            continue;
        }
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        tokens.push_back({line.substr(start, i - start), false});
    }
}

// The words of one line after the step's name, taken from the front.
class CArgs {
public:
    CArgs(std::vector<CToken> tokens, std::string usage) : m_tokens(std::move(tokens)), m_usage(std::move(usage)) {}

    bool Empty() const { return m_next >= m_tokens.size(); }
    size_t Left() const { return m_tokens.size() - m_next; }
    const CToken& Peek() const { return m_tokens.at(m_next); }
    bool PeekIsWord(const char* word) const { return !Empty() && !Peek().quoted && Peek().text == word; }
    bool PeekIsNumber() const
    {
        if (Empty() || Peek().quoted || Peek().text.empty())
            return false;
        const char first = Peek().text[0];
        return isdigit(static_cast<unsigned char>(first)) || first == '-';
    }

    std::string Word()
    {
        if (Empty())
            throw CLineError("missing argument: " + m_usage);
        return m_tokens[m_next++].text;
    }
    // A quoted text, or the rest of the line's words joined by single spaces.
    std::string Text()
    {
        if (Empty())
            throw CLineError("missing argument: " + m_usage);
        if (Peek().quoted)
            return Word();
        std::string text = Word();
        while (!Empty() && !Peek().quoted)
            text += " " + Word();
        return text;
    }
    int64_t Number(int64_t min, int64_t max)
    {
        const std::string word = Word();
        int64_t value = 0;
        const char* end = word.data() + word.size();
        const auto [ptr, ec] = std::from_chars(word.data(), end, value);
        if (ec != std::errc() || ptr != end)
            throw CLineError("bad number '" + word + "'");
        if (value < min || value > max)
            throw CLineError("number " + word + " out of range " + std::to_string(min) + ".." + std::to_string(max));
        return value;
    }
    // N or N..M.
    void Range(int64_t max, int64_t& low, int64_t& high) { Range(0, max, low, high); }
    void Range(int64_t min, int64_t max, int64_t& low, int64_t& high)
    {
        const std::string word = Word();
        const size_t dots = word.find("..");
        const std::string first = dots == std::string::npos ? word : word.substr(0, dots);
        low = Parse(first, min, max);
        high = dots == std::string::npos ? low : Parse(word.substr(dots + 2), min, max);
        if (high < low)
            throw CLineError("empty range '" + word + "'");
    }
    void End()
    {
        if (!Empty())
            throw CLineError("unexpected '" + Peek().text + "' (" + m_usage + ")");
    }
    // Removes a trailing "WORD N" and returns N, or `otherwise` without it.
    uint64_t TakeTrailing(const char* word, uint64_t otherwise)
    {
        for (size_t i = m_next; i < m_tokens.size(); ++i) {
            if (m_tokens[i].quoted || m_tokens[i].text != word)
                continue;
            if (i + 2 < m_tokens.size())
                continue;  // not at the end of the line
            std::vector<CToken> tail(m_tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1, m_tokens.end());
            m_tokens.resize(i);
            CArgs rest(std::move(tail), std::string(word) + " MS");
            const uint64_t value = static_cast<uint64_t>(rest.Number(0, MAX_MS));
            rest.End();
            return value;
        }
        return otherwise;
    }

    static constexpr int64_t MAX_MS = 1'000'000'000;

private:
    static int64_t Parse(const std::string& word, int64_t min, int64_t max)
    {
        CArgs one({{word, false}}, "");
        return one.Number(min, max);
    }

    std::vector<CToken> m_tokens;
    std::string m_usage;
    size_t m_next = 0;
};

// "a, b or c".
std::string known_names(const char* const* names, int count)
{
    std::string known;
    for (int i = 0; i < count; ++i)
        known += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::string(names[i]);
    return known;
}

int32_t named(const char* const* names, int count, const std::string& name, const char* what)
{
    const int index = scenario_name_index(names, count, name);
    if (index < 0)
        throw CLineError(std::string("unknown ") + what + " '" + name + "' (" + known_names(names, count) + ")");
    return index;
}

std::string known_names(const std::vector<const char*>& names)
{
    return known_names(names.data(), static_cast<int>(names.size()));
}

std::string signal_names()
{
    std::vector<const char*> names;
    for (const CWiredSignal& signal : WIRED_SIGNALS)
        names.push_back(signal.name);
    return known_names(names);
}

std::string variable_names()
{
    std::vector<const char*> names;
    for (int i = 0; i < FW_VARIABLE_COUNT; ++i)
        names.push_back(fw_variables[i].name);
    return known_names(names);
}

std::string timer_names()
{
    std::vector<const char*> names;
    for (int i = 0; i < FW_TIMER_COUNT; ++i)
        names.push_back(fw_timers[i].name);
    return known_names(names);
}

std::string state_names()
{
    std::vector<const char*> names;
    for (int32_t n = STATE_NUMBER_FIRST; n <= STATE_NUMBER_LAST; ++n)
        names.push_back(state_name(n));
    return known_names(names) + ", or their numbers 1..10";
}

void expect_word(CArgs& args, const char* word)
{
    const std::string got = args.Word();
    if (got != word)
        throw CLineError("expected '" + std::string(word) + "', not '" + got + "'");
}

const char* const CONDITION_KINDS[] = {"state", "signal", "readout", "lamp", "motor", "beeps", "var", "timer", "not"};

CScenarioCondition parse_condition(CArgs& args)
{
    CScenarioCondition c;
    const std::string kind = args.Word();
    if (kind == "not") {
        if (args.PeekIsWord("not"))
            throw CLineError("'not not': write the condition itself");
        c = parse_condition(args);
        c.negated = true;
        return c;
    }
    if (kind == "state") {
        c.kind = CScenarioCondition::STATE;
        if (args.PeekIsNumber() && args.Left() == 1) {
            c.low = args.Number(1, 10);
        } else {
            const std::string name = args.Text();
            c.low = state_number_of(name.c_str());
            if (c.low == 0)
                throw CLineError("unknown state '" + name + "' (" + state_names() + ")");
        }
        c.high = c.low;
    } else if (kind == "signal") {
        c.kind = CScenarioCondition::SIGNAL;
        const std::string name = args.Word();
        c.index = wired_signal_index(name);
        if (c.index < 0)
            throw CLineError("unknown signal '" + name + "' (" + signal_names() + ")");
        const std::string level = args.Word();
        if (level != "0" && level != "1")
            throw CLineError("bad level '" + level + "' (0 or 1)");
        c.low = c.high = level == "1";
    } else if (kind == "readout") {
        c.kind = CScenarioCondition::READOUT;
        c.index = named(SCENARIO_READOUTS, 2, args.Word(), "readout");
        c.text = args.Text();
    } else if (kind == "lamp") {
        c.kind = CScenarioCondition::LAMP;
        c.index = named(SCENARIO_LAMPS, 3, args.Word(), "lamp");
        const std::string level = args.Word();
        if (level != "on" && level != "off")
            throw CLineError("bad lamp state '" + level + "' (on or off)");
        c.low = c.high = level == "on";
    } else if (kind == "motor") {
        c.kind = CScenarioCondition::MOTOR;
        c.index = named(SCENARIO_MOTORS, 3, args.Word(), "motor");
        args.Range(100, c.low, c.high);
    } else if (kind == "beeps") {
        c.kind = CScenarioCondition::BEEPS;
        args.Range(1'000'000, c.low, c.high);
    } else if (kind == "var") {
        c.kind = CScenarioCondition::VAR;
        const std::string name = args.Word();
        const fw_variable* variable = fw_variable_find(name.c_str());
        if (!variable)
            throw CLineError("unknown variable '" + name + "' (" + variable_names() + ")");
        c.index = static_cast<int32_t>(variable - fw_variables);
        args.Range(INT32_MIN, INT32_MAX, c.low, c.high);
    } else if (kind == "timer") {
        c.kind = CScenarioCondition::TIMER;
        const std::string name = args.Word();
        const fw_timer_entry* timer = fw_timer_find(name.c_str());
        if (!timer)
            throw CLineError("unknown timer '" + name + "' (" + timer_names() + ")");
        c.index = static_cast<int32_t>(timer - fw_timers);
        const std::string status = args.Word();
        if (status != "running" && status != "idle")
            throw CLineError("bad timer status '" + status + "' (running or idle)");
        c.low = c.high = status == "running";
    } else {
        throw CLineError("unknown condition '" + kind + "' (" +
                         known_names(CONDITION_KINDS, std::size(CONDITION_KINDS)) + ")");
    }
    args.End();
    return c;
}

// An input by caption or role, or X Y.
void parse_place(CArgs& args, CScenarioStep& step)
{
    if (args.PeekIsNumber()) {
        step.point.x = static_cast<int32_t>(args.Number(-100000, 100000));
        step.point.y = static_cast<int32_t>(args.Number(-100000, 100000));
        return;
    }
    const std::string name = args.Word();
    step.input = scenario_input_index(name);
    if (step.input < 0)
        throw CLineError("unknown input '" + name +
                         "' (전원, 수동세척, 커버, 서랍 or power, wash, cover, drawer)");
    step.point = SCENARIO_INPUTS[step.input].point;
}

const char* const FAULT_PARTS[] = {"DISK_MOT_RS", "DISK_MOT_LS", "OVER_SENSOR_CCW", "OVER_SENSOR_CW", "motor",
                                   "heater"};

// The part a fault or a clear names: a switch, "motor NAME" or "heater".
CPlantFault parse_fault_part(CArgs& args)
{
    CPlantFault fault;
    const std::string part = args.Word();
    if (part == "motor") {
        fault.kind = CPlantFault::JAMMED_MOTOR;
        fault.index = named(CPlantFault::MOTOR_NAMES, CPlantFault::MOTOR_COUNT, args.Word(), "motor");
    } else if (part == "heater") {
        fault.kind = CPlantFault::DEAD_HEATER;
    } else {
        fault.kind = CPlantFault::STUCK_SWITCH;
        fault.index = CPlantFault::SwitchIndex(part);
        if (fault.index < 0)
            throw CLineError("unknown part '" + part + "' (" + known_names(FAULT_PARTS, std::size(FAULT_PARTS)) + ")");
    }
    return fault;
}

void parse_fault(CArgs& args, CScenarioStep& step)
{
    step.fault = parse_fault_part(args);
    switch (step.fault.kind) {
    case CPlantFault::STUCK_SWITCH: {
        expect_word(args, "stuck");
        const std::string level = args.Word();
        if (level != "0" && level != "1")
            throw CLineError("bad level '" + level + "' (0 or 1)");
        step.fault.level = level == "1";
        break;
    }
    case CPlantFault::JAMMED_MOTOR:
        expect_word(args, "jammed");
        break;
    case CPlantFault::DEAD_HEATER:
        expect_word(args, "dead");
        break;
    }
    args.End();
}

void parse_clear(CArgs& args, CScenarioStep& step)
{
    if (args.PeekIsWord("all")) {
        args.Word();
        step.allFaults = true;
    } else {
        step.fault = parse_fault_part(args);
    }
    args.End();
}

const char* const STEP_NAMES[] = {"wait", "press", "release", "click", "run-until", "expect", "expect-for",
                                  "fault", "clear", "reset-cpu", "snapshot"};

CScenarioStep parse_step(const std::vector<CToken>& tokens)
{
    const CToken& first = tokens.front();
    const std::string name = first.quoted ? "\"" + first.text + "\"" : first.text;
    const std::vector<CToken> rest(tokens.begin() + 1, tokens.end());
    CScenarioStep step;
    if (name == "wait") {
        CArgs args(rest, "wait MS");
        step.kind = CScenarioStep::WAIT;
        step.ms = static_cast<uint64_t>(args.Number(0, CArgs::MAX_MS));
        args.End();
    } else if (name == "press") {
        CArgs args(rest, "press INPUT | press X Y");
        step.kind = CScenarioStep::PRESS;
        parse_place(args, step);
        args.End();
    } else if (name == "release") {
        CArgs args(rest, "release [INPUT]");
        step.kind = CScenarioStep::RELEASE;
        if (!args.Empty())
            parse_place(args, step);
        args.End();
    } else if (name == "click") {
        CArgs args(rest, "click INPUT [hold MS] | click X Y [hold MS]");
        step.kind = CScenarioStep::CLICK;
        step.ms = args.TakeTrailing("hold", CScenarioStep::DEFAULT_HOLD_MS);
        parse_place(args, step);
        args.End();
    } else if (name == "run-until") {
        CArgs args(rest, "run-until CONDITION [within MS] [after MS]");
        step.kind = CScenarioStep::RUN_UNTIL;
        // "within" and "after" close the line, in either order.
        step.afterMs = args.TakeTrailing("after", 0);
        step.ms = args.TakeTrailing("within", CScenarioStep::DEFAULT_WITHIN_MS);
        if (step.afterMs == 0)
            step.afterMs = args.TakeTrailing("after", 0);
        step.condition = parse_condition(args);
        if (step.afterMs > step.ms)
            throw CLineError("after " + std::to_string(step.afterMs) + " is beyond within " + std::to_string(step.ms));
    } else if (name == "expect") {
        CArgs args(rest, "expect CONDITION");
        step.kind = CScenarioStep::EXPECT;
        step.condition = parse_condition(args);
    } else if (name == "expect-for") {
        CArgs args(rest, "expect-for MS CONDITION");
        step.kind = CScenarioStep::EXPECT_FOR;
        step.ms = static_cast<uint64_t>(args.Number(1, CArgs::MAX_MS));
        step.condition = parse_condition(args);
    } else if (name == "fault") {
        CArgs args(rest, "fault SIGNAL stuck 0|1 | fault motor NAME jammed | fault heater dead");
        step.kind = CScenarioStep::FAULT;
        parse_fault(args, step);
    } else if (name == "clear") {
        CArgs args(rest, "clear SIGNAL | clear motor NAME | clear heater | clear all");
        step.kind = CScenarioStep::CLEAR;
        parse_clear(args, step);
    } else if (name == "reset-cpu") {
        CArgs args(rest, "reset-cpu");
        step.kind = CScenarioStep::RESET_CPU;
        args.End();
    } else if (name == "snapshot") {
        CArgs args(rest, "snapshot FILE.png");
        step.kind = CScenarioStep::SNAPSHOT;
        step.path = args.Word();
        args.End();
        if (step.path.size() < 5 || step.path.compare(step.path.size() - 4, 4, ".png") != 0)
            throw CLineError("snapshot file '" + step.path + "' does not end in .png");
    } else {
        throw CLineError("unknown step '" + name + "' (" + known_names(STEP_NAMES, std::size(STEP_NAMES)) + ")");
    }
    return step;
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
            const std::vector<CToken> tokens = tokenize(line);
            if (tokens.empty())
                continue;
            CScenarioStep step = parse_step(tokens);
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

bool CScenarioParser::ParseFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    if (!in || in.bad()) {
        m_steps.clear();
        m_errorLine = 0;
        m_errorReason = "cannot read the file";
        return false;
    }
    return Parse(text.str());
}

std::string CScenarioParser::ErrorMessage(const std::string& fileName) const
{
    if (m_errorLine == 0)
        return fileName + ": " + m_errorReason;
    return fileName + ":" + std::to_string(m_errorLine) + ": " + m_errorReason;
}
