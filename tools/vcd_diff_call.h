#pragma once
// The command line of trelvik-vcd-diff, understood:
//   A.vcd B.vcd [--slack MS] [--slack NAME=MS]... [--only NAME]... [--max N]
// "--opt=value" as well as "--opt value"; "--" ends the options. Only
// --slack and --only may be given more than once.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CVcdDiffCall {
public:
    // False with the reason for a call not understood.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    bool help = false, version = false;  // nothing else is read then
    std::string fileA, fileB;
    std::optional<uint64_t> slackMs;
    std::map<std::string, uint64_t> slackByName;  // in ms
    std::vector<std::string> only;
    size_t max = 20;

private:
    bool Option(const std::string& option, const std::string& value, std::string& error);
    bool Slack(const std::string& value, std::string& error);

    bool m_maxGiven = false;
};
