#include "workbench/model/marker_list.h"

#include <algorithm>

#include "workbench/model/session_record.h"

CMarkerList::CMarkerList(QObject* parent) : QAbstractTableModel(parent) {}

int CMarkerList::Add(uint64_t ms, bool* added)
{
    const auto at = std::lower_bound(m_markers.begin(), m_markers.end(), ms,
                                     [](const CMarker& marker, uint64_t time) { return marker.ms < time; });
    const int row = static_cast<int>(at - m_markers.begin());
    const bool fresh = at == m_markers.end() || at->ms != ms;
    if (added)
        *added = fresh;
    if (fresh) {
        beginInsertRows({}, row, row);
        m_markers.insert(at, CMarker{ms, QString()});
        endInsertRows();
        Touched();
    }
    return row;
}

void CMarkerList::Remove(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_markers.erase(m_markers.begin() + row);
    endRemoveRows();
    Touched();
}

void CMarkerList::SetNote(int row, const QString& note)
{
    if (row < 0 || row >= rowCount())
        return;
    const QString line = one_line_note(note);
    if (line == m_markers[row].note)
        return;
    m_markers[row].note = line;
    emit dataChanged(index(row, NOTE), index(row, NOTE));
    Touched();
}

void CMarkerList::Clear()
{
    beginResetModel();
    m_markers.clear();
    endResetModel();
    m_unsaved = false;
    emit Changed();
}

// A time given twice keeps its first note, as Add would.
void CMarkerList::ReadScenario(const QStringList& lines)
{
    beginResetModel();
    m_markers.clear();
    for (const QString& line : lines) {
        CMarker marker;
        if (read_marker_comment(line, marker))
            m_markers.push_back(marker);
    }
    const auto earlier = [](const CMarker& a, const CMarker& b) { return a.ms < b.ms; };
    std::stable_sort(m_markers.begin(), m_markers.end(), earlier);
    const auto same = [](const CMarker& a, const CMarker& b) { return a.ms == b.ms; };
    m_markers.erase(std::unique(m_markers.begin(), m_markers.end(), same), m_markers.end());
    endResetModel();
    m_unsaved = false;
    emit Changed();
}

std::string CMarkerList::Comments() const
{
    std::string text;
    for (const CMarker& marker : m_markers)
        text += marker_comment(marker).toStdString() + "\n";
    return text;
}

std::vector<uint64_t> CMarkerList::Times() const
{
    std::vector<uint64_t> times;
    for (const CMarker& marker : m_markers)
        times.push_back(marker.ms);
    return times;
}

int CMarkerList::RowOf(uint64_t ms) const
{
    for (size_t row = 0; row < m_markers.size(); ++row)
        if (m_markers[row].ms == ms)
            return static_cast<int>(row);
    return -1;
}

void CMarkerList::Touched()
{
    m_unsaved = true;
    emit Changed();
}

int CMarkerList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_markers.size());
}

int CMarkerList::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant CMarkerList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CMarker& marker = m_markers[index.row()];
    if (index.column() == TIME && role == Qt::DisplayRole)
        return QString::fromStdString(clock_text(marker.ms));
    if (index.column() == NOTE && (role == Qt::DisplayRole || role == Qt::EditRole))
        return marker.note;
    return {};
}

bool CMarkerList::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != NOTE || role != Qt::EditRole)
        return false;
    SetNote(index.row(), value.toString());
    return true;
}

Qt::ItemFlags CMarkerList::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == NOTE ? flags | Qt::ItemIsEditable : flags;
}

QVariant CMarkerList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return QString::fromUtf8(section == TIME ? "시간" : "메모");
}
