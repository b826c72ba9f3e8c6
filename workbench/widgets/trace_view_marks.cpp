// The lines down the trace view with their names on the axis: the markers,
// numbered; the first divergence; cursors A and B. A label stands on its
// mark's side, turns to the other where the view's edge would cut it, and
// goes a lane down where it would cover another.

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "trace/trace_buffer.h"
#include "workbench/model/time_axis.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"

using namespace trace_view_style;

namespace {

constexpr int LANES = 3;
constexpr int LANE_HEIGHT = AXIS_HEIGHT - 2;

}  // namespace

// A marker's label stands to the left of its line, as a flag before the
// divergence's, which stands to the right; cursor B's to the left when it
// stands before cursor A, so the two face away from each other.
std::vector<CTraceView::CMark> CTraceView::Marks() const
{
    std::vector<CMark> marks;
    for (size_t i = 0; i < m_markers.size(); ++i)
        marks.push_back({m_markers[i], MARKER, QString::number(i + 1), true, true, -1});
    if (m_diverged) {
        int row = -1;
        for (int r = 0; r < RowCount() && row < 0; ++r)
            if (QString::fromStdString(m_buffer->Name(m_rows[r])) == m_divergenceName)
                row = r;
        marks.push_back({m_divergenceMs, DIVERGENCE, QString::fromUtf8("첫 차이"), true, false, row});
    }
    if (m_cursorB)
        marks.push_back({m_cursorBMs, CURSOR_B,
                         QStringLiteral("B ") + QString::fromStdString(CTimeAxis::Label(m_cursorBMs, 1)), false,
                         m_cursor && m_cursorBMs < m_cursorMs, -1});
    if (m_cursor)
        marks.push_back({m_cursorMs, CURSOR,
                         QStringLiteral("A ") + QString::fromStdString(CTimeAxis::Label(m_cursorMs, 1)), false, false,
                         -1});
    return marks;
}

// Where labels may turn or change lanes as the view scrolls: a frame then
// paints the whole view, not only the new strip.
bool CTraceView::MarkNearEdge()
{
    for (const CMark& mark : Marks()) {
        const double x = XOf(static_cast<double>(mark.ms));
        const double w = Text(mark.name).size().width() + 6;
        if (x > WaveLeft() - w - 2 && x < WaveLeft() + 2 * w)
            return true;
        if (x > width() - 2 * w - 2 && x < width() + w)
            return true;
    }
    return false;
}

void CTraceView::PaintMarks(QPainter& painter)
{
    PaintSelection(painter);
    struct CLabel {
        const CMark* mark;
        int x;
        int left;
        int width;
        int lane;
    };
    const std::vector<CMark> marks = Marks();
    std::vector<CLabel> labels;
    for (const CMark& mark : marks) {
        const int x = static_cast<int>(std::floor(XOf(static_cast<double>(mark.ms))));
        const int w = static_cast<int>(Text(mark.name).size().width()) + 6;
        if (x < WaveLeft() - w || x > width())
            continue;
        int left = mark.labelLeft ? x - w : x + 1;
        if (left + w > width())
            left = x - w;
        if (left < WaveLeft())
            left = x + 1;
        labels.push_back({&mark, x, left, w, 0});
    }
    // Lanes from left to right: each label takes the first lane where it covers none.
    std::vector<CLabel*> byLeft;
    for (CLabel& label : labels)
        byLeft.push_back(&label);
    std::stable_sort(byLeft.begin(), byLeft.end(), [](const CLabel* a, const CLabel* b) { return a->left < b->left; });
    int laneEnd[LANES] = {INT32_MIN, INT32_MIN, INT32_MIN};
    for (CLabel* label : byLeft) {
        label->lane =
            static_cast<int>(std::find_if(laneEnd, laneEnd + LANES, [&](int end) { return end < label->left; }) -
                             laneEnd) %
            LANES;
        laneEnd[label->lane] = label->left + label->width + 1;
    }
    for (const CLabel& label : labels) {
        const CMark& mark = *label.mark;
        painter.setPen(QPen(mark.colour, 1, mark.dashed ? Qt::DashLine : Qt::SolidLine));
        painter.drawLine(label.x, 0, label.x, height());
        if (mark.framedRow >= 0)
            painter.drawRect(label.x - 3, RowTop(mark.framedRow), 6, RowHeight(mark.framedRow) - 1);
        const int top = 1 + label.lane * LANE_HEIGHT;
        painter.fillRect(label.left, top, label.width, LANE_HEIGHT, mark.colour);
        painter.setPen(Qt::white);
        painter.drawStaticText(label.left + 3, top + 2, Text(mark.name));
    }
}
