#pragma once
#include <array>

#include "import/shapes.h"

// The wall list of the figure planned last: lengths in feed order, each with
// the turn angle at its end, closed by kWallEnd.

inline constexpr float kWallEnd = -32767.0f;
inline constexpr int kNoStop = -1;  // no divide point on the planned figure

struct WallList {
    std::array<float, kShapeEntries> l_a_dimensions{};  // inches
    std::array<float, kShapeEntries> angles{};          // degrees
    int walls = 0;             // index of the wall being planned or fed
    float cur_notch = 0.0f;    // notch spacing of the arc being divided
    int stop = kNoStop;        // wall index of the divide point
    // For each wall, the element of the figure it comes from (0 for the first).
    std::array<int, kShapeEntries> element{};
};

extern WallList wall_list;

void reset_wall_list();

// How many walls were planned: those before kWallEnd.
int planned_walls();

// When another drawing has been loaded: every length and angle back to 0.
// `walls` keeps its value, so a job end before the next planning reads a
// last wall of 0.
void forget_walls();
