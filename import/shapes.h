#pragma once
#include <array>
#include <cstdint>

// The one drawing that is loaded: figures of line and arc elements in fixed,
// parallel entry tables, and the screen point list derived from them.

inline constexpr int kShapeEntries = 4800;
inline constexpr int kScreenPoints = 10000;

// Values of `tp`.
inline constexpr int kLine = 1;
inline constexpr int kArc = 2;
inline constexpr int kFigureEnd = -32767;  // the entry right after a figure's last element
inline constexpr int kTableEnd = -1;       // the entry right after the last figure's terminator
// In `points`: x of a figure-start marker, y of the end entry.
inline constexpr int32_t kPointMarker = -32767;

// A screen point.
struct PTS {
    int32_t x;
    int32_t y;
};

struct ShapeTables {
    // Entry k: tp[k] 1 line, 2 arc, -32767 figure terminator, -1 end of table, 0 cleared.
    // A line runs from (p1,p2) to (p3,p4), p5 and p6 are 0. An arc runs from
    // (p1,p2) through its middle point (p3,p4) to (p5,p6).
    std::array<int, kShapeEntries> tp{};
    std::array<float, kShapeEntries> p1{}, p2{}, p3{}, p4{}, p5{}, p6{};
    std::array<PTS, kScreenPoints> points{};
    int objects = 0;        // number of figures
    int selected = 0;       // the selected figure, from 1
    int PointsLoaded = 0;   // 1 once a drawing has been loaded
};

extern ShapeTables shapes;

void reset_shapes();

// Rebuilds the screen point list from the entry tables.
void plot();

// Where figure `figure` (from 1) lies: its first element and its terminator.
// False when the tables hold no such figure.
bool find_figure(int figure, int& first, int& terminator);
