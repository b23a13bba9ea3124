#pragma once
#include "platform/window_system.h"
#include "windows/win32.h"

// The main window's font: fixed pitch, 14 pixels high and 9 wide; half as
// large again for the large display.
HFONT window_font(bool large = false);

// The paint primitives on a GDI device context, whose own rules are the
// view's: LineTo leaves out the end pixel, Rectangle(l, t, r, b) covers the
// columns l to r - 1 and the rows t to b - 1, outlined in the pen and filled
// with the ground's brush. Text is black on white, its top left at the point.
// In `look` the same calls draw thick lines or light ones on a dark ground.
class GdiCanvas : public Canvas {
public:
    explicit GdiCanvas(HDC dc, const Look& look = {});
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;
    void select_pen(Rgb colour) override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void text(int x, int y, const std::string& s) override;

private:
    HDC dc_;
    Look look_;
    HBRUSH brush_;
    HPEN pen_ = nullptr;
    HGDIOBJ old_pen_, old_brush_, old_font_;
};
