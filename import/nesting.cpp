#include "import/nesting.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "import/shapes.h"

namespace {

struct Point {
    double x, y;
};

// A figure as a polygon: its vertices, with each arc laid out in pieces of
// at most five degrees.
struct Polygon {
    std::size_t begin, end;
    double left, right, bottom, top;
};

class Polygons {
public:
    Polygons() {
        const auto& t = shapes;
        for (int i = 0; i < kShapeEntries && t.tp[i] != kTableEnd;) {
            Polygon p{points_.size(), 0, 0, 0, 0, 0};
            for (; i < kShapeEntries && (t.tp[i] == kLine || t.tp[i] == kArc); ++i) {
                points_.push_back({t.p1[i], t.p2[i]});
                if (t.tp[i] == kArc)
                    arc({t.p1[i], t.p2[i]}, {t.p3[i], t.p4[i]}, {t.p5[i], t.p6[i]});
            }
            p.end = points_.size();
            bounds(p);
            polygons_.push_back(p);
            if (i < kShapeEntries && t.tp[i] == kFigureEnd) ++i;
            if (p.begin == p.end) break;  // no figure here: the tables end
        }
    }

    std::size_t size() const { return polygons_.size(); }
    Point first(std::size_t k) const { return points_[polygons_[k].begin]; }

    double area(std::size_t k) const {
        const Polygon& p = polygons_[k];
        double twice = 0;
        for (std::size_t i = p.begin, j = p.end - 1; i < p.end; j = i++)
            twice += points_[j].x * points_[i].y - points_[i].x * points_[j].y;
        return twice / 2;
    }

    // Whether figure j can enclose figure k: its box holds k's and is larger.
    // (Copies of one figure lying on each other enclose none of the others.)
    bool may_enclose(std::size_t j, std::size_t k) const {
        const Polygon& a = polygons_[j];
        const Polygon& b = polygons_[k];
        return a.left <= b.left && a.right >= b.right && a.bottom <= b.bottom && a.top >= b.top &&
               (a.left < b.left || a.right > b.right || a.bottom < b.bottom || a.top > b.top);
    }

    bool contains(std::size_t k, Point q) const {
        const Polygon& p = polygons_[k];
        bool in = false;
        for (std::size_t i = p.begin, j = p.end - 1; i < p.end; j = i++) {
            Point a = points_[i], b = points_[j];
            if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x)
                in = !in;
        }
        return in;
    }

private:
    // The points of the arc from s through m to e, between s and e.
    void arc(Point s, Point m, Point e) {
        double ax = s.x - e.x, ay = s.y - e.y, bx = m.x - e.x, by = m.y - e.y;
        double d = 2 * (ax * by - ay * bx);
        double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by;
        if (!(std::fabs(d) > 1e-12 * (a2 + b2))) {  // no bend to speak of
            points_.push_back(m);
            return;
        }
        Point c{e.x + (by * a2 - ay * b2) / d, e.y + (ax * b2 - bx * a2) / d};
        double r = std::hypot(s.x - c.x, s.y - c.y);
        double from = std::atan2(s.y - c.y, s.x - c.x), to = std::atan2(e.y - c.y, e.x - c.x);
        double sweep = to - from;
        // d > 0 when s, m, e turn left: the arc runs counter-clockwise.
        if (d > 0 && sweep <= 0) sweep += 2 * std::numbers::pi;
        if (d < 0 && sweep >= 0) sweep -= 2 * std::numbers::pi;
        double wanted = std::fabs(sweep) / (std::numbers::pi / 36);
        int pieces = wanted < 71 ? static_cast<int>(wanted) + 2 : 72;
        for (int k = 1; k < pieces; ++k) {
            double a = from + sweep * k / pieces;
            points_.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
    }

    void bounds(Polygon& p) const {
        p.left = p.bottom = HUGE_VAL;
        p.right = p.top = -HUGE_VAL;
        for (std::size_t i = p.begin; i < p.end; ++i) {
            p.left = std::min(p.left, points_[i].x);
            p.right = std::max(p.right, points_[i].x);
            p.bottom = std::min(p.bottom, points_[i].y);
            p.top = std::max(p.top, points_[i].y);
        }
    }

    std::vector<Point> points_;
    std::vector<Polygon> polygons_;
};

}  // namespace

std::vector<char> against_the_rule(const std::vector<char>& asked) {
    Polygons figures;
    std::vector<char> out(asked.size(), 0);
    for (std::size_t k = 0; k < asked.size() && k < figures.size(); ++k) {
        if (!asked[k]) continue;
        Point at = figures.first(k);
        int depth = 0;
        for (std::size_t j = 0; j < figures.size(); ++j)
            if (j != k && figures.may_enclose(j, k) && figures.contains(j, at)) ++depth;
        double area = figures.area(k);
        bool counter_clockwise = area > 0;
        if (area != 0 && !std::isnan(area)) out[k] = counter_clockwise != (depth % 2 == 0);
    }
    return out;
}
