#include "import/walls.h"

WallList wall_list;

void reset_wall_list() { wall_list = WallList{}; }
