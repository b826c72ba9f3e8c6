// The trace view's painting: each part of the region to paint on its own,
// the waves only between the moments that part covers.

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "workbench/model/time_axis.h"
#include "workbench/model/trace_buffer.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"

using namespace trace_view_style;

void CTraceView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (event->region().boundingRect().contains(WaveRect()))
        m_wholePending = false;
    const uint64_t step = CTimeAxis::TickStep(m_spanMs, WaveWidth(), MIN_TICK_GAP);
    for (const QRect& area : event->region()) {
        painter.setClipRect(area);
        painter.fillRect(area, Qt::white);
        if (area.left() < WaveLeft())
            PaintLabels(painter);
        if (area.right() < WaveLeft())
            continue;
        painter.setClipRect(area.intersected(WaveRect()));  // ticks left of it would mark the labels
        const double fromMs = MsAt(std::max(area.left(), WaveLeft()) - 1);
        const double toMs = MsAt(area.right() + 2);
        CollectSteps(fromMs);
        PaintAxis(painter, fromMs, toMs, step);
        PaintWaves(painter, step);
        PaintCursor(painter);
    }
}

void CTraceView::PaintLabels(QPainter& painter)
{
    painter.fillRect(0, 0, WaveLeft(), AXIS_HEIGHT, HEADER);
    painter.setPen(Qt::black);
    painter.drawStaticText(4, 3, Text(QString::fromUtf8("신호")));
    painter.drawStaticText(NAME_WIDTH + 4, 3, Text(QString::fromUtf8(m_cursor ? "커서 값" : "지금 값")));
    int top = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row) {
        const int height = RowHeight(row);
        if (row % 2)
            painter.fillRect(0, top, WaveLeft() - 1, height, SHADE);
        const int textTop = top + (height - fontMetrics().height()) / 2;
        painter.setPen(Qt::black);
        painter.drawStaticText(4, textTop, Text(QString::fromStdString(m_buffer->Name(m_rows[row]))));
        painter.setPen(VALUE_TEXT);
        painter.drawStaticText(NAME_WIDTH + 4, textTop, Text(ValueText(row)));
        top += height;
    }
    painter.setPen(Qt::gray);
    painter.drawLine(WaveLeft() - 1, 0, WaveLeft() - 1, height());
}

// Ticks at whole multiples of the step, so they stay put as the waves move;
// a label reaches LABEL_ROOM pixels right of its tick. Before 0:00 (a view
// at the start, or moved back past it) the ticks count down to it.
void CTraceView::PaintAxis(QPainter& painter, double fromMs, double toMs, uint64_t step)
{
    painter.fillRect(WaveLeft(), 0, WaveWidth(), AXIS_HEIGHT, HEADER);
    const double first = fromMs - LABEL_ROOM * MsPerPx();
    const int64_t every = static_cast<int64_t>(step);
    for (int64_t t = static_cast<int64_t>(std::ceil(first / static_cast<double>(step))) * every;
         static_cast<double>(t) <= toMs; t += every) {
        const int x = static_cast<int>(std::floor(XOf(static_cast<double>(t))));
        painter.setPen(GRID);
        painter.drawLine(x, AXIS_HEIGHT, x, height());
        painter.setPen(Qt::black);
        painter.drawLine(x, AXIS_HEIGHT - 5, x, AXIS_HEIGHT - 1);
        painter.drawStaticText(x + 3, 3, Text(QString::fromStdString(CTimeAxis::SignedLabel(t, step))));
    }
}

// Each row's value where the strip begins, with the moment it took that
// value, then every change up to where the known values end: a box's end
// is the same whatever strip is painted.
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
        m_steps[row].push_back(CStep{XOf(static_cast<double>(std::max<uint64_t>(start.sinceMs, known))), start.value});
    }
    if (to < from)
        return;
    const uint64_t last = m_buffer->FirstAfter(to);
    for (uint64_t i = m_buffer->FirstAfter(from); i < last; ++i) {
        const CTraceBuffer::CChange& change = m_buffer->At(i);
        const int row = rowOf[change.channel];
        if (row >= 0)
            m_steps[row].push_back(CStep{XOf(static_cast<double>(change.timeMs)), change.value});
    }
    for (auto& steps : m_steps)
        steps.push_back(CStep{XOf(static_cast<double>(to)), steps.back().value});
}

void CTraceView::PaintWaves(QPainter& painter, uint64_t step)
{
    const QRegion area = painter.clipRegion();
    int top = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row) {
        const int height = RowHeight(row);
        if (m_steps[row].size() >= 2) {
            painter.setClipRegion(area.intersected(QRect(WaveLeft(), top, WaveWidth(), height)));
            if (m_buffer->IsBit(m_rows[row]))
                PaintBits(painter, top, height, m_steps[row]);
            else
                PaintWords(painter, row, top, height, step);
        }
        top += height;
    }
    painter.setClipRegion(area);
}

void CTraceView::PaintBits(QPainter& painter, int top, int height, const std::vector<CStep>& steps)
{
    const auto y = [top, height](int32_t value) { return value ? top + 3 : top + height - 3; };
    QPolygonF line;
    line.reserve(static_cast<int>(steps.size() * 2));
    line << QPointF(steps.front().x, y(steps.front().value));
    for (size_t i = 1; i < steps.size(); ++i) {
        line << QPointF(steps[i].x, y(steps[i - 1].value));
        line << QPointF(steps[i].x, y(steps[i].value));
    }
    painter.setPen(LEVEL);
    painter.drawPolyline(line);
}

// A box per value. The value is written at the box's start and again after
// each tick inside it, wherever the box, as far as it is known, holds the
// whole text: places fixed in time, so a text once written moves with its box.
void CTraceView::PaintWords(QPainter& painter, int row, int top, int height, uint64_t step)
{
    const std::vector<CStep>& steps = m_steps[row];
    const double tickPx = static_cast<double>(step) / MsPerPx();
    const QRectF clip = painter.clipBoundingRect();
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        const double left = steps[i].x;
        const double right = steps[i + 1].x;
        if (right - left < 0.5 || right < clip.left() || left > clip.right())
            continue;
        painter.fillRect(QRectF(left, top + 2, right - left, height - 4), WORD_FILL);
        painter.setPen(WORD_EDGE);
        painter.drawLine(QPointF(left, top + 2), QPointF(right, top + 2));
        painter.drawLine(QPointF(left, top + height - 3), QPointF(right, top + height - 3));
        painter.drawLine(QPointF(left, top + 2), QPointF(left, top + height - 3));
        const QStaticText& text = Text(Format(m_rows[row], steps[i].value));
        const double width = text.size().width();
        const double textTop = top + (height - text.size().height()) / 2;
        painter.setPen(Qt::black);
        if (left + 3 + width + 3 <= right)
            painter.drawStaticText(QPointF(left + 3, textTop), text);
        if (width + 6 >= tickPx)
            continue;
        // The ticks inside the box and near the strip, clear of the text at its start.
        const double from = std::max(left + width + 9, clip.left() - width - 6);
        const double to = std::min(right - width - 6, clip.right());
        for (double t = std::ceil(MsAt(from) / static_cast<double>(step)) * static_cast<double>(step); XOf(t) <= to;
             t += static_cast<double>(step))
            painter.drawStaticText(QPointF(std::floor(XOf(t)) + 3, textTop), text);
    }
}

void CTraceView::PaintCursor(QPainter& painter)
{
    if (!m_cursor)
        return;
    const int x = static_cast<int>(std::floor(XOf(static_cast<double>(m_cursorMs))));
    if (x < WaveLeft() || x > width())
        return;
    painter.setPen(CURSOR);
    painter.drawLine(x, 0, x, height());
    const QStaticText& label = Text(QString::fromStdString(CTimeAxis::Label(m_cursorMs, 1)));
    const int w = static_cast<int>(label.size().width()) + 6;
    painter.fillRect(x + 1, 1, w, AXIS_HEIGHT - 2, CURSOR);
    painter.setPen(Qt::white);
    painter.drawStaticText(x + 4, 3, label);
}
