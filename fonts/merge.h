#pragma once
#include <vector>

#include "fonts/outline.h"

// Letters built from overlapping parts are merged into the outline of the
// area they cover: a strip can follow an outline, never an overlap.

// Which points a font fills: those that the contours wind around (non-zero),
// or those inside an odd number of them (even-odd, old PostScript fonts).
enum class FillRule { nonzero, even_odd };

enum class Merge { unchanged, merged, failed };

// When the closed `contours` of one letter overlap one another or themselves,
// replaces them with the outlines of the area they fill under `rule`: pieces
// of the contours' own curves, cut where the curves cross, and a straight
// line wherever no curve could be followed, each within `tolerance` of the
// true outline. Contours that do not overlap are left as they are
// (`unchanged`). `failed` leaves them as they are too.
Merge merge_overlaps(std::vector<Chain>& contours, FillRule rule, double tolerance);
