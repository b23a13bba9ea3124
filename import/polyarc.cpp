#include <cmath>

#include "import/dxf.h"
#include "import/shapes.h"

ArcMiddleExact arc_middle_exact(float x1f, float y1f, float x2f, float y2f, double bulge) {
    const double pi = static_cast<float>(std::acos(-1.0));
    if (bulge == 0.0) bulge = 1.0e-10;  // a bulge of 0 still makes an arc, flat on its chord
    int flag = bulge >= 0.0 ? 1 : 0;
    bulge = std::fabs(bulge);

    double x1 = x1f, y1 = y1f, x2 = x2f, y2 = y2f;
    double a = x2 - x1, b = y2 - y1;
    double c = std::sqrt(a * a + b * b) / 2.0;  // half the chord
    double h;                                   // the sagitta: chord midpoint to arc middle
    if (bulge <= 1.0) {
        double angle = 2.0 * std::atan(bulge);
        double r = c / std::sin(angle);
        h = r - std::sqrt(r * r - c * c);
    } else {
        // More than a half circle: the circle's formula above gives the middle
        // of the shorter arc; this one is the middle of the arc the bulge describes.
        h = bulge * c;
    }
    double chord_angle = std::atan2(b, a);
    double xc = x1 + c * std::cos(chord_angle), yc = y1 + c * std::sin(chord_angle);
    double vertex_angle = pi / 2.0 + chord_angle;
    double ax, ay;
    if (flag == 1) {
        ax = xc - h * std::cos(vertex_angle);
        ay = yc - h * std::sin(vertex_angle);
    } else {
        ax = xc + h * std::cos(vertex_angle);
        ay = yc + h * std::sin(vertex_angle);
    }
    return {ax, ay};
}

ArcMiddle arc_middle(float x1, float y1, float x2, float y2, double bulge) {
    ArcMiddleExact m = arc_middle_exact(x1, y1, x2, y2, bulge);
    return {static_cast<float>(m.x), static_cast<float>(m.y)};
}

void polyarc(int fp) {
    ArcMiddle m = arc_middle(shapes.p1[fp], shapes.p2[fp], shapes.p5[fp], shapes.p6[fp], dxf.spoint);
    shapes.p3[fp] = m.x;
    shapes.p4[fp] = m.y;
}
