#pragma once
// The trace as a logic analyser shows it: one row per channel, state_number
// as a lane of state names, the other numbers (run_sec, positions, readings,
// chosen variables) as steps of their value, then the 27 signals as levels;
// a time axis labelled to suit every zoom, two cursors that read every row
// at their moments, markers, and a baseline trace drawn faintly under the
// rows of the same name with its first divergence marked. The view follows
// the virtual clock, so it stands still while the clock is paused. The
// mouse and the keys are listed in trace_view_input.cpp.
//
// Time maps onto whole pixels: following the clock, the waves move by whole
// pixels, so a frame scrolls what is drawn and paints only the new strip.

#include <QHash>
#include <QStaticText>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "trace/trace_summary.h"
#include "trace/vcd_reader.h"
#include "workbench/model/trace_rows.h"

class CTraceBuffer;

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
    // The whole run known, from its start (or the oldest change kept) to now.
    void ZoomToFit();
    // From one moment to another.
    void ZoomTo(double fromMs, double toMs);
    void Follow();
    // The rows changed (a variable was added): lays them out again.
    void ChannelsChanged();
    // Another session's trace; the rows shown stay as they were, by name.
    void SetBuffer(const CTraceBuffer& buffer);

    bool Following() const { return m_follow; }
    uint64_t NowMs() const { return m_nowMs; }
    double SpanMs() const { return m_spanMs; }
    // Cursor A, which the keys move, and cursor B; both read every row.
    bool HasCursor() const { return m_cursor; }
    uint64_t CursorMs() const { return m_cursorMs; }
    void SetCursorMs(uint64_t ms);
    bool HasCursorB() const { return m_cursorB; }
    uint64_t CursorBMs() const { return m_cursorBMs; }
    void SetCursorBMs(uint64_t ms);
    // Cursor A at ms, brought into view (the zoom kept).
    void GoTo(uint64_t ms);
    void RemoveCursor();  // both
    // Cursor A to the next (+1) or previous (-1) edge of the selected row; false when there is none.
    bool JumpToEdge(int direction);

    // The text of a row's value at cursor A (or now, without one): "1", "6 건조";
    // "추적 안 됨" before its variable joined.
    QString ValueText(int row) const;
    // The same at cursor B.
    QString ValueTextB(int row) const;
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int RowChannel(int row) const { return m_rows[row]; }
    // The selected row's channel (the edges and the pulse are its); -1: none.
    int SelectedChannel() const { return m_selected; }
    void SelectRow(int row);
    int SelectedRow() const;
    void HideRow(int row);
    void MoveRow(int row, int by);
    void ShowAllRows();
    // The row at a height in the widget; -1 above the rows or below them.
    int RowAt(int y) const;
    int RowTop(int row) const;

    // The rows shown and the zoom; a layout naming rows that no longer
    // exist shows the rest, and gives back the names it missed.
    CTraceLayout Layout() const;
    QStringList ApplyLayout(const CTraceLayout& layout);

    // The markers drawn, by time.
    void SetMarkers(std::vector<uint64_t> timesMs);
    // A trace drawn faintly under each live row of the same name; null: none.
    void SetBaseline(const CVcdReader* baseline);
    const CVcdReader* Baseline() const { return m_baseline; }
    // How many rows have a variable of their name in the baseline.
    int BaselineRowsMatched() const;
    // The first divergence from the baseline, marked; none when `found` is false.
    void SetDivergence(bool found, uint64_t timeMs, const QString& name);
    bool HasDivergence() const { return m_diverged; }
    uint64_t DivergenceMs() const { return m_divergenceMs; }
    const QString& DivergenceName() const { return m_divergenceName; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ViewChanged();             // zoom, follow, cursors, rows or selection changed
    void MarkerAsked(uint64_t ms);  // key M: a marker at cursor A

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum RowKind { BITS, LANE, STEPS };
    // A change, or a pixel column of many: the value after it, and the
    // lowest and highest it took there (both the value, for one change).
    struct CStep {
        double x;
        int32_t value;
        int32_t low;
        int32_t high;
    };

    // The geometry: the span and the right edge kept in ms, so a resize keeps
    // what is shown; drawn at the right edge's whole pixel of MsPerPx each.
    int WaveLeft() const;
    int WaveWidth() const;
    QRect WaveRect() const;
    double MsPerPx() const { return m_spanMs / WaveWidth(); }
    int64_t EndPx() const;
    double EndMs() const { return static_cast<double>(EndPx()) * MsPerPx(); }
    double StartMs() const { return EndMs() - m_spanMs; }
    double XOf(double ms) const;
    double MsAt(double x) const;
    uint64_t MomentAt(double x) const;  // the whole ms under x, not before 0 nor after now
    void SetEndMs(double endMs);
    void Changed();  // everything to be painted again
    void RowsChanged();

    RowKind Kind(int row) const;
    int RowHeight(int row) const;
    void UpdateNumberStrips(int width);
    bool ScalesChanged();
    int32_t ValueShown(int row) const;
    QString Format(int channel, int32_t value) const;
    const QStaticText& Text(const QString& text);

    // Painting (trace_view_paint.cpp), limited to the strip between two moments.
    void PaintAxis(QPainter& painter, double fromMs, double toMs, uint64_t step);
    void PaintLabels(QPainter& painter);
    void PaintWaves(QPainter& painter, uint64_t step);
    void PaintNotTraced(QPainter& painter, int row, int top, int height);
    void PaintBits(QPainter& painter, int top, int height, const std::vector<CStep>& steps);
    void PaintLane(QPainter& painter, int row, int top, int height, uint64_t step);
    void PaintSteps(QPainter& painter, int row, int top, int height, uint64_t step);
    void PaintTexts(QPainter& painter, int row, double textTop, double fromX, double toX, int32_t value, uint64_t step);
    void CollectSteps(double fromMs);
    uint64_t CollectColumn(uint64_t from, uint64_t last, const std::vector<int>& rowOf);
    QPolygonF StepLine(const std::vector<CStep>& steps, const std::function<double(int32_t)>& y) const;
    double StepY(int row, int top, int height, int64_t value) const;
    // The overlays (trace_view_overlay.cpp): baseline, marks and cursors.
    void PaintBaseline(QPainter& painter, double fromMs, double toMs);
    void PaintBaselineRow(QPainter& painter, int row, int top, int height, double fromMs, double toMs);
    // The marks (trace_view_marks.cpp): markers, the divergence, the cursors.
    struct CMark {
        uint64_t ms;
        QColor colour;
        QString name;
        bool dashed;
        bool labelLeft;  // the side its label takes where there is room
        int framedRow;   // -1: none
    };
    std::vector<CMark> Marks() const;
    bool MarkNearEdge();
    void PaintMarks(QPainter& painter);
    void PaintSelection(QPainter& painter);
    void MatchBaseline();

    // Input (trace_view_input.cpp).
    bool NavigationKey(QKeyEvent* event);
    bool RowKey(QKeyEvent* event);

    const CTraceBuffer* m_buffer;
    CTraceRows m_rowSet;
    std::vector<int> m_rows;                            // channel of each row, top to bottom
    std::vector<std::vector<CStep>> m_steps;            // per row: its value at the strip's left, then each change
    std::vector<CTraceSummary::CSpan> m_spans;          // per channel: what it did in a column of many changes
    std::vector<int32_t> m_shown;                       // per row: the value its label shows
    std::vector<std::pair<int32_t, int32_t>> m_scales;  // per row of steps: the lowest and highest drawn
    int m_selected = -1;                                // the selected row's channel
    uint64_t m_nowMs = 0;
    double m_endMs = 0;  // the right edge when not following
    double m_spanMs = DEFAULT_SPAN_MS;
    bool m_follow = true;
    bool m_cursor = false;
    uint64_t m_cursorMs = 0;
    bool m_cursorB = false;
    uint64_t m_cursorBMs = 0;
    int64_t m_scrolledEndPx = 0;  // the right edge the drawing stands at
    bool m_wholePending = true;   // the whole view waits to be painted
    QPoint m_dragFrom;
    int64_t m_dragEndPx = 0;
    bool m_placing = false;    // a drag that moves a cursor, begun inside the run
    bool m_selecting = false;  // a drag that zooms to what it spans
    int m_selectTo = 0;
    QHash<QString, QStaticText> m_texts;  // laid-out texts, kept between frames
    std::vector<uint64_t> m_markers;
    const CVcdReader* m_baseline = nullptr;
    std::vector<const CVcdReader::CVariable*> m_baseRows;   // per row: the baseline's variable of its name
    std::vector<std::pair<int32_t, int32_t>> m_baseScales;  // per row: its baseline's lowest and highest
    bool m_diverged = false;
    uint64_t m_divergenceMs = 0;
    QString m_divergenceName;
};
