#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "geometry/affine.h"
#include "geometry/curve.h"
#include "import/emit.h"
#include "import/pieces.h"

// Block definitions and the INSERTs that place them.

// An INSERT: the block named, placed at (x, y) scaled per axis (a negative
// scale mirrors), turned by `rotation` degrees about its base point, and
// repeated in `columns` by `rows` at the given spacings.
struct Insert {
    std::string block;
    double x = 0.0, y = 0.0;
    double scale_x = 1.0, scale_y = 1.0;
    double rotation = 0.0;
    int columns = 1, rows = 1;
    double column_spacing = 0.0, row_spacing = 0.0;
    double extrusion_z = 1.0;  // negative: the INSERT is drawn mirrored
};

// A shape of a block, in the block's own coordinates: a polyline or a
// segment (its vertices), a circle (one vertex, its radius as the bulge), a
// curve, or an INSERT of another block.
struct BlockShape {
    enum class Kind : unsigned char { polyline, segment, circle, curve, insert };
    Kind kind;
    bool closed = false;
    int first = 0, count = 0;  // in the block's vertices
    int index = -1;            // a curve's or an INSERT's, in the block's lists
};

struct Block {
    std::string name;
    double base_x = 0.0, base_y = 0.0;
    std::vector<OutlineVertex> vertices;
    std::vector<BlockShape> shapes;
    std::vector<std::unique_ptr<geo::Curve>> curves;
    std::vector<Insert> inserts;
    bool whole = true;  // false when it was too large to keep
    std::string fault;  // a value of it that is no number, or a shape that makes no curve
};

// Vertices kept of all blocks together, at most (a shape without vertices
// of its own counts as four): enough for every block a drawing of letters
// holds, and memory stays small.
inline constexpr long long kBlockVertices = 1 << 18;

struct Blocks {
    std::vector<Block> list;
    std::unordered_map<std::string, int> by_name;
    long long vertices = 0;
    bool dropped = false;  // blocks were left out, the room for them spent

    // The block named, or null.
    Block* find(const std::string& name);
    // Whether a shape of `count` more vertices may still be kept.
    bool room_for(Block& b, long long count);
};

// Where the INSERT puts a point of its block, for the copy in `column` and `row`.
geo::Affine placement(const Insert& ins, const Block& b, int column, int row);
bool places_unchanged(const Insert& ins, const Block& b);

// Places the block of `ins` into the drawing through `emitter`, nested blocks
// and all, its figures keyed after the INSERT's ordinal in their order.
// Returns why it cannot be placed (a block that inserts itself, one too
// large to keep, a shape that cannot be fitted); empty when it was placed
// or names no block (then `undefined` is set).
std::string place_insert(Blocks& blocks, const Insert& ins, int ordinal, Emitter& emitter,
                         const Collection& c, bool& undefined);
