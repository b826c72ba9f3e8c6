#include "app/qt/qt_beep.h"

#include <QApplication>
#include <QMetaObject>

#include "panel/beep.h"

// Called from the firmware thread: queued to the application's thread.
void qt_beep()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(
        app, [] { QApplication::beep(); }, Qt::QueuedConnection);
}

void qt_install_beep() { panel_install_beep(&qt_beep); }
