#include "records/history.h"

#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string iso_local_time(std::time_t t) { return iso8601_local_time(t); }

std::string history_csv(const HistoryLine& h) {
    std::string fields[] = {
        iso_local_time(h.started),
        iso_local_time(h.ended),
        h.drawing,
        h.figure > 0 ? std::to_string(h.figure) : "",
        h.start_point,
        h.divide_point > 0 ? std::to_string(h.divide_point) : "",
        std::to_string(h.walls),
        strprintf("%.3f", h.planned),
        strprintf("%.3f", h.fed),
        std::to_string(h.notch30),
        std::to_string(h.notch100),
        std::to_string(h.dimples),
        std::to_string(h.indicates),
        std::to_string(h.flanges),
        std::to_string(h.sheers),
        std::to_string(h.images),
        h.result,
        strprintf("%.3f", h.counted),
    };
    std::string line;
    for (const std::string& f : fields) {
        if (&f != fields) line += ',';
        line += csv_field(f);
    }
    return line;
}

void repair_history() {
    std::string why;
    long moved =
        move_partial_last_line(program_file("jobs.csv"), program_file("jobs.csv.damaged"), why);
    if (moved > 0)
        notice(strprintf("The job history jobs.csv in %s ended in a line cut short (%ld bytes, "
                         "as a full disk or a power cut leaves it). It was moved to "
                         "jobs.csv.damaged; the whole lines before it are kept.",
                         directory.c_str(), moved));
    else if (moved < 0)
        notice("The job history jobs.csv in " + directory +
               " ends in a line cut short that could not be moved to jobs.csv.damaged (" + why +
               "); the next job's line follows it.");
}

bool append_history(const HistoryLine& h) {
    std::string why;
    if (!append_line_durably(program_file("jobs.csv"), history_csv(h) + "\r\n",
                             std::string(kHistoryHeader) + "\r\n", why)) {
        notice("The job history jobs.csv was not written: " + why);
        return false;
    }
    return true;
}
