#pragma once
// The About box: the icon, the name with its version, and "확인".

#include <QDialog>

class QPushButton;

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
    QPushButton* OkButton() const { return m_ok; }

private:
    QPushButton* m_ok = nullptr;
};
