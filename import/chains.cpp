#include "import/chains.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Ends are found through a grid of cells twice the tolerance wide: two ends
// that meet lie in the same cell or in cells side by side. Coordinates too
// large for the grid, and those that are no number, share one cell far out.
constexpr int32_t kFarCell = int32_t{1} << 30;

int32_t cell_of(double v, double cell) {
    double c = std::floor(v / cell);
    return c > -kFarCell && c < kFarCell ? static_cast<int32_t>(c) : kFarCell;
}

// A cell's column in the high half of the key and its row in the low half,
// both offset to sort as unsigned numbers.
uint64_t cell_key(double x, double y, double cell) {
    auto offset = [](int32_t c) {
        return static_cast<uint64_t>(static_cast<uint32_t>(c) ^ 0x80000000u);
    };
    return offset(cell_of(x, cell)) << 32 | offset(cell_of(y, cell));
}

uint32_t column(uint64_t cell) { return static_cast<uint32_t>(cell >> 32); }
uint32_t row(uint64_t cell) { return static_cast<uint32_t>(cell); }

struct Point {
    double x, y;
};

double distance2(Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    return dx * dx + dy * dy;
}

// The bits of a coordinate, so that ends at the very same point sort
// together whatever they hold (-0 taken as 0).
uint64_t bits(double v) { return std::bit_cast<uint64_t>(v + 0.0); }

// An end of a piece in the grid: 2 * piece + side, side 0 the piece's
// (x0, y0) and 1 its (x1, y1).
struct End {
    uint64_t cell;
    int end;
};

// Ends at the very same point, ends[first] to ends[first of the next node],
// in the order of their pieces.
struct Node {
    uint64_t cell;
    Point at;
    int first;
};

// The joiner's working tables.
struct Scratch {
    std::vector<End> ends, spare;
    std::vector<uint32_t> counts;
    std::vector<Node> nodes;
    std::vector<int> node_of;                // by end
    std::vector<int> free_at;                // by node: its first end that may be free
    std::vector<char> alone;                 // by end: no other end meets it
    std::vector<std::pair<int, int>> pairs;  // nodes that meet, each way
    std::vector<int> first_partner, partners, fill;
    std::vector<char> used;
    std::vector<std::pair<int, bool>> chain;  // piece, run from its end to its start
    std::vector<OutlineVertex> ring;
};

// Sorts the ends by their cells, keeping the order of ends in the same cell.
// Many ends go sixteen bits of the key at a time, leaving out a pass in
// which every key has the same sixteen bits.
void sort_by_cell(std::vector<End>& ends, std::vector<End>& spare, std::vector<uint32_t>& counts) {
    if (ends.size() < 4096) {
        std::sort(ends.begin(), ends.end(), [](const End& a, const End& b) {
            return a.cell != b.cell ? a.cell < b.cell : a.end < b.end;
        });
        return;
    }
    spare.resize(ends.size());
    for (int shift = 0; shift < 64; shift += 16) {
        counts.assign(65536, 0);
        for (const End& e : ends) ++counts[(e.cell >> shift) & 0xffff];
        if (counts[(ends.front().cell >> shift) & 0xffff] == ends.size()) continue;
        uint32_t at = 0;
        for (uint32_t& c : counts) {
            uint32_t here = c;
            c = at;
            at += here;
        }
        for (const End& e : ends) spare[counts[(e.cell >> shift) & 0xffff]++] = e;
        ends.swap(spare);
    }
}

class Joiner {
public:
    Joiner(const std::vector<Piece>& pieces, std::vector<OutlineVertex>& vertices,
           double tolerance, double per_inch)
        : pieces_(pieces), vertices_(vertices), tolerance_(tolerance), per_inch_(per_inch) {}

    Joined run() {
        int n = static_cast<int>(pieces_.size());
        find_partners();
        x_.used.assign(n, 0);
        for (int first = 0; first < n; ++first)
            if (!x_.used[first]) chain_from(first);
        return std::move(out_);
    }

private:
    bool near(Point a, Point b) const { return distance2(a, b) <= tolerance_ * tolerance_; }

    Point end(int piece, int side) const {
        const Piece& p = pieces_[piece];
        return side == 0 ? Point{p.x0, p.y0} : Point{p.x1, p.y1};
    }
    Point end(int k) const { return end(k / 2, k % 2); }

    // The ends gathered into points, and for every point the others within
    // the tolerance: the points sorted by cell, each compared with those of
    // its own cell and the cells beside it.
    void find_partners() {
        int n = static_cast<int>(pieces_.size());
        double cell = 2.0 * tolerance_;
        auto& ends = x_.ends;
        ends.clear();
        for (int k = 0; k < 2 * n; ++k) ends.push_back({cell_key(end(k).x, end(k).y, cell), k});
        sort_by_cell(ends, x_.spare, x_.counts);
        auto same_point_first = [&](const End& a, const End& b) {
            Point p = end(a.end), q = end(b.end);
            return std::tuple(bits(p.x), bits(p.y), a.end) <
                   std::tuple(bits(q.x), bits(q.y), b.end);
        };
        int count = static_cast<int>(ends.size());
        for (int a = 0, b = 0; a < count; a = b) {
            while (b < count && ends[b].cell == ends[a].cell) ++b;
            if (b - a > 1) std::sort(ends.begin() + a, ends.begin() + b, same_point_first);
        }
        x_.nodes.clear();
        x_.node_of.assign(2 * n, 0);
        for (int i = 0; i < count; ++i) {
            Point p = end(ends[i].end);
            const Node* last = x_.nodes.empty() ? nullptr : &x_.nodes.back();
            if (!last || last->cell != ends[i].cell || bits(last->at.x) != bits(p.x) ||
                bits(last->at.y) != bits(p.y))
                x_.nodes.push_back({ends[i].cell, p, i});
            x_.node_of[ends[i].end] = static_cast<int>(x_.nodes.size()) - 1;
        }
        pair_nodes();
        int nodes = static_cast<int>(x_.nodes.size());
        x_.free_at.resize(nodes);
        x_.alone.assign(2 * n, 0);
        for (int k = 0; k < nodes; ++k) {
            int first = x_.nodes[k].first;
            x_.free_at[k] = first;
            int stop = k + 1 < nodes ? x_.nodes[k + 1].first : count;
            if (stop - first == 1 && x_.first_partner[k] == x_.first_partner[k + 1])
                x_.alone[ends[first].end] = 1;
        }
    }

    void pair_nodes() {
        const auto& nodes = x_.nodes;
        int count = static_cast<int>(nodes.size());
        x_.pairs.clear();
        for (int r0 = 0, r1 = 0; r0 < count; r0 = r1) {
            uint32_t col = column(nodes[r0].cell);
            while (r1 < count && column(nodes[r1].cell) == col) ++r1;
            int r2 = r1;  // the next column, when it is the next cell over
            if (r1 < count && column(nodes[r1].cell) == col + 1)
                while (r2 < count && column(nodes[r2].cell) == col + 1) ++r2;
            for (int i = r0, k = r1; i < r1; ++i) {
                uint32_t r = row(nodes[i].cell);
                for (int j = i + 1; j < r1 && row(nodes[j].cell) <= r + 1; ++j) pair(i, j);
                while (k < r2 && row(nodes[k].cell) + 1 < r) ++k;
                for (int j = k; j < r2 && row(nodes[j].cell) <= r + 1; ++j) pair(i, j);
            }
        }
        auto& first = x_.first_partner;
        first.assign(nodes.size() + 1, 0);
        for (const auto& [from, to] : x_.pairs) ++first[from + 1];
        for (std::size_t i = 0; i < nodes.size(); ++i) first[i + 1] += first[i];
        x_.partners.resize(x_.pairs.size());
        x_.fill.assign(first.begin(), first.end() - 1);
        for (const auto& [from, to] : x_.pairs) x_.partners[x_.fill[from]++] = to;
    }

    void pair(int a, int b) {
        if (!near(x_.nodes[a].at, x_.nodes[b].at)) return;
        x_.pairs.push_back({a, b});
        x_.pairs.push_back({b, a});
    }

    // The free end of the earliest piece at a point, or -1.
    int first_free(int node) {
        int stop = node + 1 < static_cast<int>(x_.nodes.size())
                       ? x_.nodes[node + 1].first
                       : static_cast<int>(x_.ends.size());
        int& at = x_.free_at[node];
        while (at < stop && x_.used[x_.ends[at].end / 2]) ++at;
        return at < stop ? x_.ends[at].end : -1;
    }

    // The free end nearest to end `side_at` of `piece_at`, the earlier
    // piece's when two are as near. False when there is none.
    bool nearest(int piece_at, int side_at, int& piece, int& side) {
        if (x_.alone[2 * piece_at + side_at]) return false;
        int node = x_.node_of[2 * piece_at + side_at];
        int best = first_free(node);  // at the very same point: none is nearer
        double best_d = 0;
        int from = x_.first_partner[node], to = best < 0 ? x_.first_partner[node + 1] : from;
        for (int k = from; k < to; ++k) {
            int other = x_.partners[k];
            int e = first_free(other);
            if (e < 0) continue;
            double d = distance2(x_.nodes[node].at, x_.nodes[other].at);
            if (best < 0 || d < best_d || (d == best_d && e / 2 < best / 2)) best = e, best_d = d;
        }
        if (best < 0) return false;
        piece = best / 2;
        side = best % 2;
        return true;
    }

    void chain_from(int first) {
        x_.used[first] = 1;
        x_.chain.assign(1, {first, false});
        int piece = first, side = 1;  // the end the chain has reached
        Point start = end(first, 0);
        int next = 0, next_side = 0;
        while (!near(end(piece, side), start)) {
            if (!nearest(piece, side, next, next_side)) {
                // Open: the rest of it, back from its start, goes with it.
                OpenChain open;
                for (const auto& link : x_.chain) open.pieces.push_back(link.first);
                Point stop = end(piece, side);
                int back = first, back_side = 0;
                while (nearest(back, back_side, next, next_side)) {
                    x_.used[next] = 1;
                    open.pieces.push_back(next);
                    back = next;
                    back_side = 1 - next_side;
                }
                Point other = end(back, back_side);
                open.x0 = other.x, open.y0 = other.y, open.x1 = stop.x, open.y1 = stop.y;
                out_.open.push_back(std::move(open));
                return;
            }
            x_.used[next] = 1;
            x_.chain.push_back({next, next_side == 1});
            piece = next;
            side = 1 - next_side;
        }
        add_outline();
    }

    // Whether the segment by which `piece`, run backwards or not, leaves its
    // start (`leaving`) or reaches its end is straight.
    bool straight(int piece, bool back, bool leaving) const {
        const Piece& p = pieces_[piece];
        return leaving != back ? p.line0 : p.line1;
    }

    // The vertices of `piece` as it is run, from the vertex after its start:
    // each with the bulge of the segment that leaves it.
    void inner_vertices(int piece, bool back) {
        const Piece& p = pieces_[piece];
        if (p.single()) return;
        const OutlineVertex* v = vertices_.data() + p.first;
        int last = p.count - 1;
        for (int k = 1; k < last; ++k) {
            if (!back) {
                x_.ring.push_back(v[k]);
            } else {
                const OutlineVertex& at = v[last - k];
                const OutlineVertex& before = v[last - k - 1];
                x_.ring.push_back({at.x, at.y, -before.bulge, before.arc});
            }
        }
    }

    // The bulge of the segment by which `piece`, as it is run, leaves its start.
    OutlineVertex leaving(int piece, bool back, Point at) const {
        const Piece& p = pieces_[piece];
        if (p.single()) return {at.x, at.y, back ? -p.bulge : p.bulge, !p.line0};
        const OutlineVertex& s = back ? vertices_[p.first + p.count - 2] : vertices_[p.first];
        return {at.x, at.y, back ? -s.bulge : s.bulge, s.arc};
    }

    // The chain as an outline: at each junction the vertex that starts the
    // piece leaving it, from the lowest-then-leftmost vertex round to it again.
    void add_outline() {
        int n = static_cast<int>(x_.chain.size());
        x_.ring.clear();
        for (int i = 0; i < n; ++i) {
            auto [before, before_back] = x_.chain[(i + n - 1) % n];
            auto [piece, back] = x_.chain[i];
            bool take_start = straight(piece, back, true) || !straight(before, before_back, false);
            Point p = take_start ? end(piece, back ? 1 : 0) : end(before, before_back ? 0 : 1);
            x_.ring.push_back(leaving(piece, back, p));
            inner_vertices(piece, back);
        }
        auto key = [&](const OutlineVertex& v) {
            return std::pair{stored(v.y, per_inch_), stored(v.x, per_inch_)};
        };
        int m = static_cast<int>(x_.ring.size());
        int low = 0;
        for (int i = 1; i < m; ++i)
            if (key(x_.ring[i]) < key(x_.ring[low])) low = i;
        int first = static_cast<int>(vertices_.size());
        for (int i = 0; i < m; ++i) vertices_.push_back(x_.ring[(low + i) % m]);
        vertices_.push_back({x_.ring[low].x, x_.ring[low].y, 0.0, false});
        out_.closed.push_back({pieces_[x_.chain[0].first].key, first, m + 1, true, true});
        std::vector<int> members;
        for (const auto& link : x_.chain) members.push_back(link.first);
        out_.closed_pieces.push_back(std::move(members));
    }

    const std::vector<Piece>& pieces_;
    std::vector<OutlineVertex>& vertices_;
    double tolerance_, per_inch_;
    Joined out_;
    Scratch x_;
};

}  // namespace

Joined join_pieces(const std::vector<Piece>& pieces, std::vector<OutlineVertex>& vertices,
                   double tolerance, double per_inch) {
    if (pieces.empty()) return {};
    return Joiner(pieces, vertices, tolerance, per_inch).run();
}
