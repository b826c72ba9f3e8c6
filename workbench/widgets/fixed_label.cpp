#include "workbench/widgets/fixed_label.h"

#include <QPainter>

CFixedLabel::CFixedLabel(const QString& widest, const QFont& font, QWidget* parent) : QWidget(parent)
{
    setFont(font);
    const QFontMetrics metrics(font);
    m_size = QSize(metrics.horizontalAdvance(widest) + 12, metrics.height() + 4);
    setFixedSize(m_size);
}

void CFixedLabel::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void CFixedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}
