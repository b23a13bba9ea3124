// Blocks placed by INSERT: where each copy lands, nesting, arrays, and the
// blocks that cannot be placed.
#include <cmath>

#include "import/dxf.h"
#include "records/notice.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using Blocks = ReaderTest;

// A closed triangle (0,0) (2,0) (0,1), whose closing element the reader adds.
Drawing triangle() { return Drawing().lwpolyline({{0, 0, 0}, {2, 0, 0}, {0, 1, 0}}); }

std::string triangle_at(const char* a, const char* b, const char* c) {
    return strprintf("L %s>%s L %s>%s L %s>%s |0,0 ", a, b, b, c, c, a);
}

TEST_F(Blocks, EachCopyLandsWhereItsInsertPutsIt) {
    using G = std::vector<std::pair<int, double>>;
    const struct {
        double base_x, base_y, x, y;
        G groups;
        std::string want;
    } cases[] = {
        {0, 0, 10, 5, {}, triangle_at("10,5", "12,5", "10,6")},
        {1, 1, 0, 0, {}, triangle_at("-1,-1", "1,-1", "-1,0")},       // base point
        {0, 0, 0, 0, {{41, 2}, {42, 3}}, triangle_at("0,0", "4,0", "0,3")},
        {0, 0, 0, 0, {{41, -1}}, triangle_at("0,0", "-2,0", "0,1")},  // mirrored
        {0, 0, 0, 0, {{230, -1}}, triangle_at("0,0", "-2,0", "0,1")}, // extrusion down
        {0, 0, 5, 0, {{50, 90}}, triangle_at("5,0", "5,2", "4,0")},
        {0, 0, 0, 0, {{70, 2}, {71, 2}, {44, 10}, {45, 20}},
         triangle_at("0,0", "2,0", "0,1") + triangle_at("10,0", "12,0", "10,1") +
             triangle_at("0,20", "2,20", "0,21") + triangle_at("10,20", "12,20", "10,21")},
        // The columns run along the turned axis.
        {0, 0, 0, 0, {{50, 90}, {70, 2}, {44, 10}},
         triangle_at("0,0", "0,2", "-1,0") + triangle_at("0,10", "0,12", "-1,10")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.want);
        Drawing d;
        d.block("T", c.base_x, c.base_y, triangle()).insert("T", c.x, c.y, c.groups);
        EXPECT_EQ(read(d), c.want + "$");
    }
}

// Nested to any depth, each figure in the place of its INSERT and in the
// order its block holds it, between the figures around the INSERT.
TEST_F(Blocks, NestedBlocksAndTheDrawingsOrder) {
    Drawing d;
    d.block("T", 0, 0, triangle());
    d.block("N", 0, 0, Drawing().insert("T", 100, 0, {{50, 90}}).lwpolyline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
    d.block("M", 0, 0, Drawing().insert("N", 0, 50, {{41, 2}, {42, 2}}));
    d.lwpolyline({{-5, -5, 0}, {-4, -5, 0}, {-4, -4, 0}});
    d.insert("M", 0, 0);
    d.lwpolyline({{-9, -9, 0}, {-8, -9, 0}, {-8, -8, 0}});
    EXPECT_EQ(read(d), triangle_at("-5,-5", "-4,-5", "-4,-4") +
                           triangle_at("200,50", "200,54", "198,50") +
                           triangle_at("0,50", "2,50", "2,52") +
                           triangle_at("-9,-9", "-8,-9", "-8,-8") + "$");
    EXPECT_EQ(shapes.objects, 4);
}

// A circle or arc scaled evenly stays one; scaled unevenly it becomes an
// ellipse, followed with arcs within the fit tolerance.
TEST_F(Blocks, CirclesScaledEvenlyAndUnevenly) {
    Drawing d;
    d.block("C", 0, 0, Drawing().circle(0, 0, 1));
    d.insert("C", 10, 0, {{41, 2}, {42, 2}});
    EXPECT_EQ(read(d), read(Drawing().circle(10, 0, 2)));
    Drawing uneven;
    uneven.block("C", 0, 0, Drawing().circle(0, 0, 1)).insert("C", 0, 0, {{41, 2}});
    ASSERT_TRUE(load_text(uneven.text()));
    int first = 0, terminator = 0;
    ASSERT_TRUE(find_figure(1, first, terminator));
    EXPECT_GT(terminator - first, 2);
    for (int k = first; k < terminator; ++k) {
        EXPECT_EQ(shapes.tp[k], kArc);
        for (auto [x, y] : {std::pair{shapes.p1[k], shapes.p2[k]}, {shapes.p3[k], shapes.p4[k]}})
            EXPECT_NEAR(std::hypot(x / 2, y), 1.0, 0.002) << x << "," << y;
    }
}

TEST_F(Blocks, BlocksThatCannotBePlaced) {
    const struct {
        Drawing d;
        const char* says;
    } cases[] = {
        {Drawing().block("S", 0, 0, Drawing().insert("S", 1, 1)).insert("S", 0, 0),
         "figure 2 (an INSERT of block \"S\") cannot be placed: block \"S\" inserts itself"},
        {Drawing().block("A", 0, 0, Drawing().insert("B", 0, 0))
             .block("B", 0, 0, triangle().insert("A", 0, 0)).insert("A", 0, 0),
         "figure 2 (an INSERT of block \"A\") cannot be placed: block \"A\" inserts itself"},
        {Drawing().block("V", 0, 0, Drawing().line(0, 0, 1, 0).code(21, "abc")).insert("V", 0, 0),
         "figure 2 (an INSERT of block \"V\") cannot be placed: block \"V\": a LINE has a "
         "coordinate that is not a number (\"abc\")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        Drawing d;
        d.square().body += c.d.body;
        d.named_blocks = c.d.named_blocks;
        EXPECT_FALSE(load_text(d.text()));
        EXPECT_EQ(take_notices(),
                  std::vector<std::string>{std::string("The drawing was not loaded: ") + c.says});
    }
    // A block that is never placed stands against nothing; one the drawing
    // does not define is counted.
    Drawing d = Drawing().block("S", 0, 0, Drawing().insert("S", 1, 1)).insert("NONE", 0, 0);
    EXPECT_EQ(read(d.square()), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
    EXPECT_EQ(drawing_notes.passed.insert, 1);
}

}  // namespace
