#include "app/cli.h"

#include <cmath>
#include <cstdlib>

#include "platform/text.h"
#include "records/units.h"

namespace {

// Where the operator's own folder is, and how the machine is simulated.
#ifdef _WIN32
#define kOwnFolder                                                                 \
    "%%ZEL_MACHINE%%, else zel-machine in the local application data folder,\n" \
    "made from the installed sample the first\n"
#define kSimulator                                                                 \
    "--simulate runs the simulated controller inside the program, in place of the\n" \
    "serial port.\n"
#else
#define kOwnFolder "$ZEL_MACHINE, else ~/zel-machine, made from the installed sample the first\n"
#define kSimulator                                                                     \
    "zel-sim is the simulated controller on a pseudo-terminal (zel-sim --help);\n"     \
    "--simulate starts one for a single run. The manual page zel(1) says more.\n"
#endif

const char* const kUsage =
    "usage: zel [--dir DIR] [--simulate] [DRAWING]\n"
    "       zel --measure [--figure N] [--start K] [--units inch|declared] [--join T]\n"
    "                     [--dir DIR] DRAWING\n"
    "       zel --export-dxf OUT.dxf [--units inch|declared] [--join T] [--dir DIR] DRAWING\n"
    "       zel --text TEXT [--font PATTERN] [--height H] [--units inch|mm] [--spacing S]\n"
    "                  [--line-spacing F] [--dir DIR] --measure | --export-dxf OUT.dxf\n"
    "       zel --fonts [PATTERN]\n"
    "       zel --check [--dir DIR] [--simulate]\n"
    "       zel --ports [--dir DIR]\n"
    "       zel --use-port DEVICE [--port N] [--dir DIR]\n"
    "       zel --help | --version\n"
    "\n"
    "  --dir DIR          the machine folder (settings, production log, reports)\n"
    "  --simulate         use the simulated controller instead of the serial port\n"
    "  --measure          print the strip lengths of the drawing's figures\n"
    "  --figure N         with --measure: only figure N\n"
    "  --start K          with --measure: move the start point forward K vertices\n"
    "  --export-dxf OUT.dxf\n"
    "                     write the drawing's figures, as read, to OUT.dxf as an R12\n"
    "                     drawing of closed polylines\n"
    "  --units inch|declared\n"
    "                     with --measure or --export-dxf: read drawings that declare\n"
    "                     millimetres or centimetres in inches, or in their declared\n"
    "                     unit; default: as Options, Drawing units is set in the\n"
    "                     machine folder\n"
    "  --join T           with --measure or --export-dxf: join the ends of pieces\n"
    "                     within T inches (at most 0.05); default: as Options,\n"
    "                     Drawing units is set in the machine folder\n"
    "  --text TEXT        letters from TEXT (lines apart at line breaks) in place of\n"
    "                     a drawing\n"
    "  --font PATTERN     with --text: the font, as --fonts lists it (\"DejaVu Sans:\n"
    "                     style=Bold\"); default: the font last used\n"
    "  --height H         with --text: the height of a capital H; default: the last\n"
    "  --units inch|mm    with --text: the unit of --height and --spacing\n"
    "  --spacing S        with --text: added to the advance of every letter\n"
    "  --line-spacing F   with --text: baseline to baseline, in line distances\n"
    "  --fonts [PATTERN]  list the installed fonts (those whose names hold every word)\n"
    "  --check            bring up the controller, report, and exit\n"
    "  --ports            list the serial devices of this computer\n"
    "  --use-port DEVICE  link DEVICE as the machine folder's port COMn\n"
    "  --port N           with --use-port: link it as COMN, 1 to 4\n"
    "                     (default: the Communications Port in Setup)\n"
    "\n"
    "Without --dir the machine folder is the folder that holds the program when\n"
    "it holds setup.dat and may be written, and otherwise the operator's own:\n"
    kOwnFolder
    "time (files already there are never overwritten). Here that is\n"
    "  %s\n"
    "\n"
    kSimulator;

bool to_number(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(out);
}

bool to_count(const std::string& text, int& out) {
    if (text.empty() || text.size() > 9) return false;
    for (char ch : text)
        if (ch < '0' || ch > '9') return false;
    out = std::stoi(text);
    return true;
}

}  // namespace

std::string usage_text(const std::string& machine_folder) {
    return strprintf(kUsage, machine_folder.empty() ? "(none: there is no home folder; set "
                                                      "ZEL_MACHINE or use --dir)"
                                                    : machine_folder.c_str());
}

CommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine cl;
    std::vector<std::string> drawings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                cl.error = strprintf("%s needs a value", name);
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--help" || a == "-h") {
            cl.mode = CommandLine::Mode::help;
            return cl;
        } else if (a == "--version") {
            cl.mode = CommandLine::Mode::version;
            return cl;
        } else if (a == "--dir") {
            const std::string* v = value("--dir");
            if (!v) return cl;
            cl.dir = *v;
        } else if (a == "--measure") {
            cl.mode = CommandLine::Mode::measure;
        } else if (a == "--export-dxf") {
            const std::string* v = value("--export-dxf");
            if (!v) return cl;
            cl.mode = CommandLine::Mode::export_dxf;
            cl.export_path = *v;
        } else if (a == "--join") {
            const std::string* v = value("--join");
            if (!v) return cl;
            if (!read_join_tolerance(*v, cl.join)) {
                cl.error = strprintf("--join takes a number of inches from %.6f to %g, not \"%s\"",
                                     kLeastJoin, kMostJoin, v->c_str());
                return cl;
            }
        } else if (a == "--check") {
            cl.mode = CommandLine::Mode::check;
        } else if (a == "--simulate") {
            cl.simulate = true;
        } else if (a == "--ports") {
            cl.mode = CommandLine::Mode::ports;
        } else if (a == "--use-port") {
            const std::string* v = value("--use-port");
            if (!v) return cl;
            cl.mode = CommandLine::Mode::use_port;
            cl.device = *v;
        } else if (a == "--port") {
            const std::string* v = value("--port");
            if (!v) return cl;
            if (!to_count(*v, cl.port) || cl.port < 1 || cl.port > 4) {
                cl.error = "--port takes 1, 2, 3 or 4, not \"" + *v + "\"";
                return cl;
            }
        } else if (a == "--figure" || a == "--start") {
            const std::string* v = value(a.c_str());
            if (!v) return cl;
            int& target = a == "--figure" ? cl.figure : cl.start;
            if (!to_count(*v, target) || (a == "--figure" && target == 0)) {
                cl.error = strprintf("%s takes a whole number%s, not \"%s\"", a.c_str(),
                                     a == "--figure" ? " from 1" : "", v->c_str());
                return cl;
            }
        } else if (a == "--units") {
            const std::string* v = value("--units");
            if (!v) return cl;
            if (*v != "inch" && *v != "declared" && *v != "mm") {
                cl.error = "--units takes inch, declared or mm, not \"" + *v + "\"";
                return cl;
            }
            cl.millimetres = *v == "mm";
            if (!cl.millimetres)
                cl.units = *v == "inch" ? CommandLine::Units::inch : CommandLine::Units::declared;
        } else if (a == "--text" || a == "--font") {
            const std::string* v = value(a.c_str());
            if (!v) return cl;
            (a == "--text" ? cl.text : cl.font) = *v;
            cl.text_given = cl.text_given || a == "--text";
        } else if (a == "--height" || a == "--spacing" || a == "--line-spacing") {
            const std::string* v = value(a.c_str());
            if (!v) return cl;
            double& target = a == "--height" ? cl.height
                             : a == "--spacing" ? cl.spacing : cl.line_spacing;
            cl.height_given = cl.height_given || a == "--height";
            if (!to_number(*v, target)) {
                cl.error = a + " takes a number, not \"" + *v + "\"";
                return cl;
            }
        } else if (a == "--fonts") {
            cl.mode = CommandLine::Mode::fonts;
        } else if (a.size() > 1 && a[0] == '-' && a != "--") {
            cl.error = "unknown option " + a;
            return cl;
        } else if (a == "--") {
            for (++i; i < args.size(); ++i) drawings.push_back(args[i]);
        } else {
            drawings.push_back(a);
        }
    }
    bool text_options = !cl.font.empty() || cl.height_given || cl.millimetres ||
                        cl.spacing != 0.0 || cl.line_spacing != 1.0;
    if (cl.mode == CommandLine::Mode::fonts) {
        for (const std::string& d : drawings)
            cl.fonts_filter += (cl.fonts_filter.empty() ? "" : " ") + d;
        drawings.clear();
    }
    if (cl.text_given) {
        if (!drawings.empty())
            cl.error = "--text makes the letters in place of a drawing: name no drawing";
        else if (cl.mode != CommandLine::Mode::measure &&
                 cl.mode != CommandLine::Mode::export_dxf)
            cl.error = "--text goes with --measure or --export-dxf";
        else if (cl.units == CommandLine::Units::declared || cl.join != 0.0)
            cl.error = "--units declared and --join go with a drawing, not --text";
        return cl;
    }
    if (cl.error.empty() && text_options)
        cl.error = "--font, --height, --spacing, --line-spacing and --units mm go with --text";
    if (drawings.size() > 1) {
        cl.error = "only one drawing can be named";
    } else if (drawings.size() == 1) {
        cl.drawing = drawings[0];
    }
    bool measure = cl.mode == CommandLine::Mode::measure;
    bool reads = measure || cl.mode == CommandLine::Mode::export_dxf;
    if (cl.error.empty() && measure && cl.drawing.empty())
        cl.error = "--measure needs a drawing";
    if (cl.error.empty() && cl.mode == CommandLine::Mode::export_dxf && cl.drawing.empty())
        cl.error = "--export-dxf needs a drawing to read";
    if (cl.error.empty() && !measure && (cl.figure != 0 || cl.start != 0))
        cl.error = "--figure and --start go with --measure";
    if (cl.error.empty() && cl.port != 0 && cl.mode != CommandLine::Mode::use_port)
        cl.error = "--port goes with --use-port";
    if (cl.error.empty() && !reads && cl.units != CommandLine::Units::setting)
        cl.error = "--units goes with --measure or --export-dxf";
    if (cl.error.empty() && !reads && cl.join != 0.0)
        cl.error = "--join goes with --measure or --export-dxf";
    return cl;
}
