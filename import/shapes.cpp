#include "import/shapes.h"

ShapeTables shapes;

void reset_shapes() { shapes = ShapeTables{}; }
