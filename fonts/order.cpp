#include "fonts/order.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Points closer in height than this are equally low.
constexpr double kSameHeight = 1e-9;

bool inside(const std::vector<Point>& polygon, Point q) {
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        Point a = polygon[i], b = polygon[j];
        if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// Whether outline a lies inside outline b: most of a few points spread
// along a are (one of them may lie where the two touch).
bool lies_inside(const std::vector<Point>& a, const std::vector<Point>& b) {
    constexpr std::size_t kSamples = 7;
    std::size_t step = std::max<std::size_t>(1, a.size() / kSamples), in = 0, tried = 0;
    for (std::size_t i = 0; i < a.size(); i += step, ++tried) in += inside(b, a[i]) ? 1 : 0;
    return 2 * in > tried;
}

}  // namespace

void start_at_lowest(Chain& chain) {
    std::size_t best = 0;
    double best_t = 0;
    Point low{INFINITY, INFINITY};
    auto consider = [&](std::size_t k, double t) {
        Point q = point_at(chain[k], t);
        bool lower = q.y < low.y - kSameHeight;
        bool as_low_and_lefter = std::fabs(q.y - low.y) <= kSameHeight && q.x < low.x;
        if (lower || as_low_and_lefter) {
            low = q;
            best = k;
            best_t = t;
        }
    };
    for (std::size_t k = 0; k < chain.size(); ++k) {
        consider(k, 0);
        for (double t : extremes(chain[k], 1)) consider(k, t);
    }
    if (best_t > 1 - 1e-9) {
        best = (best + 1) % chain.size();
        best_t = 0;
    }
    if (best_t < 1e-9) best_t = 0;
    Chain out;
    if (best_t > 0) out.push_back(piece(chain[best], best_t, 1));
    else out.push_back(chain[best]);
    for (std::size_t k = 1; k < chain.size(); ++k) out.push_back(chain[(best + k) % chain.size()]);
    if (best_t > 0) {
        out.push_back(piece(chain[best], 0, best_t));
        out.front().p[0] = out.back().end();
    }
    chain = std::move(out);
}

std::vector<Arranged> arrange(std::vector<Chain> outlines, double tolerance) {
    std::size_t n = outlines.size();
    std::vector<std::vector<Point>> polygons;
    std::vector<double> areas;
    std::vector<Box> boxes;
    for (const Chain& c : outlines) {
        polygons.push_back(flattened(c, tolerance));
        areas.push_back(twice_area(c));
        boxes.push_back(bounds(c));
    }
    // Each outline's depth, and the smallest outline it lies inside.
    std::vector<int> depth(n, 0);
    std::vector<std::ptrdiff_t> parent(n, -1);
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b) {
            if (a == b || std::fabs(areas[b]) <= std::fabs(areas[a]) ||
                !lies_inside(polygons[a], polygons[b]))
                continue;
            ++depth[a];
            if (parent[a] < 0 || std::fabs(areas[b]) < std::fabs(areas[parent[a]])) parent[a] = b;
        }
    auto before = [&](std::size_t a, std::size_t b) {
        if (std::fabs(boxes[a].left - boxes[b].left) > kSameHeight) return boxes[a].left < boxes[b].left;
        return boxes[a].bottom < boxes[b].bottom;
    };
    std::vector<Arranged> out;
    std::function<void(std::ptrdiff_t)> visit = [&](std::ptrdiff_t p) {
        std::vector<std::size_t> children;
        for (std::size_t k = 0; k < n; ++k)
            if (parent[k] == p) children.push_back(k);
        std::sort(children.begin(), children.end(), before);
        for (std::size_t k : children) {
            Chain chain = std::move(outlines[k]);
            if ((areas[k] > 0) != (depth[k] % 2 == 0)) reverse(chain);
            start_at_lowest(chain);
            out.push_back({std::move(chain), depth[k]});
            visit(static_cast<std::ptrdiff_t>(k));
        }
    };
    visit(-1);
    return out;
}
