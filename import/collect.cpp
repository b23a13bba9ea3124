#include "import/collect.h"

#include <algorithm>
#include <cmath>

#include "import/shapes.h"

namespace {

struct End {
    double x, y;
};

// For every end the nearest other one; of those distances the largest, and
// where it lies. The ends sorted by x, each looks only as far either way as
// its nearest so far.
void widest_gap(std::vector<End>& ends, OpenChains& open) {
    if (ends.size() < 2) return;
    std::sort(ends.begin(), ends.end(), [](const End& a, const End& b) { return a.x < b.x; });
    int n = static_cast<int>(ends.size());
    for (int i = 0; i < n; ++i) {
        double best = HUGE_VAL;
        int at = -1;
        for (int step : {1, -1}) {
            for (int j = i + step; j >= 0 && j < n; j += step) {
                double dx = ends[j].x - ends[i].x;
                if (dx * dx >= best) break;
                double dy = ends[j].y - ends[i].y;
                double d2 = dx * dx + dy * dy;
                if (d2 < best) best = d2, at = j;
            }
        }
        if (at < 0) continue;
        double d = std::sqrt(best);
        if (d > open.gap) {
            open.gap = d;
            open.gap_x = (ends[i].x + ends[at].x) / 2;
            open.gap_y = (ends[i].y + ends[at].y) / 2;
        }
    }
}

}  // namespace

long long Collection::entries_of(const OutlineVertex& first, const OutlineVertex& last,
                                 int count, bool closed) const {
    bool closing = closed && close_figure == 1 &&
                   (stored(last.x, per_inch) != stored(first.x, per_inch) ||
                    stored(last.y, per_inch) != stored(first.y, per_inch));
    return count - 1 + (closing ? 1 : 0) + 1;
}

long long Collection::entries_of(const Outline& o) const {
    return entries_of(vertices[o.first], vertices[o.first + o.count - 1], o.count, o.closed);
}

void Collection::check_size() {
    if (over || elsewhere + entries + 1 <= kShapeEntries) return;
    over = true;
    // The drawing will be refused: what was kept is of no more use.
    vertices = {};
    outlines = {};
    unjoined = unjoined || !pieces.empty();
    pieces = {};
    dropped_figures = {};
}

int Collection::add_outline(Key key, int count, bool closed, bool by_nesting) {
    int first = static_cast<int>(vertices.size()) - count;
    Outline o{key, first, count, closed, by_nesting};
    entries += entries_of(o);
    if (over) return -1;
    outlines.push_back(o);
    check_size();
    return over ? -1 : static_cast<int>(outlines.size()) - 1;
}

void Collection::count_outline(long long entries_needed) {
    entries += entries_needed;
    check_size();
}

void Collection::add_piece(const Piece& p) {
    if (over) {
        unjoined = true;
        return;
    }
    pieces.push_back(p);
    if (!p.single()) waiting_vertices += static_cast<std::size_t>(p.count);
    if (pieces.size() >= kJoinBatch || waiting_vertices >= kJoinVertices) join(false);
}

void Collection::pack() {
    std::vector<OutlineVertex> kept;
    auto keep = [&](int& first, int count) {
        int at = static_cast<int>(kept.size());
        kept.insert(kept.end(), vertices.begin() + first, vertices.begin() + first + count);
        first = at;
    };
    for (Outline& o : outlines)
        if (!o.dropped) keep(o.first, o.count);
    for (Piece& p : pieces) {
        if (p.single()) continue;
        // An open polyline's piece is the run of its outline.
        if (p.standalone >= 0 && !outlines[p.standalone].dropped)
            p.first = outlines[p.standalone].first;
        else
            keep(p.first, p.count);
    }
    vertices.swap(kept);
    ++generation;
}

void Collection::join(bool last) {
    if (over || pieces.empty()) return;
    Joined j = join_pieces(pieces, vertices, tolerance, per_inch);
    for (std::size_t k = 0; k < j.closed.size(); ++k) {
        const std::vector<int>& members = j.closed_pieces[k];
        // An open polyline that only meets itself stays the figure it is.
        if (members.size() == 1 && pieces[members[0]].standalone != -1) continue;
        for (int m : members) {
            const Piece& p = pieces[m];
            if (p.standalone >= 0) {
                outlines[p.standalone].dropped = true;
                entries -= entries_of(outlines[p.standalone]);
            } else if (p.standalone <= -2) {
                dropped_figures.push_back(-2 - p.standalone);
                elsewhere -= p.count - 1;
            }
        }
        outlines.push_back(j.closed[k]);
        entries += entries_of(j.closed[k]);
    }
    std::vector<char> waiting(pieces.size(), 0);
    std::size_t open_pieces = 0;
    for (const OpenChain& c : j.open) {
        for (int m : c.pieces) waiting[m] = 1;
        open_pieces += c.pieces.size();
    }
    if (last || open_pieces > kJoinBatch / 2 || waiting_vertices >= kJoinVertices) {
        // Open for good: counted, unless it is open polylines alone, which
        // stay figures of their own.
        std::vector<End> ends;
        for (const OpenChain& c : j.open) {
            bool all_standalone = std::all_of(c.pieces.begin(), c.pieces.end(), [&](int m) {
                return pieces[m].standalone != -1;
            });
            if (all_standalone) continue;
            ++open.count;
            ends.push_back({c.x0, c.y0});
            ends.push_back({c.x1, c.y1});
        }
        widest_gap(ends, open);
        pieces.clear();
    } else {
        std::size_t kept = 0;
        for (std::size_t m = 0; m < pieces.size(); ++m)
            if (waiting[m]) pieces[kept++] = pieces[m];
        pieces.resize(kept);
    }
    waiting_vertices = 0;
    for (const Piece& p : pieces)
        if (!p.single()) waiting_vertices += static_cast<std::size_t>(p.count);
    if (!last) pack();
    check_size();
}

void start_lowest(std::vector<OutlineVertex>& v, int count, double per_inch) {
    auto first = v.end() - count;
    auto key = [&](const OutlineVertex& p) {
        return std::pair{stored(p.y, per_inch), stored(p.x, per_inch)};
    };
    int ring = count - 1;  // the last vertex repeats the first
    int low = 0;
    for (int i = 1; i < ring; ++i)
        if (key(first[i]) < key(first[low])) low = i;
    std::rotate(first, first + low, first + ring);
    first[ring] = {first[0].x, first[0].y, 0.0, false};
}
