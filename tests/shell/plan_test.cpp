// The plan of a run shown before it: the machine's measured pace, the
// estimate, and the selected figure planned without a report written.
#include "planning/walls.h"
#include "platform/files.h"
#include "records/job.h"
#include "records/progress.h"
#include "records/settings.h"
#include "resources/resources.h"
#include "shell/plan.h"
#include "shell/status.h"
#include "shell/window.h"
#include "tests/import/drawing.h"
#include "tests/support/ui.h"
#include "tests/support/window.h"

namespace {

CsvRow row_of(const char* start, const char* end, const char* drawing, const char* planned,
              const char* result, const char* notches = "0", const char* bends = "0") {
    return {start, end, drawing, "1", "", "", "4", planned, "0", notches, "0", "0", "0", bends, "0",
            "1", result, planned};
}

// Jobs that took 0.5 s an inch and 2 s a stroke, and some that say nothing of the pace.
TEST(Plan, ThePaceIsFittedToWholeLettersDoneByTheInchAndTheStroke) {
    const char* t0 = "2026-12-07T09:00:00+01:00";
    std::vector<CsvRow> jobs = {
        row_of(t0, "2026-12-07T09:01:10+01:00", "/a.dxf", "100", "done", "8", "2"),   // 50 + 20
        row_of(t0, "2026-12-07T09:03:00+01:00", "/a.dxf", "300", "done", "10", "5"),  // 150 + 30
        row_of(t0, "2026-12-07T09:02:00+01:00", "/a.dxf", "40", "done", "50", "0"),   // 20 + 100
        row_of(t0, "2026-12-07T12:00:00+01:00", "", "2", "done"),  // a notching run
        row_of(t0, "2026-12-07T12:00:00+01:00", "/a.dxf", "50", "stopped by operator"),
        row_of(t0, "bad", "/a.dxf", "50", "done"),
    };
    Pace pace = measured_pace(jobs);
    EXPECT_NEAR(pace.per_inch, 0.5, 1e-9);
    EXPECT_NEAR(pace.per_stroke, 2.0, 1e-9);
    EXPECT_EQ(time_estimate(10, 90, 10, pace), "about 1 min 5 s");

    // One letter, or letters alike, cannot tell inches from strokes: by the inch.
    jobs.resize(1);
    pace = measured_pace(jobs);
    EXPECT_DOUBLE_EQ(pace.per_inch, 0.7);
    EXPECT_EQ(pace.per_stroke, 0.0);
    EXPECT_FALSE(measured_pace({}).measured());
    // 50 moves of 12 bytes and 10 strokes of 5, a byte in 1.04 ms; rounded down.
    EXPECT_EQ(time_estimate(50, 90, 10, Pace{}), "at least 0.6 s (no job measured yet)");
    EXPECT_EQ(time_estimate(5000, 9000, 1000, Pace{}), "at least 1 min 7 s (no job measured yet)");
}

class PlanInWindow : public WindowTest {};

TEST_F(PlanInWindow, TheSelectedFigureIsPlannedWithoutAReportAndTheJobsWallsKept) {
    Drawing d;  // a 10 in. square and a 5 in. one
    d.polyline().vertex(0, 0).vertex(10, 0).vertex(10, 10).vertex(0, 10).seqend();
    d.polyline().vertex(20, 0).vertex(25, 0).vertex(25, 5).vertex(20, 5).seqend();
    write("squares.dxf", d.text());
    start(dir.file("squares.dxf"));
    EXPECT_NE(ws.status.find("Plan: figure 1 of 2, 4 walls, 39.8 in. (3.3 ft), "),
              std::string::npos)
        << ws.status;
    EXPECT_FALSE(file_is_readable(dir.file("curf.txt")));
    const std::string plan = ws.status;
    command(IDM_RUN_TOOL);
    // The strokes planned are those the run counted in log.dat.
    EXPECT_NE(plan.find("3.3 ft), " + strokes_text() + ", at least "), std::string::npos) << plan;
    const WallList walls_run = wall_list;
    command(IDM_NEXT);
    EXPECT_NE(ws.status.find("Plan: figure 2 of 2, 4 walls, 19.8 in."), std::string::npos)
        << ws.status;
    EXPECT_EQ(wall_list.l_a_dimensions, walls_run.l_a_dimensions);
    // What Run Tool will make: every figure of a continuous job, or repeated images.
    command(IDM_PREVIOUS);
    job.repeat_count = 2;
    command(IDM_CONTINUOUS);
    EXPECT_NE(ws.status.find("Plan: every figure (2), 8 walls, 59.7 in."), std::string::npos)
        << ws.status;
    command(IDM_CONTINUOUS);
    EXPECT_NE(ws.status.find("Plan: 2 images of figure 1 of 2, 8 walls, 79.7 in."),
              std::string::npos)
        << ws.status;
    // Run Tool would refuse it: before it starts, or at a move past the travel limit.
    for (auto refuse : {+[] { settings.direction = 0; }, +[] { settings.home = 1e30f; }}) {
        const Settings kept = settings;
        refuse();
        command(IDM_NEXT);
        command(IDM_PREVIOUS);
        EXPECT_NE(ws.status.find("Figure 1 of 2 cannot be run as it stands"), std::string::npos)
            << ws.status;
        settings = kept;
    }
}

}  // namespace
