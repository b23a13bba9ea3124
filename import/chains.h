#pragma once

struct GroupReader;

// Joins the LINE and ARC segments of `g` whose ends meet within the join
// tolerance into chains, in the drawing's order: a chain starts with the
// first segment not yet taken and grows from its end, at every junction
// with the nearest free end (the earlier segment when two are as near),
// until it comes back to its start. Each closed chain becomes an outline
// from its lowest-then-leftmost vertex; a chain that does not close is
// counted in `g.passed.open_chains`. A junction is where the segment that
// leaves it begins, except where a line arrives at an arc: there it is the
// line's end, as the drawing gives it.
void join_chains(GroupReader& g);
