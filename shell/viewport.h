#pragma once
#include <optional>
#include <span>

#include "import/shapes.h"
#include "platform/window_system.h"

// Where the drawing stands in the client area. A point (x, y) of the screen
// point list is drawn at window pixel X = ox + x * scale, Y = oy - y * scale:
// the drawing's y axis points up, the window's down. With scale `zoom` and the
// origin at the X and Y Offset settings this is the view the program always had.
struct ViewTransform {
    double scale = 1;       // pixels per screen unit
    double ox = 0, oy = 0;  // the window position of the drawing's origin
};

// The view's zoom limits, in pixels per screen unit.
inline constexpr double kMinZoom = 0.01;
inline constexpr double kMaxZoom = 100;

struct WinPoint {
    int x, y;
    bool operator==(const WinPoint&) const = default;
};

// The nearest whole pixel, kept within the range of an int.
int pixel(double v);

WinPoint to_window(const ViewTransform& v, PTS p);

// A window position back in the point list's frame (screen units, y up).
struct FramePoint {
    double x, y;
};
FramePoint to_frame(const ViewTransform& v, double x, double y);

// Window pixels, y down.
struct Area {
    double left, top, right, bottom;
};

// The smallest box round the drawn points of a screen point list, in screen
// units; none when the list holds no point.
struct Extent {
    int xmin, ymin, xmax, ymax;
};
std::optional<Extent> extent_of(std::span<const PTS> points);

// Where the extent is drawn at `v`.
Area window_box(const ViewTransform& v, const Extent& e);

// True when some pixel of the drawn box lies in `area` (whose right and
// bottom edges are outside it).
bool shows_in(const Area& box, const Area& area);

// The largest scale within the zoom limits at which the extent fits into
// `area`, centred in it. A drawing that is a single point keeps `scale`.
ViewTransform fitted(const Extent& e, const Area& area, double scale);

// The view scaled by `factor` about window point (x, y): the drawing point
// under it stays there. The scale stays within the zoom limits.
ViewTransform zoomed_about(const ViewTransform& v, double factor, double x, double y);

ViewTransform panned(const ViewTransform& v, double dx, double dy);

// The zoom of the "Zoom +" (step 1) and "Zoom -" (step -1) buttons: the next
// whole number up or down. Zoom - goes no lower than 1 and leaves a smaller
// view as it is; Zoom + goes no higher than the largest zoom.
double button_zoom(double zoom, int step);

// One scroll bar over one axis of the drawing: `origin` is the drawing
// origin's window position along it, [start, end] the drawn extent and
// [area_start, area_end] the part of the window it is fitted into. The range
// runs from the drawing's start at the area's start to its end at the area's
// end, and takes in the present view; the value is -origin.
ScrollRange scroll_range(double origin, double start, double end, double area_start,
                         double area_end);
