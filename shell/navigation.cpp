#include "shell/navigation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "import/select.h"
#include "import/shapes.h"
#include "records/job.h"
#include "records/settings.h"
#include "shell/status.h"
#include "shell/view.h"
#include "shell/window_state.h"

namespace {

constexpr double kFitMargin = 20;
constexpr double kPickReach = 6;
// The furthest the drawing's origin may be moved from the window.
constexpr double kFarthest = 1e8;
constexpr const char* kFittedNote =
    "Fitted to the window: at the X and Y Offset settings the drawing would not show";

bool drawing_loaded() { return shapes.PointsLoaded != 0; }
bool size_known() { return win.client_w > 0 && win.client_h > 0; }

std::optional<Extent> drawing_extent() { return extent_of(shapes.points); }

// Where the drawing can be seen: the client area below the buttons.
Area visible_area() {
    return {0, double(win.buttons_bottom), double(win.client_w), double(win.client_h)};
}

Area fit_area() {
    Area a = visible_area();
    return {a.left + kFitMargin, a.top + kFitMargin, a.right - kFitMargin, a.bottom - kFitMargin};
}

void set_view(const ViewTransform& v) {
    win.zoom = v.scale;
    win.pan_x = std::clamp(v.ox, -kFarthest, kFarthest) - settings.XOFFSET;
    win.pan_y = std::clamp(v.oy, -kFarthest, kFarthest) - settings.YOFFSET;
}

void update_scroll_bars() {
    ScrollRange h, v;
    std::optional<Extent> e;
    if (drawing_loaded() && size_known()) e = drawing_extent();
    if (e) {
        ViewTransform view = current_view();
        Area box = window_box(view, *e), a = fit_area();
        h = scroll_range(view.ox, box.left, box.right, a.left, a.right);
        v = scroll_range(view.oy, box.top, box.bottom, a.top, a.bottom);
    }
    window_system().set_scroll_bars(h, v);
}

void view_changed() {
    update_scroll_bars();
    window_system().invalidate();
}

// The drawing part of the status line may say more about the drawing: the
// note on a fit at load is added to it and taken out again at the next load.
void note_fitted(bool fitted) {
    std::string& part = status_line.drawing;
    std::string before = part;
    if (auto at = part.find(kFittedNote); at != std::string::npos) {
        auto end = at + std::strlen(kFittedNote);
        if (at >= 2 && part.compare(at - 2, 2, "; ") == 0)
            at -= 2;
        else if (part.compare(end, 2, "; ") == 0)
            end += 2;
        part.erase(at, end - at);
    }
    if (fitted) part += (part.empty() ? "" : "; ") + std::string(kFittedNote);
    if (part != before) show_status();
}

void check_new_drawing() {
    if (!win.fit_check_due || !size_known()) return;
    win.fit_check_due = false;
    std::optional<Extent> e = drawing_extent();
    if (!e || shows_in(window_box(current_view(), *e), visible_area())) return;
    fit_to_window();
    note_fitted(true);
}

void start_pan(WindowState::Pan button, const Message& m) {
    if (!drawing_loaded()) return;
    win.pan = button;
    win.pan_last_x = m.x;
    win.pan_last_y = m.y;
}

void pan_to(const Message& m) {
    if (win.pan == WindowState::Pan::none) return;
    set_view(panned(current_view(), m.x - win.pan_last_x, m.y - win.pan_last_y));
    win.pan_last_x = m.x;
    win.pan_last_y = m.y;
    view_changed();
}

void wheel(const Message& m) {
    if (!drawing_loaded() || m.delta == 0) return;
    // Four notches double the zoom.
    set_view(zoomed_about(current_view(), std::exp2(m.delta / 480.0), m.x, m.y));
    view_changed();
}

void scroll(int bar, int position) {
    if (!drawing_loaded()) return;
    ViewTransform v = current_view();
    double& origin = bar == kHorizontalBar ? v.ox : v.oy;
    origin -= position - pixel(-origin);
    set_view(v);
    view_changed();
}

}  // namespace

void fit_to_window() {
    if (!drawing_loaded() || !size_known()) return;
    std::optional<Extent> e = drawing_extent();
    Area a = fit_area();
    if (!e || a.right <= a.left || a.bottom <= a.top) return;
    set_view(fitted(*e, a, win.zoom));
    view_changed();
}

void zoom_button(int step) {
    if (!drawing_loaded()) return;
    win.zoom = button_zoom(win.zoom, step);
    view_changed();
}

// A new drawing shows as the first one did at the start, whatever the view of
// the one before.
void view_after_load() {
    win.zoom = 1;
    win.pan_x = win.pan_y = 0;
    note_fitted(false);
    win.fit_check_due = true;
    check_new_drawing();
    update_scroll_bars();
}

void view_message(const Message& m) {
    using Pan = WindowState::Pan;
    switch (m.message) {
    case WindowMessage::size:
        win.client_w = m.x;
        win.client_h = m.y;
        check_new_drawing();
        update_scroll_bars();
        break;
    case WindowMessage::left_button_down:
        if (m.keys & kShiftHeld) start_pan(Pan::left, m);
        break;
    case WindowMessage::middle_button_down: start_pan(Pan::middle, m); break;
    case WindowMessage::middle_button_up:
        if (win.pan == Pan::middle) win.pan = Pan::none;
        break;
    case WindowMessage::mouse_move: pan_to(m); break;
    case WindowMessage::mouse_wheel: wheel(m); break;
    case WindowMessage::key_down:
        if (m.id == 'F' && !(m.keys & kControlHeld)) fit_to_window();
        break;
    case WindowMessage::scroll: scroll(m.id, m.x); break;
    default: break;
    }
}

bool pan_ended_by_left_button() {
    if (win.pan != WindowState::Pan::left) return false;
    win.pan = WindowState::Pan::none;
    return true;
}

bool pick_figure(int x, int y) {
    if (!drawing_loaded()) return false;
    ViewTransform v = current_view();
    FramePoint at = to_frame(v, x, y);
    int hit = get_selected(at.x, at.y, kPickReach / v.scale);
    if (hit == 0) return false;
    shapes.selected = hit;
    back_to_start_point_mode();
    return true;
}
