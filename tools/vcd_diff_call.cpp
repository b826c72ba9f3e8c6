#include "tools/vcd_diff_call.h"

#include <charconv>

namespace {

constexpr const char* VALID = "--slack, --only, --max, --help, --version";

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
    std::vector<std::string> files;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg == "-" || arg.empty() || arg[0] != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options = false;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string option = arg.substr(0, equals);
        if (option != "--slack" && option != "--only" && option != "--max") {
            error = "unknown option '" + option + "' (valid: " + VALID + ")";
            return false;
        }
        if (equals == std::string::npos && i + 1 >= args.size()) {
            error = "option " + option + " needs a value";
            return false;
        }
        const std::string value = equals == std::string::npos ? args[++i] : arg.substr(equals + 1);
        if (!Option(option, value, error))
            return false;
    }
    if (files.size() != 2) {
        error = files.size() < 2 ? "two traces are needed, A and B" : "only two traces are compared";
        return false;
    }
    fileA = files[0];
    fileB = files[1];
    return true;
}

bool CVcdDiffCall::Option(const std::string& option, const std::string& value, std::string& error)
{
    if (option == "--slack")
        return Slack(value, error);
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

// "MS" for every variable, "NAME=MS" for one.
bool CVcdDiffCall::Slack(const std::string& value, std::string& error)
{
    const size_t equals = value.rfind('=');
    const std::string name = equals == std::string::npos ? "" : value.substr(0, equals);
    const std::string ms = equals == std::string::npos ? value : value.substr(equals + 1);
    uint64_t slack = 0;
    if (!whole_number(ms, slack)) {
        error = "--slack: bad number '" + ms + "' (whole ms, as --slack MS or --slack NAME=MS)";
        return false;
    }
    if (equals != std::string::npos && name.empty()) {
        error = "--slack: no name before '=' in '" + value + "'";
        return false;
    }
    if (name.empty() ? slackMs.has_value() : slackByName.count(name) > 0) {
        error = "--slack given twice" + (name.empty() ? std::string() : " for " + name);
        return false;
    }
    (name.empty() ? slackMs.emplace() : slackByName[name]) = slack;
    return true;
}
