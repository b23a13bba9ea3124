#include "shell/viewport.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

int pixel(double v) {
    double r = std::floor(v + 0.5);
    if (!(r > INT_MIN)) return INT_MIN;  // NaN too
    return r < INT_MAX ? static_cast<int>(r) : INT_MAX;
}

WinPoint to_window(const ViewTransform& v, PTS p) {
    return {pixel(v.ox + p.x * v.scale), pixel(v.oy - p.y * v.scale)};
}

FramePoint to_frame(const ViewTransform& v, double x, double y) {
    return {(x - v.ox) / v.scale, (v.oy - y) / v.scale};
}

std::optional<Extent> extent_of(std::span<const PTS> points) {
    std::optional<Extent> e;
    for (const PTS& p : points) {
        if (p.y == kPointMarker) break;
        if (p.x == kPointMarker) continue;
        if (!e) e = Extent{p.x, p.y, p.x, p.y};
        e->xmin = std::min(e->xmin, p.x);
        e->xmax = std::max(e->xmax, p.x);
        e->ymin = std::min(e->ymin, p.y);
        e->ymax = std::max(e->ymax, p.y);
    }
    return e;
}

Area window_box(const ViewTransform& v, const Extent& e) {
    return {v.ox + e.xmin * v.scale, v.oy - e.ymax * v.scale, v.ox + e.xmax * v.scale,
            v.oy - e.ymin * v.scale};
}

bool shows_in(const Area& box, const Area& area) {
    return box.left < area.right && box.right >= area.left && box.top < area.bottom &&
           box.bottom >= area.top;
}

ViewTransform fitted(const Extent& e, const Area& area, double scale) {
    constexpr double kNoLimit = std::numeric_limits<double>::infinity();
    double w = static_cast<double>(e.xmax) - e.xmin, h = static_cast<double>(e.ymax) - e.ymin;
    if (w > 0 || h > 0)
        scale = std::min(w > 0 ? (area.right - area.left) / w : kNoLimit,
                         h > 0 ? (area.bottom - area.top) / h : kNoLimit);
    scale = std::clamp(scale, kMinZoom, kMaxZoom);
    double cx = (area.left + area.right) / 2, cy = (area.top + area.bottom) / 2;
    return {scale, cx - (static_cast<double>(e.xmin) + e.xmax) / 2 * scale,
            cy + (static_cast<double>(e.ymin) + e.ymax) / 2 * scale};
}

ViewTransform zoomed_about(const ViewTransform& v, double factor, double x, double y) {
    double scale = std::clamp(v.scale * factor, kMinZoom, kMaxZoom);
    double f = scale / v.scale;
    return {scale, x - (x - v.ox) * f, y - (y - v.oy) * f};
}

ViewTransform panned(const ViewTransform& v, double dx, double dy) {
    return {v.scale, v.ox + dx, v.oy + dy};
}

double button_zoom(double zoom, int step) {
    if (step > 0) return std::min(kMaxZoom, std::floor(zoom) + 1);
    return zoom > 1 ? std::max(1.0, std::ceil(zoom) - 1) : zoom;
}

ScrollRange scroll_range(double origin, double start, double end, double area_start,
                         double area_end) {
    int value = pixel(-origin);
    // Moving the value by d moves the drawing by -d.
    int at_start = pixel(start - area_start), at_end = pixel(end - area_end);
    ScrollRange r;
    r.value = value;
    r.min = value + std::min({at_start, at_end, 0});
    r.max = value + std::max({at_start, at_end, 0});
    r.page = std::max(0, pixel(area_end - area_start));
    return r;
}
