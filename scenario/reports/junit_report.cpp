#include "scenario/reports/junit_report.h"

#include <cstdio>

#include "cli/output_file.h"

namespace {

std::string seconds(double s)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", s);
    return text;
}

std::string testcase(const CFileResult& file, const CScenarioResult& r)
{
    const std::string name = CJunitReport::Escape(file.file + ":" + std::to_string(r.line));
    std::string xml = "    <testcase classname=\"" + CJunitReport::Escape(file.file) + "\" name=\"" + name + "\"";
    if (r.held && !r.error)
        return xml + "/>\n";
    const char* kind = r.error ? "error" : "failure";
    const std::string text = CJunitReport::Escape(file.Line(r));
    return xml + ">\n      <" + kind + " message=\"" + text + "\">" + text + "</" + kind + ">\n    </testcase>\n";
}

}  // namespace

std::string CJunitReport::Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += '?';
            else
                out += c;
        }
    }
    return out;
}

std::string CJunitReport::Xml(const std::vector<CFileResult>& files)
{
    int tests = 0, failures = 0, errors = 0;
    double total = 0;
    std::string suites;
    for (const CFileResult& file : files) {
        int fileErrors = file.ran ? 0 : 1;
        int fileFailures = 0;
        std::string cases;
        for (const CScenarioResult& r : file.results) {
            fileErrors += r.error;
            fileFailures += !r.error && !r.held;
            cases += testcase(file, r);
        }
        if (!file.ran)
            cases += "    <testcase classname=\"" + Escape(file.file) + "\" name=\"" + Escape(file.file) +
                     "\">\n      <error message=\"" + Escape(file.error) + "\">" + Escape(file.error) +
                     "</error>\n    </testcase>\n";
        else if (!file.error.empty())
            ++fileErrors;  // the file ran, but an output of it failed: said on the suite
        const int fileTests = static_cast<int>(file.results.size()) + (file.ran ? 0 : 1);
        suites += "  <testsuite name=\"" + Escape(file.file) + "\" tests=\"" + std::to_string(fileTests) +
                  "\" failures=\"" + std::to_string(fileFailures) + "\" errors=\"" + std::to_string(fileErrors) +
                  "\" time=\"" + seconds(file.seconds) + "\">\n" + cases;
        if (file.ran && !file.error.empty())
            suites += "    <system-err>" + Escape(file.error) + "</system-err>\n";
        suites += "  </testsuite>\n";
        tests += fileTests;
        failures += fileFailures;
        errors += fileErrors;
        total += file.seconds;
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"trelvik-scenario\" tests=\"" +
           std::to_string(tests) + "\" failures=\"" + std::to_string(failures) + "\" errors=\"" +
           std::to_string(errors) + "\" time=\"" + seconds(total) + "\">\n" + suites + "</testsuites>\n";
}

bool CJunitReport::Write(const std::string& path, const std::vector<CFileResult>& files, std::string& error)
{
    const std::string xml = Xml(files);
    return COutputFile::WriteWhole(path, xml.data(), xml.size(), error);
}
