#include "workbench/trace_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "panel/state_names.h"
#include "workbench/time_axis.h"
#include "workbench/trace_buffer.h"

namespace {
constexpr int AXIS_HEIGHT = 20;
constexpr int NAME_WIDTH = 118;
constexpr int VALUE_WIDTH = 92;
constexpr int BIT_ROW = 16;
constexpr int WORD_ROW = 20;
constexpr int MIN_TICK_GAP = 90;
constexpr double MIN_SPAN_MS = 10;
constexpr double MAX_SPAN_MS = 3'600'000;
const QColor SHADE(244, 244, 244);
const QColor GRID(222, 222, 222);
const QColor LEVEL(0, 128, 0);
const QColor WORD_FILL(214, 230, 250);
const QColor WORD_EDGE(40, 80, 160);
const QColor CURSOR(210, 0, 0);
}  // namespace

CTraceView::CTraceView(const CTraceBuffer& buffer, QWidget* parent) : QWidget(parent), m_buffer(&buffer)
{
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
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
    updateGeometry();
    update();
}

QSize CTraceView::minimumSizeHint() const
{
    int height = AXIS_HEIGHT;
    for (int row = 0; row < RowCount(); ++row)
        height += RowHeight(row);
    return QSize(NAME_WIDTH + VALUE_WIDTH + 200, height);
}

QSize CTraceView::sizeHint() const { return QSize(NAME_WIDTH + VALUE_WIDTH + 560, minimumSizeHint().height()); }

int CTraceView::WaveLeft() const { return NAME_WIDTH + VALUE_WIDTH; }

int CTraceView::RowHeight(int row) const { return m_buffer->IsBit(m_rows[row]) ? BIT_ROW : WORD_ROW; }

double CTraceView::XOf(double ms) const
{
    return WaveLeft() + (ms - StartMs()) / m_spanMs * std::max(1, width() - WaveLeft());
}

double CTraceView::MsAt(double x) const
{
    return StartMs() + (x - WaveLeft()) * m_spanMs / std::max(1, width() - WaveLeft());
}

void CTraceView::SetNow(uint64_t nowMs)
{
    if (nowMs == m_nowMs)
        return;
    m_nowMs = nowMs;
    if (m_cursor && m_cursorMs > nowMs)
        m_cursorMs = nowMs;
    update();
}

void CTraceView::ZoomAt(double factor, double x)
{
    const double span = std::clamp(m_spanMs * factor, MIN_SPAN_MS, MAX_SPAN_MS);
    const double at = MsAt(x);
    const double end = at + (EndMs() - at) * span / m_spanMs;
    m_spanMs = span;
    m_follow = end >= static_cast<double>(m_nowMs);
    m_endMs = m_follow ? static_cast<double>(m_nowMs) : end;
    update();
    emit ViewChanged();
}

// Around the cursor when there is one, otherwise around the right edge.
void CTraceView::Zoom(double factor) { ZoomAt(factor, m_cursor ? XOf(static_cast<double>(m_cursorMs)) : width()); }

void CTraceView::ResetZoom()
{
    m_spanMs = DEFAULT_SPAN_MS;
    Follow();
}

void CTraceView::Follow()
{
    m_follow = true;
    update();
    emit ViewChanged();
}

void CTraceView::SetCursorMs(uint64_t ms)
{
    m_cursor = true;
    m_cursorMs = std::min(ms, m_nowMs);
    update();
    emit ViewChanged();
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

void CTraceView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const uint64_t step = CTimeAxis::TickStep(m_spanMs, width() - WaveLeft(), MIN_TICK_GAP);
    CollectSteps();
    PaintAxis(painter, step);
    PaintRows(painter);
    if (m_cursor && m_cursorMs >= StartMs() && m_cursorMs <= EndMs()) {
        const int x = static_cast<int>(XOf(static_cast<double>(m_cursorMs)));
        painter.setPen(CURSOR);
        painter.drawLine(x, 0, x, height());
        const QString label = QString::fromStdString(CTimeAxis::Label(m_cursorMs, 1));
        const int w = fontMetrics().horizontalAdvance(label) + 6;
        const int left = std::min(x + 1, width() - w);
        painter.fillRect(left, 1, w, AXIS_HEIGHT - 2, CURSOR);
        painter.setPen(Qt::white);
        painter.drawStaticText(left + 3, 3, Text(label));
    }
}

void CTraceView::PaintAxis(QPainter& painter, uint64_t step)
{
    painter.fillRect(0, 0, width(), AXIS_HEIGHT, QColor(236, 236, 236));
    painter.setPen(Qt::black);
    painter.drawStaticText(4, 3, Text(QString::fromUtf8("신호")));
    painter.drawStaticText(NAME_WIDTH + 4, 3, Text(QString::fromUtf8(m_cursor ? "커서 값" : "지금 값")));
    const double start = std::max(0.0, StartMs());
    for (uint64_t t = static_cast<uint64_t>(std::ceil(start / step)) * step; t <= EndMs(); t += step) {
        const int x = static_cast<int>(XOf(static_cast<double>(t)));
        painter.setPen(GRID);
        painter.drawLine(x, AXIS_HEIGHT, x, height());
        painter.setPen(Qt::black);
        painter.drawLine(x, AXIS_HEIGHT - 5, x, AXIS_HEIGHT - 1);
        painter.drawStaticText(x + 3, 3, Text(QString::fromStdString(CTimeAxis::Label(t, step))));
    }
    painter.setPen(Qt::gray);
    painter.drawLine(WaveLeft() - 1, 0, WaveLeft() - 1, height());
}

// Each row's value at the left edge, then every change up to the right edge, in one pass.
void CTraceView::CollectSteps()
{
    const double start = std::max(StartMs(), static_cast<double>(m_buffer->KnownFromMs()));
    const uint64_t from = static_cast<uint64_t>(std::max(0.0, start));
    const uint64_t to = static_cast<uint64_t>(std::max(0.0, std::min(EndMs(), static_cast<double>(m_nowMs))));
    std::vector<int> rowOf(m_buffer->ChannelCount(), -1);
    for (int row = 0; row < RowCount(); ++row) {
        rowOf[m_rows[row]] = row;
        m_steps[row].clear();
        m_steps[row].push_back(CStep{XOf(static_cast<double>(from)), m_buffer->ValueAt(m_rows[row], from)});
    }
    const uint64_t end = m_buffer->FirstAfter(to);
    for (uint64_t i = m_buffer->FirstAfter(from); i < end; ++i) {
        const CTraceBuffer::CChange& change = m_buffer->At(i);
        const int row = rowOf[change.channel];
        if (row >= 0)
            m_steps[row].push_back(CStep{XOf(static_cast<double>(change.timeMs)), change.value});
    }
    // Where the values known end: now, or the right edge.
    for (auto& steps : m_steps)
        steps.push_back(CStep{XOf(static_cast<double>(to)), steps.back().value});
}

void CTraceView::PaintRows(QPainter& painter)
{
    int top = AXIS_HEIGHT;
    const int nameBase = (fontMetrics().height() - fontMetrics().ascent()) / 2;
    for (int row = 0; row < RowCount(); ++row) {
        const int height = RowHeight(row);
        if (row % 2)
            painter.fillRect(0, top, WaveLeft() - 1, height, SHADE);
        const int textTop = top + (height - fontMetrics().height()) / 2 + nameBase / 2;
        painter.setPen(Qt::black);
        painter.drawStaticText(4, textTop, Text(QString::fromStdString(m_buffer->Name(m_rows[row]))));
        painter.setPen(QColor(0, 0, 140));
        painter.drawStaticText(NAME_WIDTH + 4, textTop, Text(ValueText(row)));
        painter.setClipRect(WaveLeft(), top, width() - WaveLeft(), height);
        if (m_buffer->IsBit(m_rows[row]))
            PaintBits(painter, top, height, m_steps[row]);
        else
            PaintWords(painter, row, top, height, m_steps[row]);
        painter.setClipping(false);
        top += height;
    }
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

// A box per value, the value written in it where it fits.
void CTraceView::PaintWords(QPainter& painter, int row, int top, int height, const std::vector<CStep>& steps)
{
    const int channel = m_rows[row];
    painter.setPen(WORD_EDGE);
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        const double left = steps[i].x;
        const double right = steps[i + 1].x;
        if (right - left < 0.5)
            continue;
        const QRectF box(left, top + 2, right - left, height - 4);
        painter.fillRect(box, WORD_FILL);
        painter.drawLine(QPointF(left, top + 2), QPointF(right, top + 2));
        painter.drawLine(QPointF(left, top + height - 3), QPointF(right, top + height - 3));
        painter.drawLine(QPointF(left, top + 2), QPointF(left, top + height - 3));
        const QStaticText& text = Text(Format(channel, steps[i].value));
        if (text.size().width() + 6 < right - left) {
            const double visibleLeft = std::max(left, static_cast<double>(WaveLeft()));
            const double x = std::min(visibleLeft + 3, right - text.size().width() - 3);
            painter.setPen(Qt::black);
            painter.drawStaticText(QPointF(x, top + (height - text.size().height()) / 2), text);
            painter.setPen(WORD_EDGE);
        }
    }
}

void CTraceView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    if (event->modifiers() & Qt::ShiftModifier) {
        m_endMs = EndMs() - notches * m_spanMs / 10;
        m_follow = m_endMs >= static_cast<double>(m_nowMs);
        update();
        emit ViewChanged();
    } else {
        ZoomAt(std::pow(0.8, notches), event->position().x());
    }
    event->accept();
}

void CTraceView::mousePressEvent(QMouseEvent* event)
{
    m_dragFrom = event->position().toPoint();
    m_dragEndMs = EndMs();
    if (event->button() == Qt::LeftButton && m_dragFrom.x() >= WaveLeft())
        SetCursorMs(static_cast<uint64_t>(std::max(0.0, std::round(MsAt(m_dragFrom.x())))));
}

void CTraceView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        SetCursorMs(static_cast<uint64_t>(std::max(0.0, std::round(MsAt(at.x())))));
    } else if (event->buttons() & Qt::RightButton) {
        m_endMs = m_dragEndMs - (at.x() - m_dragFrom.x()) * m_spanMs / std::max(1, width() - WaveLeft());
        m_follow = m_endMs >= static_cast<double>(m_nowMs);
        update();
        emit ViewChanged();
    }
}

void CTraceView::keyPressEvent(QKeyEvent* event)
{
    const double pixelMs = std::max(1.0, m_spanMs / std::max(1, width() - WaveLeft()));
    const double move = event->modifiers() & Qt::ShiftModifier ? 10 * pixelMs : pixelMs;
    const uint64_t at = m_cursor ? m_cursorMs : m_nowMs;
    switch (event->key()) {
    case Qt::Key_Left:
        SetCursorMs(at > move ? at - static_cast<uint64_t>(move) : 0);
        break;
    case Qt::Key_Right:
        SetCursorMs(at + static_cast<uint64_t>(move));
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoom(0.5);
        break;
    case Qt::Key_Minus:
        Zoom(2);
        break;
    case Qt::Key_End:
        Follow();
        break;
    case Qt::Key_Escape:
        m_cursor = false;
        update();
        emit ViewChanged();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
