#include "workbench/model/timers_model.h"

#include <algorithm>

#include "firmware/fw_watch.h"

namespace {
constexpr int64_t NOT_DUE = INT64_MIN;
}  // namespace

CTimersModel::CTimersModel(QObject* parent)
    : CWatchModel(FW_TIMER_COUNT,
                  {QString::fromUtf8("타이머"), QString::fromUtf8("상태"), QString::fromUtf8("단계"),
                   QString::fromUtf8("반복"), QString::fromUtf8("기한"), QString::fromUtf8("남은 ms")},
                  parent),
      m_nowMs(fw_variable_find("now_ms"))
{
}

// Step and repeats are packed as done * 65536 + of, so one number tells a change.
int64_t CTimersModel::Value(int row, int column) const
{
    const soft_timer& timer = *fw_timers[row].timer;
    const bool running = timer.status == TIMER_RUNNING;
    switch (column) {
    case STATUS:
        return timer.status * 2 + timer.stop_pending;
    case STEP:
        return int64_t{timer.step_index} * 65536 + timer.step_count;
    case REPEATS:
        return int64_t{timer.repeats_done} * 65536 + timer.repeat_count;
    case DUE:
        return timer.due_ms;
    case REMAINING: {
        const uint32_t now = m_nowMs ? static_cast<uint32_t>(fw_variable_read(m_nowMs)) : 0;
        // A timer already due (the pace timer's 0 ms steps are always due) steps at its next poll.
        return running ? std::max<int64_t>(0, int64_t{timer.due_ms} - int64_t{now}) : NOT_DUE;
    }
    default:
        return row;
    }
}

QString CTimersModel::Text(int row, int column, int64_t value) const
{
    switch (column) {
    case NAME:
        return QString::fromUtf8(fw_timers[row].name);
    case STATUS: {
        const bool running = value / 2 == TIMER_RUNNING;
        if (!running)
            return QString::fromUtf8("정지");
        return QString::fromUtf8(value % 2 ? "마침" : "실행");  // played out: the next step only stops
    }
    case STEP:
        return QStringLiteral("%1/%2").arg(value / 65536).arg(value % 65536);
    case REPEATS: {
        const int64_t of = value % 65536;
        return QStringLiteral("%1/%2")
            .arg(value / 65536)
            .arg(of == TIMER_ENDLESS ? QStringLiteral("∞") : QString::number(of));
    }
    case REMAINING:
        return value == NOT_DUE ? QStringLiteral("—") : QString::number(value);
    default:
        return QString::number(value);
    }
}

// The packed forms of the fields' widest values (uint8_t steps, uint16_t
// passes, uint32_t times).
std::vector<int64_t> CTimersModel::Extremes(int, int column) const
{
    constexpr int64_t U8 = UINT8_MAX;
    constexpr int64_t U16 = UINT16_MAX;
    switch (column) {
    case STATUS:
        return {0, 1, int64_t{TIMER_RUNNING} * 2, int64_t{TIMER_RUNNING} * 2 + 1};
    case STEP:
        return {U8 * 65536 + U8};
    case REPEATS:
        return {U16 * 65536 + U16, U16 * 65536 + U16 - 1};
    case DUE:
    case REMAINING:
        return {UINT32_MAX};
    default:
        return {};
    }
}
