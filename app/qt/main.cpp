// trelvik: the food-waste processor's controller, simulated on the desktop.

#include <QApplication>

#include "app/qt/simulator_app.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CSimulatorApp app;
    app.InitInstance();
    return QApplication::exec();
}
