#include "tools/vcd_diff_call.h"

#include <charconv>
#include <cmath>

#include "cli/option_reader.h"

namespace {

template <typename T>
bool whole_number(const std::string& text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

bool CVcdDiffCall::Parse(const std::vector<std::string>& args, std::string& error)
{
    // --help and --version answer whatever else the call holds.
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        help |= arg == "--help" || arg == "-h";
        version |= arg == "--version";
    }
    if (help || version)
        return true;
    COptionReader reader({{"--slack", true, true},
                          {"--only", true, true},
                          {"--max", true},
                          {"--tolerance", true},
                          {"--map", true, true}});
    std::vector<const char*> argv = {"trelvik-vcd-diff"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    if (!reader.Read(static_cast<int>(argv.size()), argv.data())) {
        error = reader.Error();
        return false;
    }
    for (const COptionReader::COption& option : reader.Options())
        if (!Option(option.name, option.value, error))
            return false;
    const std::vector<std::string>& files = reader.Operands();
    if (files.size() != 2) {
        error = files.size() < 2 ? "two traces are needed, A and B" : "only two traces are compared";
        return false;
    }
    fileA = files[0];
    fileB = files[1];
    if (fileA == "-" && fileB == "-") {
        error = "only one trace can be read from stdin ('-')";
        return false;
    }
    return true;
}

bool CVcdDiffCall::Option(const std::string& option, const std::string& value, std::string& error)
{
    if (option == "--slack")
        return Slack(value, error);
    if (option == "--tolerance")
        return Tolerance(value, error);
    if (option == "--map") {  // a pair, or a file of pairs
        const bool read = value.find('=') != std::string::npos ? map.Add(value, error) : map.ReadFile(value, error);
        error = read ? error : "--map: " + error;
        return read;
    }
    if (option == "--only") {
        if (value.empty()) {
            error = "--only needs a variable's name";
            return false;
        }
        only.push_back(value);
        return true;
    }
    if (m_maxGiven) {
        error = "--max given twice";
        return false;
    }
    m_maxGiven = true;
    if (!whole_number(value, max)) {
        error = "--max: bad number '" + value + "' (a count of divergences, 0 or more)";
        return false;
    }
    return true;
}

// "TIME" for every variable, "NAME=TIME" for one.
bool CVcdDiffCall::Slack(const std::string& value, std::string& error)
{
    const size_t equals = value.rfind('=');
    const std::string name = equals == std::string::npos ? "" : value.substr(0, equals);
    const std::string time = equals == std::string::npos ? value : value.substr(equals + 1);
    CDuration slack;
    if (!CDuration::Parse(time, slack)) {
        error = "--slack: bad time '" + time +
                "' (a whole number with a unit: s, ms, us, ns, ps or fs; ms when none; as --slack TIME or --slack "
                "NAME=TIME)";
        return false;
    }
    if (equals != std::string::npos && name.empty()) {
        error = "--slack: no name before '=' in '" + value + "'";
        return false;
    }
    if (name.empty() ? this->slack.has_value() : slackByName.count(name) > 0) {
        error = "--slack given twice" + (name.empty() ? std::string() : " for " + name);
        return false;
    }
    (name.empty() ? this->slack.emplace() : slackByName[name]) = slack;
    return true;
}

// "0.001" apart at most, or "0.5%" of the larger magnitude.
bool CVcdDiffCall::Tolerance(const std::string& value, std::string& error)
{
    if (m_toleranceGiven) {
        error = "--tolerance given twice";
        return false;
    }
    m_toleranceGiven = true;
    const bool percent = !value.empty() && value.back() == '%';
    const std::string number = percent ? value.substr(0, value.size() - 1) : value;
    double bound = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), bound);
    if (ec != std::errc() || end != number.data() + number.size() || number.empty() || !(bound >= 0) ||
        bound == HUGE_VAL) {
        error = "--tolerance: bad number '" + value + "' (0 or more, as 0.001 apart or 0.5%)";
        return false;
    }
    (percent ? tolerance.relative : tolerance.absolute) = percent ? bound / 100 : bound;
    return true;
}
