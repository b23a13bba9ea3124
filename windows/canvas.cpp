#include "windows/canvas.h"

HFONT window_font(bool large) {
    auto make = [](int height, int width) {
        return ::CreateFontW(height, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             FIXED_PITCH | FF_MODERN, L"Courier New");
    };
    // The large display's font is half as large again, as its layout is.
    static HFONT font = make(kFontHeight, kFontWidth);
    static HFONT large_font = make(kFontHeight * 3 / 2, kFontWidth * 3 / 2);
    return large ? large_font : font;
}

namespace {
COLORREF colour_ref(Rgb c) { return RGB(c.r, c.g, c.b); }
}  // namespace

GdiCanvas::GdiCanvas(HDC dc, const Look& look)
    : dc_(dc),
      look_(look),
      brush_(::CreateSolidBrush(colour_ref(ground_colour(look)))),
      old_pen_(::SelectObject(dc, ::GetStockObject(BLACK_PEN))),
      old_brush_(::SelectObject(dc, brush_)),
      old_font_(::SelectObject(dc, window_font(look.large))) {
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, colour_ref(ground_colour(look)));
    ::SetTextColor(dc, colour_ref(shown_colour(kBlack, look)));
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    select_pen(kBlack);
}

GdiCanvas::~GdiCanvas() {
    ::SelectObject(dc_, old_pen_);
    ::SelectObject(dc_, old_brush_);
    ::SelectObject(dc_, old_font_);
    if (pen_) ::DeleteObject(pen_);
    ::DeleteObject(brush_);
}

void GdiCanvas::select_pen(Rgb c) {
    LOGBRUSH lb{BS_SOLID, colour_ref(shown_colour(c, look_)), 0};
    int width = line_width(look_);
    // A thick line ends square at its end point, as a thin one does.
    HPEN pen = width == 1 ? ::CreatePen(PS_SOLID, 1, lb.lbColor)
                          : ::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                           static_cast<DWORD>(width), &lb, 0, nullptr);
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
