// The trace view's painting: each part of the region to paint on its own,
// the waves only between the moments that part covers.

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "trace/trace_buffer.h"
#include "workbench/model/time_axis.h"
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
        PaintBaseline(painter, fromMs, toMs);
        PaintWaves(painter, step);
        PaintMarks(painter);
    }
}

void CTraceView::PaintLabels(QPainter& painter)
{
    painter.fillRect(0, 0, WaveLeft(), AXIS_HEIGHT, HEADER);
    painter.setPen(Qt::black);
    painter.drawStaticText(4, 3, Text(QString::fromUtf8("신호")));
    painter.drawStaticText(NAME_WIDTH + 4, 3, Text(QString::fromUtf8(m_cursor ? "A 값" : "지금 값")));
    if (m_cursorB)
        painter.drawStaticText(NAME_WIDTH + VALUE_WIDTH + 4, 3, Text(QString::fromUtf8("B 값")));
    int top = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row) {
        const int height = RowHeight(row);
        if (m_rows[row] == m_selected)
            painter.fillRect(0, top, WaveLeft() - 1, height, SELECTED);
        else if (row % 2)
            painter.fillRect(0, top, WaveLeft() - 1, height, SHADE);
        const int textTop = top + (height - fontMetrics().height()) / 2;
        painter.setPen(Qt::black);
        painter.drawStaticText(4, textTop, Text(QString::fromStdString(m_buffer->Name(m_rows[row]))));
        painter.setPen(VALUE_TEXT);
        painter.drawStaticText(NAME_WIDTH + 4, textTop, Text(ValueText(row)));
        if (m_cursorB) {
            painter.setPen(CURSOR_B);
            painter.drawStaticText(NAME_WIDTH + VALUE_WIDTH + 4, textTop, Text(ValueTextB(row)));
        }
        top += height;
    }
    painter.setPen(Qt::gray);
    painter.drawLine(WaveLeft() - 1, 0, WaveLeft() - 1, height());
}

// Ticks at whole multiples of the step, so they stay put as the waves move;
// a label reaches LABEL_ROOM pixels right of its tick, and is drawn only
// where it shows whole: cut, "-10:00" would read "10:00". Before 0:00 (a view
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
        const QStaticText& label = Text(QString::fromStdString(CTimeAxis::SignedLabel(t, step)));
        if (x + 3 >= WaveLeft() && x + 3 + label.size().width() <= width())
            painter.drawStaticText(x + 3, 3, label);
    }
}

void CTraceView::PaintWaves(QPainter& painter, uint64_t step)
{
    const QRegion area = painter.clipRegion();
    int top = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row) {
        const int height = RowHeight(row);
        painter.setClipRegion(area.intersected(QRect(WaveLeft(), top, WaveWidth(), height)));
        PaintNotTraced(painter, row, top, height);
        if (m_steps[row].size() >= 2) {
            switch (Kind(row)) {
            case BITS:
                PaintBits(painter, top, height, m_steps[row]);
                break;
            case LANE:
                PaintLane(painter, row, top, height, step);
                break;
            case STEPS:
                PaintSteps(painter, row, top, height, step);
                break;
            }
        }
        top += height;
    }
    painter.setClipRegion(area);
}

// Before its variable joined, a row holds no value: hatched up to the join.
void CTraceView::PaintNotTraced(QPainter& painter, int row, int top, int height)
{
    const uint64_t joinMs = m_buffer->JoinMs(m_rows[row]);
    const double right = std::min(XOf(static_cast<double>(std::min(joinMs, m_nowMs))), WaveRect().right() + 1.0);
    if (joinMs == 0 || right <= WaveLeft())
        return;
    const QRectF hatch(WaveLeft(), top + 2, right - WaveLeft(), height - 4);
    painter.fillRect(hatch, QBrush(NOT_TRACED, Qt::BDiagPattern));
}

void CTraceView::PaintBits(QPainter& painter, int top, int height, const std::vector<CStep>& steps)
{
    painter.setPen(LEVEL);
    painter.drawPolyline(StepLine(steps, [top, height](int32_t value) { return value ? top + 3 : top + height - 3; }));
}

// A box per state, its name written inside wherever it fits.
void CTraceView::PaintLane(QPainter& painter, int row, int top, int height, uint64_t step)
{
    const std::vector<CStep>& steps = m_steps[row];
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
        painter.setPen(Qt::black);
        const double textTop = top + (height - fontMetrics().height()) / 2.0;
        PaintTexts(painter, row, textTop, left, right, steps[i].value, step);
    }
}

// A line at the height of each value on the row's scale, filled below so
// that it reads as this row's; the value written above the line, or below
// it near the row's top, wherever it fits.
void CTraceView::PaintSteps(QPainter& painter, int row, int top, int height, uint64_t step)
{
    const std::vector<CStep>& steps = m_steps[row];
    const QPolygonF line = StepLine(steps, [&](int32_t value) { return StepY(row, top, height, value); });
    // Filled below as a rectangle under each stretch of the line: a polygon
    // of thousands of points, as a dense stretch makes, fills far slower.
    const double bottom = top + height - 2;
    QVector<QRectF> below;
    below.reserve(line.size());
    for (qsizetype i = 0; i + 1 < line.size(); ++i)
        if (line[i + 1].x() > line[i].x())
            below << QRectF(QPointF(line[i].x(), line[i].y()), QPointF(line[i + 1].x(), bottom));
    painter.setPen(Qt::NoPen);
    painter.setBrush(WORD_FILL);
    painter.drawRects(below);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(WORD_EDGE);
    painter.drawPolyline(line);
    const QRectF clip = painter.clipBoundingRect();
    const double textHeight = fontMetrics().height();
    painter.setPen(STEP_TEXT);
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        if (steps[i + 1].x < clip.left() || steps[i].x > clip.right())
            continue;
        const double y = StepY(row, top, height, steps[i].value);
        const double textTop = y - textHeight >= top ? y - textHeight : y + 1;
        PaintTexts(painter, row, textTop, steps[i].x, steps[i + 1].x, steps[i].value, step);
    }
}

double CTraceView::StepY(int row, int top, int height, int64_t value) const
{
    const int64_t low = m_scales[row].first;
    const int64_t high = m_scales[row].second;
    if (high <= low)
        return top + height - 4.0;
    // The highest value leaves a text's height above it, most of the time.
    const double highest = top + height * 0.45;
    // Whole pixels: a line on a half pixel lands on either side, depending on the strip painted.
    return std::round(highest + static_cast<double>(high - value) * (top + height - 4 - highest) /
                                    static_cast<double>(high - low));
}

// The value is written at its start and again after each tick within it,
// wherever the span, as far as it is known, holds the whole text: places
// fixed in time, so a text once written moves with its span.
void CTraceView::PaintTexts(QPainter& painter, int row, double textTop, double left, double right, int32_t value,
                            uint64_t step)
{
    const QStaticText* shown = &Text(Format(m_rows[row], value));
    // A state's name gives way to its number where only the number fits.
    if (left + 3 + shown->size().width() + 3 > right && Kind(row) == LANE)
        shown = &Text(QString::number(value));
    const QStaticText& text = *shown;
    const double width = text.size().width();
    if (left + 3 + width + 3 <= right)
        painter.drawStaticText(QPointF(left + 3, textTop), text);
    const double tickPx = static_cast<double>(step) / MsPerPx();
    if (width + 6 >= tickPx)
        return;
    // The ticks inside the span and near the strip, clear of the text at its
    // start, and of the next value's text by a text's width: two values side
    // by side would read as one ("5 6").
    const QRectF clip = painter.clipBoundingRect();
    const double from = std::max(left + width + 9, clip.left() - width - 6);
    const double to = std::min(right - 2 * width - 12, clip.right());
    for (double t = std::ceil(MsAt(from) / static_cast<double>(step)) * static_cast<double>(step); XOf(t) <= to;
         t += static_cast<double>(step))
        painter.drawStaticText(QPointF(std::floor(XOf(t)) + 3, textTop), text);
}
