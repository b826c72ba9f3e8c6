#pragma once
// A paint device that draws nothing and counts the points it is asked to
// draw: in all, and in the largest single line or polygon.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>

class CCountingPaintEngine : public QPaintEngine {
public:
    CCountingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    void drawPolygon(const QPointF*, int count, PolygonDrawMode) override { Note(count); }
    void drawPolygon(const QPoint*, int count, PolygonDrawMode) override { Note(count); }
    void drawLines(const QLineF*, int count) override { Note(2 * count); }
    void drawLines(const QLine*, int count) override { Note(2 * count); }
    void drawPath(const QPainterPath& path) override { Note(path.elementCount()); }
    void drawRects(const QRectF*, int count) override { Note(4 * count); }
    void drawRects(const QRect*, int count) override { Note(4 * count); }

    long long m_points = 0;
    int m_largest = 0;

private:
    void Note(int count)
    {
        m_points += count;
        m_largest = std::max(m_largest, count);
    }
};

class CCountingPaintDevice : public QPaintDevice {
public:
    CCountingPaintDevice(int width, int height) : m_width(width), m_height(height) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const CCountingPaintEngine& Engine() const { return m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_width;
        case PdmHeight:
            return m_height;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return m_width;  // the sizes in mm and the colours: any positive figure
        }
    }

private:
    int m_width;
    int m_height;
    mutable CCountingPaintEngine m_engine;
};
