#pragma once
#include <string>

// How far from the origin a drawing may reach, in drawing units, on either
// axis: beyond it the view can no longer plot a point (three screen units to
// a drawing unit) and a float no longer holds a thousandth of an inch.
inline constexpr float kDrawingLimit = 10922.0f;

// Checks every point of the figures in the first `entries` entries of the
// shape tables, arc middle points included: each must be a number within
// kDrawingLimit. Empty when all are; else which figure and vertex is not.
std::string drawing_limit_fault(int entries);
