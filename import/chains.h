#pragma once
#include <vector>

#include "import/pieces.h"

// A chain that did not close: its pieces and its two free ends.
struct OpenChain {
    std::vector<int> pieces;  // in `pieces` of the join, in the order they were met
    double x0, y0, x1, y1;    // the ends it stopped at
};

// What a join gives: closed chains as outlines (their vertices appended to
// `vertices`, from the lowest-then-leftmost round to it again), and the
// chains that stay open.
struct Joined {
    std::vector<Outline> closed;
    std::vector<std::vector<int>> closed_pieces;  // the pieces of each closed chain
    std::vector<OpenChain> open;
};

// Joins `pieces` whose ends meet within `tolerance` (drawing units) into
// chains, in the drawing's order: a chain starts with the first piece not
// yet taken and grows from its end, at every junction with the nearest free
// end (the earlier piece when two are as near), until it comes back to its
// start. A junction is where the piece that leaves it begins, except where a
// line arrives at an arc: there it is the line's end, as the drawing gives
// it. `per_inch` orders vertices as the shape tables will hold them. Runs of
// pieces are read from `vertices`.
Joined join_pieces(const std::vector<Piece>& pieces, std::vector<OutlineVertex>& vertices,
                   double tolerance, double per_inch);
