#include "tools/vcd_diff_call.h"

#include <charconv>

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
    COptionReader reader({{"--slack", true, true}, {"--only", true, true}, {"--max", true}});
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
