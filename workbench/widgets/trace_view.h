#pragma once
// The trace as a logic analyser shows it: one row per channel (state_number,
// run_sec and the chosen variables as numbers in boxes, then the 27 signals
// as levels), a time axis labelled to suit every zoom, and a cursor that
// reads every value at one moment. The view follows the virtual clock, so
// it stands still while the clock is paused; the wheel zooms around the
// pointer, Shift+wheel or a right-button drag pans, a left click places the
// cursor; with the focus, the arrow keys move the cursor, + and - zoom, End
// follows the clock again and Esc takes the cursor away.
//
// Time maps onto whole pixels: following the clock, the waves move by whole
// pixels, so a frame scrolls what is drawn and paints only the new strip.

#include <QHash>
#include <QStaticText>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <vector>

class CTraceBuffer;
class CVcdReader;

// What a saved view holds: the rows shown, top to bottom, by name, and the zoom.
struct CTraceLayout {
    QStringList rows;
    double spanMs = 10000;
    double endMs = 0;  // the right edge, when not following
    bool follow = true;
};

class CTraceView : public QWidget {
    Q_OBJECT
public:
    static constexpr double DEFAULT_SPAN_MS = 10000;

    explicit CTraceView(const CTraceBuffer& buffer, QWidget* parent = nullptr);

    // The virtual clock; a following view ends there.
    void SetNow(uint64_t nowMs);
    // Zooms by `factor` (below 1: in) keeping the moment under x in place.
    void ZoomAt(double factor, double x);
    void Zoom(double factor);
    void ResetZoom();
    void Follow();
    // The rows changed (a variable was added): lays them out again.
    void ChannelsChanged();
    // Another session's trace.
    void SetBuffer(const CTraceBuffer& buffer);

    bool Following() const { return m_follow; }
    double SpanMs() const { return m_spanMs; }
    bool HasCursor() const { return m_cursor; }
    uint64_t CursorMs() const { return m_cursorMs; }
    void SetCursorMs(uint64_t ms);
    // Cursor A at ms, brought into view (the zoom kept).
    void GoTo(uint64_t ms);
    void RemoveCursor();
    // The text of a row's value at the cursor (or now, without one): "1", "6 건조".
    QString ValueText(int row) const;
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int RowChannel(int row) const { return m_rows[row]; }

    // The rows shown and the zoom; a layout naming rows that no longer
    // exist shows the rest.
    CTraceLayout Layout() const;
    void ApplyLayout(const CTraceLayout& layout);

    // The markers drawn, by time.
    void SetMarkers(std::vector<uint64_t> timesMs);
    // A trace drawn faintly under each live row of the same name; null: none.
    void SetBaseline(const CVcdReader* baseline);
    // The first divergence from the baseline, marked; none when `found` is false.
    void SetDivergence(bool found, uint64_t timeMs, const QString& name);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ViewChanged();             // zoom, follow or cursor changed
    void MarkerAsked(uint64_t ms);  // key M: a marker at cursor A

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct CStep {
        double x;
        int32_t value;
    };

    // The geometry: the right edge in whole pixels of MsPerPx each.
    int WaveLeft() const;
    int WaveWidth() const;
    QRect WaveRect() const;
    double MsPerPx() const { return m_spanMs / WaveWidth(); }
    int64_t EndPx() const;
    double EndMs() const { return static_cast<double>(EndPx()) * MsPerPx(); }
    double StartMs() const { return EndMs() - m_spanMs; }
    double XOf(double ms) const;
    double MsAt(double x) const;
    void SetEndMs(double endMs);
    void Changed();  // everything to be painted again

    int RowHeight(int row) const;
    int WordRowsHeight() const;  // the rows of numbers, at the top
    int32_t ValueShown(int row) const;
    QString Format(int channel, int32_t value) const;
    const QStaticText& Text(const QString& text);

    // Painting (trace_view_paint.cpp), limited to the strip between two moments.
    void PaintAxis(QPainter& painter, double fromMs, double toMs, uint64_t step);
    void PaintLabels(QPainter& painter);
    void PaintWaves(QPainter& painter, uint64_t step);
    void PaintBits(QPainter& painter, int top, int height, const std::vector<CStep>& steps);
    void PaintWords(QPainter& painter, int row, int top, int height, uint64_t step);
    void PaintCursor(QPainter& painter);
    void CollectSteps(double fromMs);

    const CTraceBuffer* m_buffer;
    std::vector<int> m_rows;                  // channel of each row, top to bottom
    std::vector<std::vector<CStep>> m_steps;  // per row: its value at the strip's left, then each change
    std::vector<int32_t> m_shown;             // per row: the value its label shows
    uint64_t m_nowMs = 0;
    int64_t m_endPx = 0;  // the right edge when not following
    double m_spanMs = DEFAULT_SPAN_MS;
    bool m_follow = true;
    bool m_cursor = false;
    uint64_t m_cursorMs = 0;
    int64_t m_scrolledEndPx = 0;  // the right edge the drawing stands at
    bool m_wholePending = true;   // the whole view waits to be painted
    QPoint m_dragFrom;
    int64_t m_dragEndPx = 0;
    QHash<QString, QStaticText> m_texts;  // laid-out texts, kept between frames
    std::vector<uint64_t> m_markers;
    const CVcdReader* m_baseline = nullptr;
    bool m_diverged = false;
    uint64_t m_divergenceMs = 0;
    QString m_divergenceName;
};
