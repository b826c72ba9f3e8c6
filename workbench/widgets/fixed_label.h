#pragma once
// A one-line text of fixed size, for values that change every frame (the
// virtual clock, the speed achieved): a new text repaints the label and
// nothing else, where a QLabel would have its tool bar laid out again.

#include <QWidget>

class CFixedLabel : public QWidget {
    Q_OBJECT
public:
    // Sized for `widest`, the longest text it will show.
    CFixedLabel(const QString& widest, const QFont& font, QWidget* parent = nullptr);

    void SetText(const QString& text);
    const QString& Text() const { return m_text; }
    QSize sizeHint() const override { return m_size; }
    QSize minimumSizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QSize m_size;
};
