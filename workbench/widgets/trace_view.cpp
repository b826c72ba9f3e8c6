#include "workbench/widgets/trace_view.h"

#include <algorithm>
#include <cmath>

#include "panel/state_names.h"
#include "trace/trace_buffer.h"
#include "trace/trace_edges.h"
#include "workbench/widgets/trace_view_style.h"

using namespace trace_view_style;

CTraceView::CTraceView(const CTraceBuffer& buffer, QWidget* parent) : QWidget(parent), m_buffer(&buffer)
{
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    ChannelsChanged();
}

void CTraceView::SetBuffer(const CTraceBuffer& buffer)
{
    m_buffer = &buffer;
    m_cursor = m_cursorB = false;
    m_nowMs = 0;
    ChannelsChanged();
    Follow();
}

void CTraceView::ChannelsChanged()
{
    m_rowSet.Update(*m_buffer);
    RowsChanged();
}

void CTraceView::RowsChanged()
{
    m_rows = m_rowSet.Shown();
    m_steps.assign(m_rows.size(), {});
    m_shown.assign(m_rows.size(), 0);
    m_scales.assign(m_rows.size(), {0, 0});
    if (std::find(m_rows.begin(), m_rows.end(), m_selected) == m_rows.end())
        m_selected = -1;
    MatchBaseline();
    ScalesChanged();
    updateGeometry();
    Changed();
}

QSize CTraceView::minimumSizeHint() const
{
    int height = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row)
        height += RowHeight(row);
    return QSize(WAVE_LEFT + MIN_WAVE_WIDTH, height);
}

QSize CTraceView::sizeHint() const { return QSize(WAVE_LEFT + 560, minimumSizeHint().height()); }

int CTraceView::WaveLeft() const { return WAVE_LEFT; }

int CTraceView::WaveWidth() const { return std::max(1, width() - WaveLeft()); }

QRect CTraceView::WaveRect() const { return QRect(WaveLeft(), 0, WaveWidth(), height()); }

CTraceView::RowKind CTraceView::Kind(int row) const
{
    const int channel = m_rows[row];
    if (m_buffer->IsBit(channel))
        return BITS;
    return m_buffer->Name(channel) == "state_number" ? LANE : STEPS;
}

int CTraceView::RowHeight(int row) const
{
    const RowKind kind = Kind(row);
    return kind == BITS ? BIT_ROW : kind == LANE ? WORD_ROW : STEP_ROW;
}

int CTraceView::RowTop(int row) const
{
    int top = AXIS_HEIGHT;
    for (int above = 0; above < row; ++above)
        top += RowHeight(above);
    return top;
}

int CTraceView::RowAt(int y) const
{
    int top = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row) {
        if (y >= top && y < top + RowHeight(row))
            return row;
        top += RowHeight(row);
    }
    return -1;
}

int64_t CTraceView::EndPx() const
{
    return static_cast<int64_t>(std::floor((m_follow ? static_cast<double>(m_nowMs) : m_endMs) / MsPerPx()));
}

// A moment's x is its whole-pixel count shifted by the edge: moving the edge
// by whole pixels moves every drawing by exactly as many.
double CTraceView::XOf(double ms) const
{
    return static_cast<double>(WaveLeft() + WaveWidth() - EndPx()) + ms / MsPerPx();
}

double CTraceView::MsAt(double x) const
{
    return (x - static_cast<double>(WaveLeft() + WaveWidth() - EndPx())) * MsPerPx();
}

uint64_t CTraceView::MomentAt(double x) const
{
    return std::min(m_nowMs, static_cast<uint64_t>(std::max(0.0, std::round(MsAt(x)))));
}

void CTraceView::SetEndMs(double endMs)
{
    m_follow = endMs >= static_cast<double>(m_nowMs);
    m_endMs = endMs;
}

void CTraceView::Changed()
{
    m_wholePending = true;
    update();
    emit ViewChanged();
}

// Following, a frame scrolls the waves by the pixels the clock moved and
// paints the new strip and the two pixels before it, where the last frame
// stopped; in the rows of numbers and on the axis also the LABEL_ROOM
// before that, where a text may just have come to fit, and the axis's
// LABEL_ROOM at the left, where a label may no longer fit whole. With a
// mark near an edge, whose label may turn, it paints everything. The labels are
// painted again only when a value changed, and everything when a row of
// steps needs a wider scale.
void CTraceView::SetNow(uint64_t nowMs)
{
    if (nowMs == m_nowMs)
        return;
    m_nowMs = nowMs;
    if (m_cursor && m_cursorMs > nowMs)
        m_cursorMs = nowMs;
    if (m_cursorB && m_cursorBMs > nowMs)
        m_cursorBMs = nowMs;
    const int64_t shift = EndPx() - m_scrolledEndPx;
    const int strip = static_cast<int>(shift) + 2;
    const int wordStrip = strip + LABEL_ROOM + 10;
    if (ScalesChanged()) {
        Changed();
    } else if (m_follow && shift > 0 && wordStrip < WaveWidth() && !m_wholePending && !MarkNearEdge()) {
        scroll(static_cast<int>(-shift), 0, WaveRect());
        update(QRect(width() - strip, 0, strip, height()));
        UpdateNumberStrips(wordStrip);
        // The axis labels near both edges, drawn whole or not at all.
        update(QRect(width() - wordStrip, 0, wordStrip, AXIS_HEIGHT));
        update(QRect(WaveLeft(), 0, LABEL_ROOM + 10, AXIS_HEIGHT));
    } else if (m_follow ? shift != 0 : XOf(static_cast<double>(nowMs)) <= width() + 1) {
        update(WaveRect());
    }
    m_scrolledEndPx = EndPx();
    bool changed = false;
    for (int row = 0; row < RowCount(); ++row) {
        const int32_t value = ValueShown(row);
        changed |= value != m_shown[row];
        m_shown[row] = value;
    }
    if (changed)
        update(QRect(0, 0, WaveLeft(), height()));
}

void CTraceView::UpdateNumberStrips(int width)
{
    int top = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row) {
        if (Kind(row) != BITS)
            update(QRect(this->width() - width, top, width, RowHeight(row)));
        top += RowHeight(row);
    }
}

// A row of steps is drawn on the scale of the lowest and highest value its
// channel ever took; when that grows, the whole row must be drawn anew.
bool CTraceView::ScalesChanged()
{
    bool changed = false;
    for (int row = 0; row < RowCount(); ++row) {
        const std::pair<int32_t, int32_t> scale{std::min(m_buffer->Lowest(m_rows[row]), m_baseScales[row].first),
                                                std::max(m_buffer->Highest(m_rows[row]), m_baseScales[row].second)};
        changed |= Kind(row) == STEPS && scale != m_scales[row];
        m_scales[row] = scale;
    }
    return changed;
}

void CTraceView::ZoomAt(double factor, double x)
{
    const double at = MsAt(x);
    const double end = at + (EndMs() - at) * factor;
    m_spanMs = std::clamp(m_spanMs * factor, MIN_SPAN_MS, MAX_SPAN_MS);
    SetEndMs(end);
    Changed();
}

// Around the cursor when there is one, otherwise around the right edge.
void CTraceView::Zoom(double factor)
{
    ZoomAt(factor, m_cursor ? XOf(static_cast<double>(m_cursorMs)) : WaveLeft() + WaveWidth());
}

void CTraceView::ZoomTo(double fromMs, double toMs)
{
    if (toMs < fromMs)
        std::swap(fromMs, toMs);
    m_spanMs = std::clamp(toMs - fromMs, MIN_SPAN_MS, MAX_SPAN_MS);
    SetEndMs((fromMs + toMs + m_spanMs) / 2);
    Changed();
}

void CTraceView::ZoomToFit()
{
    const double known = static_cast<double>(m_buffer->KnownFromMs());
    ZoomTo(known, std::max(static_cast<double>(m_nowMs), known + MIN_SPAN_MS));
    m_follow = true;
}

void CTraceView::ResetZoom()
{
    m_spanMs = DEFAULT_SPAN_MS;
    Follow();
}

void CTraceView::Follow()
{
    m_follow = true;
    Changed();
}
