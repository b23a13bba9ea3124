#include "records/lettering.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"

Lettering lettering;

void reset_lettering() { lettering = Lettering{}; }

namespace {

constexpr std::size_t kLetteringLimit = 4096;

// "12 in" or "300 mm": a height above 0.
bool read_height(const std::string& line, Lettering& out) {
    const char* p = line.c_str();
    char* end = nullptr;
    double v = std::strtod(p, &end);
    std::string unit = end == p ? "" : std::string(end);
    if (!(std::isfinite(v) && v > 0) || (unit != " in" && unit != " mm")) return false;
    out.height = v;
    out.millimetres = unit == " mm";
    return true;
}

}  // namespace

void get_lettering() {
    reset_lettering();
    std::string content, why;
    if (!read_small_file(program_file("text.dat"), kLetteringLimit, content, why)) {
        if (errno != ENOENT)
            notice("The font last used, in text.dat, could not be read (" + why + ")");
        return;
    }
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < content.size() && lines.size() < 4) {
        std::size_t end = content.find('\n', at);
        if (end == std::string::npos) end = content.size();
        lines.push_back(content.substr(at, end - at));
        at = end + 1;
    }
    Lettering read;
    if (lines.size() != 3 || lines[0].empty() || !read_height(lines[2], read)) {
        notice("text.dat does not hold a font and a height; letters from text start from " +
               lettering.family + " " + lettering.style);
        return;
    }
    read.family = lines[0];
    read.style = lines[1];
    lettering = read;
}

bool save_lettering() {
    const Lettering& l = lettering;
    std::string content = l.family + "\n" + l.style + "\n" +
                          strprintf("%g %s\n", l.height, l.millimetres ? "mm" : "in");
    std::string why;
    if (replace_file(program_file("text.dat"), content, why)) return true;
    notice("The font and height could not be kept in text.dat: " + why);
    return false;
}
