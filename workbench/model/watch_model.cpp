#include "workbench/model/watch_model.h"

#include <QBrush>
#include <QFont>

#include <algorithm>

namespace {
constexpr int64_t BACKSTOP_MS = 150;  // longer than a frame at x1
}  // namespace

CWatchModel::CWatchModel(int rows, QStringList headers, QObject* parent)
    : QAbstractTableModel(parent),
      m_rows(rows),
      m_headers(std::move(headers)),
      m_cells(static_cast<size_t>(rows * m_headers.size()))
{
    m_wall.start();
    m_fade.setSingleShot(true);
    connect(&m_fade, &QTimer::timeout, this, [this] { UpdateMarks(); });
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
    const int64_t now = WallMs();
    for (int row = 0; row < m_rows; ++row)
        for (int column = 0; column < m_headers.size(); ++column) {
            CCell& cell = Cell(row, column);
            const int64_t value = Value(row, column);
            const bool fresh = !cell.known;
            cell.changed = cell.known && value != cell.value;
            if (cell.changed || fresh) {
                cell.value = value;
                cell.text = Text(row, column, value);
            }
            if (cell.changed)
                cell.markedUntil = now + MARK_MS;
            if (!running)
                cell.markedUntil = 0;  // paused: the last step's changes alone
            cell.known = true;
            if (fresh || cell.changed) {
                cell.shown = cell.changed;
                const QModelIndex at = index(row, column);
                emit dataChanged(at, at);
            }
        }
    // While frames come, each takes the faded marks away; the timer only
    // stands in when they stop.
    UpdateMarks(BACKSTOP_MS);
}

void CWatchModel::UpdateMarks(int64_t lateMs)
{
    const int64_t now = WallMs();
    int64_t next = INT64_MAX;
    for (int row = 0; row < m_rows; ++row)
        for (int column = 0; column < m_headers.size(); ++column) {
            CCell& cell = Cell(row, column);
            const bool marked = cell.changed || cell.markedUntil > now;
            if (cell.markedUntil > now)
                next = std::min(next, cell.markedUntil);
            if (marked != cell.shown) {
                cell.shown = marked;
                const QModelIndex at = index(row, column);
                emit dataChanged(at, at);
            }
        }
    if (next == INT64_MAX)
        m_fade.stop();
    else
        m_fade.start(static_cast<int>(next - now + lateMs));
}

void CWatchModel::ClearMarks()
{
    for (CCell& cell : m_cells)
        cell = CCell{};
    m_fade.stop();
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
    const bool marked = cell.shown;
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
