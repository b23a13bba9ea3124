#include "planning/walls.h"

WallList wall_list;

void reset_wall_list() { wall_list = WallList{}; }

int planned_walls() {
    int n = 0;
    while (n < kShapeEntries && wall_list.l_a_dimensions[n] != kWallEnd) ++n;
    return n;
}

void forget_walls() {
    wall_list.l_a_dimensions.fill(0.0f);
    wall_list.angles.fill(0.0f);
}
