#pragma once
#include <vector>

#include "fonts/outline.h"

// The outlines of one letter in the order and sense the strip follows them.

struct Arranged {
    Chain chain;
    int depth = 0;  // how many other outlines of the letter it lies inside
};

// Each outer outline (left to right; of two with the same left edge the lower
// first) followed by its counters, each counter by the outlines inside it;
// outlines inside an even number of others run counter-clockwise, the others
// clockwise, and each starts at its lowest point (the leftmost of equally low
// ones). `tolerance` is how closely the insides are told apart.
std::vector<Arranged> arrange(std::vector<Chain> outlines, double tolerance);

// Makes the closed `chain` start at its lowest point, the leftmost of equally
// low ones, cutting the segment there in two when the point lies inside it.
void start_at_lowest(Chain& chain);
