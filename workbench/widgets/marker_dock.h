#pragma once
// The marker dock: the markers dropped on the trace, by time, with their
// notes. A note is edited in place; Enter or a double click takes the trace
// there (cursor A on the marker); Delete removes the marker selected.

#include <QDockWidget>

#include <cstdint>

class QLabel;
class QTableView;
class CMarkerList;

class CMarkerDock : public QDockWidget {
    Q_OBJECT
public:
    CMarkerDock(CMarkerList& markers, QWidget* parent = nullptr);

    // A marker at ms (the one there, if any), shown with its note open for
    // writing; Esc leaves the note as it was.
    void Drop(uint64_t ms);
    QTableView& Table() { return *m_table; }

signals:
    void GoToAsked(uint64_t ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GoTo(const QModelIndex& index);
    void RemoveSelected();
    void ShowHint();

    CMarkerList& m_markers;
    QLabel* m_hint;
    QTableView* m_table;
};
