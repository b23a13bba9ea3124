// Any bytes as a drawing file: the reader must load them or refuse them,
// leave well-formed tables either way, and the commands that work on the
// loaded drawing must stay inside them. A drawing that loads must plan to
// walls that are lengths, or be refused.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/reset.h"
#include "import/dxf.h"
#include "import/export.h"
#include "import/select.h"
#include "import/shapes.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/settings.h"
#include "records/units.h"
#include "sequencing/jobrun.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

bool same(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool element(int k) { return shapes.tp[k] == kLine || shapes.tp[k] == kArc; }

// Figures of chained elements, one terminator each, then the end of table;
// as many figures as `objects` says.
void check_tables() {
    const auto& t = shapes;
    int k = 0, figures = 0;
    for (;;) {
        check(k < kShapeEntries);
        if (t.tp[k] == kTableEnd) break;
        check(element(k));
        for (;; ++k) {
            check(k + 2 < kShapeEntries);
            if (t.tp[k + 1] == kFigureEnd) break;
            check(element(k + 1));
            float ex = t.tp[k] == kLine ? t.p3[k] : t.p5[k];
            float ey = t.tp[k] == kLine ? t.p4[k] : t.p6[k];
            check(same(ex, t.p1[k + 1]) && same(ey, t.p2[k + 1]));
        }
        k += 2;
        ++figures;
    }
    check(figures == t.objects);
}

// A drawing that loads gives well-formed tables; one that is refused leaves
// them exactly as they were, whatever the commands made of them before (a
// start point moved round an open figure takes it out of its chain order).
bool load(const uint8_t* data, size_t size) {
    static uint8_t none = 0;
    static ShapeTables before;
    before = shapes;
    FILE* f = fmemopen(size > 0 ? const_cast<uint8_t*>(data) : &none, size, "rb");
    check(f != nullptr);
    bool loaded = load_array(f);
    std::fclose(f);
    if (loaded)
        check_tables();
    else
        check(std::memcmp(&before, &shapes, sizeof before) == 0);
    return loaded;
}

// Whether every figure ends where it starts. (Open figures written out are
// open POLYLINEs, which join any that meet them when read back.)
bool all_closed() {
    for (int f = 1, first = 0, terminator = 0; find_figure(f, first, terminator); ++f) {
        int last = terminator - 1;
        float ex = shapes.tp[last] == kLine ? shapes.p3[last] : shapes.p5[last];
        float ey = shapes.tp[last] == kLine ? shapes.p4[last] : shapes.p6[last];
        if (!same(ex, shapes.p1[first]) || !same(ey, shapes.p2[first])) return false;
    }
    return true;
}

// A drawing of closed figures that loads, written as R12 DXF and read back,
// gives the same elements, whatever the Close Figure setting.
void written_and_read_back() {
    if (!shapes.PointsLoaded || !all_closed()) return;
    static ShapeTables read;
    read = shapes;
    std::string r12 = r12_text();
    int keep = settings.closed_figure;
    settings.closed_figure = 1 - keep;
    check(load(reinterpret_cast<const uint8_t*>(r12.data()), r12.size()));
    settings.closed_figure = keep;
    check(shapes.objects == read.objects);
    for (int k = 0; read.tp[k] != kTableEnd; ++k) {
        check(shapes.tp[k] == read.tp[k]);
        if (read.tp[k] == kFigureEnd) continue;  // its point tells only how it was closed
        check(same(shapes.p1[k], read.p1[k]) && same(shapes.p2[k], read.p2[k]) &&
              same(shapes.p3[k], read.p3[k]) && same(shapes.p4[k], read.p4[k]) &&
              same(shapes.p5[k], read.p5[k]) && same(shapes.p6[k], read.p6[k]));
    }
}

// Plans figure `figure`: refused, or walls and corners that are numbers, a
// length of 0 or more each, with the end marker after the last.
void plan(int figure) {
    shapes.selected = figure;
    if (!plan_job()) {
        check(wall_list.walls == 0 && wall_list.l_a_dimensions[0] == kWallEnd);
        return;
    }
    const WallList& w = wall_list;
    check(w.walls >= 0 && w.walls < kShapeEntries && w.l_a_dimensions[w.walls] == kWallEnd);
    float total = 0;
    for (int i = 0; i < w.walls; ++i) {
        check(std::isfinite(w.l_a_dimensions[i]) && w.l_a_dimensions[i] >= 0);
        check(std::isfinite(w.angles[i]));
        total += w.l_a_dimensions[i];
    }
    check(std::isfinite(total));
}

// The first figures and the last, with a divide point and an arc spacing
// that vary with the input.
void plan_the_drawing(size_t size) {
    if (!shapes.PointsLoaded) return;
    settings.direction = 1;
    settings.bit = 0.25f;
    settings.arc_notch = size % 2 ? 0.5f : 0.01f;
    job.pause = static_cast<int>(size % 5);
    int keep = shapes.selected;
    for (int figure = 1; figure <= shapes.objects && figure <= 8; ++figure) plan(figure);
    if (shapes.objects > 8) plan(shapes.objects);
    shapes.selected = keep;
}

// The commands the window offers once a drawing is loaded.
void work_the_drawing(const uint8_t* data, size_t size) {
    if (!shapes.PointsLoaded) return;
    int last = shapes.objects;
    for (int f : {1, 2, 3, last, last + 1, 0, -1}) {
        rotate(1, f);
        rotate(-1, f);
        rotate(size % 3, f);
    }
    for (int zoom = 1; zoom <= 3; ++zoom) {
        for (size_t i = 0; i + 1 < size && i < 16; i += 2) {
            int x = static_cast<int8_t>(data[i]) * 3, y = static_cast<int8_t>(data[i + 1]) * 3;
            int hit = get_selected(x, y, 6.0 / zoom);
            check(hit == 0 || (hit >= 1 && hit <= shapes.objects));
        }
    }
    select_next();
    get_selected(size > 0 ? data[0] : 0, 0, 1e9);
    plot();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    reset_all_state();
    settings.closed_figure = 1;
    // Odd sizes read drawings that declare millimetres or centimetres as
    // declared; every third joins ends as far apart as the setting allows.
    unit_setting.choice = size % 2 ? UnitChoice::declared : UnitChoice::inch;
    unit_setting.join_tolerance = size % 3 == 0 ? kMostJoin : kDefaultJoin;
    load(data, size);
    written_and_read_back();
    plan_the_drawing(size);
    work_the_drawing(data, size);

    // Every sixty-fourth size also goes in again many times over with the other
    // setting, so that the reader runs past the end of the tables and a
    // refused drawing meets one loaded before it.
    if (size > 0 && size % 64 == 0) {
        static std::vector<uint8_t> many;
        many.clear();
        while (many.size() < 128 * 1024) many.insert(many.end(), data, data + size);
        settings.closed_figure = 0;
        load(many.data(), many.size());
        work_the_drawing(data, size);
    }
    take_notices();
    return 0;
}
