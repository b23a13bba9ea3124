// Letters from text as the drawing: every figure follows its letter's
// outline within the fit tolerance, in the outlines' order and sense.
#include <cmath>

#include "geometry/arcs.h"
#include "import/shapes.h"
#include "import/text.h"
#include "records/notice.h"
#include "tests/geometry/measure.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using Letters = ReaderTest;

TextRequest request(const std::string& text, double height) {
    TextRequest r;
    r.text = text;
    r.font = match_font("DejaVu Sans:style=Bold").font;
    r.style.height = height;
    return r;
}

std::vector<geo::Piece> figure_pieces(int figure) {
    int first = 0, terminator = 0;
    EXPECT_TRUE(find_figure(figure, first, terminator));
    std::vector<geo::Piece> out;
    const ShapeTables& t = shapes;
    for (int k = first; k < terminator; ++k) {
        bool arc = t.tp[k] == kArc;
        geo::Point a{t.p1[k], t.p2[k]}, m{t.p3[k], t.p4[k]}, e{t.p5[k], t.p6[k]};
        out.push_back(arc ? geo::Piece{true, a, m, e} : geo::Piece{false, a, 0.5 * (a + m), m});
    }
    return out;
}

// Twice the area of the polygon through the pieces' points.
double twice_area(const std::vector<geo::Piece>& pieces) {
    double a = 0;
    for (const geo::Piece& p : pieces) {
        geo::Point q[] = {p.start, p.arc ? p.middle : p.start, p.end};
        for (int k = 0; k < 2; ++k) a += cross(q[k], q[k + 1]);
    }
    return a;
}

TEST_F(Letters, FiguresFollowTheOutlinesInTheirOrder) {
    TextRequest r = request("OPEN\nS&g", 12);
    TextOutlines outlines = text_outlines(r.text, r.font, r.style);
    ASSERT_TRUE(outlines.error.empty()) << outlines.error;
    ASSERT_TRUE(load_letters(r)) << last_notice();
    ASSERT_EQ(shapes.objects, static_cast<int>(outlines.outlines.size()));
    EXPECT_EQ(shapes.selected, 1);
    // The fit tolerance, and what storing the points as floats adds at 12 in.
    constexpr double kClose = 0.002 + 4e-6;
    for (int f = 1; f <= shapes.objects; ++f) {
        const TextOutline& o = outlines.outlines[f - 1];
        std::vector<geo::Piece> pieces = figure_pieces(f);
        Point start = o.chain.front().start();
        EXPECT_NEAR(pieces.front().start.x, start.x, 1e-5) << "figure " << f;
        EXPECT_NEAR(pieces.front().start.y, start.y, 1e-5) << "figure " << f;
        EXPECT_EQ(twice_area(pieces) < 0, o.counter) << "figure " << f;
        std::vector<geo::Point> dense;
        for (Point q : flattened(o.chain, 1e-5)) dense.push_back({q.x, q.y});
        dense.push_back(dense.front());
        double worst = 0;
        for (geo::Point q : dense) {
            double nearest = 1e9;
            for (const geo::Piece& p : pieces) nearest = std::min(nearest, measure::to_piece(p, q));
            worst = std::max(worst, nearest);
        }
        measure::Nearest to_outline(dense);
        for (const geo::Piece& p : pieces)
            for (int k = 0; k <= 16; ++k)
                worst = std::max(worst, to_outline(measure::on_piece(p, k / 16.0)));
        EXPECT_LE(worst, kClose) << "figure " << f;
    }
}

TEST_F(Letters, RefusedLeavingTheDrawingAsItWas) {
    ASSERT_TRUE(load_letters(request("O", 10)));
    ShapeTables before = shapes;
    struct Case {
        std::string text;
        double height;
        const char* says;
    };
    const Case cases[] = {
        {"", 10, "There is no text"},
        {"A\xe6\xbc\xa2", 10, "U+6F22"},
        {"OPEN", 0, "The letter height 0 in. cannot be used"},
        {"OPEN", 200.5, "The letter height 200.5 in. cannot be used"},
        {std::string(400, 'S'), 1, "The letters need "},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(load_letters(request(c.text, c.height))) << c.says;
        EXPECT_NE(last_notice().find(c.says), std::string::npos) << last_notice();
        EXPECT_EQ(shapes.tp, before.tp);
        EXPECT_EQ(shapes.p1, before.p1);
    }
    EXPECT_NE(last_notice().find("and 4800 fit"), std::string::npos) << last_notice();
}

TEST_F(Letters, NamedByTheirFirstLineFontAndHeight) {
    TextRequest r = request("OPEN", 12);
    EXPECT_EQ(text_drawing_name(r), "OPEN (DejaVu Sans Bold, 12 in.)");
    r.text = "EAT\nHERE";
    r.style.height = 300 / 25.4;
    r.millimetres = true;
    EXPECT_EQ(text_drawing_name(r), "EAT ... (DejaVu Sans Bold, 300 mm)");
}

}  // namespace
