#pragma once
// The status bar's lock-key panes: "CAP", "NUM" and "SCRL" while the key is
// on. Read from the X server's keyboard indicators; blank elsewhere.

#include <QBasicTimer>
#include <QLabel>
#include <QWidget>

class QStatusBar;

class CStatusIndicators : public QObject {
    Q_OBJECT
public:
    explicit CStatusIndicators(QStatusBar* bar);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void Poll();

    QLabel* m_caps;
    QLabel* m_num;
    QLabel* m_scroll;
    QBasicTimer m_poll;
};
