#pragma once
// Qt's own texts in Korean: the file dialogs, the standard buttons ("취소")
// and the context menus of text fields, from Qt's translations as the
// system installs them.

class QCoreApplication;

// Installs them into the application; false when they are not installed.
bool install_qt_translations(QCoreApplication& application);
