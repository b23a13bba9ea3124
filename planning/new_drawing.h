#pragma once
#include <string>

#include "import/dxf.h"
#include "import/text.h"

// Opens the drawing at `path` and reads it (load_drawing). When it is taken,
// everything that belonged to the drawing before is reset here, and only
// here: figure 1 is selected in start point mode, no divide point is set,
// and the planned walls are forgotten. Anything else leaves all as it was.
DrawingLoad load_new_drawing(const std::string& path);

// Makes the letters of `request` the drawing (load_letters), resetting what a
// new drawing resets. False, with the operator told why, when they are
// refused; everything then stays as it was.
bool load_new_letters(const TextRequest& request);
