#include "workbench/widgets/trace_view.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "panel/state_names.h"
#include "workbench/model/trace_buffer.h"
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
    m_cursor = false;
    m_nowMs = 0;
    ChannelsChanged();
    Follow();
}

void CTraceView::ChannelsChanged()
{
    m_rows.clear();
    for (int pass = 0; pass < 2; ++pass)
        for (int channel = 0; channel < m_buffer->ChannelCount(); ++channel)
            if (m_buffer->IsBit(channel) == (pass == 1))
                m_rows.push_back(channel);
    m_steps.assign(m_rows.size(), {});
    m_shown.assign(m_rows.size(), 0);
    updateGeometry();
    Changed();
}

QSize CTraceView::minimumSizeHint() const
{
    int height = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row)
        height += RowHeight(row);
    return QSize(NAME_WIDTH + VALUE_WIDTH + MIN_WAVE_WIDTH, height);
}

QSize CTraceView::sizeHint() const { return QSize(NAME_WIDTH + VALUE_WIDTH + 560, minimumSizeHint().height()); }

int CTraceView::WaveLeft() const { return NAME_WIDTH + VALUE_WIDTH; }

int CTraceView::WaveWidth() const { return std::max(1, width() - WaveLeft()); }

QRect CTraceView::WaveRect() const { return QRect(WaveLeft(), 0, WaveWidth(), height()); }

int CTraceView::RowHeight(int row) const { return m_buffer->IsBit(m_rows[row]) ? BIT_ROW : WORD_ROW; }

int64_t CTraceView::EndPx() const
{
    return m_follow ? static_cast<int64_t>(std::floor(static_cast<double>(m_nowMs) / MsPerPx())) : m_endPx;
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

void CTraceView::SetEndMs(double endMs)
{
    m_follow = endMs >= static_cast<double>(m_nowMs);
    m_endPx = static_cast<int64_t>(std::floor(endMs / MsPerPx()));
}

void CTraceView::Changed()
{
    m_wholePending = true;
    update();
    emit ViewChanged();
}

// Following, a frame scrolls the waves by the pixels the clock moved and
// paints the new strip and the two pixels before it, where the last frame
// stopped; in the rows of numbers also the LABEL_ROOM before that, where
// the text of a growing box may just have come to fit. The labels are
// painted again only when a value changed.
void CTraceView::SetNow(uint64_t nowMs)
{
    if (nowMs == m_nowMs)
        return;
    m_nowMs = nowMs;
    if (m_cursor && m_cursorMs > nowMs)
        m_cursorMs = nowMs;
    const int64_t shift = EndPx() - m_scrolledEndPx;
    const int strip = static_cast<int>(shift) + 2;
    const int wordStrip = strip + LABEL_ROOM + 10;
    if (m_follow && shift > 0 && wordStrip < WaveWidth() && !m_wholePending) {
        scroll(static_cast<int>(-shift), 0, WaveRect());
        update(QRect(width() - strip, 0, strip, height()));
        update(QRect(width() - wordStrip, AXIS_HEIGHT, wordStrip, WordRowsHeight()));
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

int CTraceView::WordRowsHeight() const
{
    int height = 0;
    for (int row = 0; row < RowCount() && !m_buffer->IsBit(m_rows[row]); ++row)
        height += RowHeight(row);
    return height;
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

void CTraceView::SetCursorMs(uint64_t ms)
{
    m_cursor = true;
    m_cursorMs = std::min(ms, m_nowMs);
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

CTraceLayout CTraceView::Layout() const
{
    CTraceLayout layout;
    for (int channel : m_rows)
        layout.rows << QString::fromStdString(m_buffer->Name(channel));
    layout.spanMs = m_spanMs;
    layout.endMs = EndMs();
    layout.follow = m_follow;
    return layout;
}

void CTraceView::ApplyLayout(const CTraceLayout& layout)
{
    m_spanMs = std::clamp(layout.spanMs, MIN_SPAN_MS, MAX_SPAN_MS);
    if (layout.follow)
        m_follow = true;
    else
        SetEndMs(layout.endMs);
    Changed();
}

void CTraceView::SetMarkers(std::vector<uint64_t> timesMs)
{
    m_markers = std::move(timesMs);
    Changed();
}

void CTraceView::SetBaseline(const CVcdReader* baseline)
{
    m_baseline = baseline;
    Changed();
}

void CTraceView::SetDivergence(bool found, uint64_t timeMs, const QString& name)
{
    m_diverged = found;
    m_divergenceMs = timeMs;
    m_divergenceName = name;
    Changed();
}
