#include "records/interrupted.h"

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <map>
#include <unistd.h>

#include "platform/exit.h"
#include "platform/files.h"
#include "platform/latest_file.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/progress.h"

Interrupted interrupted;

namespace {

LatestFile record_file;
AppendFile answered_file;
constexpr const char* kHeader = "ZEL interrupted job";

void remove_answered_file() {
    answered_file.close();
    ::unlink(program_file(kAnsweredFile).c_str());
}

std::string real(float v) { return strprintf("%.9g", v); }

void flush_record() { record_file.flush(); }

using Lines = std::map<std::string, std::string>;

bool take(const Lines& lines, const char* key, std::string& out) {
    auto it = lines.find(key);
    if (it == lines.end()) return false;
    out = it->second;
    return true;
}

// Reads "%d", "%d of %d", "%g %g" ... fully from the value of `key`.
template <typename... T>
bool scan(const Lines& lines, const char* key, const char* format, T*... v) {
    std::string text;
    int used = -1;
    if (!take(lines, key, text)) return false;
    std::string f = std::string(format) + "%n";
    return std::sscanf(text.c_str(), f.c_str(), v..., &used) == static_cast<int>(sizeof...(T)) &&
           used == static_cast<int>(text.size());
}

}  // namespace

void reset_interrupted() {
    record_file.flush();
    answered_file.close();
    interrupted = Interrupted{};
}

std::string format_interrupted(const Interrupted& r) {
    const Counters& c = r.counts;
    std::string out = std::string(kHeader) + "\n";
    auto line = [&out](const char* key, const std::string& value) {
        out += std::string(key) + ": " + value + "\n";
    };
    line("work", r.work == Interrupted::Work::notching ? "notching run" : "job");
    line("drawing", r.drawing);
    line("drawing digest", r.drawing_digest);
    line("units", r.units);
    line("figure", std::to_string(r.figure));
    line("figure digest", r.figure_digest);
    line("start point", r.start_point);
    line("divide point", std::to_string(r.divide_point));
    line("image", strprintf("%d of %d", r.image, r.images));
    line("whole job", std::to_string(r.whole_job));
    line("settings", r.settings);
    line("notching run", real(r.notch_length) + " " + real(r.total_length));
    line("answered", std::to_string(r.answered));
    line("stopped", r.stopped ? "1" : "0");
    line("walls", strprintf("%d of %d", r.wall, r.walls));
    line("elements made", std::to_string(r.element));
    line("inches", real(r.planned) + " " + real(r.fed) + " " + real(r.counted));
    line("letter counted", r.letter_counted ? "1" : "0");
    line("counts", strprintf("%d %d %d %d %d %d %d ", c.images, c.notch30, c.notch100, c.indicates,
                             c.sheers, c.dimples, c.flanges) +
                       real(c.inches));
    return out;
}

std::string scan_interrupted(const std::string& text, Interrupted& out) {
    Lines lines;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) return "its last line is cut short";
        std::string l = text.substr(at, end - at);
        at = end + 1;
        if (first) {
            if (l != kHeader) return "it does not begin with \"" + std::string(kHeader) + "\"";
            first = false;
            continue;
        }
        std::size_t colon = l.find(": ");
        if (colon == std::string::npos) return "the line \"" + l + "\" is not a field";
        lines[l.substr(0, colon)] = l.substr(colon + 2);
    }
    Interrupted r;
    Counters& c = r.counts;
    std::string work;
    int stopped = 0, letter = 0;
    const struct {
        const char* key;
        bool ok;
    } fields[] = {
        {"work", take(lines, "work", work) && (work == "job" || work == "notching run")},
        {"drawing", take(lines, "drawing", r.drawing)},
        {"drawing digest", take(lines, "drawing digest", r.drawing_digest)},
        {"units", take(lines, "units", r.units)},
        {"figure", scan(lines, "figure", "%d", &r.figure)},
        {"figure digest", take(lines, "figure digest", r.figure_digest)},
        {"start point", take(lines, "start point", r.start_point)},
        {"divide point", scan(lines, "divide point", "%d", &r.divide_point)},
        {"image", scan(lines, "image", "%d of %d", &r.image, &r.images)},
        {"whole job", scan(lines, "whole job", "%d", &r.whole_job)},
        {"settings", take(lines, "settings", r.settings)},
        {"notching run", scan(lines, "notching run", "%g %g", &r.notch_length, &r.total_length)},
        {"answered", scan(lines, "answered", "%ld", &r.answered) && r.answered >= 0},
        {"stopped", scan(lines, "stopped", "%d", &stopped)},
        {"walls", scan(lines, "walls", "%d of %d", &r.wall, &r.walls)},
        {"elements made", scan(lines, "elements made", "%d", &r.element)},
        {"inches", scan(lines, "inches", "%g %g %g", &r.planned, &r.fed, &r.counted)},
        {"letter counted", scan(lines, "letter counted", "%d", &letter)},
        {"counts", scan(lines, "counts", "%d %d %d %d %d %d %d %g", &c.images, &c.notch30,
                        &c.notch100, &c.indicates, &c.sheers, &c.dimples, &c.flanges,
                        &c.inches)},
    };
    for (const auto& f : fields)
        if (!f.ok) return "its field \"" + std::string(f.key) + "\" is missing or damaged";
    r.work = work == "job" ? Interrupted::Work::job : Interrupted::Work::notching;
    r.stopped = stopped != 0;
    r.letter_counted = letter != 0;
    out = r;
    return "";
}

void save_interrupted(bool now) {
    if (interrupted.work == Interrupted::Work::none) return;
    at_program_end(flush_record);
    record_file.hand(program_file(kInterruptedFile), format_interrupted(interrupted),
                     now || !progress.running);
    if (now) record_file.flush();
}

void begin_answered_file(long answered) {
    answered_file.close();
    std::string why;  // without it the record is still never ahead, only maybe behind
    write_new_file(program_file(kAnsweredFile), std::string(answered, '+'), why);
}

void nudge_interrupted_writer() { record_file.wake(); }

void interrupted_answered(long answered) {
    Interrupted& r = interrupted;
    if (r.work == Interrupted::Work::none || !progress.running) return;
    const Progress& p = progress;
    r.answered = answered;
    r.counts = counters;
    r.wall = p.wall;
    r.fed = p.fed;
    save_interrupted(false);
    answered_file.append(program_file(kAnsweredFile), "+");
}

void remove_interrupted() {
    record_file.flush();
    remove_answered_file();
    ::unlink(program_file(kInterruptedFile).c_str());
    interrupted = Interrupted{};
}

void retire_interrupted() {
    record_file.flush();
    remove_answered_file();
    std::string path = program_file(kInterruptedFile);
    if (!move_file_over(path, program_file(kDeclinedFile)) && errno != ENOENT)
        notice("The interrupted-job record " + path + " could not be put aside (" +
               errno_text() + "); remove it so that it is no longer offered");
    interrupted = Interrupted{};
}

bool read_interrupted(Interrupted& r, std::string& why) {
    std::string path = program_file(kInterruptedFile), text;
    remove_interrupted_saves(path);
    if (!read_small_file(path, kRecordLimit, text, why)) {
        if (errno == ENOENT) why.clear();
        return false;
    }
    std::string fault = scan_interrupted(text, r);
    if (fault.empty()) {
        std::string answered, unread;
        if (read_small_file(program_file(kAnsweredFile), kRecordLimit * 64, answered, unread))
            r.answered_after = std::max(0L, static_cast<long>(answered.size()) - r.answered);
        return true;
    }
    std::string kept = path + ".damaged";
    why = "The interrupted-job record " + path + " cannot be used: " + fault + ". ";
    why += move_file_over(path, kept)
               ? "It was kept as " + kept + "."
               : "It could not be moved aside (" + errno_text() + ").";
    return false;
}

std::string interrupted_text(const Interrupted& r) {
    if (r.work == Interrupted::Work::notching)
        return strprintf("the notching run of %.3f in. after %d notches", r.total_length, r.wall);
    std::string name = r.drawing.substr(r.drawing.rfind('/') + 1);
    std::string where = r.wall < r.walls ? strprintf("wall %d of %d", r.wall + 1, r.walls)
                                         : strprintf("the end of the strip (%d walls)", r.walls);
    return strprintf("figure %d of ", r.figure) + name + " from " + where;
}
