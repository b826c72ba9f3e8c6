// trelvik-vcd-plot IN.vcd OUT.png [--width PIXELS] [--title TEXT] [NAME...]:
// draws the named variables of a trace (all that change, by default) as a
// waveform picture. Exit 0 when drawn, 2 for a usage, input or output error.

#include <QBuffer>
#include <QGuiApplication>
#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "cli/output_file.h"
#include "tools/vcd_plot.h"
#include "tools/vcd_reader.h"
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
int parse(const std::vector<std::string>& args, CPlotCall& call)
{
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--width" || arg == "--title") {
            if (i + 1 >= args.size())
                return usage_error("option " + arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--title") {
                call.title = value;
                continue;
            }
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), call.width);
            if (ec != std::errc() || end != value.data() + value.size() || call.width < 400 || call.width > 20000)
                return usage_error("--width: bad number '" + value + "' (400 to 20000 pixels)");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage_error("unknown option '" + arg + "'");
        } else {
            words.push_back(arg);
        }
    }
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
    if (const int code = parse(args, call))
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
