#include "import/chains.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "import/groups.h"

namespace {

// Ends are found through a grid of cells twice the tolerance wide: two ends
// that meet lie in the same cell or in cells side by side. Coordinates too
// large for the grid, and those that are no number, share one cell far out.
constexpr double kTolerance = kJoinTolerance;
constexpr double kCell = 2.0 * kTolerance;
constexpr int32_t kFarCell = int32_t{1} << 30;

int32_t cell_of(double v) {
    double c = std::floor(v / kCell);
    return c > -kFarCell && c < kFarCell ? static_cast<int32_t>(c) : kFarCell;
}

// An end in the grid: its cell's column in the high half of `cell` and its
// row in the low half, both offset to sort as unsigned numbers.
struct End {
    uint64_t cell;
    int end;  // 2 * segment + side; side 0 is the segment's (x0, y0), 1 its (x1, y1)
    uint32_t column() const { return static_cast<uint32_t>(cell >> 32); }
    uint32_t row() const { return static_cast<uint32_t>(cell); }
};

uint64_t cell_key(double x, double y) {
    auto offset = [](int32_t c) {
        return static_cast<uint64_t>(static_cast<uint32_t>(c) ^ 0x80000000u);
    };
    return offset(cell_of(x)) << 32 | offset(cell_of(y));
}

// What the joiner keeps from one drawing to the next, so that large
// drawings do not allocate anew.
struct Scratch {
    std::vector<End> ends, spare;
    std::vector<uint32_t> counts;
    std::vector<std::pair<int, int>> pairs;  // ends that meet, each way
    std::vector<int> first_partner, partners, fill;
    std::vector<char> used;
    std::vector<std::pair<int, bool>> chain;  // segment, run from its end to its start
    std::vector<OutlineVertex> ring;
};

Scratch scratch;

// Sorts the ends by their cells, sixteen bits of the key at a time; a pass
// in which every key has the same sixteen bits is left out.
void sort_by_cell(std::vector<End>& ends, std::vector<End>& spare, std::vector<uint32_t>& counts) {
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

struct Point {
    double x, y;
};

double distance2(Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    return dx * dx + dy * dy;
}

bool near(Point a, Point b) { return distance2(a, b) <= kTolerance * kTolerance; }

class Joiner {
public:
    explicit Joiner(GroupReader& g) : g_(g), segs_(g.segments) {}

    void run() {
        int n = static_cast<int>(segs_.size());
        find_partners();
        x_.used.assign(n, 0);
        for (int first = 0; first < n; ++first)
            if (!x_.used[first]) chain_from(first);
    }

private:
    Point end(int seg, int side) const {
        const Segment& s = segs_[seg];
        return side == 0 ? Point{s.x0, s.y0} : Point{s.x1, s.y1};
    }

    // For every end, the ends of other segments within the tolerance, found
    // once: the ends sorted by cell, each compared with those of its own
    // cell and the cells beside it.
    void find_partners() {
        int n = static_cast<int>(segs_.size());
        auto& ends = x_.ends;
        ends.clear();
        for (int k = 0; k < 2 * n; ++k) {
            Point p = end(k / 2, k % 2);
            ends.push_back({cell_key(p.x, p.y), k});
        }
        if (!ends.empty()) sort_by_cell(ends, x_.spare, x_.counts);
        x_.pairs.clear();
        int count = static_cast<int>(ends.size());
        for (int r0 = 0, r1 = 0; r0 < count; r0 = r1) {
            while (r1 < count && ends[r1].column() == ends[r0].column()) ++r1;
            int r2 = r1;  // the next column, when it is the next cell over
            if (r1 < count && ends[r1].column() == ends[r0].column() + 1)
                while (r2 < count && ends[r2].column() == ends[r1].column()) ++r2;
            for (int i = r0, k = r1; i < r1; ++i) {
                for (int j = i + 1; j < r1 && ends[j].row() <= ends[i].row() + 1; ++j) pair(i, j);
                while (k < r2 && ends[k].row() + 1 < ends[i].row()) ++k;
                for (int j = k; j < r2 && ends[j].row() <= ends[i].row() + 1; ++j) pair(i, j);
            }
        }
        // Partners by end, in the order (segment, side).
        auto& first = x_.first_partner;
        first.assign(2 * n + 1, 0);
        for (const auto& [from, to] : x_.pairs) ++first[from + 1];
        for (int i = 0; i < 2 * n; ++i) first[i + 1] += first[i];
        x_.partners.resize(x_.pairs.size());
        x_.fill.assign(first.begin(), first.end() - 1);
        for (const auto& [from, to] : x_.pairs) x_.partners[x_.fill[from]++] = to;
    }

    void pair(int i, int j) {
        int a = x_.ends[i].end, b = x_.ends[j].end;
        if (a / 2 == b / 2 || !near(end(a / 2, a % 2), end(b / 2, b % 2))) return;
        x_.pairs.push_back({a, b});
        x_.pairs.push_back({b, a});
    }

    // The free end nearest to end `side` of `seg`, the earlier segment's
    // when two are as near. False when there is none.
    bool nearest(int seg_at, int side_at, int& seg, int& side) const {
        int key = 2 * seg_at + side_at;
        Point p = end(seg_at, side_at);
        double best = 0;
        bool found = false;
        for (int k = x_.first_partner[key]; k < x_.first_partner[key + 1]; ++k) {
            int s = x_.partners[k] / 2, e = x_.partners[k] % 2;
            if (x_.used[s]) continue;
            double d = distance2(p, end(s, e));
            if (!found || d < best || (d == best && s < seg)) {
                best = d;
                seg = s;
                side = e;
                found = true;
            }
        }
        return found;
    }

    void chain_from(int first) {
        x_.used[first] = 1;
        x_.chain.assign(1, {first, false});
        int seg = first, side = 1;  // the end the chain has reached
        Point start = end(first, 0);
        int next = 0, next_side = 0;
        while (!near(end(seg, side), start)) {
            if (!nearest(seg, side, next, next_side)) {
                // Open: the rest of it, back from its start, is left out with it.
                int back = first, back_side = 0;
                while (nearest(back, back_side, next, next_side)) {
                    x_.used[next] = 1;
                    back = next;
                    back_side = 1 - next_side;
                }
                ++g_.passed.open_chains;
                return;
            }
            x_.used[next] = 1;
            x_.chain.push_back({next, next_side == 1});
            seg = next;
            side = 1 - next_side;
        }
        add_outline();
    }

    // The chain as an outline: the vertex before each segment with the
    // segment's bulge as it is run, from the lowest-then-leftmost vertex
    // round to it again.
    void add_outline() {
        int n = static_cast<int>(x_.chain.size());
        x_.ring.clear();
        for (int i = 0; i < n; ++i) {
            auto [before, before_back] = x_.chain[(i + n - 1) % n];
            auto [seg, back] = x_.chain[i];
            const Segment& s = segs_[seg];
            bool take_start = s.line || !segs_[before].line;
            Point p = take_start ? end(seg, back ? 1 : 0) : end(before, before_back ? 0 : 1);
            x_.ring.push_back({p.x, p.y, back ? -s.bulge : s.bulge, !s.line});
        }
        auto key = [&](const OutlineVertex& v) {
            return std::pair{stored(v.y, g_.per_inch), stored(v.x, g_.per_inch)};
        };
        int low = 0;
        for (int i = 1; i < n; ++i)
            if (key(x_.ring[i]) < key(x_.ring[low])) low = i;
        int first = static_cast<int>(g_.vertices.size());
        for (int i = 0; i < n; ++i) g_.vertices.push_back(x_.ring[(low + i) % n]);
        g_.vertices.push_back({x_.ring[low].x, x_.ring[low].y, 0.0, false});
        g_.outlines.push_back({segs_[x_.chain[0].first].key, first, n + 1, true, true});
    }

    GroupReader& g_;
    const std::vector<Segment>& segs_;
    Scratch& x_ = scratch;
};

}  // namespace

void join_chains(GroupReader& g) {
    if (!g.segments.empty()) Joiner(g).run();
}
