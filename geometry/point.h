#pragma once
#include <cmath>

namespace geo {

// A point or a vector of the drawing's plane.
struct Point {
    double x = 0, y = 0;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator-(Point a) { return {-a.x, -a.y}; }
inline Point operator*(double k, Point a) { return {k * a.x, k * a.y}; }
inline Point operator*(Point a, double k) { return {k * a.x, k * a.y}; }
inline Point operator/(Point a, double k) { return {a.x / k, a.y / k}; }
inline bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }

inline double dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
// Positive when b points counter-clockwise of a.
inline double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
inline double length(Point a) { return std::sqrt(a.x * a.x + a.y * a.y); }
inline double distance(Point a, Point b) { return length(b - a); }
// A quarter turn counter-clockwise.
inline Point perp(Point a) { return {-a.y, a.x}; }
inline Point unit(Point a) { return a / length(a); }
inline Point rotated(Point a, double radians) {
    double c = std::cos(radians), s = std::sin(radians);
    return {c * a.x - s * a.y, s * a.x + c * a.y};
}
inline bool finite(Point a) { return std::isfinite(a.x) && std::isfinite(a.y); }
// The angle from a to b, -pi to pi, positive counter-clockwise.
inline double turn(Point a, Point b) { return std::atan2(cross(a, b), dot(a, b)); }

}  // namespace geo
