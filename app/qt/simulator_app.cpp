#include "app/qt/simulator_app.h"

#include <QApplication>
#include <QGuiApplication>

#include "app/qt/main_frame.h"
#include "app/qt/qt_beep.h"
#include "trelvik_version.h"

bool CSimulatorApp::InitInstance()
{
    QCoreApplication::setApplicationName(QStringLiteral("trelvik"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRELVIK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("trelvik"));
    qt_install_beep();
    m_frame = new CMainFrame();
    m_frame->setAttribute(Qt::WA_DeleteOnClose);
    m_frame->show();
    return true;
}

CMainFrame* CSimulatorApp::MainFrame() const { return m_frame.data(); }
