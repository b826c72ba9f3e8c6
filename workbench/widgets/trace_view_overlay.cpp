// What the trace view draws over and under the live waves: the baseline,
// faint under the rows of the same name, and the span a drag is selecting
// (the marks are in trace_view_marks.cpp).

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "trace/trace_buffer.h"
#include "workbench/model/time_axis.h"
#include "workbench/widgets/column_line.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"

using namespace trace_view_style;

void CTraceView::PaintBaseline(QPainter& painter, double fromMs, double toMs)
{
    if (!m_baseline)
        return;
    const QRegion area = painter.clipRegion();
    int top = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row) {
        const int height = RowHeight(row);
        if (m_baseRows[row]) {
            painter.setClipRegion(area.intersected(QRect(WaveLeft(), top, WaveWidth(), height)));
            PaintBaselineRow(painter, row, top, height, fromMs, toMs);
        }
        top += height;
    }
    painter.setClipRegion(area);
}

// The baseline's value where the strip begins, then each change in it, as a
// broad faint line: where it matches the live row it lies just under it.
// At most four points a pixel column, however many changes it holds.
void CTraceView::PaintBaselineRow(QPainter& painter, int row, int top, int height, double fromMs, double toMs)
{
    const auto& changes = m_baseRows[row]->changes;
    const uint64_t from = static_cast<uint64_t>(std::max(0.0, fromMs));
    auto it = std::upper_bound(changes.begin(), changes.end(), std::make_pair(from, UINT64_MAX));
    if (it != changes.begin())
        --it;
    const auto y = [&](uint64_t value) {
        const int64_t signedValue = static_cast<int64_t>(value);
        switch (Kind(row)) {
        case BITS:
            return value ? top + 3.0 : top + height - 3.0;
        case LANE:
            return top + height - 3.0;
        case STEPS:
            break;
        }
        return StepY(row, top, height, signedValue);
    };
    CColumnLine line;
    double x = XOf(std::max(fromMs, 0.0));
    uint64_t value = it == changes.end() ? 0 : it->second;
    line.Add(x, y(value));
    for (++it; it != changes.end() && static_cast<double>(it->first) <= toMs; ++it) {
        x = XOf(static_cast<double>(it->first));
        line.Add(x, y(value));
        if (Kind(row) == LANE) {
            line.Add(x, top + 3.0);
            line.Add(x, y(value));
        }
        value = it->second;
        line.Add(x, y(value));
    }
    line.Add(XOf(toMs), y(value));
    painter.setPen(QPen(BASELINE, 4));
    painter.drawPolyline(line.Take());
}

void CTraceView::PaintSelection(QPainter& painter)
{
    if (!m_selecting)
        return;
    const int from = std::min(m_dragFrom.x(), m_selectTo);
    const int to = std::max(m_dragFrom.x(), m_selectTo);
    painter.fillRect(QRect(from, 0, to - from + 1, height()), SELECTION);
}
