#include "scenario/reports/coverage_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/output_file.h"
#include "firmware/fw_watch.h"
#include "panel/state_names.h"
#include "scenario/reports/scenario_coverage.h"

namespace {

using CCoverage = CScenarioCoverage;

QString text(const std::string& s) { return QString::fromStdString(s); }

QJsonArray states(const CCoverage& coverage)
{
    QJsonArray items;
    for (int32_t s = 0; s < STATE_COUNT; ++s)
        items.append(QJsonObject{
            {"state", s + 1}, {"name", text(state_name(s + 1))}, {"count", static_cast<qint64>(coverage.Entered(s))}});
    return items;
}

QJsonArray transitions(const CCoverage& coverage)
{
    QJsonArray items;
    for (int i = 0; i < CCoverage::TRANSITION_COUNT; ++i) {
        const CCoverage::CTransition& t = CCoverage::TRANSITIONS[i];
        items.append(QJsonObject{{"from", t.from + 1},
                                 {"to", t.to + 1},
                                 {"what", QString::fromUtf8(t.what)},
                                 {"count", static_cast<qint64>(coverage.Taken(i))}});
    }
    return items;
}

QJsonArray timers(const CCoverage& coverage)
{
    QJsonArray items;
    for (int i = 0; i < CCoverage::TIMER_COUNT && i < FW_TIMER_COUNT; ++i)
        items.append(QJsonObject{{"name", QString::fromUtf8(fw_timers[i].name)},
                                 {"count", static_cast<qint64>(coverage.Started(i))}});
    return items;
}

QJsonArray outcomes(const CCoverage& coverage)
{
    QJsonArray items;
    for (int i = 0; i < CCoverage::OUTCOME_COUNT; ++i)
        items.append(QJsonObject{{"name", QString::fromUtf8(CCoverage::OUTCOMES[i])},
                                 {"count", static_cast<qint64>(coverage.Seen(i))}});
    return items;
}

}  // namespace

std::string CCoverageJson::Text(const CScenarioCoverage& coverage)
{
    const QJsonObject root{
        {"states", states(coverage)},
        {"transitions", transitions(coverage)},
        {"timers", timers(coverage)},
        {"travel_outcomes", outcomes(coverage)},
        {"reached", QJsonObject{{"states", coverage.States()},
                                {"transitions", coverage.Transitions()},
                                {"timers", coverage.Timers()},
                                {"travel_outcomes", coverage.Outcomes()}}},
        {"of", QJsonObject{{"states", STATE_COUNT},
                           {"transitions", CCoverage::TRANSITION_COUNT},
                           {"timers", CCoverage::TIMER_COUNT},
                           {"travel_outcomes", CCoverage::OUTCOME_COUNT}}},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

bool CCoverageJson::Write(const std::string& path, const CScenarioCoverage& coverage, std::string& error)
{
    const std::string json = Text(coverage);
    return COutputFile::WriteWhole(path, json.data(), json.size(), error);
}
