#include "planning/new_drawing.h"

#include "import/shapes.h"
#include "planning/walls.h"
#include "records/job.h"

namespace {

void reset_for_new_drawing() {
    shapes.selected = 1;
    job.toggle = 1;
    job.pause = 0;  // a divide point belongs to the drawing it was set on
    forget_walls();
}

}  // namespace

DrawingLoad load_new_drawing(const std::string& path) {
    DrawingLoad result = load_drawing(path);
    if (result == DrawingLoad::loaded) reset_for_new_drawing();
    return result;
}

bool load_new_letters(const TextRequest& request) {
    if (!load_letters(request)) return false;
    reset_for_new_drawing();
    return true;
}
