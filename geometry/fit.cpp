#include "geometry/fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace geo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kLargestSweep = kPi + 1e-9;  // a half circle, up to rounding
constexpr double kSameDirection = 1e-9;       // radians between tangents taken as one
constexpr int kFirstSamples = 8;              // along each simple piece of the curve
constexpr int kDeepest = 50;                  // halvings of a sampled interval
constexpr std::size_t kMostSamples = 4000000;

// A line or an arc, as measured against the curve.
struct Seg {
    Point a, b;
    bool arc = false;
    Point centre;
    double radius = 0, sweep = 0;  // positive counter-clockwise
};

Seg line(Point a, Point b) { return {a, b, false, {}, 0, 0}; }

// The arc that leaves `a` along the unit tangent `t` and ends at `b`: it
// turns through twice the angle from the tangent to the chord.
Seg arc_from(Point a, Point t, Point b) {
    Point chord = b - a;
    double half = turn(t, chord);
    if (std::fabs(half) < 1e-12) return line(a, b);
    double r = length(chord) / (2 * std::sin(std::fabs(half)));
    return {a, b, true, a + (half > 0 ? r : -r) * perp(t), r, 2 * half};
}

Seg reversed(Seg s) {
    std::swap(s.a, s.b);
    s.sweep = -s.sweep;
    return s;
}

Point point_of(const Seg& s, double f) {
    if (!s.arc) return s.a + f * (s.b - s.a);
    return s.centre + rotated(s.a - s.centre, f * s.sweep);
}

double to_segment_squared(Point q, Point a, Point b) {
    Point ab = b - a, aq = q - a;
    double ll = dot(ab, ab);
    double f = ll > 0 ? std::clamp(dot(aq, ab) / ll, 0.0, 1.0) : 0.0;
    Point off = aq - f * ab;
    return dot(off, off);
}

double to_segment(Point q, Point a, Point b) { return std::sqrt(to_segment_squared(q, a, b)); }

double to_seg(const Seg& s, Point q) {
    if (!s.arc) return to_segment(q, s.a, s.b);
    // No arc turns through more than a half circle: q lies in its sector
    // when it is on the arc's side of both of its radii.
    Point w = q - s.centre;
    double side = s.sweep > 0 ? 1 : -1;
    if (side * cross(s.a - s.centre, w) >= 0 && side * cross(w, s.b - s.centre) >= 0)
        return std::fabs(length(w) - s.radius);
    return std::min(distance(q, s.a), distance(q, s.b));
}

// One line, one arc or two arcs from a point and unit tangent to another.
struct Biarc {
    Seg seg[2];
    int count = 0;

    bool near(Point q, double tol) const {
        return to_seg(seg[0], q) <= tol || (count == 2 && to_seg(seg[1], q) <= tol);
    }
    // The radius of its tighter arc; a line is as straight as a huge one.
    double tightest() const {
        double r = 1e300;
        for (int k = 0; k < count; ++k)
            if (seg[k].arc) r = std::min(r, seg[k].radius);
        return r;
    }
};

bool make_biarc(Point p0, Point t0, Point p1, Point t1, Biarc& out) {
    Point v = p1 - p0;
    double vv = dot(v, v), lv = std::sqrt(vv);
    if (!(vv > 0)) return false;
    out.count = 1;
    if (std::fabs(cross(t0, v)) <= kSameDirection * lv && dot(t0, v) > 0 &&
        std::fabs(cross(t1, v)) <= kSameDirection * lv && dot(t1, v) > 0) {
        out.seg[0] = line(p0, p1);
        return true;
    }
    out.seg[0] = arc_from(p0, t0, p1);
    if (out.seg[0].arc && std::fabs(out.seg[0].sweep) <= kLargestSweep &&
        std::fabs(turn(rotated(t0, out.seg[0].sweep), t1)) <= kSameDirection)
        return true;
    // Two arcs that meet where each has run as far along its tangent line:
    // d along t0 from p0 and back along t1 from p1, 2d apart.
    Point joint;
    double vt = dot(v, t0 + t1);
    double root = vt + std::sqrt(vt * vt + 2 * (1 - dot(t0, t1)) * vv);
    if (root > 1e-12 * lv)
        joint = 0.5 * (p0 + p1 + (vv / root) * (t0 - t1));
    else if (std::fabs(vt) <= 1e-12 * lv)
        joint = 0.5 * (p0 + p1);  // the same tangent across the chord: two half circles
    else
        return false;
    out.count = 2;
    out.seg[0] = arc_from(p0, t0, joint);
    out.seg[1] = reversed(arc_from(p1, -t1, joint));
    return std::fabs(out.seg[0].sweep) <= kLargestSweep &&
           std::fabs(out.seg[1].sweep) <= kLargestSweep;
}

class Fitter {
public:
    Fitter(const Curve& c, const FitOptions& o)
        : c_(c),
          o_(o),
          tol_(0.85 * o.tolerance),
          flat_(o.tolerance / 16),
          corner_turn_(o.corner_degrees * kPi / 180) {}

    std::string run(std::vector<Piece>& out);

private:
    struct Span {
        std::size_t first, last;
    };

    struct Sample {
        double t;
        Point p, d;  // point and derivative
    };

    bool sample();
    void find_breaks();
    void find_smoothed();
    Point leaving(std::size_t k, bool before) const;
    void find_spans(const std::vector<std::pair<std::size_t, bool>>& marks);
    void refine(const Sample& a, const Sample& b, double tm, Point pm, int depth);
    bool turns_from(Point d, Point chord) const;
    void add_sample(double t, Point p);
    Point tangent(std::size_t i, bool before);
    Point node_tangent(std::size_t i, const Span& s);
    bool fits(std::size_t i, std::size_t j, const Span& s);
    bool back_fits(const Biarc& b, std::size_t i, std::size_t j) const;
    std::vector<std::size_t> greedy(const Span& s);
    bool evenly(const Span& s, std::size_t k, std::vector<std::size_t>& nodes);
    std::size_t pieces(const std::vector<std::size_t>& nodes, const Span& s);
    bool still(const Span& s) const;
    void emit(const std::vector<std::size_t>& nodes, const Span& s, std::vector<Piece>& out);

    const Curve& c_;
    FitOptions o_;
    double tol_, flat_, corner_turn_;
    std::vector<double> bounds_;  // the ends of the curve's simple pieces
    std::vector<char> corner_;    // which of them may be corners
    std::vector<Point> leaves_;   // the chain's direction where it smooths one over
    std::vector<double> t_;
    std::vector<Point> p_;
    std::vector<double> run_;  // the sampled length from the start
    std::vector<char> joint_;  // a break smoothed over
    std::vector<Point> before_, after_;
    std::vector<Span> spans_;
    double still_ = 0, slow_ = 0;   // a length and a speed that count as none
    bool closes_smoothly_ = false;  // back at its start without a corner
    std::string error_;
};

void Fitter::add_sample(double t, Point p) {
    if (!finite(p)) error_ = "a point of the curve is not a number";
    if (p_.size() >= kMostSamples)
        error_ = "the curve has too much detail to follow within the tolerance";
    t_.push_back(t);
    p_.push_back(p);
}

// True when the derivative d leaves the chord so far that a biarc tangent to
// it would bow from the chord by more than about half the tolerance (its
// sagitta is near the chord's length times the sine of the angle over 4):
// smooth curves that are flat within a sixteenth of it are never so turned.
bool Fitter::turns_from(Point d, Point chord) const {
    double dd = dot(d, d), lean = cross(d, chord);
    return dd > 0 && (dot(d, chord) < 0 || lean * lean > 64 * flat_ * flat_ * dd);
}

// Samples t0 < t < t1 until the curve between two samples lies within a
// sixteenth of the tolerance of the chord, and the directions it leaves and
// meets the chord in do not turn from it by much (a curve that ends in a tiny
// hook would force its last biarc far off the rest of it). Where the curve
// moves much faster in one half than in the other (heavy weights), the
// probes would all fall in the slow half: such an interval is halved too.
void Fitter::refine(const Sample& a, const Sample& b, double tm, Point pm, int depth) {
    if (!error_.empty()) return;
    double t1q = 0.5 * (a.t + tm), t3q = 0.5 * (tm + b.t);
    Point q1 = c_.point(t1q), q3 = c_.point(t3q);
    double ff = flat_ * flat_;
    double first = dot(pm - a.p, pm - a.p), second = dot(b.p - pm, b.p - pm);
    bool even =
        std::max(first, second) <= ff || std::max(first, second) <= 9 * std::min(first, second);
    bool flat = even && to_segment_squared(pm, a.p, b.p) <= ff &&
                to_segment_squared(q1, a.p, b.p) <= ff && to_segment_squared(q3, a.p, b.p) <= ff &&
                !turns_from(a.d, b.p - a.p) && !turns_from(b.d, b.p - a.p);
    if (flat || depth >= kDeepest || !finite(q1) || !finite(q3)) {
        if (!finite(q1) || !finite(q3)) error_ = "a point of the curve is not a number";
        return;
    }
    Sample m{tm, pm, c_.derivative(tm, false)};
    refine(a, m, t1q, q1, depth + 1);
    add_sample(tm, pm);
    refine(m, b, t3q, q3, depth + 1);
}

// The ends of the curve's simple pieces, and which may be corners.
void Fitter::find_breaks() {
    double a = c_.first(), b = c_.last();
    bounds_ = {a};
    corner_ = {0};
    for (const Break& k : c_.breaks())
        if (k.t > bounds_.back() && k.t < b) bounds_.push_back(k.t), corner_.push_back(k.corner);
    bounds_.push_back(b);
    corner_.push_back(0);
}

// Where the chain keeps no corner (a small turn at a break, or where a curve
// that closes meets its start) it runs in the mean of the two directions
// there: the samples beside must lie close enough for that direction too.
void Fitter::find_smoothed() {
    leaves_.assign(bounds_.size(), Point{NAN, NAN});
    auto smoothed = [this](double before, double after, std::size_t k, std::size_t other) {
        Point l = c_.derivative(before, true), r = c_.derivative(after, false);
        if (length(l) > 0 && length(r) > 0 && std::fabs(turn(l, r)) <= corner_turn_)
            leaves_[k] = leaves_[other] = unit(l) + unit(r);
    };
    for (std::size_t k = 1; k + 1 < bounds_.size(); ++k)
        if (corner_[k]) smoothed(bounds_[k], bounds_[k], k, k);
    Point start = c_.point(bounds_.front()), end = c_.point(bounds_.back());
    double far = std::max({1.0, std::fabs(start.x), std::fabs(start.y)});
    if (distance(start, end) <= 1e-9 * far)
        smoothed(bounds_.back(), bounds_.front(), 0, bounds_.size() - 1);
}

// The direction the curve leaves break k in, or arrives at it in.
Point Fitter::leaving(std::size_t k, bool before) const {
    return std::isnan(leaves_[k].x) ? c_.derivative(bounds_[k], before) : leaves_[k];
}

bool Fitter::sample() {
    find_breaks();
    find_smoothed();
    std::vector<std::pair<std::size_t, bool>> marks;  // sample, may be a corner
    add_sample(bounds_[0], c_.point(bounds_[0]));
    for (std::size_t k = 0; k + 1 < bounds_.size() && error_.empty(); ++k) {
        double u0 = bounds_[k], u1 = bounds_[k + 1];
        Sample a{u0, p_.back(), leaving(k, false)};
        for (int m = 1; m <= kFirstSamples; ++m) {
            bool end = m == kFirstSamples;
            double t = end ? u1 : u0 + (u1 - u0) * m / kFirstSamples;
            Sample b{t, c_.point(t), end ? leaving(k + 1, true) : c_.derivative(t, false)};
            refine(a, b, 0.5 * (a.t + t), c_.point(0.5 * (a.t + t)), 0);
            add_sample(t, b.p);
            a = b;
        }
        if (k + 2 < bounds_.size()) marks.push_back({p_.size() - 1, corner_[k + 1] != 0});
    }
    if (!error_.empty()) return false;

    double size = 0;
    run_.assign(p_.size(), 0.0);
    for (std::size_t i = 0; i < p_.size(); ++i) {
        size = std::max({size, std::fabs(p_[i].x), std::fabs(p_[i].y)});
        if (i > 0) run_[i] = run_[i - 1] + distance(p_[i - 1], p_[i]);
    }
    still_ = 1e-9 * std::max(1.0, size);
    slow_ = 1e-12 * run_.back() / (bounds_.back() - bounds_.front());
    before_.assign(p_.size(), Point{NAN, NAN});
    after_ = before_;
    joint_.assign(p_.size(), 0);
    find_spans(marks);
    return true;
}

// The breaks where the tangent does turn part the curve into spans.
void Fitter::find_spans(const std::vector<std::pair<std::size_t, bool>>& marks) {
    std::size_t first = 0, last = p_.size() - 1;
    for (auto [i, maybe] : marks) {
        if (i == first) continue;
        if (maybe && std::fabs(turn(tangent(i, true), tangent(i, false))) > corner_turn_) {
            spans_.push_back({first, i});
            first = i;
        } else {
            joint_[i] = 1;
        }
    }
    spans_.push_back({first, last});
    // A curve that comes back to its start meets itself there as at a break.
    closes_smoothly_ = distance(p_[0], p_[last]) <= still_ &&
                       std::fabs(turn(tangent(last, true), tangent(0, false))) <= corner_turn_;
}

// The unit tangent at sample i; where the derivative vanishes, the
// direction to a point of the curve just beside it.
Point Fitter::tangent(std::size_t i, bool before) {
    Point& cached = before ? before_[i] : after_[i];
    if (!std::isnan(cached.x)) return cached;
    Point d = c_.derivative(t_[i], before);
    if (finite(d) && length(d) > slow_) return cached = unit(d);
    std::size_t j = before ? (i > 0 ? i - 1 : i + 1) : (i + 1 < t_.size() ? i + 1 : i - 1);
    for (double f = 1e-6; f <= 1; f *= 100) {
        Point v = c_.point(t_[i] + (t_[j] - t_[i]) * f) - p_[i];
        if (length(v) > 1e-6 * still_) return cached = unit(j > i ? v : -v);
    }
    Point v = p_[std::max(i, j)] - p_[std::min(i, j)];
    return cached = length(v) > 0 ? unit(v) : Point{1, 0};
}

// The tangent a node shares with both its pieces.
Point Fitter::node_tangent(std::size_t i, const Span& s) {
    std::size_t last = p_.size() - 1;
    if (closes_smoothly_ && (i == 0 || i == last))
        return unit(tangent(last, true) + tangent(0, false));
    if (i == s.first) return tangent(i, false);
    if (i == s.last) return tangent(i, true);
    if (joint_[i]) return unit(tangent(i, true) + tangent(i, false));
    return tangent(i, false);
}

// Every point of the biarc from sample i to sample j within the tolerance of
// the sampled curve between them.
bool Fitter::back_fits(const Biarc& b, std::size_t i, std::size_t j) const {
    std::size_t m = i;
    for (int k = 0; k < b.count; ++k) {
        const Seg& s = b.seg[k];
        // Points of an arc as close as the curve's samples: the arc strays no
        // farther from the chords between them than the curve does.
        double step = s.arc ? std::min(kPi / 16, std::sqrt(8 * flat_ / s.radius)) : 1;
        int n = s.arc ? static_cast<int>(std::clamp(std::ceil(std::fabs(s.sweep) / step), 2.0, 1e5))
                      : 4;
        for (int q = 1; q <= n; ++q) {
            if (k + 1 == b.count && q == n) break;  // the end is a sample
            Point pt = point_of(s, static_cast<double>(q) / n);
            double near = to_segment(pt, p_[m], p_[m + 1]);
            while (m + 2 <= j) {
                double next = to_segment(pt, p_[m + 1], p_[m + 2]);
                if (next > near) break;
                near = next;
                ++m;
            }
            if (near <= tol_) continue;
            for (std::size_t r = i; r < j && near > tol_; ++r)
                near = std::min(near, to_segment(pt, p_[r], p_[r + 1]));
            if (near > tol_) return false;
        }
    }
    return true;
}

bool Fitter::fits(std::size_t i, std::size_t j, const Span& s) {
    Biarc b;
    if (!make_biarc(p_[i], node_tangent(i, s), p_[j], node_tangent(j, s), b)) return false;
    // Every fourth sample first: a biarc that strays is found sooner.
    for (std::size_t from = i + 1; from < i + 5; ++from)
        for (std::size_t k = from; k < j; k += 4)
            if (!b.near(p_[k], tol_)) return false;
    // Where the curve is straighter than an arc, the arc bows away from it
    // between two samples: the middle of each chord it may bow over by more
    // than the curve itself does.
    double longest = 8 * b.tightest() * flat_;
    for (std::size_t k = i; k < j; ++k) {
        Point chord = p_[k + 1] - p_[k];
        if (dot(chord, chord) > longest && !b.near(p_[k] + 0.5 * chord, tol_)) return false;
    }
    return back_fits(b, i, j);
}

// From each node, the farthest sample a biarc reaches within the tolerance:
// first as far as the step before, then twice as far while that fits, then
// halfway between the last that fits and the first that does not.
std::vector<std::size_t> Fitter::greedy(const Span& s) {
    std::vector<std::size_t> nodes{s.first};
    std::size_t i = s.first, step = s.last - s.first;
    while (i < s.last) {
        std::size_t lo = i + 1, hi = s.last + 1;  // lo is taken even if it does not fit
        std::size_t j = std::min(i + std::max<std::size_t>(step, 1), s.last);
        if (!fits(i, j, s)) {
            hi = j;
        } else {
            lo = j;
            while (lo < s.last) {
                std::size_t g = std::min(i + 2 * (lo - i), s.last);
                if (!fits(i, g, s)) {
                    hi = g;
                    break;
                }
                lo = g;
            }
        }
        while (hi - lo > 1) {
            std::size_t mid = lo + (hi - lo) / 2;
            (fits(i, mid, s) ? lo : hi) = mid;
        }
        nodes.push_back(lo);
        step = lo - i;
        i = lo;
    }
    return nodes;
}

// k biarcs of equal length along the span, when they all fit.
bool Fitter::evenly(const Span& s, std::size_t k, std::vector<std::size_t>& nodes) {
    nodes.assign(1, s.first);
    double from = run_[s.first], along = run_[s.last] - from;
    for (std::size_t m = 1; m <= k; ++m) {
        std::size_t i = s.last;
        if (m < k) {
            double target = from + along * static_cast<double>(m) / static_cast<double>(k);
            i = static_cast<std::size_t>(
                std::lower_bound(run_.begin() + s.first, run_.begin() + s.last, target) -
                run_.begin());
            if (i > s.first && target - run_[i - 1] < run_[i] - target) --i;
        }
        if (i <= nodes.back() || !fits(nodes.back(), i, s)) return false;
        nodes.push_back(i);
    }
    return true;
}

std::size_t Fitter::pieces(const std::vector<std::size_t>& nodes, const Span& s) {
    std::size_t n = 0;
    for (std::size_t k = 0; k + 1 < nodes.size(); ++k) {
        Biarc b;
        bool made = make_biarc(p_[nodes[k]], node_tangent(nodes[k], s), p_[nodes[k + 1]],
                               node_tangent(nodes[k + 1], s), b);
        n += made ? b.count : 1;
    }
    return n;
}

bool Fitter::still(const Span& s) const {
    for (std::size_t i = s.first + 1; i <= s.last; ++i)
        if (distance(p_[i], p_[s.first]) > still_) return false;
    return true;
}

void Fitter::emit(const std::vector<std::size_t>& nodes, const Span& s, std::vector<Piece>& out) {
    for (std::size_t k = 0; k + 1 < nodes.size(); ++k) {
        std::size_t i = nodes[k], j = nodes[k + 1];
        Biarc b;
        if (!make_biarc(p_[i], node_tangent(i, s), p_[j], node_tangent(j, s), b)) {
            b.count = 1;
            b.seg[0] = line(p_[i], p_[j]);
        }
        for (int q = 0; q < b.count; ++q) {
            const Seg& g = b.seg[q];
            out.push_back({g.arc, g.a, g.arc ? point_of(g, 0.5) : 0.5 * (g.a + g.b), g.b});
        }
    }
}

std::string Fitter::run(std::vector<Piece>& out) {
    if (!(o_.tolerance > 0) || !std::isfinite(o_.tolerance))
        return "the fit tolerance must be a number above 0";
    double a = c_.first(), b = c_.last();
    if (!std::isfinite(a) || !std::isfinite(b)) return "the curve's parameters are not numbers";
    if (!(b > a)) return "";
    if (!sample()) return error_;

    std::vector<Piece> chain;
    for (const Span& s : spans_) {
        if (still(s)) continue;
        std::vector<std::size_t> nodes = greedy(s), even;
        std::size_t k = nodes.size() - 1, best = pieces(nodes, s);
        // Biarcs of equal length are fewer, or as few and more even, when
        // the farthest reach leaves a short one at the end.
        for (std::size_t kk = k - 1; k >= 2 && kk <= k; ++kk) {
            if (!evenly(s, kk, even)) continue;
            std::size_t n = pieces(even, s);
            if (n <= best) {
                best = n;
                nodes = even;
                break;
            }
        }
        emit(nodes, s, chain);
        if (chain.size() > o_.max_pieces)
            return "the curve needs more than " + std::to_string(o_.max_pieces) +
                   " lines and arcs to follow within the tolerance";
        if (!error_.empty()) return error_;
    }
    // After a span that stays at one point the next starts a hair away.
    for (std::size_t k = 1; k < chain.size(); ++k) chain[k].start = chain[k - 1].end;
    out.insert(out.end(), chain.begin(), chain.end());
    return "";
}

}  // namespace

std::string fit(const Curve& curve, std::vector<Piece>& out, const FitOptions& options) {
    return Fitter(curve, options).run(out);
}

}  // namespace geo
