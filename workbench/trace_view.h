#pragma once
// The trace as a logic analyser shows it: one row per channel (state_number,
// run_sec and the chosen variables as numbers in boxes, then the 27 signals
// as levels), a time axis labelled to suit every zoom, and a cursor that
// reads every value at one moment. The view follows the virtual clock, so
// it stands still while the clock is paused; the wheel zooms around the
// pointer, Shift+wheel or a right-button drag pans, a left click places the
// cursor; with the focus, the arrow keys move the cursor, + and - zoom, End
// follows the clock again and Esc takes the cursor away.

#include <QHash>
#include <QStaticText>
#include <QWidget>

#include <cstdint>
#include <vector>

class CTraceBuffer;

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
    // The text of a row's value at the cursor (or now, without one): "1", "6 건조".
    QString ValueText(int row) const;
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int RowChannel(int row) const { return m_rows[row]; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ViewChanged();  // zoom, follow or cursor changed

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct CStep {
        double x;
        int32_t value;
    };

    double StartMs() const { return EndMs() - m_spanMs; }
    double EndMs() const { return m_follow ? static_cast<double>(m_nowMs) : m_endMs; }
    double XOf(double ms) const;
    double MsAt(double x) const;
    int WaveLeft() const;
    int RowHeight(int row) const;
    int32_t ValueShown(int row) const;
    QString Format(int channel, int32_t value) const;
    const QStaticText& Text(const QString& text);

    void PaintAxis(QPainter& painter, uint64_t step);
    void PaintRows(QPainter& painter);
    void PaintBits(QPainter& painter, int top, int height, const std::vector<CStep>& steps);
    void PaintWords(QPainter& painter, int row, int top, int height, const std::vector<CStep>& steps);
    void CollectSteps();

    const CTraceBuffer* m_buffer;
    std::vector<int> m_rows;                  // channel of each row, top to bottom
    std::vector<std::vector<CStep>> m_steps;  // per row: its value at the left edge, then each change
    uint64_t m_nowMs = 0;
    double m_endMs = 0;  // when not following
    double m_spanMs = DEFAULT_SPAN_MS;
    bool m_follow = true;
    bool m_cursor = false;
    uint64_t m_cursorMs = 0;
    QPoint m_dragFrom;
    double m_dragEndMs = 0;
    QHash<QString, QStaticText> m_texts;  // laid-out texts, kept between frames
};
