#include "scenario/reports/github_annotation.h"

namespace {

// A command's text may not hold a line break, and its properties not the
// marks that separate them: each is written as %XX.
std::string escaped(const std::string& text, bool property)
{
    std::string out;
    for (const char c : text) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else if (property && c == ':')
            out += "%3A";
        else if (property && c == ',')
            out += "%2C";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string github_annotation(const CFileResult& file, const CScenarioResult& result)
{
    const std::string line = file.Line(result);
    const std::string where = file.file + ":" + std::to_string(result.line) + ": ";
    return "::error file=" + escaped(file.file, true) + ",line=" + std::to_string(result.line) +
           "::" + escaped(line.substr(where.size()), false);
}
