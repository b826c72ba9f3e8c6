#pragma once
// The markers the user dropped on the trace: moments of virtual time, each
// with an optional note, kept in time order, at most one per ms. As a table
// (time, note) the note can be edited in place. They are part of the
// session's work: a change leaves them unsaved until they are written.

#include <QAbstractTableModel>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "workbench/model/marker_comments.h"

class CMarkerList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TIME, NOTE };

    explicit CMarkerList(QObject* parent = nullptr);

    // The row of the marker at ms, made when there is none; `added` tells which.
    int Add(uint64_t ms, bool* added = nullptr);
    void Remove(int row);
    void SetNote(int row, const QString& note);
    void Clear();
    // The markers of a saved scenario's lines, in place of those there were.
    void ReadScenario(const QStringList& lines);
    // The comment lines that carry the markers, each ending in a newline.
    std::string Comments() const;

    const std::vector<CMarker>& Markers() const { return m_markers; }
    std::vector<uint64_t> Times() const;
    int RowOf(uint64_t ms) const;  // -1: none there
    bool Unsaved() const { return m_unsaved; }
    void MarkSaved() { m_unsaved = false; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void Changed();  // a marker came, went, or its note changed

private:
    void Touched();

    std::vector<CMarker> m_markers;
    bool m_unsaved = false;
};
