#pragma once
// The command line of trelvik-vcd-diff, understood:
//   A.vcd B.vcd [--slack TIME] [--slack NAME=TIME]... [--only NAME]... [--max N]
//   [--tolerance REAL[%]] [--map A=B | --map FILE]...
// "--opt=value" as well as "--opt value"; "--" ends the options. Only
// --slack, --only and --map may be given more than once. A TIME is a whole number
// with a unit (5us, 2ms, 1s); a bare number is ms.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "trace/name_map.h"
#include "trace/value_match.h"
#include "trace/vcd_timescale.h"

class CVcdDiffCall {
public:
    // False with the reason for a call not understood.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    bool help = false, version = false;  // nothing else is read then
    std::string fileA, fileB;
    std::optional<CDuration> slack;
    std::map<std::string, CDuration> slackByName;
    std::vector<std::string> only;
    size_t max = 20;
    CTolerance tolerance;
    CNameMap map;

private:
    bool Option(const std::string& option, const std::string& value, std::string& error);
    bool Slack(const std::string& value, std::string& error);
    bool Tolerance(const std::string& value, std::string& error);

    bool m_maxGiven = false, m_toleranceGiven = false;
};
