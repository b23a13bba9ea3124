// The wall planner: walls, angles, divide point and the two reports.
#include <cmath>
#include <filesystem>

#include "import/shapes.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/settings.h"
#include "sequencing/jobrun.h"
#include "sequencing/state.h"
#include "shell/window_state.h"
#include "tests/support/figures.h"
#include "tests/support/support.h"

namespace {

class Planner : public PlanningTest {
protected:
    std::vector<float> walls() const {
        std::vector<float> out;
        for (int i = 0; wall_list.l_a_dimensions[i] != kWallEnd; ++i)
            out.push_back(wall_list.l_a_dimensions[i]);
        return out;
    }
    std::vector<float> angles() const {
        return {wall_list.angles.begin(), wall_list.angles.begin() + wall_list.walls};
    }
};

// Quarter circle of radius 2 from (2,0) to (0,2), then back to the origin and out.
std::vector<Vertex> quarter_with_lines() {
    float m = static_cast<float>(std::sqrt(2.0));
    return {{2, 0, true, m, m}, {0, 2}, {0, 0}, {2, 0}};
}

TEST_F(Planner, CounterClockwiseSquare) {
    load_figures({rectangle(0, 0, 10, 10)});
    seq.sk100 = 2;
    seq.end_sequence = 1;
    EXPECT_NEAR(Run_Job(1), 39.839, 5e-4);
    EXPECT_EQ(read("curf.txt"), "0.026823 \n0.026823 \n0.026823 \n0.000000 \n");
    auto w = walls();
    ASSERT_EQ(w.size(), 4u);
    EXPECT_NEAR(w[0], 9.973, 5e-4);
    EXPECT_NEAR(w[1], 9.946, 5e-4);
    EXPECT_NEAR(w[2], 9.946, 5e-4);
    EXPECT_NEAR(w[3], 9.973, 5e-4);
    EXPECT_EQ(angles(), (std::vector<float>{-90, -90, -90, 0}));
    EXPECT_EQ(wall_list.walls, 4);
    EXPECT_EQ(seq.sk100, 0);
    EXPECT_EQ(seq.end_sequence, 0);
    EXPECT_EQ(read("segments.txt"),
              "Segment Length   Accumulative Length\n"
              "     9.973               9.973   -90.000\n"
              "     9.946              19.920   -90.000\n"
              "     9.946              29.866   -90.000\n"
              "     9.973              39.839   0.000\n");
}

TEST_F(Planner, NoLossWithoutFormingDirectionOrOnClockwiseTurns) {
    load_figures({rectangle(0, 0, 10, 10)});
    settings.direction = 0;
    EXPECT_FLOAT_EQ(Run_Job(1), 40.0f);
    EXPECT_EQ(read("curf.txt"), "0.000000 \n0.000000 \n0.000000 \n0.000000 \n");

    settings.direction = 1;
    load_figures({{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}});
    EXPECT_FLOAT_EQ(Run_Job(1), 40.0f);
    EXPECT_EQ(angles(), (std::vector<float>{90, 90, 90, 0}));
}

TEST_F(Planner, QuarterCircleIsCutIntoEqualPieces) {
    load_figures({quarter_with_lines()});
    EXPECT_NEAR(Run_Job(1), 6.959, 5e-4);
    auto w = walls();
    ASSERT_EQ(w.size(), 9u);
    for (int i = 0; i < 7; ++i) EXPECT_NEAR(w[i], 0.439606, 1e-6) << i;
    EXPECT_NEAR(w[7], 1.909, 5e-4);
    EXPECT_NEAR(w[8], 1.973, 5e-4);
    auto a = angles();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(a[i], 0.0f);
    EXPECT_FLOAT_EQ(a[6], -112.5f);
    EXPECT_NEAR(wall_list.cur_notch, 0.439606, 1e-6);
    EXPECT_EQ(read("curf.txt").substr(0, 10), "0.064353 \n");
}

TEST_F(Planner, ArcPieces) {
    // A quarter circle of radius 0.5: 0.785 long, in pieces of at most 0.1.
    float m = static_cast<float>(0.5 * std::sqrt(0.5));
    load_figures({{{0.5f, 0, true, m, m}, {0, 0.5f}}});
    settings.arc_notch = 0.1f;
    EXPECT_NEAR(Run_Job(1), 0.785398, 2e-6);
    EXPECT_EQ(walls().size(), 7u);

    // 0.19 rad of a circle of radius 2 is shorter than the spacing (0.4): one wall.
    settings.arc_notch = 0.5f;
    load_figures({{{2, 0, true, static_cast<float>(2 * std::cos(0.095)),
                    static_cast<float>(2 * std::sin(0.095))},
                   {static_cast<float>(2 * std::cos(0.19)), static_cast<float>(2 * std::sin(0.19))}}});
    EXPECT_NEAR(Run_Job(1), 0.38, 1e-6);
    ASSERT_EQ(walls().size(), 1u);
    EXPECT_NEAR(wall_list.cur_notch, 0.38, 1e-6);
}

TEST_F(Planner, ZeroLengthLineMakesNoWallAndNoPoint) {
    load_figures({{{0, 0}, {10, 0}, {10, 0}, {10, 10}}});
    job.pause = 2;
    Run_Job(1);
    EXPECT_EQ(walls().size(), 2u);
    EXPECT_EQ(read("curf.txt"), "0.000000 \n0.000000 \n0.000000 \n");
    EXPECT_EQ(wall_list.stop, 1);  // the second counted point is the third element
}

TEST_F(Planner, ShallowClockwiseTurnBesideAnArc) {
    auto line_then_arc = [](double degrees) {
        // A line east, then an arc whose first chord turns clockwise by `degrees`.
        double r1 = -degrees / 57.29578, r2 = 2 * r1;
        float mx = static_cast<float>(10 + std::cos(r1)), my = static_cast<float>(std::sin(r1));
        return std::vector<Vertex>{{0, 0},
                                   {10, 0, true, mx, my},
                                   {mx + static_cast<float>(std::cos(r2)),
                                    my + static_cast<float>(std::sin(r2))}};
    };
    load_figures({line_then_arc(20)});
    Run_Job(1);
    EXPECT_EQ(wall_list.angles[0], 10.0f);
    load_figures({line_then_arc(30.5)});
    Run_Job(1);
    EXPECT_NEAR(wall_list.angles[0], 30.5f, 1e-4);

    double r = -20 / 57.29578;  // between two lines a turn of 20 stays 20
    load_figures({{{0, 0}, {10, 0}, {static_cast<float>(10 + 5 * std::cos(r)),
                                      static_cast<float>(5 * std::sin(r))}, {20, -5}}});
    Run_Job(1);
    EXPECT_NEAR(wall_list.angles[0], 20.0f, 1e-4);
}

// The limits of the shallow turn beside an arc, and the next float beyond each.
TEST(ShallowTurn, OnlyClockwiseTurnsBelow30BesideAnArcBecome10) {
    const struct {
        float angle;
        bool beside_arc;
        float kept;
    } cases[] = {
        {20.0f, true, 10.0f},
        {20.0f, false, 20.0f},
        {30.0f, true, 30.0f},
        {std::nextafter(30.0f, 0.0f), true, 10.0f},
        {0.0f, true, 0.0f},
        {std::nextafter(0.0f, 1.0f), true, 10.0f},
        {-20.0f, true, -20.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shallow_turn(c.angle, c.beside_arc), c.kept) << c.angle << " " << c.beside_arc;
}

TEST_F(Planner, DivideWall) {
    load_figures({rectangle(0, 0, 10, 10)});
    for (auto [pause, stop] : {std::pair{3, 2}, {1, 0}, {0, kNoStop}, {9, kNoStop}}) {
        job.pause = pause;
        Run_Job(1);
        EXPECT_EQ(wall_list.stop, stop) << "pause " << pause;
    }
    // An arc counts two points that lead to its first piece.
    load_figures({quarter_with_lines()});
    job.pause = 2;
    Run_Job(1);
    EXPECT_EQ(wall_list.stop, 0);
    job.pause = 3;
    Run_Job(1);
    EXPECT_EQ(wall_list.stop, 7);
}

TEST_F(Planner, PlansTheSelectedFigure) {
    load_figures({rectangle(0, 0, 10, 10), rectangle(20, 0, 2, 3)});
    shapes.selected = 2;
    settings.direction = 0;
    EXPECT_FLOAT_EQ(Run_Job(1), 10.0f);
    shapes.selected = 3;
    EXPECT_EQ(Run_Job(1), 0.0f);
    EXPECT_EQ(take_notices().size(), 1u);
}

TEST_F(Planner, RefusesArcsWithoutASpacing) {
    load_figures({quarter_with_lines()});
    settings.arc_notch = 0;
    EXPECT_EQ(Run_Job(1), 0.0f);
    EXPECT_EQ(wall_list.l_a_dimensions[0], kWallEnd);
    auto notes = take_notices();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("radius notch distance"), std::string::npos);

    load_figures({rectangle(0, 0, 10, 10)});  // lines need no spacing
    EXPECT_NEAR(Run_Job(1), 39.839, 5e-4);
}

TEST_F(Planner, RefusesMoreWallsThanTheListHolds) {
    load_figures({quarter_with_lines()});
    settings.arc_notch = 0.0005f;  // 6000 pieces
    EXPECT_EQ(Run_Job(1), 0.0f);
    EXPECT_EQ(wall_list.l_a_dimensions[0], kWallEnd);
    EXPECT_EQ(wall_list.walls, 0);
    EXPECT_NE(take_notices().at(0).find("4799 walls"), std::string::npos);

    settings.arc_notch = 0.00066f;  // 4662 pieces and two lines: fits
    EXPECT_NEAR(Run_Job(1), 6.959, 5e-4);
    EXPECT_EQ(wall_list.walls, 4664);
}

TEST_F(Planner, GoesOnWithoutAReportThatCannotBeCreated) {
    std::filesystem::create_directory(dir.file("curf.txt"));
    load_figures({rectangle(0, 0, 10, 10)});
    EXPECT_NEAR(Run_Job(1), 39.839, 5e-4);
    auto notes = take_notices();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("curf.txt"), std::string::npos);
}

}  // namespace
