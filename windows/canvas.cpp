#include "windows/canvas.h"

HFONT window_font() {
    static HFONT font = ::CreateFontW(kFontHeight, kFontWidth, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN,
                                      L"Courier New");
    return font;
}

GdiCanvas::GdiCanvas(HDC dc)
    : dc_(dc),
      old_pen_(::SelectObject(dc, ::GetStockObject(BLACK_PEN))),
      old_brush_(::SelectObject(dc, ::GetStockObject(WHITE_BRUSH))),
      old_font_(::SelectObject(dc, window_font())) {
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

GdiCanvas::~GdiCanvas() {
    ::SelectObject(dc_, old_pen_);
    ::SelectObject(dc_, old_brush_);
    ::SelectObject(dc_, old_font_);
    if (pen_) ::DeleteObject(pen_);
}

void GdiCanvas::select_pen(Rgb c) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(c.r, c.g, c.b));
    ::SelectObject(dc_, pen);
    if (pen_) ::DeleteObject(pen_);
    pen_ = pen;
}

void GdiCanvas::move_to(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::line_to(int x, int y) { ::LineTo(dc_, x, y); }

void GdiCanvas::rectangle(int left, int top, int right, int bottom) {
    if (right > left && bottom > top) ::Rectangle(dc_, left, top, right, bottom);
}

void GdiCanvas::text(int x, int y, const std::string& s) {
    std::wstring w = widen(s);
    ::TextOutW(dc_, x, y, w.c_str(), static_cast<int>(w.size()));
}
