#include "scenario/reports/coverage_merge.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/input_file.h"
#include "cli/output_file.h"
#include "firmware/fw_watch.h"
#include "scenario/reports/coverage_json.h"
#include "scenario/reports/scenario_coverage.h"

namespace {

using CCoverage = CScenarioCoverage;

// One section's items, in the order the report writes them, each checked by `same`.
template <typename Same>
bool add_items(const QJsonObject& root, const char* section, int first, int count, Same same, CCoverage& coverage,
               std::string& error)
{
    const QJsonArray items = root.value(section).toArray();
    if (items.size() != count) {
        error = std::string("\"") + section + "\" has " + std::to_string(items.size()) + " items, not " +
                std::to_string(count);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const QJsonObject item = items[i].toObject();
        const double n = item.value("count").toDouble(-1);
        if (n < 0 || n > 4294967295.0 || n != static_cast<double>(static_cast<uint64_t>(n))) {
            error = std::string("\"") + section + "\" item " + std::to_string(i + 1) + ": bad count";
            return false;
        }
        if (!same(i, item)) {
            error = std::string("\"") + section + "\" item " + std::to_string(i + 1) + " is not this program's";
            return false;
        }
        const uint64_t sum = coverage.Count(first + i) + static_cast<uint64_t>(n);
        coverage.SetCount(first + i, sum > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(sum));
    }
    return true;
}

}  // namespace

CCoverageMerge::CCoverageMerge(std::vector<std::string> reports, std::string jsonOut, std::ostream& out,
                               std::ostream& err)
    : m_reports(std::move(reports)), m_jsonOut(std::move(jsonOut)), m_out(out), m_err(err)
{
}

bool CCoverageMerge::Add(const std::string& json, CScenarioCoverage& coverage, std::string& error)
{
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parse);
    if (document.isNull() || !document.isObject()) {
        error = "not JSON: " + parse.errorString().toStdString() + " at byte " + std::to_string(parse.offset);
        return false;
    }
    const QJsonObject root = document.object();
    CScenarioCoverage added = coverage;  // all of a report, or nothing of it
    const auto state = [](int i, const QJsonObject& item) { return item.value("state").toInt() == i + 1; };
    const auto transition = [](int i, const QJsonObject& item) {
        const CCoverage::CTransition& t = CCoverage::TRANSITIONS[i];
        return item.value("from").toInt() == t.from + 1 && item.value("to").toInt() == t.to + 1;
    };
    const auto timer = [](int i, const QJsonObject& item) {
        return i < FW_TIMER_COUNT && item.value("name").toString() == QString::fromUtf8(fw_timers[i].name);
    };
    const auto outcome = [](int i, const QJsonObject& item) {
        return item.value("name").toString() == QString::fromUtf8(CCoverage::OUTCOMES[i]);
    };
    constexpr int TRANSITIONS_AT = STATE_COUNT;
    constexpr int TIMERS_AT = TRANSITIONS_AT + CCoverage::TRANSITION_COUNT;
    constexpr int OUTCOMES_AT = TIMERS_AT + CCoverage::TIMER_COUNT;
    if (!add_items(root, "states", 0, STATE_COUNT, state, added, error) ||
        !add_items(root, "transitions", TRANSITIONS_AT, CCoverage::TRANSITION_COUNT, transition, added, error) ||
        !add_items(root, "timers", TIMERS_AT, CCoverage::TIMER_COUNT, timer, added, error) ||
        !add_items(root, "travel_outcomes", OUTCOMES_AT, CCoverage::OUTCOME_COUNT, outcome, added, error))
        return false;
    coverage = added;
    return true;
}

int CCoverageMerge::Run()
{
    std::string error;
    if (!m_jsonOut.empty() && !COutputFile::Check(m_jsonOut, m_reports, error)) {
        m_err << printable_name(error) << "\n";
        return 2;
    }
    CScenarioCoverage merged;
    for (const std::string& report : m_reports) {
        CInputFile input;
        if (!input.Read(report)) {
            m_err << printable_name(input.ErrorMessage(report)) << "\n";
            return 2;
        }
        if (!Add(input.Text(), merged, error)) {
            m_err << printable_name(report) << ": not a coverage report of trelvik-scenario: " << error << "\n";
            return 2;
        }
    }
    m_out << "merged " << m_reports.size() << (m_reports.size() == 1 ? " coverage report\n" : " coverage reports\n");
    merged.Report(m_out);
    m_out.flush();
    if (!m_jsonOut.empty() && !CCoverageJson::Write(m_jsonOut, merged, error)) {
        m_err << printable_name(error) << "\n";
        return 2;
    }
    if (merged.Transitions() < m_failUnderTransitions) {
        m_err << "coverage: " << merged.Transitions() << " transitions taken, fewer than " << m_failUnderTransitions
              << " (--fail-under-transitions)" << std::endl;
        return 1;
    }
    return 0;
}
