#include "workbench/widgets/watch_delegate.h"

#include <QPainter>

void CWatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool alternate = option.features & QStyleOptionViewItem::Alternate;
    painter->fillRect(option.rect, option.palette.color(alternate ? QPalette::AlternateBase : QPalette::Base));
    const QVariant font = index.data(Qt::FontRole);
    painter->setFont(font.isValid() ? font.value<QFont>() : option.font);
    const QRect room = option.rect.adjusted(4, 0, -4, 0);
    QString text = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(painter->font());
    if (metrics.horizontalAdvance(text) > room.width())
        text = metrics.elidedText(text, Qt::ElideRight, room.width());
    const QVariant colour = index.data(Qt::ForegroundRole);
    painter->setPen(colour.isValid() ? colour.value<QBrush>().color() : option.palette.color(QPalette::Text));
    const int alignment = index.data(Qt::TextAlignmentRole).toInt();
    painter->drawText(room, alignment, text);
}

QSize CWatchDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QFont bold = option.font;
    bold.setBold(true);
    return QSize(QFontMetrics(bold).horizontalAdvance(index.data(Qt::DisplayRole).toString()) + PADDING,
                 option.fontMetrics.height() + 4);
}
