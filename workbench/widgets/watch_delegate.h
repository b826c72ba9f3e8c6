#pragma once
// Paints a cell of the controller's tables: its text, right-aligned numbers,
// bold and red while marked. Much lighter than the style's item painting,
// which lays every text out afresh; the tables repaint cells every frame.
// A text wider than its cell ends in "…" rather than losing digits unseen.

#include <QAbstractItemDelegate>

class CWatchDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    // Room around a cell's text: 4 px each side and the grid line.
    static constexpr int PADDING = 10;

    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
