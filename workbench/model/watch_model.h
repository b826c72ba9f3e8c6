#pragma once
// A table of the controller's values refreshed once per frame. Each cell is
// a number; a cell is written out afresh only when its number changed, and
// a changed cell is marked (bold, red) for that frame, and while the clock
// runs for at least MARK_MS of wall time, so the eye can catch it. A mark
// fades by itself once its time is up, also when no frame follows.

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

class CWatchModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int64_t MARK_MS = 400;

    CWatchModel(int rows, QStringList headers, QObject* parent = nullptr);

    // Reads every cell again; `running`: the clock runs, so marks linger.
    void Refresh(bool running);
    // Forgets the marks (a new session).
    void ClearMarks();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The wall clock in ms; tests set one of their own.
    std::function<int64_t()> m_wallClock;
    bool Marked(int row, int column) const { return Cell(row, column).shown; }
    // The widest text the column can ever show in this font, so the column
    // can be sized once for it; empty for a column of names.
    QString Widest(int column, const QFontMetrics& metrics) const;

protected:
    // The cell's number now, and its text.
    virtual int64_t Value(int row, int column) const = 0;
    virtual QString Text(int row, int column, int64_t value) const;
    // The values of the cell whose texts are the widest its type allows.
    virtual std::vector<int64_t> Extremes(int row, int column) const;

private:
    int64_t WallMs() const { return m_wallClock ? m_wallClock() : m_wall.elapsed(); }
    // Announces the cells whose mark came or went; then waits, `lateMs`
    // past the next mark's time, to take it away.
    void UpdateMarks(int64_t lateMs = 0);

    struct CCell {
        int64_t value = 0;
        QString text;
        bool changed = false;     // in the last frame
        int64_t markedUntil = 0;  // wall ms
        bool shown = false;       // marked, as the views were last told
        bool known = false;
    };
    CCell& Cell(int row, int column) { return m_cells[static_cast<size_t>(row * m_headers.size() + column)]; }
    const CCell& Cell(int row, int column) const
    {
        return m_cells[static_cast<size_t>(row * m_headers.size() + column)];
    }

    int m_rows;
    QStringList m_headers;
    std::vector<CCell> m_cells;
    QElapsedTimer m_wall;
    QTimer m_fade;
};
