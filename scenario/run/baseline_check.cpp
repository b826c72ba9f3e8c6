#include "scenario/run/baseline_check.h"

#include <cstdio>
#include <fstream>

#include "sim/trace_recorder.h"

namespace {

// What our programs write first in a trace: the runner's own, or the workbench's export.
bool written_by_us(const std::string& path)
{
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    return first.rfind("$version trelvik-scenario", 0) == 0 || first.rfind("$version trelvik-workbench", 0) == 0;
}

// "MAIN_FAN 1, baseline 0 (baseline changed at 21603 ms)": the run is A, the baseline B.
std::string divergence_text(const CTraceCompare::CDivergence& d)
{
    return d.name + " " + d.textA + ", baseline " + d.textB + " (baseline changed at " + std::to_string(d.lastChangeB) +
           " ms)";
}

const std::string RECORD = "scenario-hash ";

// The record's hash and scenario name, or false.
bool read_record(const std::string& comment, std::string& hash, std::string& name)
{
    const size_t hashEnd = RECORD.size() + 16;
    const std::string between = " scenario ";
    if (comment.rfind(RECORD, 0) != 0 || comment.size() <= hashEnd + between.size() ||
        comment.compare(hashEnd, between.size(), between) != 0)
        return false;
    hash = comment.substr(RECORD.size(), 16);
    name = comment.substr(hashEnd + between.size());
    return true;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

}  // namespace

bool CBaselineCheck::Load(const std::string& path, std::string& error)
{
    m_path = path;
    if (!m_trace.ParseFile(path, error)) {
        if (error.find("No such file") != std::string::npos)
            error += " (record it with --record-baseline)";
        return false;
    }
    if (!written_by_us(path) || !CTraceCompare::Has(m_trace, "state_number")) {
        error = path + ": not a baseline of trelvik-scenario (its $version names another program)";
        return false;
    }
    for (const std::string& name : Variables())
        if (const std::string unknown = CTraceRecorder::CheckVariable(name); !unknown.empty()) {
            error = path + ": not a baseline of this controller: " + unknown;
            return false;
        }
    for (const std::string& comment : m_trace.Comments())
        if (read_record(comment, m_recordedHash, m_recordedName))
            break;
    return true;
}

std::string CBaselineCheck::Record(const std::string& scenarioPath, const std::string& text)
{
    uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    std::string name = scenarioPath.substr(scenarioPath.find_last_of('/') + 1);
    for (char& c : name)
        c = c == ' ' || c == '\t' || c == '\n' || c == '\r' ? '_' : c;  // one word in the header
    return RECORD + hex + " scenario " + name;
}

std::string CBaselineCheck::RecordNote(const std::string& record) const
{
    std::string hash, name;
    read_record(record, hash, name);
    if (m_recordedName.empty())
        return m_path +
               ": recorded before baselines named their scenario; compared all the same "
               "(recording it again adds the record)";
    if (m_recordedName != name)
        return m_path + ": the baseline of another scenario, " + m_recordedName + ", not of " + name +
               "; compared all the same";
    if (m_recordedHash != hash)
        return m_path + ": recorded from an earlier text of " + name + ", edited since; compared all the same";
    return {};
}

std::vector<std::string> CBaselineCheck::Variables() const
{
    std::vector<std::string> names;
    for (const CVcdReader::CVariable& var : m_trace.Variables())
        if (var.scope == "trelvik.firmware" && var.name != "state_number" && var.name != "run_sec")
            names.push_back(var.name);
    return names;
}

std::string CBaselineCheck::CheckVariables(const std::vector<std::string>& asked) const
{
    for (const std::string& name : asked)
        if (!CTraceCompare::Has(m_trace, name))
            return m_path + ": the baseline has no variable '" + name + "' (it has: " + joined(Variables()) +
                   "); record it again with --vcd-var " + name;
    return {};
}

CBaselineCheck::COutcome CBaselineCheck::Compare(const CVcdReader& run, const std::function<int(uint64_t)>& lineAt,
                                                 const CTraceCompare::COptions& options) const
{
    CTraceCompare::COptions only = options;
    only.only = CTraceCompare::Names(m_trace);
    only.keep = 0;  // the first of each signal is all that is shown
    const CTraceCompare::CResult result = CTraceCompare::Compare(run, m_trace, only);
    COutcome outcome;
    CScenarioResult& verdict = outcome.verdict;
    const std::vector<CTraceCompare::CDivergence> first = result.FirstAndOnePerName(MORE);
    if (!first.empty()) {
        verdict.timeMs = first.front().timeMs;
        verdict.what = "differs from the baseline: " + divergence_text(first.front());
        for (size_t i = 1; i < first.size(); ++i)
            outcome.more.push_back(std::to_string(first[i].timeMs) + " ms: " + divergence_text(first[i]));
    } else if (!result.onlyB.empty()) {
        verdict.what = "differs from the baseline: the run has no " + joined(result.onlyB);
    } else if (result.endsDiffer) {
        verdict.timeMs = std::min(result.endA, result.endB);
        verdict.what = "differs from the baseline: the run ends at " + std::to_string(result.endA) +
                       " ms, the baseline at " + std::to_string(result.endB) + " ms";
    } else {
        verdict.held = true;
        verdict.timeMs = result.endA;
        verdict.what = "same as the baseline";
    }
    verdict.line = lineAt(verdict.timeMs);
    if (const uint64_t moved = result.MovedEdges())
        outcome.moved = std::to_string(moved) + (moved == 1 ? " edge" : " edges") + " moved by at most " +
                        std::to_string(result.LargestMoveMs()) + " ms";
    return outcome;
}
