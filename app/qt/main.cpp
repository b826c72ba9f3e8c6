// trelvik: the food-waste processor's controller, simulated on the desktop.

#include <QApplication>

#include "app/qt/simulator_app.h"

namespace {
CSimulatorApp the_app;  // exists before the program's entry runs
}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    the_app.InitInstance();
    return QApplication::exec();
}
