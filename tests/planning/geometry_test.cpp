// Corner angles, kerf losses and arc lengths.
#include <cmath>

#include "planning/geometry.h"
#include "planning/walls.h"
#include "records/settings.h"
#include "tests/support/support.h"

namespace {

TEST(Joint, TurnsFoldedIntoPlusMinus180) {
    EXPECT_EQ(joint(0, 0, 1, 0, 5, 5, 9, 5), 0.0f);     // same way
    EXPECT_FLOAT_EQ(joint(0, 0, 1, 0, 0, 0, 0, 1), 90.0f);   // two turned counter-clockwise
    EXPECT_FLOAT_EQ(joint(0, 0, 1, 0, 0, 0, 0, -1), -90.0f);
    double r170 = 170 / 57.29578, rm170 = -170 / 57.29578;
    EXPECT_NEAR(joint(0, 0, std::cos(r170), std::sin(r170), 0, 0, std::cos(rm170),
                      std::sin(rm170)),
                20.0f, 1e-4);
    EXPECT_EQ(joint(3, 3, 3, 3, 0, 0, 0, 1), 0.0f);  // a segment reduced to a point
    EXPECT_EQ(joint(0, 0, 0, 1, 2, 2, 2, 2), 0.0f);
}

TEST(Curfing, LossesOfTheProgramsOwnConstants) {
    EXPECT_NEAR(curfing(0.25f, 270), -0.026823, 5e-7);
    EXPECT_NEAR(curfing(0.25f, 210), -0.000768, 5e-7);
    double near_straight = curfing(0.25f, 181);
    EXPECT_GT(near_straight, 0);
    EXPECT_LT(near_straight, 0.000001);
    EXPECT_NEAR(curfing(0.25f, 360), -10339, 1);  // a full reversal: far longer than any wall
}

class ArcDistance : public ::testing::Test {
protected:
    void SetUp() override {
        reset_all_state();
        settings.arc_notch = 0.5f;
        wall_list.cur_notch = 0.5f;
    }
};

TEST_F(ArcDistance, ArcsOfAnySizeBelowAFullCircle) {
    EXPECT_NEAR(arc_distance(2 * std::sin(22.5 / 57.29578), std::sqrt(2.0)), 1.570796, 2e-6);
    EXPECT_FLOAT_EQ(wall_list.cur_notch, 0.2f);
    EXPECT_NEAR(arc_distance(std::sqrt(2.0), 2), 3.141593, 2e-6);
    EXPECT_NEAR(arc_distance(1.847759f, std::sqrt(2.0)), 4.712389, 1e-5);
    EXPECT_NEAR(arc_distance(2, 0), 3.141593 * 2, 1e-5);  // full circle
}

TEST_F(ArcDistance, PointsInLineAreAStraightLength) {
    wall_list.cur_notch = 0.3f;
    EXPECT_EQ(arc_distance(1, 1.99995f), 1.99995f);
    EXPECT_EQ(arc_distance(1, 2), 2.0f);
    EXPECT_EQ(wall_list.cur_notch, 0.3f);
}

TEST_F(ArcDistance, SpacingNeverAboveTheSetting) {
    arc_distance(5 * std::sqrt(2.0), 10);  // half circle of radius 5
    EXPECT_EQ(wall_list.cur_notch, 0.5f);
}

}  // namespace
