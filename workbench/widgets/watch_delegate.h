#pragma once
// Paints a cell of the controller's tables: its text, right-aligned numbers,
// bold and red while marked. Much lighter than the style's item painting,
// which lays every text out afresh; the tables repaint cells every frame.

#include <QAbstractItemDelegate>

class CWatchDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
