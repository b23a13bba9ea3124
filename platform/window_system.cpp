#include "platform/window_system.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/exit.h"

std::vector<PixelPoint> arc_points(int x0, int y0, int mx, int my, int x, int y) {
    std::vector<PixelPoint> chords{{mx, my}, {x, y}};
    const double ax = x0, ay = y0, bx = mx, by = my, cx = x, cy = y;
    double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    if (std::hypot(bx - ax, by - ay) < 2 || std::hypot(cx - bx, cy - by) < 2 ||
        std::abs(d) < 1e-9)
        return chords;
    double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    double ux = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
    double uy = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
    double r = std::hypot(ax - ux, ay - uy);
    constexpr double kTurn = 2 * 3.14159265358979323846;
    auto angle = [&](double px, double py) { return std::atan2(py - uy, px - ux); };
    auto positive = [&](double a) { return std::fmod(std::fmod(a, kTurn) + kTurn, kTurn); };
    double a0 = angle(ax, ay);
    double sweep = positive(angle(cx, cy) - a0);
    // The way round that passes the middle point.
    if (positive(angle(bx, by) - a0) > sweep) sweep -= kTurn;
    int n = static_cast<int>(std::ceil(std::abs(sweep) * r / 4));
    if (n < 2 || r > 1e6) return chords;
    n = std::min(n, 512);
    std::vector<PixelPoint> out;
    for (int k = 1; k < n; ++k) {
        double a = a0 + sweep * k / n;
        out.push_back({static_cast<int>(std::lround(ux + r * std::cos(a))),
                       static_cast<int>(std::lround(uy + r * std::sin(a)))});
    }
    out.push_back({x, y});
    return out;
}

Rgb ground_colour(const Look& look) { return look.dark ? Rgb{24, 26, 30} : Rgb{255, 255, 255}; }

Rgb shown_colour(Rgb c, const Look& look) {
    if (look.dark) {
        if (c == kBlack) return {235, 235, 235};
        if (c == kBlue) return {110, 175, 255};
        if (c == kRed) return {255, 105, 105};
        if (c == kGreen) return {80, 235, 80};
    }
    return c;
}

void Canvas::arc_to(int x0, int y0, int mx, int my, int x, int y) {
    move_to(x0, y0);
    for (PixelPoint p : arc_points(x0, y0, mx, my, x, y)) line_to(p.x, p.y);
}

namespace {

// Before a real window exists (and in the command-line modes) there is
// nothing to show: dialogs are cancelled, questions answered No, and notices
// go to stderr only.
class NoWindow : public WindowSystem {
public:
    int dialog_box(int, DialogProc) override { return 0; }
    bool get_open_file_name(std::string&, long& error) override {
        error = 0;
        return false;
    }
    bool get_save_file_name(std::string&, long& error) override {
        error = 0;
        return false;
    }
    void message_box(const std::string&, const std::string&, MessageIcon) override {}
    bool text_dialog(TextFields&, const TextDialogHelp&) override { return false; }
    bool ask_yes_no(const std::string&, const std::string&) override { return false; }
    int choose(const std::string&, const std::string&, const std::vector<std::string>&, int,
               int escape) override {
        return escape;
    }
    void show_command_button(int, bool) override {}
    void check_menu_item(int, bool) override {}
    void set_menu_item(int, const std::string&) override {}
    WindowPlacement window_placement() override { return {}; }
    void set_window_placement(const WindowPlacement&) override {}
    bool get_save_csv_name(std::string&, long& error) override {
        error = 0;
        return false;
    }
    void run_table(const std::string&, TableSource&) override {}
    void run_text_viewer(const std::string&) override {}
    void create_button(const char*, int, int, int, int, int) override {}
    bool set_look(const Look& look) override { return look == Look{}; }
    void invalidate() override {}
    void set_scroll_bars(const ScrollRange&, const ScrollRange&) override {}
    void set_window_title(const std::string&) override {}
    void set_status_text(const std::string&) override {}
    void set_busy(bool) override {}
    void set_progress(int, int) override {}
    void post_close() override {}
    void destroy_window() override {}
    void post_quit(int) override {}
    void end_program(int status) override {
        run_program_end_steps();
        std::exit(status);
    }
};

NoWindow no_window;
WindowSystem* current = &no_window;

}  // namespace

WindowSystem& window_system() { return *current; }

void set_window_system(WindowSystem* ws) { current = ws ? ws : &no_window; }
