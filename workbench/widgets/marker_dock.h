#pragma once
// The marker dock: the markers dropped on the trace, by time, with their
// notes. A note is edited in place; Enter or a double click takes the trace
// there (cursor A on the marker); Delete removes the marker selected.

#include <QDockWidget>
#include <QPointer>

#include <cstdint>

class QLabel;
class QTableView;
class CMarkerList;

class CMarkerDock : public QDockWidget {
    Q_OBJECT
public:
    CMarkerDock(CMarkerList& markers, QWidget* parent = nullptr);

    // A marker at ms (the one there, if any), shown with its note open for
    // writing; Esc leaves the note as it was. Either way the keys go back
    // to the widget that had them (the trace), so the next M drops a marker.
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
    QPointer<QWidget> m_returnFocus;  // while a dropped marker's note is open
};
