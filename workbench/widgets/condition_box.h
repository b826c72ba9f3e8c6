#pragma once
// The box in the time bar where a condition of the scenario language is
// written ("signal DISK_MOT_B 1", "not lamp red on"); Enter asks to run
// until it holds. Its list holds the conditions run before, newest first.
// A condition refused shows in the box, red, with the reason as its tip,
// until it is edited. Esc hands the keys back to the panel (Space pauses again).

#include <QComboBox>
#include <QKeySequence>

class CConditionBox : public QComboBox {
    Q_OBJECT
public:
    // `commandKey` reaches the window's command also while the cursor is in the box.
    explicit CConditionBox(const QKeySequence& commandKey, QWidget* parent = nullptr);

    QString Text() const { return currentText().trimmed(); }
    // The conditions run before, newest first; what is being written stays.
    void SetHistory(const QStringList& items);
    void ShowRefused(const QString& reason);
    bool Refused() const { return m_refused; }
    // The cursor in the box, its text chosen, ready to be written over.
    void FocusForWriting();

signals:
    void Submitted(const QString& text);  // Enter in the box

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ClearRefused();

    QKeySequence m_commandKey;

    bool m_refused = false;
};
