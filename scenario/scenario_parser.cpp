#include "scenario/scenario_parser.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

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
    void Range(int64_t max, int64_t& low, int64_t& high)
    {
        const std::string word = Word();
        const size_t dots = word.find("..");
        const std::string first = dots == std::string::npos ? word : word.substr(0, dots);
        low = Parse(first, max);
        high = dots == std::string::npos ? low : Parse(word.substr(dots + 2), max);
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
    static int64_t Parse(const std::string& word, int64_t max)
    {
        CArgs one({{word, false}}, "");
        return one.Number(0, max);
    }

    std::vector<CToken> m_tokens;
    std::string m_usage;
    size_t m_next = 0;
};

int32_t named(const char* const* names, int count, const std::string& name, const char* what)
{
    const int index = scenario_name_index(names, count, name);
    if (index < 0) {
        std::string known;
        for (int i = 0; i < count; ++i)
            known += (i ? ", " : "") + std::string(names[i]);
        throw CLineError(std::string("unknown ") + what + " '" + name + "' (" + known + ")");
    }
    return index;
}

CScenarioCondition parse_condition(CArgs& args)
{
    CScenarioCondition c;
    const std::string kind = args.Word();
    if (kind == "state") {
        c.kind = CScenarioCondition::STATE;
        if (args.PeekIsNumber() && args.Left() == 1) {
            c.low = args.Number(1, 10);
        } else {
            const std::string name = args.Text();
            c.low = state_number_of(name.c_str());
            if (c.low == 0)
                throw CLineError("unknown state '" + name + "'");
        }
        c.high = c.low;
    } else if (kind == "signal") {
        c.kind = CScenarioCondition::SIGNAL;
        const std::string name = args.Word();
        c.index = wired_signal_index(name);
        if (c.index < 0)
            throw CLineError("unknown signal '" + name + "'");
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
    } else {
        throw CLineError("unknown condition '" + kind + "' (state, signal, readout, lamp, motor or beeps)");
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
        CArgs args(rest, "run-until CONDITION [within MS]");
        step.kind = CScenarioStep::RUN_UNTIL;
        step.ms = args.TakeTrailing("within", CScenarioStep::DEFAULT_WITHIN_MS);
        step.condition = parse_condition(args);
    } else if (name == "expect") {
        CArgs args(rest, "expect CONDITION");
        step.kind = CScenarioStep::EXPECT;
        step.condition = parse_condition(args);
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
        throw CLineError("unknown step '" + name + "'");
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
