#include "planning/walls.h"

WallList wall_list;

void reset_wall_list() { wall_list = WallList{}; }

void forget_walls() {
    wall_list.l_a_dimensions.fill(0.0f);
    wall_list.angles.fill(0.0f);
}
