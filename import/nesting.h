#pragma once
#include <vector>

// The rotational sense of outlines: an outline that lies inside an even
// number of other figures (an outer outline) runs counter-clockwise, one
// inside an odd number (a counter) clockwise, as the sample letters run.

// For each figure of the shape tables, in table order, whose `asked` entry
// is set: 1 when it runs against that rule. The other figures only count as
// enclosing ones. A figure is taken as closed back to its start and tested
// at its start point; figures lying exactly on each other do not enclose
// each other, and one without area is never against the rule.
std::vector<char> against_the_rule(const std::vector<char>& asked);
