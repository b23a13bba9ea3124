#pragma once
#include <QFont>
#include <QPainter>
#include <QPoint>

#include "platform/window_system.h"

// The main window's font: fixed pitch, 14 pixels high and about 9 wide;
// for the large display 21 high and about 13 wide.
QFont window_font(bool large = false);

// The drawing area's ground in `look`: white, or dark for the dark theme.
QColor background_colour(const Look& look);

// The paint primitives on a QPainter, with the pixel rules the view was
// drawn with: a line leaves out its end pixel, and a rectangle given as
// (left, top)-(right, bottom) covers the columns left to right - 1 and the
// rows top to bottom - 1, its outline in the current pen, its inside white.
// Text is black on white with its top left corner at the given point. In the
// dark theme black is light and white dark; the large display draws lines
// three pixels wide and text half as large again.
class PainterCanvas : public Canvas {
public:
    explicit PainterCanvas(QPainter& painter, const Look& look = {});
    void select_pen(Rgb colour) override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void text(int x, int y, const std::string& s) override;

private:
    QPainter& p_;
    Look look_;
    QPoint at_;
};
