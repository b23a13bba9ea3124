#include "planning/geometry.h"

#include <cmath>

#include "planning/walls.h"
#include "records/settings.h"

namespace {
// The program's own constants, kept as they have always been: they are not
// exactly 180/pi, and the lengths operators have measured depend on them.
constexpr double kToDegrees = 57.29578;
constexpr double kToRadiansDivisor = 57.296;
constexpr float kStraightTolerance = 0.0001f;
constexpr double kRadiusToSpacing = 5;

double float_pi() { return static_cast<float>(std::acos(-1.0)); }
}  // namespace

float joint(double startx_line_one, double starty_line_one, double endx_line_one,
            double endy_line_one, double startx_line_two, double starty_line_two,
            double endx_line_two, double endy_line_two) {
    double dx = endx_line_one - startx_line_one;
    double dy = endy_line_one - starty_line_one;
    if (dx == 0 && dy == 0) return 0;
    double tan_angle_one = std::atan2(dy, dx);
    dx = endx_line_two - startx_line_two;
    dy = endy_line_two - starty_line_two;
    if (dx == 0 && dy == 0) return 0;
    double work = (std::atan2(dy, dx) - tan_angle_one) * kToDegrees;
    if (work > 180) work -= 360;
    if (work < -180) work += 360;
    return static_cast<float>(work);
}

double curfing(float bit, float angle) {
    double pi = float_pi();
    double circumference = pi * bit;
    double arc = circumference * ((180.0 - angle) / 360.0) / 2.0;
    double half_angle = angle / 2.0 / kToRadiansDivisor;
    double radius = bit / 2.0;
    return radius / std::tan(half_angle) - arc;
}

float arc_distance(float chord_A3, float chord_ARC) {
    double pi = float_pi();
    double a = chord_ARC;
    double b = chord_A3;
    double c = chord_A3;
    if (!(2 * b - kStraightTolerance > a)) return chord_ARC;
    double cos_A = (b * b + c * c - a * a) / (2 * b * c);
    if (cos_A < -1) cos_A = -1;
    if (cos_A > 1) cos_A = 1;
    double A = std::acos(cos_A);
    double radius = (c / 2) / std::cos(A / 2);
    wall_list.cur_notch = static_cast<float>(radius / kRadiusToSpacing);
    if (wall_list.cur_notch > settings.arc_notch) wall_list.cur_notch = settings.arc_notch;
    float circumference = static_cast<float>(2 * pi * radius);
    float arc = static_cast<float>(2 * (pi - A));
    return static_cast<float>(arc * static_cast<double>(circumference) / (2 * pi));
}
