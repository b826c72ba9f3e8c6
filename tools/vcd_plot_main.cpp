// trelvik-vcd-plot IN.vcd OUT.png [--width PIXELS] [--title TEXT] [NAME...]:
// draws the named variables of a trace (all that change, by default) as a
// waveform picture. Exit 0 when drawn, 2 for a usage, input or output error.

#include <QBuffer>
#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/option_reader.h"
#include "cli/output_file.h"
#include "tools/vcd_plot.h"
#include "trace/vcd_reader.h"
#include "trelvik_version.h"

namespace {

constexpr const char* USAGE = "usage: trelvik-vcd-plot IN.vcd OUT.png [--width PIXELS] [--title TEXT] [NAME...]\n";
constexpr const char* HELP =
    "Draws a trace written by trelvik-scenario as a waveform picture: one row\n"
    "per variable, NAME by NAME (a short name such as RED_LED, or a full one such\n"
    "as trelvik.ports.RED_LED), or every variable that changes when none is named.\n"
    "\n"
    "  --width PIXELS  the picture's width, 400 to 20000 (default 1400)\n"
    "  --title TEXT    the line above the rows (default: the trace's name)\n"
    "  --help          this text\n"
    "  --version       the program's version\n"
    "\n"
    "Exit status: 0 drawn; 2 a usage, input or output error.\n";

struct CPlotCall {
    std::string in, out, title;
    int width = 1400;
    std::vector<std::string> names;
};

int usage_error(const std::string& reason)
{
    std::cerr << "trelvik-vcd-plot: " << reason << "\n" << USAGE;
    return 2;
}

// 0 when the call is understood, else the exit code.
int parse(int argc, const char* const* argv, CPlotCall& call)
{
    COptionReader reader({{"--width", true}, {"--title", true}, {"--help", false, false, "-h"}, {"--version"}});
    if (!reader.Read(argc, argv))
        return usage_error(reader.Error());
    for (const COptionReader::COption& option : reader.Options()) {
        if (option.name == "--title") {
            call.title = option.value;
        } else if (option.name == "--width") {
            uint64_t width = 0;
            if (!COptionReader::ToNumber(option.value, width) || width < 400 || width > 20000)
                return usage_error("--width: bad number '" + option.value + "' (400 to 20000 pixels)");
            call.width = static_cast<int>(width);
        }
    }
    const std::vector<std::string>& words = reader.Operands();
    if (words.size() < 2)
        return usage_error("an input trace and an output picture are needed");
    call.in = words[0];
    call.out = words[1];
    call.names.assign(words.begin() + 2, words.end());
    if (call.title.empty())
        call.title = call.in;
    return 0;
}

// Every name must be in the trace; the valid ones are listed otherwise.
bool names_known(const CVcdReader& dump, const CPlotCall& call)
{
    bool known = true;
    for (const std::string& name : call.names)
        if (!dump.Find(name)) {
            std::cerr << call.in << ": unknown signal '" << name << "'\n";
            known = false;
        }
    if (!known) {
        std::cerr << "valid names:";
        for (const CVcdReader::CVariable& var : dump.Variables())
            std::cerr << " " << var.name;
        std::cerr << "\n";
    }
    return known;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << USAGE << "\n" << HELP;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "trelvik-vcd-plot " TRELVIK_VERSION "\n";
            return 0;
        }
    }
    CPlotCall call;
    if (const int code = parse(argc, argv, call))
        return code;
    CVcdReader dump;
    std::string error;
    if (!dump.ParseFile(call.in, error)) {
        std::cerr << error << "\n";
        return 2;
    }
    if (!names_known(dump, call))
        return 2;
    if (!COutputFile::Check(call.out, {call.in}, error)) {
        std::cerr << error << "\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QImage image = CVcdPlot(dump).Render(call.names, call.width, call.title);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG") ||
        !COutputFile::WriteWhole(call.out, bytes.constData(), static_cast<size_t>(bytes.size()), error)) {
        std::cerr << (error.empty() ? call.out + ": cannot encode the picture" : error) << "\n";
        return 2;
    }
    return 0;
}
