// The steps a strip of the trace view draws: each row's value where the
// strip begins, then its changes. A pixel column of few changes gives them
// one by one; one of many is read from the ring's summary, as what each row
// did there, so a frame's cost follows its columns, not the changes.

#include <algorithm>
#include <cmath>

#include "trace/trace_buffer.h"
#include "workbench/widgets/column_line.h"
#include "workbench/widgets/trace_view.h"

namespace {

// A column with more changes than this is read from the summary.
constexpr uint64_t FEW_CHANGES = 32;

}  // namespace

// A box's end is the same whatever strip is painted: the steps run on to
// where the known values end.
void CTraceView::CollectSteps(double fromMs)
{
    const double known = static_cast<double>(m_buffer->KnownFromMs());
    const uint64_t from = static_cast<uint64_t>(std::max(fromMs, known));
    const double end = std::min(EndMs(), static_cast<double>(m_nowMs));
    const uint64_t to = end > 0 ? static_cast<uint64_t>(end) : 0;
    std::vector<int> rowOf(m_buffer->ChannelCount(), -1);
    for (int row = 0; row < RowCount(); ++row) {
        rowOf[m_rows[row]] = row;
        m_steps[row].clear();
        if (to < from)
            continue;
        const CTraceBuffer::CValue start = m_buffer->ValueSince(m_rows[row], from);
        const double x = XOf(static_cast<double>(std::max<uint64_t>(start.sinceMs, known)));
        m_steps[row].push_back(CStep{x, start.value, start.value, start.value});
    }
    if (to < from)
        return;
    const uint64_t last = m_buffer->FirstAfter(to);
    for (uint64_t i = m_buffer->FirstAfter(from); i < last;)
        i = CollectColumn(i, last, rowOf);
    for (auto& steps : m_steps)
        steps.push_back(
            CStep{XOf(static_cast<double>(to)), steps.back().value, steps.back().value, steps.back().value});
}

// The changes from `from` to the end of its pixel column; gives the first after them.
uint64_t CTraceView::CollectColumn(uint64_t from, uint64_t last, const std::vector<int>& rowOf)
{
    const double x = XOf(static_cast<double>(m_buffer->At(from).timeMs));
    const double nextMs = std::ceil(MsAt(std::floor(x) + 1));  // the first whole ms of the next column
    const uint64_t end = std::clamp(m_buffer->FirstAfter(static_cast<uint64_t>(nextMs) - 1), from + 1, last);
    if (end - from <= FEW_CHANGES) {
        for (uint64_t i = from; i < end; ++i) {
            const CTraceBuffer::CChange& change = m_buffer->At(i);
            const int row = rowOf[change.channel];
            if (row >= 0)
                m_steps[row].push_back(
                    CStep{XOf(static_cast<double>(change.timeMs)), change.value, change.value, change.value});
        }
        return end;
    }
    m_spans.assign(rowOf.size(), CTraceSummary::CSpan{});
    m_buffer->Fold(from, end, m_spans.data());
    for (int row = 0; row < RowCount(); ++row) {
        const CTraceSummary::CSpan& span = m_spans[m_rows[row]];
        if (span.Changed())
            m_steps[row].push_back(CStep{x, span.last, span.low, span.high});
    }
    return end;
}

// A row's steps as a line through y(value): at each step from the value
// before to its lowest and highest there and on to its value.
QPolygonF CTraceView::StepLine(const std::vector<CStep>& steps, const std::function<double(int32_t)>& y) const
{
    CColumnLine line(static_cast<int>(std::min<size_t>(steps.size() * 2, 4 * WaveWidth() + 8)));
    line.Add(steps.front().x, y(steps.front().value));
    for (size_t i = 1; i < steps.size(); ++i) {
        line.Add(steps[i].x, y(steps[i - 1].value));
        if (steps[i].low != steps[i].high) {
            line.Add(steps[i].x, y(steps[i].low));
            line.Add(steps[i].x, y(steps[i].high));
        }
        line.Add(steps[i].x, y(steps[i].value));
    }
    return line.Take();
}
