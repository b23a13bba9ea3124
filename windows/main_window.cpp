#include "windows/main_window.h"

#include <algorithm>
#include <commctrl.h>

#include "resources/resources.h"
#include "resources/strings.h"
#include "windows/canvas.h"
#include "windows/dialog.h"
#include "windows/messages.h"

namespace {

bool waiting = false;
constexpr int kStopWidth = 70, kProgressWidth = 200, kCommandWidth = 80;
constexpr int kStatusMargin = 2;  // pixels left of the status text
constexpr wchar_t kFrameClass[] = L"zel", kClientClass[] = L"zel client";

void register_classes() {
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = program_icon();
    wc.lpszClassName = kFrameClass;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassExW(&wc);
    wc.lpszClassName = kClientClass;
    wc.hIcon = nullptr;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.style = CS_HREDRAW | CS_VREDRAW;
    ::RegisterClassExW(&wc);
}

// The desktop's font, or half as large again and bold for the large display.
HFONT gui_font(bool large) {
    static HFONT large_font = [] {
        LOGFONTW lf{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfHeight = lf.lfHeight * 3 / 2;
        lf.lfWidth = lf.lfWidth * 3 / 2;
        lf.lfWeight = FW_BOLD;
        return ::CreateFontIndirectW(&lf);
    }();
    return large ? large_font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void set_font(HWND w, HFONT font) {
    ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HMENU build_menu() {
    HMENU bar = ::CreateMenu();
    for (const PopupMenu& popup : menu_bar()) {
        HMENU menu = ::CreatePopupMenu();
        for (const MenuItem& item : popup.items) {
            if (!item.label) ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            else
                ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id),
                              widen(std::string(item.label) +
                                    (item.keys ? std::string("\t") + item.keys : ""))
                                  .c_str());
        }
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), widen(popup.label).c_str());
    }
    return bar;
}

}  // namespace

bool waiting_for_machine() { return waiting; }
void set_waiting_for_machine(bool w) { waiting = w; }

MainWindow::MainWindow(WindowProc proc) : proc_(proc) {
    register_classes();
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    menu_ = build_menu();
    frame_ = ::CreateWindowExW(0, kFrameClass, widen(kAppName).c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                               1200, 860, nullptr, menu_, instance, nullptr);
    ::SetWindowLongPtrW(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frame_proc));
    client_ = ::CreateWindowExW(0, kClientClass, L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL |
                                WS_VSCROLL | WS_CLIPCHILDREN, 0, 0, 0, 0, frame_, nullptr,
                                instance, nullptr);
    ::SetWindowLongPtrW(client_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(client_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(client_proc));
    status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBARS_SIZEGRIP,
                                0, 0, 0, 0, frame_, nullptr, instance, nullptr);
    progress_ = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 0, 0, frame_, nullptr,
                                  instance, nullptr);
    stop_ = ::CreateWindowExW(0, L"BUTTON", L"Stop", WS_CHILD | WS_VISIBLE | WS_DISABLED |
                              BS_PUSHBUTTON, 0, 0, 0, 0, frame_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDM_STOP)), instance, nullptr);
    for (const CommandButton& b : command_buttons()) {
        HWND button = ::CreateWindowExW(0, L"BUTTON", widen(b.label).c_str(),
                                        WS_CHILD | BS_PUSHBUTTON, 0, 0, 0, 0, frame_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)),
                                        instance, nullptr);
        set_font(button, gui_font(false));
        ::SetWindowPos(button, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        command_buttons_.emplace_back(b.id, button);
    }
    for (HWND w : {status_, stop_}) set_font(w, gui_font(false));
    // The text is drawn here, wrapped: a status bar's own is one line.
    ::SendMessageW(status_, SB_SETTEXTW, SBT_OWNERDRAW, 0);
    measure_line();
    ::SetWindowPos(stop_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetWindowPos(progress_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
        ::SetScrollInfo(client_, bar, &si, FALSE);
    }
}

MainWindow::~MainWindow() {
    if (::IsWindow(frame_)) ::DestroyWindow(frame_);
}

void MainWindow::create(int show) {
    proc_(Message{WindowMessage::create});
    lay_out();
    ::ShowWindow(frame_, show);
    ::UpdateWindow(frame_);
}

HWND MainWindow::add_button(const std::string& label, int id, int x, int y, int w, int h) {
    if (HWND made = ::GetDlgItem(client_, id)) {
        ::MoveWindow(made, x, y, w, h, TRUE);
        return made;
    }
    HWND b = ::CreateWindowExW(0, L"BUTTON", widen(label).c_str(),
                               WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, w, h, client_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleW(nullptr), nullptr);
    set_font(b, gui_font(look_.large));
    buttons_.push_back(b);
    return b;
}

void MainWindow::set_busy(bool busy) {
    // A button that loses its focus as it is disabled would leave the keys,
    // Esc among them, to no window.
    if (busy) ::SetFocus(client_);
    int popups = ::GetMenuItemCount(menu_);
    for (int k = 0; k < popups; ++k)
        ::EnableMenuItem(menu_, static_cast<UINT>(k), MF_BYPOSITION | (busy ? MF_GRAYED : MF_ENABLED));
    ::DrawMenuBar(frame_);
    for (HWND b : buttons_) ::EnableWindow(b, !busy);
    for (const auto& [id, b] : command_buttons_) ::EnableWindow(b, !busy);
    ::EnableWindow(stop_, busy);
    holding_ = busy;
    if (!busy && status_height(text_width_) != text_height_) lay_out();
}

void MainWindow::show_command_button(int id, bool shown) {
    for (const auto& [button_id, b] : command_buttons_)
        if (button_id == id) ::ShowWindow(b, shown ? SW_SHOWNA : SW_HIDE);
    lay_out();
}

void MainWindow::set_status_text(const std::string& text) {
    std::wstring wide = widen(text);
    if (wide == status_text_) return;
    status_text_ = wide;
    ::InvalidateRect(status_, nullptr, TRUE);
    // Laid out again only when the line must take another height.
    if (status_height(text_width_) != text_height_) lay_out();
}

void MainWindow::set_look(const Look& look) {
    look_ = look;
    HFONT font = gui_font(look.large);
    for (HWND w : {status_, stop_}) set_font(w, font);
    for (HWND b : buttons_) set_font(b, font);
    for (const auto& [id, b] : command_buttons_) set_font(b, font);
    measure_line();
    lay_out();
    ::InvalidateRect(client_, nullptr, TRUE);
}

// The status bar's height for one line of its font.
void MainWindow::measure_line() {
    ::SendMessageW(status_, SB_SETMINHEIGHT, 0, 0);
    ::SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar{};
    ::GetWindowRect(status_, &bar);
    line_bar_h_ = bar.bottom - bar.top;
}

int MainWindow::status_height(int width) {
    HDC dc = ::GetDC(status_);
    HGDIOBJ font = ::SelectObject(dc, gui_font(look_.large));
    RECT r{0, 0, std::max(width - 2 * kStatusMargin, 1), 0};
    ::DrawTextW(dc, status_text_.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, font);
    ::ReleaseDC(status_, dc);
    int needed = r.bottom;
    // While the machine works the line does not shrink: the window is not
    // laid out again whenever a silent controller's wait comes and goes.
    return holding_ ? std::max(needed, text_height_) : needed;
}

void MainWindow::set_progress(int value, int maximum) {
    ::SendMessageW(progress_, PBM_SETRANGE32, 0, maximum > 0 ? maximum : 1);
    ::SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    bool shown = maximum > 0;
    ::ShowWindow(progress_, shown ? SW_SHOWNA : SW_HIDE);
    if (shown != progress_shown_) {
        progress_shown_ = shown;
        lay_out();
    }
}

// Windows keeps a thumb between min and max - page + 1: the range's end is
// the last position plus the page, as Qt counts it.
void MainWindow::set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical) {
    for (auto [bar, r] : {std::pair{SB_HORZ, horizontal}, std::pair{SB_VERT, vertical}}) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, r.min,
                      r.max + std::max(r.page, 1) - 1, static_cast<UINT>(std::max(r.page, 0)),
                      r.value, 0};
        ::SetScrollInfo(client_, bar, &si, TRUE);
    }
}

bool MainWindow::take_key(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != frame_ && ::GetAncestor(msg.hwnd, GA_ROOT) != frame_))
        return false;
    int code = key_code(msg.wParam);
    if (code == 0) return false;
    // Keys go to an edit field that has the focus (there is none on the main window today).
    wchar_t cls[16] = L"";
    ::GetClassNameW(msg.hwnd, cls, 16);
    if (::lstrcmpiW(cls, L"Edit") == 0 && code != kKeyEscape) return false;
    if (waiting) return true;
    Message m{WindowMessage::key_down};
    m.id = code;
    m.keys = key_modifiers();
    proc_(m);
    return true;
}

void MainWindow::command(int id) {
    if (waiting && id != IDM_STOP) return;
    Message m{WindowMessage::command};
    m.id = id;
    proc_(m);
}

void MainWindow::lay_out() {
    if (!status_) return;
    RECT area{};
    ::GetClientRect(frame_, &area);
    int w = area.right;
    // Text | progress bar | command buttons shown | Stop, all but the text at
    // the right as Qt's permanent widgets; the text takes the room of what is hidden.
    int stop_x = std::max(w - kStopWidth - 20, 0), x = stop_x;
    std::vector<std::pair<HWND, int>> shown;
    for (auto it = command_buttons_.rbegin(); it != command_buttons_.rend(); ++it) {
        if (!::IsWindowVisible(it->second)) continue;
        x = std::max(x - kCommandWidth - 4, 0);
        shown.emplace_back(it->second, x);
    }
    int progress_x = std::max(x - kProgressWidth - 4, 0);
    text_width_ = progress_shown_ ? progress_x : x;
    // The bar as tall as the text needs at that width; the buttons keep a line's height.
    text_height_ = status_height(text_width_);
    ::SendMessageW(status_, SB_SETMINHEIGHT, text_height_, 0);
    ::SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar{};
    ::GetWindowRect(status_, &bar);
    int h = area.bottom - (bar.bottom - bar.top), line_h = line_bar_h_;
    ::MoveWindow(client_, 0, 0, w, std::max(h, 0), TRUE);
    for (auto [button, bx] : shown)
        ::MoveWindow(button, bx + 2, h + 2, kCommandWidth, line_h - 3, TRUE);
    int parts[3] = {text_width_, x, -1};
    ::SendMessageW(status_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    ::SendMessageW(status_, SB_SETTEXTW, SBT_OWNERDRAW, 0);
    ::MoveWindow(progress_, progress_x + 2, h + 3, kProgressWidth, line_h - 5, TRUE);
    ::MoveWindow(stop_, stop_x + 2, h + 2, kStopWidth, line_h - 3, TRUE);
}

void MainWindow::scroll(int bar, int request) {
    SCROLLINFO now{sizeof now, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(client_, bar, &now);
    int to = scroll_target(request, now, 20);
    if (to == now.nPos && request != SB_THUMBTRACK) return;
    now.fMask = SIF_POS;
    now.nPos = to;
    ::SetScrollInfo(client_, bar, &now, TRUE);
    Message m{WindowMessage::scroll};
    m.id = bar == SB_HORZ ? kHorizontalBar : kVerticalBar;
    m.x = to;
    proc_(m);
}

LRESULT CALLBACK MainWindow::frame_proc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
    return self ? self->on_frame(message, wp, lp) : ::DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK MainWindow::client_proc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
    return self ? self->on_client(message, wp, lp) : ::DefWindowProcW(w, message, wp, lp);
}

LRESULT MainWindow::on_frame(UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_COMMAND:
        // Menu items (code 0) and the Stop button.
        if (HIWORD(wp) == 0 || HIWORD(wp) == BN_CLICKED) command(LOWORD(wp));
        return 0;
    case WM_SIZE: lay_out(); return 0;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->hwndItem != status_ || item->itemID != 0)
            return ::DefWindowProcW(frame_, message, wp, lp);
        RECT r = item->rcItem;
        r.left += kStatusMargin;
        ::SetBkMode(item->hDC, TRANSPARENT);
        HGDIOBJ font = ::SelectObject(item->hDC, gui_font(look_.large));
        ::DrawTextW(item->hDC, status_text_.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(item->hDC, font);
        return TRUE;
    }
    case WM_CLOSE: proc_(Message{WindowMessage::close}); return 0;  // the procedure decides
    case WM_DESTROY: return 0;
    case WM_QUERYENDSESSION: return proc_(Message{WindowMessage::query_end_session}) ? TRUE : FALSE;
    case WM_SETFOCUS: ::SetFocus(client_); return 0;
    case WM_MOUSEWHEEL: return on_client(message, wp, lp);
    default: return ::DefWindowProcW(frame_, message, wp, lp);
    }
}

LRESULT MainWindow::on_client(UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT r{};
        ::GetClientRect(client_, &r);
        Rgb c = ground_colour(look_);
        HBRUSH ground = ::CreateSolidBrush(RGB(c.r, c.g, c.b));
        ::FillRect(reinterpret_cast<HDC>(wp), &r, ground);
        ::DeleteObject(ground);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(client_, &ps);
        {
            GdiCanvas canvas(dc, look_);
            Message m{WindowMessage::paint};
            m.canvas = &canvas;
            proc_(m);
        }
        ::EndPaint(client_, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) command(LOWORD(wp));
        // The button keeps no focus: keys go on reaching the window.
        ::SetFocus(client_);
        return 0;
    case WM_SIZE: {
        Message m{WindowMessage::size};
        m.x = LOWORD(lp);
        m.y = HIWORD(lp);
        proc_(m);
        return 0;
    }
    case WM_HSCROLL: scroll(SB_HORZ, LOWORD(wp)); return 0;
    case WM_VSCROLL: scroll(SB_VERT, LOWORD(wp)); return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN: ::SetCapture(client_); ::SetFocus(client_); break;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: ::ReleaseCapture(); break;
    default: break;
    }
    POINT origin{0, 0};
    ::ClientToScreen(client_, &origin);
    Message m;
    if (!waiting && mouse_message(message, wp, lp, origin, m)) {
        proc_(m);
        return 0;
    }
    return ::DefWindowProcW(client_, message, wp, lp);
}
