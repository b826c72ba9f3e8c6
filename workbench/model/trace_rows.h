#pragma once
// Which of the trace's channels are shown as rows, and in what order, kept
// by name: a new session's trace, whose channels have the same names, shows
// the same rows. A channel seen for the first time joins below the last row
// of its kind, the numbers above the signals, and is shown.

#include <QStringList>

#include <set>
#include <string>
#include <vector>

class CTraceBuffer;

class CTraceRows {
public:
    // The buffer's channels changed (a variable was added, a new session).
    void Update(const CTraceBuffer& buffer);
    // The channel of each row shown, top to bottom.
    const std::vector<int>& Shown() const { return m_shown; }

    void Hide(int row);
    void ShowAll();
    // Moves a row up (by < 0) or down among the rows shown; the row it lands on.
    int Move(int row, int by);
    // The rows shown by name.
    QStringList Names() const;
    // Shows exactly these rows in this order; returns the names no channel of the trace has.
    QStringList Apply(const QStringList& names);

private:
    void Rebuild();
    int ChannelNamed(const std::string& name) const;  // -1: none

    const CTraceBuffer* m_buffer = nullptr;
    std::vector<std::string> m_order;  // every name known, shown or hidden, in order
    std::set<std::string> m_hidden;
    std::vector<int> m_shown;
};
