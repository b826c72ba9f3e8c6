// trelvik-workbench: the food-waste processor's panel in virtual time.

#include <QApplication>

#include "workbench/qt_translations.h"
#include "workbench/widgets/workbench_window.h"
#include "workbench/workbench_command_line.h"

int main(int argc, char** argv)
{
    CWorkbenchCommandLine command;
    const int code = command.Parse(argc, argv);
    if (code >= 0)
        return code;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("trelvik-workbench"));
    install_qt_translations(application);
    CWorkbenchWindow window;
    if (!command.Apply(window))
        return 2;
    window.show();
    return QApplication::exec();
}
