#include "planning/new_drawing.h"

#include "import/shapes.h"
#include "planning/walls.h"
#include "records/job.h"

DrawingLoad load_new_drawing(const std::string& path) {
    DrawingLoad result = load_drawing(path);
    if (result != DrawingLoad::loaded) return result;
    shapes.selected = 1;
    job.toggle = 1;
    job.pause = 0;  // a divide point belongs to the drawing it was set on
    forget_walls();
    return result;
}
