#include "import/angles.h"

#include <cmath>
#include <numbers>

Turn turn(double degrees) {
    double r = std::fmod(degrees, 360.0);
    if (r < 0) r += 360.0;
    if (r == 0.0) return {1.0, 0.0};
    if (r == 90.0) return {0.0, 1.0};
    if (r == 180.0) return {-1.0, 0.0};
    if (r == 270.0) return {0.0, -1.0};
    double a = r * std::numbers::pi / 180.0;
    return {std::cos(a), std::sin(a)};
}
