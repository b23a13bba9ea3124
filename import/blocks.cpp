#include "import/blocks.h"

#include <algorithm>

#include "import/angles.h"
#include "platform/text.h"

Block* Blocks::find(const std::string& name) {
    auto it = by_name.find(name);
    return it == by_name.end() ? nullptr : &list[it->second];
}

bool Blocks::room_for(Block& b, long long count) {
    // A shape of no vertices of its own (a curve, an INSERT) still takes room.
    count = std::max(count, 4LL);
    if (!b.whole || vertices + count > kBlockVertices) {
        b.whole = false;
        return false;
    }
    vertices += count;
    return true;
}

bool places_unchanged(const Insert& ins, const Block& b) {
    return ins.x == b.base_x && ins.y == b.base_y && ins.scale_x == 1.0 && ins.scale_y == 1.0 &&
           turn(ins.rotation).cos == 1.0 && ins.columns == 1 && ins.rows == 1 &&
           ins.extrusion_z >= 0.0;
}

geo::Affine placement(const Insert& ins, const Block& b, int column, int row) {
    Turn t = turn(ins.rotation);
    geo::Affine rotate{t.cos, -t.sin, t.sin, t.cos, 0.0, 0.0};
    geo::Affine m = geo::Affine::translation({ins.x, ins.y}) * rotate *
                    geo::Affine::translation({column * ins.column_spacing, row * ins.row_spacing}) *
                    geo::Affine::scaling(ins.scale_x, ins.scale_y) *
                    geo::Affine::translation({-b.base_x, -b.base_y});
    // Drawn with its extrusion pointing down, the INSERT's own x axis is mirrored.
    if (ins.extrusion_z < 0.0) m = geo::Affine::scaling(-1.0, 1.0) * m;
    return m;
}

namespace {

// Shapes one INSERT may place, nested blocks and copies included: far more
// than the tables hold, and few enough to be placed in a moment.
constexpr long long kMostPlaced = 1 << 20;
// Blocks placed within blocks, at most: drawings nest a few.
constexpr std::size_t kDeepest = 64;

class Placer {
public:
    Placer(Blocks& blocks, int ordinal, Emitter& emitter, const Collection& c)
        : blocks_(blocks), ordinal_(ordinal), emit_(emitter), c_(c) {}

    std::string place(const Insert& ins, const Placement& outer, bool& undefined) {
        Block* b = blocks_.find(ins.block);
        if (!b && blocks_.dropped)
            return "the drawing defines more blocks than can be kept, and block \"" + ins.block +
                   "\" was left out";
        if (!b) {
            undefined = true;
            return "";
        }
        int index = static_cast<int>(b - blocks_.list.data());
        for (int on : stack_)
            if (on == index) return "block \"" + b->name + "\" inserts itself";
        if (stack_.size() >= kDeepest)
            return strprintf("blocks are nested more than %zu deep", kDeepest);
        if (!b->whole) return "block \"" + b->name + "\" is too large to be read";
        if (!b->fault.empty()) return "block \"" + b->name + "\": " + b->fault;
        long long copies = static_cast<long long>(ins.rows) * ins.columns;
        if (copies > kMostPlaced || copies * static_cast<long long>(b->shapes.size()) > kMostPlaced)
            return strprintf("INSERT of block \"%s\" places more than %lld shapes", b->name.c_str(),
                             kMostPlaced);
        stack_.push_back(index);
        bool unchanged = places_unchanged(ins, *b);
        for (int row = 0; row < ins.rows; ++row) {
            for (int column = 0; column < ins.columns; ++column) {
                Placement at = outer;
                if (!unchanged) {
                    at.map = outer.map * placement(ins, *b, column, row);
                    at.identity = false;
                }
                if (std::string why = place_shapes(*b, at); !why.empty()) return why;
                if (c_.over) return "";
            }
        }
        stack_.pop_back();
        return "";
    }

private:
    std::string place_shapes(Block& b, const Placement& at) {
        for (const BlockShape& s : b.shapes) {
            if (c_.over) return "";
            if (++placed_ > kMostPlaced)
                return strprintf("INSERT of block \"%s\" places more than %lld shapes",
                                 b.name.c_str(), kMostPlaced);
            Key key = key_of(ordinal_, ++within_);
            const OutlineVertex* v = b.vertices.data() + s.first;
            switch (s.kind) {
            case BlockShape::Kind::polyline: emit_.polyline(v, s.count, s.closed, key, at); break;
            case BlockShape::Kind::segment:
                emit_.segment(v[0].x, v[0].y, v[1].x, v[1].y, v[0].bulge, v[0].arc, key, at);
                break;
            case BlockShape::Kind::circle: emit_.circle(v[0].x, v[0].y, v[0].bulge, key, at); break;
            case BlockShape::Kind::curve: emit_.curve(*b.curves[s.index], s.closed, key, at); break;
            case BlockShape::Kind::insert: {
                bool undefined = false;
                // The nested block's copy of the list may move: take the INSERT first.
                Insert nested = b.inserts[s.index];
                if (std::string why = place(nested, at, undefined); !why.empty()) return why;
                break;
            }
            }
            if (!emit_.fault().empty())
                return "a shape of block \"" + b.name + "\" cannot be followed: " + emit_.fault();
        }
        return "";
    }

    Blocks& blocks_;
    int ordinal_;
    Emitter& emit_;
    const Collection& c_;
    std::vector<int> stack_;
    uint32_t within_ = 0;
    long long placed_ = 0;
};

}  // namespace

std::string place_insert(Blocks& blocks, const Insert& ins, int ordinal, Emitter& emitter,
                         const Collection& c, bool& undefined) {
    undefined = false;
    return Placer(blocks, ordinal, emitter, c).place(ins, Placement{}, undefined);
}
