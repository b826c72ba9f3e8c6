#pragma once
// A line of at most four points per pixel column, whatever it crosses
// there: the first point in the column, the lowest and highest, and the
// last. Thousands of changes in one column draw as one vertical stroke, so
// what a line costs to paint follows the pixels, not the changes.

#include <QPolygonF>

#include <cmath>

class CColumnLine {
public:
    explicit CColumnLine(int reserve = 0) { m_line.reserve(reserve); }
    void Add(double x, double y);
    // The line, its last column closed.
    QPolygonF Take();

private:
    void Close();
    void Put(QPointF point);

    QPolygonF m_line;
    bool m_open = false;
    double m_column = 0;
    QPointF m_first;
    QPointF m_last;
    double m_top = 0;
    double m_bottom = 0;
};
