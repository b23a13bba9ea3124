// Overlapping contours merged into the outline of the area they cover.
#include "fonts/merge.h"

#include <algorithm>

#include "tests/fonts/reference.h"

namespace {

Chain square(double left, double bottom, double size) {
    Point a{left, bottom}, b{left + size, bottom}, c{left + size, bottom + size}, d{left, bottom + size};
    return {line_segment(a, b), line_segment(b, c), line_segment(c, d), line_segment(d, a)};
}

// Four cubic quarters, counter-clockwise from the rightmost point.
Chain circle(Point o, double r) {
    const double k = 0.5522847498 * r;
    Chain out;
    for (int q = 0; q < 4; ++q) {
        auto turn = [&](double x, double y) {
            for (int i = 0; i < q; ++i) std::swap(x, y), x = -x;
            return Point{o.x + x, o.y + y};
        };
        out.push_back({SegmentKind::cubic, {turn(r, 0), turn(r, k), turn(k, r), turn(0, r)}});
    }
    return out;
}

Chain reversed_chain(Chain c) {
    reverse(c);
    return c;
}

TEST(MergeOverlaps, ContoursThatDoNotOverlapAreLeftAsTheyAre) {
    const std::vector<std::vector<Chain>> cases = {
        {square(0, 0, 1), square(2, 0, 1)},
        {square(0, 0, 3), reversed_chain(square(1, 1, 1))},  // a counter
        {circle({0, 0}, 1), reversed_chain(circle({0, 0}, 0.5)), circle({0, 0}, 0.25)},
        {square(0, 0, 1), square(1.001, 1.001, 1)},  // corners a hair apart
    };
    for (std::size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k);
        std::vector<Chain> contours = cases[k];
        std::vector<Chain> before = contours;
        EXPECT_EQ(merge_overlaps(contours, FillRule::nonzero, 0.0002), Merge::unchanged);
        ASSERT_EQ(contours.size(), before.size());
        for (std::size_t c = 0; c < contours.size(); ++c) EXPECT_EQ(sampled(contours[c]), sampled(before[c]));
    }
}

// A square and a circle over its right edge, in either sense (TrueType runs
// outer contours clockwise), with a square far off that stays as it is.
TEST(MergeOverlaps, OverlappingContoursBecomeTheOutlineOfTheirUnionAlongTheirOwnCurves) {
    for (bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise);
        std::vector<Chain> contours = {square(0, 0, 2), circle({2.3, 1.1}, 0.8), square(5, 0, 1)};
        if (clockwise)
            for (Chain& c : contours) reverse(c);
        std::vector<Polygon> parts;
        for (const Chain& c : contours) parts.push_back(sampled(c, 128));

        ASSERT_EQ(merge_overlaps(contours, FillRule::nonzero, 0.0002), Merge::merged);
        ASSERT_EQ(contours.size(), 2u);
        const Chain& merged = contours[0].size() > 4 ? contours[0] : contours[1];
        // The square's three sides and two pieces of its right side; the
        // circle's arc outside it: two whole quarters and two pieces.
        EXPECT_EQ(std::count_if(merged.begin(), merged.end(), [](auto& s) { return s.kind == SegmentKind::cubic; }), 4);
        EXPECT_EQ(merged.size(), 9u);
        for (std::size_t k = 0; k < merged.size(); ++k) {
            const Segment& s = merged[k];
            const Segment& next = merged[(k + 1) % merged.size()];
            EXPECT_EQ(s.end().x, next.start().x);
            EXPECT_EQ(s.end().y, next.start().y);
            // Where the circle meets the square: exactly on the square's side.
            if (s.kind != next.kind) {
                EXPECT_NEAR(s.end().x, 2, 1e-9);
            }
        }
        for (Point q : sampled(merged)) {
            ASSERT_LT(distance(parts, q), 1e-4);
            for (const Polygon& p : parts)
                if (distance({p}, q) > 1e-4) {
                    EXPECT_EQ(winding({p}, q), 0);
                }
        }
    }
}

}  // namespace
