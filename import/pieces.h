#pragma once
#include <cstdint>

// What the group reader makes of a drawing's entities before they become
// figures of the shape tables: outlines (runs of vertices with bulges) and
// pieces of chains to be joined.

// Where a figure stands in the drawing, so that figures keep the drawing's
// order: the entity's ordinal (its "0" pairs so far) in the high half, and
// for a figure made from an INSERT its place among that INSERT's figures in
// the low half.
using Key = int64_t;

inline Key key_of(int ordinal, uint32_t within = 0) {
    return static_cast<Key>(static_cast<uint64_t>(ordinal) << 32 | within);
}
inline int ordinal_of(Key key) { return static_cast<int>(key >> 32); }

// A vertex of an outline, in the drawing's own units; `bulge` belongs to the
// segment that starts here and makes it an arc when `arc` is set.
struct OutlineVertex {
    double x, y;
    double bulge;
    bool arc;
};

// A figure to be: `count` vertices from `first`. Chains and circles are
// turned to run the way outer outlines and counters run (`by_nesting`);
// polylines stay as drawn. An open polyline that a chain takes in is
// `dropped`: the chain stands for it.
struct Outline {
    Key key;
    int first, count;
    bool closed;
    bool by_nesting;
    bool dropped = false;
};

// A piece of a chain: a LINE or ARC (one segment, its bulge in `bulge`), or
// an open polyline or curve (a run of `count` vertices from `first`). It runs
// from (x0, y0) to (x1, y1); `line0` and `line1` say whether the segment at
// each end is straight. A piece that is also a figure on its own (an open
// polyline) names it in `standalone`: an outline, or for a POLYLINE of the
// line scanner -2 - its figure; -1 for none.
struct Piece {
    double x0, y0, x1, y1;
    double bulge;
    Key key;
    int first, count;
    int standalone;
    bool line0, line1;

    bool single() const { return first < 0; }
};

// The coordinate `v`, in drawing units, as the shape tables keep it.
inline float stored(double v, double per_inch) {
    return per_inch == 1.0 ? static_cast<float>(v) : static_cast<float>(v / per_inch);
}
