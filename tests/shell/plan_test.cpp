// The plan of a run shown before it: the machine's measured pace, the
// estimate, and the selected figure planned without a report written.
#include "planning/walls.h"
#include "platform/files.h"
#include "records/progress.h"
#include "resources/resources.h"
#include "shell/plan.h"
#include "shell/status.h"
#include "shell/window.h"
#include "tests/import/drawing.h"
#include "tests/support/ui.h"
#include "tests/support/window.h"

namespace {

CsvRow row_of(const char* start, const char* end, const char* drawing, const char* planned,
           const char* result) {
    return {start, end, drawing, "1", "", "", "4", planned, "0", "0", "0", "0", "0", "0", "0",
            "1", result, planned};
}

TEST(Plan, ThePaceIsThatOfWholeLettersDone) {
    std::vector<CsvRow> jobs = {
        row_of("2026-12-07T09:00:00+01:00", "2026-12-07T09:01:40+01:00", "/a.dxf", "100", "done"),
        row_of("2026-12-07T10:00:00+01:00", "2026-12-07T10:01:40+01:00", "/a.dxf", "300", "done"),
        // none of these says how fast letters are made
        row_of("2026-12-07T11:00:00+01:00", "2026-12-07T12:00:00+01:00", "", "2", "done"),
        row_of("2026-12-07T11:00:00+01:00", "2026-12-07T12:00:00+01:00", "/a.dxf", "50",
            "stopped by operator"),
        row_of("2026-12-07T11:00:00+01:00", "bad", "/a.dxf", "50", "done"),
    };
    EXPECT_DOUBLE_EQ(measured_pace(jobs), 200.0 / 400.0);
    EXPECT_EQ(measured_pace({}), 0.0);
    EXPECT_EQ(time_estimate(10, 90, 0.5), "about 45 s");
    EXPECT_EQ(time_estimate(50, 90, 0), "at least 2 s (no job measured yet)");  // 50 x 25 ms, up
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
}

}  // namespace
