#include "shell/plan.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "controller/commands.h"
#include "import/shapes.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/progress.h"
#include "sequencing/jobrun.h"
#include "shell/work.h"

namespace {

// The least time a job's commands take on the serial line at 9600 baud (ten
// bits a byte): every wall has at least its strip move, at least "M,0.000000\r"
// and a byte of answer (a Galil's move is two commands, as long together),
// and every stroke its command and answer: "N,0\r" (a Galil's "1\r") and a byte.
double wire_seconds(int walls, long strokes) {
    double bytes = 12.0 * walls + (galil() ? 3.0 : 5.0) * static_cast<double>(strokes);
    return bytes * 10 / 9600;
}

// The pace is read again only when jobs.csv has changed.
Pace pace_of_history() {
    static std::string read_path;
    static std::uintmax_t read_size = 0;
    static Pace pace;
    std::string path = program_file("jobs.csv");
    std::error_code e;
    std::uintmax_t size = std::filesystem::file_size(path, e);
    if (e) return {};
    if (path == read_path && size == read_size) return pace;
    std::string text, why;
    if (!read_small_file(path, 64 * 1024 * 1024, text, why)) return {};
    std::vector<CsvRow> rows = parse_csv(text);
    if (!rows.empty()) rows.erase(rows.begin());
    read_path = path;
    read_size = size;
    return pace = measured_pace(rows);
}

}  // namespace

// Least squares of seconds = per_inch x inches + per_stroke x strokes, neither
// below 0. Feeding and stroking both take the machine's time, in proportions
// that differ from letter to letter (a long straight side, a tight curve cut
// into many walls). Where the letters done cannot tell the two apart (a
// single one, or all alike), the time goes by the inch alone.
Pace measured_pace(const std::vector<CsvRow>& jobs) {
    double ii = 0, ik = 0, kk = 0, is = 0, ks = 0, ss = 0;
    for (const CsvRow& row : jobs) {
        // Whole letters only: a notching run, a stop or a refusal says nothing of the pace.
        if (row.size() < kJobColumns || row[kJobDrawing].empty() || row[kJobResult] != "done")
            continue;
        long long start = 0, end = 0;
        double inches = std::strtod(row[kJobPlanned].c_str(), nullptr);
        double strokes = 0;
        for (int c = kJobFirstStroke; c <= kJobLastStroke; ++c)
            strokes += std::max(0.0, std::strtod(row[c].c_str(), nullptr));
        if (!parse_iso_time(row[kJobStart], start) || !parse_iso_time(row[kJobEnd], end) ||
            end < start || !(inches > 0) || !std::isfinite(inches) || !std::isfinite(strokes))
            continue;
        double seconds = static_cast<double>(end - start);
        ii += inches * inches, ik += inches * strokes, kk += strokes * strokes;
        is += inches * seconds, ks += strokes * seconds, ss += seconds * seconds;
    }
    if (ii == 0) return {};
    // The squared error of a pace, from the sums alone.
    auto error = [&](const Pace& p) {
        double a = p.per_inch, b = p.per_stroke;
        return ss - 2 * a * is - 2 * b * ks + a * a * ii + 2 * a * b * ik + b * b * kk;
    };
    Pace by_inch{is / ii, 0};
    double det = ii * kk - ik * ik;
    if (det > 1e-9 * ii * kk) {
        Pace both{(is * kk - ks * ik) / det, (ks * ii - is * ik) / det};
        if (both.per_inch >= 0 && both.per_stroke >= 0) return both;
    }
    if (kk > 0) {
        Pace by_stroke{0, ks / kk};
        if (error(by_stroke) < error(by_inch) * (1 - 1e-9)) return by_stroke;
    }
    return by_inch;
}

std::string time_estimate(int walls, double inches, long strokes, const Pace& pace) {
    if (pace.measured())
        return "about " +
               duration_text(std::llround((pace.per_inch * inches + pace.per_stroke * strokes) * 1000));
    // Rounded down: it is the least the job can take.
    double least = wire_seconds(walls, strokes);
    std::string shown = least < 60 ? strprintf("%.1f s", std::floor(least * 10) / 10)
                                   : duration_text(1000 * static_cast<long long>(least));
    return "at least " + shown + " (no job measured yet)";
}

namespace {

// Adds to the totals what a run of `figure` takes, planned without a file
// written and with the last job's walls put back (a stopped job's Resume
// reads them); false when it cannot be run as it stands.
bool add_plan_of(int figure, int& walls, double& inches, Counters& strokes) {
    const WallList walls_before = wall_list;
    const int selected = shapes.selected;
    shapes.selected = figure;
    bool planned = plan_figure(false);
    walls += wall_list.walls;
    inches += planned_length();
    planned = planned && strokes_on_paper(strokes) && job_refusal().empty();
    wall_list = walls_before;
    shapes.selected = selected;
    take_notices();  // a figure that cannot be run says why when it is run
    return planned;
}

Counters times(Counters c, int n) {
    for (int32_t Counters::*stroke : kStrokeCounters) c.*stroke *= n;
    return c;
}

}  // namespace

std::string figure_plan() {
    if (shapes.PointsLoaded == 0 || shapes.selected < 1 || work_running()) return "";
    const int k = shapes.selected, n = shapes.objects;
    auto refused = [n](int figure) {
        return strprintf("Figure %d of %d cannot be run as it stands", figure, n);
    };
    int walls = 0;
    double inches = 0;
    Counters strokes;
    std::string what;
    if (job.whole_job == 1) {  // Run Tool makes every figure once
        for (int f = 1; f <= n; ++f)
            if (!add_plan_of(f, walls, inches, strokes)) return refused(f);
        what = strprintf("every figure (%d)", n);
    } else {
        if (!add_plan_of(k, walls, inches, strokes)) return refused(k);
        const int images = std::max(job.repeat_count, 1);
        walls *= images;
        inches *= images;
        strokes = times(strokes, images);
        what = images > 1 ? strprintf("%d images of figure %d of %d", images, k, n)
                          : strprintf("figure %d of %d", k, n);
    }
    return "Plan: " + what +
           strprintf(", %d walls, %.1f in. (%.1f ft), ", walls, inches, inches / 12) +
           strokes_text(strokes) + ", " +
           time_estimate(walls, inches, total_strokes(strokes), pace_of_history());
}

std::string drawing_plan(int figures, int walls, double inches, const Counters& strokes) {
    return strprintf("Job length: %d figures, %d walls, %.1f in. (%.1f ft), ", figures, walls,
                     inches, inches / 12) +
           strokes_text(strokes) + ", " +
           time_estimate(walls, inches, total_strokes(strokes), pace_of_history());
}
