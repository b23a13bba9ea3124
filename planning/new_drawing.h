#pragma once
#include <string>

#include "import/dxf.h"

// Opens the drawing at `path` and reads it (load_drawing). When it is taken,
// everything that belonged to the drawing before is reset here, and only
// here: figure 1 is selected in start point mode, no divide point is set,
// and the planned walls are forgotten. Anything else leaves all as it was.
DrawingLoad load_new_drawing(const std::string& path);
