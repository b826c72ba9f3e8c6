#include "workbench/model/session_record.h"

#include <cstdio>

#include "scenario/language/panel_names.h"

namespace {

std::string wait_line(uint64_t fromMs, uint64_t toMs)
{
    if (toMs <= fromMs)
        return {};
    char line[64];
    std::snprintf(line, sizeof line, "wait %-12llu # to %s\n", static_cast<unsigned long long>(toMs - fromMs),
                  clock_text(toMs).c_str());
    return line;
}

std::string action_line(const CRecordedAction& action)
{
    switch (action.kind) {
    case CRecordedAction::PRESS:
        if (action.input >= 0)
            return std::string("press ") + SCENARIO_INPUTS[action.input].caption + "\n";
        return "press " + std::to_string(action.point.x) + " " + std::to_string(action.point.y) + "\n";
    case CRecordedAction::RELEASE:
        return "release\n";
    case CRecordedAction::RESET_CPU:
        return "reset-cpu\n";
    case CRecordedAction::FAULT_SET:
        return "fault " + action.fault + "\n";
    case CRecordedAction::FAULT_CLEAR:
        return "clear " + action.fault + "\n";
    }
    return {};
}

}  // namespace

std::string clock_text(uint64_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02llu:%02llu.%03llu", static_cast<unsigned long long>(ms / 60000),
                  static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000));
    return text;
}

void CSessionRecord::Start(uint64_t nowMs, std::string prelude)
{
    m_startMs = nowMs;
    m_prelude = std::move(prelude);
    m_actions.clear();
    m_savedCount = 0;
}

void CSessionRecord::Add(const CRecordedAction& action)
{
    m_actions.push_back(action);
    m_actions.back().endMs = action.timeMs;
}

void CSessionRecord::ResetDone(uint64_t atMs)
{
    for (auto it = m_actions.rbegin(); it != m_actions.rend(); ++it)
        if (it->kind == CRecordedAction::RESET_CPU) {
            it->endMs = atMs;
            return;
        }
}

// A reset step returns only when the restarted firmware runs, so the wait
// after it counts from there.
std::string CSessionRecord::Steps(uint64_t endMs) const
{
    std::string text;
    if (!m_prelude.empty()) {
        text = "# The scenario replayed first, as it was written:\n" + m_prelude;
        if (text.back() != '\n')
            text += '\n';
        text += "# Then, at the workbench:\n";
    }
    uint64_t at = m_startMs;
    for (const CRecordedAction& action : m_actions) {
        text += wait_line(at, action.timeMs);
        text += action_line(action);
        at = action.timeMs > at ? action.timeMs : at;
        if (action.endMs > at)
            at = action.endMs;
    }
    text += wait_line(at, endMs);
    return text;
}
