#pragma once
#include <cstddef>
#include <vector>

#include "import/chains.h"
#include "import/pieces.h"

// The figures of the drawing being read, as the group reader finds them:
// outlines, and pieces that wait to be joined into chains. Only as much is
// kept as the shape tables can take: once the figures need more entries
// than there are (the drawing will be refused), nothing more is kept and
// only the entries are counted, so that memory stays small however large
// the drawing.

// Chains that stayed open: how many, and the widest gap left between an end
// and the end nearest to it.
struct OpenChains {
    int count = 0;
    double gap = -1.0;          // in drawing units; below 0 when there is none
    double gap_x = 0, gap_y = 0;  // its middle, in drawing units
};

// Pieces are joined once this many wait, or once their runs hold
// kJoinVertices; the chains that stay open wait for the next join, unless
// that leaves more than half of this waiting.
inline constexpr std::size_t kJoinBatch = 65536;
inline constexpr std::size_t kJoinVertices = 1 << 18;

struct Collection {
    std::vector<OutlineVertex> vertices;
    std::vector<Outline> outlines;
    std::vector<Piece> pieces;            // waiting to be joined
    std::vector<int> dropped_figures;     // POLYLINE figures of the line scanner that chains took in
    OpenChains open;
    double tolerance = 0.0;  // ends this close meet, in drawing units
    double per_inch = 1.0;
    int close_figure = 1;    // the Close Figure setting
    long long entries = 0;   // what the outlines need in the shape tables
    long long elsewhere = 0;  // at least what the line scanner's figures need
    bool over = false;       // more than the tables hold: nothing more is kept
    bool unjoined = false;   // pieces went uncounted past that: the entries are a least
    std::size_t waiting_vertices = 0;  // in the runs of the waiting pieces
    int generation = 0;      // one more each time `vertices` is packed anew

    // Outline of the last `count` vertices; its index, or -1 when past the tables.
    int add_outline(Key key, int count, bool closed, bool by_nesting);
    // Counts an outline that is not kept.
    void count_outline(long long entries_needed);
    void add_piece(const Piece& p);
    // Joins the waiting pieces; `last` at the end of the drawing, when every
    // chain still open is counted as such.
    void join(bool last);
    // The entries an outline needs: one per element, one for the closing
    // element the reader adds, and the terminator.
    long long entries_of(const Outline& o) const;
    long long entries_of(const OutlineVertex& first, const OutlineVertex& last, int count,
                         bool closed) const;
    // Stops keeping once the entries pass the tables' size.
    void check_size();
    // Keeps only the vertices of the outlines and waiting pieces.
    void pack();
};

// Rotates the last `count` vertices of `v`, a closed ring whose last vertex
// repeats its first, to start at its lowest-then-leftmost vertex as the
// shape tables will hold it.
void start_lowest(std::vector<OutlineVertex>& v, int count, double per_inch);
