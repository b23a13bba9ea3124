#include "tests/support/figures.h"

#include "import/shapes.h"

void load_figures(const std::vector<std::vector<Vertex>>& figures) {
    ShapeTables& s = shapes;
    s = ShapeTables{};
    int e = 0;
    for (const auto& fig : figures) {
        for (std::size_t k = 0; k + 1 < fig.size(); ++k, ++e) {
            const Vertex& a = fig[k];
            const Vertex& b = fig[k + 1];
            s.p1[e] = a.x;
            s.p2[e] = a.y;
            if (a.arc_to_next) {
                s.tp[e] = kArc;
                s.p3[e] = a.mx;
                s.p4[e] = a.my;
                s.p5[e] = b.x;
                s.p6[e] = b.y;
            } else {
                s.tp[e] = kLine;
                s.p3[e] = b.x;
                s.p4[e] = b.y;
            }
        }
        s.tp[e] = kFigureEnd;
        s.p1[e] = fig.back().x;
        s.p2[e] = fig.back().y;
        ++e;
    }
    s.tp[e] = kTableEnd;
    s.objects = static_cast<int>(figures.size());
    s.selected = 1;
    s.PointsLoaded = 1;
}

std::vector<Vertex> rectangle(float x, float y, float width, float height) {
    return {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}, {x, y}};
}
