#pragma once
// The test font read with FreeType directly, apart from the program's own
// way: a letter's contours walked from the font's raw points (on-curve points
// and quadratic controls, with the implied points between two controls) and
// sampled densely, in font units; and curves sampled by their own formula.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fonts/fonts.h"

inline const std::string kDejaVuDir = "/usr/share/fonts/truetype/dejavu/";
inline const FontFace kSans{"DejaVu Sans", "Book", kDejaVuDir + "DejaVuSans.ttf", 0};

using Polygon = std::vector<Point>;

class ReferenceFont {
public:
    explicit ReferenceFont(const std::string& file) {
        EXPECT_EQ(FT_Init_FreeType(&library_), 0);
        EXPECT_EQ(FT_New_Face(library_, file.c_str(), 0, &face_), 0) << file;
    }
    ~ReferenceFont() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }

    const FT_Outline& outline(char32_t c) {
        EXPECT_EQ(FT_Load_Char(face_, c, FT_LOAD_NO_SCALE), 0);
        return face_->glyph->outline;
    }
    int contours(char32_t c) { return outline(c).n_contours; }
    double advance(char32_t c) {
        outline(c);
        return static_cast<double>(face_->glyph->advance.x);
    }
    double line_distance() const { return face_->height; }

    double top(char32_t c) {
        const FT_Outline& o = outline(c);
        double y = -1e9;
        for (int i = 0; i < o.n_points; ++i) y = std::max(y, static_cast<double>(o.points[i].y));
        return y;
    }
    // Inches per font unit when the capital H is `height` high.
    double scale(double height) { return height / top('H'); }

    std::vector<Polygon> polygons(char32_t c, int per_curve = 64) {
        const FT_Outline& o = outline(c);
        std::vector<Polygon> out;
        for (int k = 0, first = 0; k < o.n_contours; first = o.contours[k++] + 1) {
            int n = o.contours[k] - first + 1;
            auto at = [&](int i) {
                const FT_Vector& v = o.points[first + (i % n + n) % n];
                return Point{static_cast<double>(v.x), static_cast<double>(v.y)};
            };
            auto on = [&](int i) { return (o.tags[first + (i % n + n) % n] & 1) != 0; };
            auto mid = [](Point a, Point b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
            int s = 0;
            while (s < n && !on(s)) ++s;
            Point start = s < n ? at(s) : mid(at(0), at(1));
            Polygon poly{start};
            Point from = start;
            for (int i = s + 1; i <= s + n; ++i) {
                if (on(i)) {
                    poly.push_back(at(i));
                    from = at(i);
                    continue;
                }
                Point to = on(i + 1) ? at(i + 1) : mid(at(i), at(i + 1));
                for (int j = 1; j <= per_curve; ++j) {
                    double t = static_cast<double>(j) / per_curve;
                    Point q = at(i);
                    poly.push_back({(1 - t) * (1 - t) * from.x + 2 * t * (1 - t) * q.x + t * t * to.x,
                                    (1 - t) * (1 - t) * from.y + 2 * t * (1 - t) * q.y + t * t * to.y});
                }
                from = to;
                if (on(i + 1)) ++i;
            }
            poly.pop_back();  // the start again
            out.push_back(poly);
        }
        return out;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// A chain sampled by the Bernstein form of each segment, its ends included.
inline Polygon sampled(const Chain& chain, int per_segment = 64) {
    Polygon out;
    for (const Segment& s : chain) {
        int n = s.order();
        for (int j = 0; j < per_segment; ++j) {
            static const int kBinomial[4][4] = {{1}, {1, 1}, {1, 2, 1}, {1, 3, 3, 1}};
            double t = static_cast<double>(j) / per_segment, x = 0, y = 0;
            for (int i = 0; i <= n; ++i) {
                double b = kBinomial[n][i] * std::pow(t, i) * std::pow(1 - t, n - i);
                x += b * s.p[i].x;
                y += b * s.p[i].y;
            }
            out.push_back({x, y});
        }
    }
    return out;
}

inline double shoelace(const Polygon& p) {
    double sum = 0;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) sum += p[j].x * p[i].y - p[i].x * p[j].y;
    return sum / 2;
}

inline double perimeter(const Polygon& p) {
    double sum = 0;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) sum += std::hypot(p[i].x - p[j].x, p[i].y - p[j].y);
    return sum;
}

// How often the polygons wind around q (non-zero: inside).
inline int winding(const std::vector<Polygon>& polys, Point q) {
    int w = 0;
    for (const Polygon& p : polys)
        for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
            Point a = p[j], b = p[i];
            double side = (b.x - a.x) * (q.y - a.y) - (q.x - a.x) * (b.y - a.y);
            if (a.y <= q.y && b.y > q.y && side > 0) ++w;
            if (a.y > q.y && b.y <= q.y && side < 0) --w;
        }
    return w;
}

// The distance from q to the nearest edge of the polygons.
inline double distance(const std::vector<Polygon>& polys, Point q) {
    double best = INFINITY;
    for (const Polygon& p : polys)
        for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
            Point a = p[j], b = p[i];
            double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
            double u = len2 > 0 ? std::clamp(((q.x - a.x) * dx + (q.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
            best = std::min(best, std::hypot(a.x + u * dx - q.x, a.y + u * dy - q.y));
        }
    return best;
}

inline std::vector<Polygon> scaled(std::vector<Polygon> polys, double scale) {
    for (Polygon& p : polys)
        for (Point& q : p) q = {q.x * scale, q.y * scale};
    return polys;
}
