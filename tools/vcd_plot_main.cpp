// trelvik-vcd-plot IN.vcd OUT.png [--width PIXELS] [--title TEXT] [NAME...]:
// draws the named variables of a trace (all that change, by default) as a
// waveform picture.

#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "tools/vcd_plot.h"
#include "tools/vcd_reader.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) {
        std::cerr << "usage: trelvik-vcd-plot IN.vcd OUT.png [--width PIXELS] [--title TEXT] [NAME...]\n";
        return 2;
    }
    int width = 1400;
    std::string title = args[0];
    std::vector<std::string> names;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--width" && i + 1 < args.size())
            width = std::max(400, std::stoi(args[++i]));
        else if (args[i] == "--title" && i + 1 < args.size())
            title = args[++i];
        else
            names.push_back(args[i]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    CVcdReader dump;
    std::string error;
    if (!dump.ParseFile(args[0], error)) {
        std::cerr << args[0] << ": " << error << "\n";
        return 2;
    }
    const QImage image = CVcdPlot(dump).Render(names, width, title);
    if (!image.save(QString::fromStdString(args[1]), "PNG")) {
        std::cerr << "cannot write " << args[1] << "\n";
        return 1;
    }
    return 0;
}
