#include "workbench/widgets/watch_delegate.h"

#include <QPainter>

void CWatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool alternate = option.features & QStyleOptionViewItem::Alternate;
    painter->fillRect(option.rect, option.palette.color(alternate ? QPalette::AlternateBase : QPalette::Base));
    const QVariant font = index.data(Qt::FontRole);
    painter->setFont(font.isValid() ? font.value<QFont>() : option.font);
    const QVariant colour = index.data(Qt::ForegroundRole);
    painter->setPen(colour.isValid() ? colour.value<QBrush>().color() : option.palette.color(QPalette::Text));
    const int alignment = index.data(Qt::TextAlignmentRole).toInt();
    painter->drawText(option.rect.adjusted(4, 0, -4, 0), alignment, index.data(Qt::DisplayRole).toString());
}

QSize CWatchDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QFont bold = option.font;
    bold.setBold(true);
    return QSize(QFontMetrics(bold).horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 10,
                 option.fontMetrics.height() + 4);
}
