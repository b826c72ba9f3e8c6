// The trace view's cursors, rows and saved layouts, and the values it reads.

#include <algorithm>
#include <cmath>

#include "panel/state_names.h"
#include "trace/divergence_watch.h"
#include "trace/trace_buffer.h"
#include "trace/trace_edges.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"

using namespace trace_view_style;

void CTraceView::SetCursorMs(uint64_t ms)
{
    m_cursor = true;
    m_cursorMs = std::min(ms, m_nowMs);
    Changed();
}

void CTraceView::SetCursorBMs(uint64_t ms)
{
    const bool appears = !m_cursorB;
    m_cursorB = true;
    m_cursorBMs = std::min(ms, m_nowMs);
    if (appears)
        updateGeometry();  // a column of values more
    Changed();
}

void CTraceView::GoTo(uint64_t ms)
{
    SetCursorMs(ms);
    const double at = static_cast<double>(m_cursorMs);
    if (at < StartMs() || at > EndMs())
        SetEndMs(at + m_spanMs / 2);
    Changed();
}

void CTraceView::RemoveCursor()
{
    m_cursor = false;
    m_cursorB = false;
    Changed();
}

bool CTraceView::JumpToEdge(int direction)
{
    if (m_selected < 0)
        return false;
    const CTraceEdges edges(*m_buffer, m_selected);
    const uint64_t from = m_cursor ? m_cursorMs : m_nowMs;
    const std::optional<uint64_t> edge = direction > 0 ? edges.Next(from) : edges.Previous(from);
    if (!edge || *edge > m_nowMs)
        return false;
    GoTo(*edge);
    return true;
}

void CTraceView::SelectRow(int row)
{
    m_selected = row >= 0 && row < RowCount() ? m_rows[row] : -1;
    Changed();
}

int CTraceView::SelectedRow() const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), m_selected);
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

void CTraceView::HideRow(int row)
{
    m_rowSet.Hide(row);
    RowsChanged();
}

void CTraceView::MoveRow(int row, int by)
{
    m_rowSet.Move(row, by);
    RowsChanged();
}

void CTraceView::ShowAllRows()
{
    m_rowSet.ShowAll();
    RowsChanged();
}

CTraceLayout CTraceView::Layout() const
{
    CTraceLayout layout;
    layout.rows = m_rowSet.Names();
    layout.spanMs = m_spanMs;
    layout.endMs = EndMs();
    layout.follow = m_follow;
    return layout;
}

QStringList CTraceView::ApplyLayout(const CTraceLayout& layout)
{
    const QStringList missing = m_rowSet.Apply(layout.rows);
    m_spanMs = std::clamp(layout.spanMs, MIN_SPAN_MS, MAX_SPAN_MS);
    if (layout.follow)
        m_follow = true;
    else
        SetEndMs(layout.endMs);
    RowsChanged();
    return missing;
}

void CTraceView::SetMarkers(std::vector<uint64_t> timesMs)
{
    m_markers = std::move(timesMs);
    Changed();
}

void CTraceView::SetBaseline(const CVcdReader* baseline)
{
    m_baseline = baseline;
    MatchBaseline();
    ScalesChanged();
    Changed();
}

// Each row's variable in the baseline, paired as the divergence watch pairs them.
void CTraceView::MatchBaseline()
{
    m_baseRows.assign(m_rows.size(), nullptr);
    m_baseScales.assign(m_rows.size(), {INT32_MAX, INT32_MIN});
    if (!m_baseline)
        return;
    const std::vector<CDivergenceWatch::CPartner> partners = CDivergenceWatch::Partners(*m_buffer, *m_baseline);
    for (int row = 0; row < RowCount(); ++row) {
        m_baseRows[row] = partners[static_cast<size_t>(m_rows[row])].var;
        if (!m_baseRows[row])
            continue;
        for (const auto& change : m_baseRows[row]->changes) {
            const int64_t wide = static_cast<int64_t>(change.second);  // a signed value comes as two's complement
            const int32_t value = static_cast<int32_t>(std::clamp<int64_t>(wide, INT32_MIN, INT32_MAX));
            m_baseScales[row] = {std::min(m_baseScales[row].first, value), std::max(m_baseScales[row].second, value)};
        }
    }
}

int CTraceView::BaselineRowsMatched() const
{
    return static_cast<int>(std::count_if(m_baseRows.begin(), m_baseRows.end(), [](auto* var) { return var; }));
}

void CTraceView::SetDivergence(bool found, uint64_t timeMs, const QString& name)
{
    m_diverged = found;
    m_divergenceMs = timeMs;
    m_divergenceName = name;
    Changed();
}

void CTraceView::resizeEvent(QResizeEvent* event)
{
    m_wholePending = true;
    QWidget::resizeEvent(event);
}

int32_t CTraceView::ValueShown(int row) const
{
    const int channel = m_rows[row];
    return m_cursor ? m_buffer->ValueAt(channel, m_cursorMs) : m_buffer->Current(channel);
}

QString CTraceView::Format(int channel, int32_t value) const
{
    if (m_buffer->Name(channel) == "state_number" && state_name(value)[0] != '\0')
        return QString::number(value) + QLatin1Char(' ') + QString::fromUtf8(state_name(value));
    return QString::number(value);
}

QString CTraceView::ValueText(int row) const { return Format(m_rows[row], ValueShown(row)); }

QString CTraceView::ValueTextB(int row) const
{
    return m_cursorB ? Format(m_rows[row], m_buffer->ValueAt(m_rows[row], m_cursorBMs)) : QString();
}

const QStaticText& CTraceView::Text(const QString& text)
{
    auto it = m_texts.find(text);
    if (it != m_texts.end())
        return *it;
    if (m_texts.size() > 4000)
        m_texts.clear();
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font());
    return *m_texts.insert(text, laid);
}
