#pragma once
// The coverage of a call as JSON, for dashboards: each state, transition,
// timer and travel outcome with how many times it was reached, and the
// totals the closing coverage line gives.
//
//     {"states": [{"state": 1, "name": "기동", "count": 2}, ...],
//      "transitions": [{"from": 1, "to": 2, "what": "start-up done", "count": 2}, ...],
//      "timers": [{"name": "disk_timer", "count": 0}, ...],
//      "travel_outcomes": [{"name": "arrived", "count": 0}, ...],
//      "reached": {"states": 3, "transitions": 3, "timers": 1, "travel_outcomes": 0},
//      "of": {"states": 10, "transitions": 27, "timers": 11, "travel_outcomes": 3}}

#include <string>

class CScenarioCoverage;

class CCoverageJson {
public:
    static std::string Text(const CScenarioCoverage& coverage);
    // Through a temporary file; false with the reason.
    static bool Write(const std::string& path, const CScenarioCoverage& coverage, std::string& error);
};
