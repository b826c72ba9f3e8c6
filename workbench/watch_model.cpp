#include "workbench/watch_model.h"

#include <QBrush>
#include <QFont>

CWatchModel::CWatchModel(int rows, QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows), m_headers(std::move(headers)),
      m_cells(static_cast<size_t>(rows * m_headers.size()))
{
    m_wall.start();
}

QString CWatchModel::Text(int, int, int64_t value) const { return QString::number(value); }

std::vector<int64_t> CWatchModel::Extremes(int, int) const { return {}; }

QString CWatchModel::Widest(int column, const QFontMetrics& metrics) const
{
    QString widest;
    for (int row = 0; row < m_rows; ++row)
        for (const int64_t value : Extremes(row, column)) {
            const QString text = Text(row, column, value);
            if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(widest))
                widest = text;
        }
    return widest;
}

// Only the cells whose text or mark changed are announced, so the views
// repaint a few cells a frame rather than the whole table.
void CWatchModel::Refresh(bool running)
{
    const int64_t now = m_wall.elapsed();
    for (int row = 0; row < m_rows; ++row)
        for (int column = 0; column < m_headers.size(); ++column) {
            CCell& cell = Cell(row, column);
            const bool markedBefore = MarkedAt(row, column, now);
            const int64_t value = Value(row, column);
            cell.changed = cell.known && value != cell.value;
            if (cell.changed || !cell.known) {
                cell.value = value;
                cell.text = Text(row, column, value);
            }
            if (cell.changed)
                cell.markedUntil = now + MARK_MS;
            if (!running)
                cell.markedUntil = 0;  // paused: the last step's changes alone
            const bool fresh = !cell.known;
            cell.known = true;
            if (fresh || cell.changed || markedBefore != MarkedAt(row, column, now)) {
                const QModelIndex at = index(row, column);
                emit dataChanged(at, at);
            }
        }
}

void CWatchModel::ClearMarks()
{
    for (CCell& cell : m_cells)
        cell = CCell{};
}

bool CWatchModel::MarkedAt(int row, int column, int64_t wallMs) const
{
    const CCell& cell = Cell(row, column);
    return cell.changed || cell.markedUntil > wallMs;
}

int CWatchModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int CWatchModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant CWatchModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const CCell& cell = Cell(index.row(), index.column());
    const bool marked = role == Qt::FontRole || role == Qt::ForegroundRole ? Marked(index.row(), index.column()) : false;
    switch (role) {
    case Qt::DisplayRole:
        return cell.text;
    case Qt::FontRole:
        if (marked) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        return marked ? QBrush(QColor(200, 0, 0)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CWatchModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_headers.size())
        return m_headers[section];
    return {};
}
