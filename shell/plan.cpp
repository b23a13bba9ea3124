#include "shell/plan.h"

#include <cmath>
#include <filesystem>

#include "import/shapes.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/progress.h"
#include "sequencing/jobrun.h"
#include "shell/work.h"

namespace {

// A wall's commands on the serial line at 9600 baud (ten bits a byte): a
// strip move and a tool stroke with their answers, about 24 bytes.
constexpr double kWireSecondsPerWall = 24 * 10 / 9600.0;

// The pace is read again only when jobs.csv has changed.
double pace_of_history() {
    static std::string read_path;
    static std::uintmax_t read_size = 0;
    static double pace = 0;
    std::string path = program_file("jobs.csv");
    std::error_code e;
    std::uintmax_t size = std::filesystem::file_size(path, e);
    if (e) return 0;
    if (path == read_path && size == read_size) return pace;
    std::string text, why;
    if (!read_small_file(path, 64 * 1024 * 1024, text, why)) return 0;
    std::vector<CsvRow> rows = parse_csv(text);
    if (!rows.empty()) rows.erase(rows.begin());
    read_path = path;
    read_size = size;
    return pace = measured_pace(rows);
}

}  // namespace

double measured_pace(const std::vector<CsvRow>& jobs) {
    double seconds = 0, inches = 0;
    for (const CsvRow& row : jobs) {
        // Whole letters only: a notching run, a stop or a refusal says nothing of the pace.
        if (row.size() < kJobColumns || row[kJobDrawing].empty() || row[kJobResult] != "done")
            continue;
        long long start = 0, end = 0;
        double planned = std::strtod(row[kJobPlanned].c_str(), nullptr);
        if (!parse_iso_time(row[kJobStart], start) || !parse_iso_time(row[kJobEnd], end) ||
            end < start || !(planned > 0))
            continue;
        seconds += static_cast<double>(end - start);
        inches += planned;
    }
    return inches > 0 ? seconds / inches : 0;
}

std::string time_estimate(int walls, double inches, double pace) {
    if (pace > 0)
        return "about " + duration_text(std::llround(pace * inches * 1000));
    return "at least " + duration_text(1000 * std::llround(std::ceil(walls * kWireSecondsPerWall))) +
           " (no job measured yet)";
}

std::string figure_plan() {
    if (shapes.PointsLoaded == 0 || shapes.selected < 1 || work_running()) return "";
    // The wall list belongs to the job last run (a stopped job's Resume reads
    // it): it is put back as it was.
    const WallList walls_before = wall_list;
    bool planned = plan_figure(false);
    int walls = wall_list.walls;
    double inches = planned_length();
    Counters strokes;
    planned = planned && strokes_on_paper(strokes);
    wall_list = walls_before;
    take_notices();  // a figure that cannot be planned says so when it is run
    if (!planned)
        return strprintf("Figure %d of %d cannot be run as it stands", shapes.selected,
                         shapes.objects);
    return strprintf("Plan: figure %d of %d, %d walls, %.1f in. (%.1f ft), ", shapes.selected,
                     shapes.objects, walls, inches, inches / 12) +
           strokes_text(strokes) + ", " + time_estimate(walls, inches, pace_of_history());
}

std::string drawing_plan(int figures, int walls, double inches, const Counters& strokes) {
    return strprintf("Job length: %d figures, %d walls, %.1f in. (%.1f ft), ", figures, walls,
                     inches, inches / 12) +
           strokes_text(strokes) + ", " + time_estimate(walls, inches, pace_of_history());
}
