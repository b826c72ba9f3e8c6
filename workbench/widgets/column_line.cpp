#include "workbench/widgets/column_line.h"

#include <algorithm>

void CColumnLine::Add(double x, double y)
{
    const double column = std::floor(x);
    if (m_open && column == m_column) {
        m_last = QPointF(x, y);
        m_top = std::min(m_top, y);
        m_bottom = std::max(m_bottom, y);
        return;
    }
    Close();
    m_open = true;
    m_column = column;
    m_first = m_last = QPointF(x, y);
    m_top = m_bottom = y;
}

// From the first point up or down to the far end, to the other end, then
// to the last: the stroke covers every height the line reached.
void CColumnLine::Close()
{
    if (!m_open)
        return;
    m_open = false;
    Put(m_first);
    const bool upFirst = m_first.y() - m_top <= m_bottom - m_first.y();
    Put(QPointF(m_first.x(), upFirst ? m_top : m_bottom));
    Put(QPointF(m_first.x(), upFirst ? m_bottom : m_top));
    Put(m_last);
}

void CColumnLine::Put(QPointF point)
{
    if (m_line.isEmpty() || m_line.back() != point)
        m_line << point;
}

QPolygonF CColumnLine::Take()
{
    Close();
    return std::move(m_line);
}
