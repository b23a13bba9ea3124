// The curve fitter on what it is given in use: the glyph outlines of a line
// of lettering (quadratic Bezier segments of a TrueType font, read with
// FreeType), and cubic splines as drawing programs write them.
//   bench_fit [FONT] [TEXT] [HEIGHT]
// defaults: DejaVu Sans Bold, "CHANNEL LETTERS 2025", 12 in. capitals.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "geometry/curves.h"
#include "geometry/fit.h"
#include "geometry/nurbs.h"

namespace {

using namespace geo;
using Clock = std::chrono::steady_clock;

struct Outline {
    std::vector<Path> contours;
    int segments = 0;
    Point pen;       // in font units
    double scale;    // inches per font unit
    double advance;  // the pen's place along the line, font units
};

Point at(const Outline& o, const FT_Vector* v) {
    return {(o.advance + v->x) * o.scale, v->y * o.scale};
}

int move_to(const FT_Vector* to, void* user) {
    auto& o = *static_cast<Outline*>(user);
    o.contours.emplace_back();
    o.pen = at(o, to);
    return 0;
}

int line_to(const FT_Vector* to, void* user) {
    auto& o = *static_cast<Outline*>(user);
    Point p = at(o, to);
    o.contours.back().add(Bezier(o.pen, p));
    o.pen = p;
    ++o.segments;
    return 0;
}

int conic_to(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto& o = *static_cast<Outline*>(user);
    Point p = at(o, to);
    o.contours.back().add(Bezier(o.pen, at(o, control), p));
    o.pen = p;
    ++o.segments;
    return 0;
}

int cubic_to(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto& o = *static_cast<Outline*>(user);
    Point p = at(o, to);
    o.contours.back().add(Bezier(o.pen, at(o, c1), at(o, c2), p));
    o.pen = p;
    ++o.segments;
    return 0;
}

Outline read_text(const char* font, const std::string& text, double height) {
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, font, 0, &face)) {
        std::fprintf(stderr, "cannot read the font %s\n", font);
        std::exit(1);
    }
    FT_Load_Char(face, 'H', FT_LOAD_NO_SCALE);
    FT_BBox box;
    FT_Outline_Get_CBox(&face->glyph->outline, &box);
    Outline o;
    o.scale = height / static_cast<double>(box.yMax);
    o.advance = 0;
    const FT_Outline_Funcs funcs{move_to, line_to, conic_to, cubic_to, 0, 0};
    for (char ch : text) {
        FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_NO_SCALE);
        FT_Outline_Decompose(&face->glyph->outline, &funcs, &o);
        o.advance += static_cast<double>(face->glyph->advance.x);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return o;
}

double cpu_ms() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The median of the runs' times, on the clock and in processor time (the
// same on an idle machine; the second is what the fitter costs when others
// share the processor).
struct Times {
    double wall, cpu;
};

template <typename F>
Times median_ms(int runs, F f) {
    std::vector<double> wall, cpu;
    for (int r = 0; r < runs; ++r) {
        auto t0 = Clock::now();
        double c0 = cpu_ms();
        f();
        cpu.push_back(cpu_ms() - c0);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[runs / 2], cpu[runs / 2]};
}

void lettering(const char* font, const std::string& text, double height) {
    Outline o = read_text(font, text, height);
    std::size_t pieces = 0, arcs = 0;
    Times ms = median_ms(25, [&] {
        std::vector<Piece> out;
        for (const Path& c : o.contours) {
            std::string fault = fit(c, out);
            if (!fault.empty()) std::printf("fault: %s\n", fault.c_str());
        }
        pieces = out.size();
        arcs = static_cast<std::size_t>(
            std::count_if(out.begin(), out.end(), [](const Piece& p) { return p.arc; }));
    });
    std::printf(
        "\"%s\" at %g in.: %zu contours, %d segments -> %zu pieces (%zu arcs), "
        "%.2f ms (%.2f ms processor)\n",
        text.c_str(), height, o.contours.size(), o.segments, pieces, arcs, ms.wall, ms.cpu);
}

// Closed cubic splines through 24 control points round a wavy ring, as a
// drawing program's curve tool leaves them, 6 in. across.
void splines() {
    std::vector<Nurbs> curves;
    for (int s = 0; s < 200; ++s) {
        std::vector<Point> control;
        std::vector<double> knots;
        int n = 24;
        for (int k = 0; k < n + 3; ++k) {
            double a = 2 * M_PI * (k % n) / n, r = 3 + 0.4 * std::sin(3 * a + s);
            control.push_back({s * 7 + r * std::cos(a), r * std::sin(a)});
        }
        for (int k = 0; k < n + 7; ++k) knots.push_back(k);
        curves.emplace_back(3, knots, control);
    }
    std::size_t pieces = 0;
    Times ms = median_ms(9, [&] {
        std::vector<Piece> out;
        for (const Nurbs& c : curves) fit(c, out);
        pieces = out.size();
    });
    std::printf(
        "200 closed cubic splines of 24 control points: %zu pieces, %.2f ms "
        "(%.2f ms processor), %.0f us each\n",
        pieces, ms.wall, ms.cpu, ms.cpu * 1000 / 200);
}

}  // namespace

int main(int argc, char** argv) {
    const char* font = argc > 1 ? argv[1] : "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    std::string text = argc > 2 ? argv[2] : "CHANNEL LETTERS 2025";
    double height = argc > 3 ? std::atof(argv[3]) : 12;
    lettering(font, text, height);
    if (argc <= 2) {
        lettering(font, "Quick brown foxes ja", height);
        lettering(font, text, 2);
    }
    splines();
}
