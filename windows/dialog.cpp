#include "windows/dialog.h"

#include <commctrl.h>
#include <cstring>

namespace {

// The predefined window classes, as the template names them by atom.
constexpr uint16_t kButtonClass = 0x0080, kEditClass = 0x0081, kStaticClass = 0x0082,
                   kListBoxClass = 0x0083;

uint16_t class_atom(ControlKind kind) {
    switch (kind) {
    case ControlKind::edit: return kEditClass;
    case ControlKind::button:
    case ControlKind::default_button: return kButtonClass;
    case ControlKind::list: return kListBoxClass;
    default: return kStaticClass;
    }
}

void put_text(std::vector<uint16_t>& out, const char* text) {
    for (wchar_t c : widen(text ? text : "")) out.push_back(static_cast<uint16_t>(c));
    out.push_back(0);
}

void align_to_dword(std::vector<uint16_t>& out) {
    if (out.size() % 2) out.push_back(0);
}

void put_dword(std::vector<uint16_t>& out, DWORD v) {
    out.push_back(static_cast<uint16_t>(v & 0xffff));
    out.push_back(static_cast<uint16_t>(v >> 16));
}

}  // namespace

DWORD control_style(ControlKind kind) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case ControlKind::label: return style | SS_LEFT | SS_NOPREFIX;
    case ControlKind::centered_label: return style | SS_CENTER | SS_NOPREFIX;
    case ControlKind::edit: return style | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    case ControlKind::button: return style | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::default_button: return style | WS_TABSTOP | BS_DEFPUSHBUTTON;
    case ControlKind::icon: return style | SS_ICON;
    case ControlKind::list:
        return style | WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    }
    return style;
}

std::vector<uint16_t> dialog_template_words(const DialogTemplate& t) {
    std::vector<uint16_t> out;
    DWORD style = WS_POPUP | DS_MODALFRAME | DS_CENTER | (t.font ? DS_SETFONT : 0);
    if (*t.title) style |= WS_CAPTION | WS_SYSMENU;
    put_dword(out, style);
    put_dword(out, 0);  // extended style
    out.push_back(static_cast<uint16_t>(t.controls.size()));
    for (int v : {0, 0, t.w, t.h}) out.push_back(static_cast<uint16_t>(v));
    out.push_back(0);  // no menu
    out.push_back(0);  // the dialog class
    put_text(out, t.title);
    if (t.font) {
        out.push_back(static_cast<uint16_t>(t.font_points));
        put_text(out, t.font);
    }
    for (const ControlDef& c : t.controls) {
        align_to_dword(out);
        put_dword(out, control_style(c.kind));
        put_dword(out, 0);
        for (int v : {c.x, c.y, c.w, c.h}) out.push_back(static_cast<uint16_t>(v));
        out.push_back(static_cast<uint16_t>(c.id));  // -1 is 0xffff, as resource compilers write it
        out.push_back(0xffff);
        out.push_back(class_atom(c.kind));
        put_text(out, c.kind == ControlKind::icon ? "" : c.text);
        out.push_back(0);  // no creation data
    }
    return out;
}

HICON program_icon() {
    static HICON icon = [] {
        // The XPM's colours by character, then 32 rows of 32; AND and XOR
        // masks as CreateIcon takes them (one bit per pixel, 32 bits a pixel).
        const int size = 32;
        std::vector<BYTE> and_mask(size * size / 8, 0);
        std::vector<DWORD> colour(size * size, 0);
        int colours = 0;
        std::sscanf(kIconXpm[0], "%*d %*d %d", &colours);
        auto colour_of = [&](char ch, bool& transparent) -> DWORD {
            for (int k = 1; k <= colours; ++k) {
                if (kIconXpm[k][0] != ch) continue;
                const char* hash = std::strchr(kIconXpm[k], '#');
                transparent = !hash;
                return hash ? std::strtoul(hash + 1, nullptr, 16) : 0;
            }
            transparent = true;
            return 0;
        };
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                bool transparent = false;
                DWORD rgb = colour_of(kIconXpm[1 + colours + y][x], transparent);
                if (transparent) and_mask[(y * size + x) / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                else colour[y * size + x] = 0xff000000 | rgb;
            }
        return ::CreateIcon(::GetModuleHandleW(nullptr), size, size, 1, 32, and_mask.data(),
                            reinterpret_cast<const BYTE*>(colour.data()));
    }();
    return icon;
}

std::string Win32DialogControls::get_text(int id) {
    HWND control = ::GetDlgItem(dialog_, id);
    if (!control) return "";
    wchar_t cls[16] = L"";
    ::GetClassNameW(control, cls, 16);
    if (::lstrcmpiW(cls, L"ListBox") == 0) {
        LRESULT picked = ::SendMessageW(control, LB_GETCURSEL, 0, 0);
        if (picked == LB_ERR) return "";
        std::wstring line(static_cast<std::size_t>(::SendMessageW(control, LB_GETTEXTLEN, picked, 0)), L'\0');
        ::SendMessageW(control, LB_GETTEXT, picked, reinterpret_cast<LPARAM>(line.data()));
        return narrow(line.c_str());
    }
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    int n = ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    return narrow(std::wstring_view(text.data(), static_cast<std::size_t>(n)));
}

void Win32DialogControls::set_text(int id, const std::string& text) {
    HWND control = ::GetDlgItem(dialog_, id);
    if (!control) return;
    wchar_t cls[16] = L"";
    ::GetClassNameW(control, cls, 16);
    if (::lstrcmpiW(cls, L"ListBox") != 0) {
        ::SetWindowTextW(control, widen(text).c_str());
        return;
    }
    // One line an item; the first is picked, so that OK takes it when it is the only one.
    ::SendMessageW(control, LB_RESETCONTENT, 0, 0);
    if (text.empty()) return;
    std::size_t at = 0;
    for (;;) {
        std::size_t end = text.find('\n', at);
        std::wstring line = widen(text.substr(at, end == std::string::npos ? end : end - at));
        ::SendMessageW(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    ::SendMessageW(control, LB_SETCURSEL, 0, 0);
}

void Win32DialogControls::set_tip(int id, const std::string& text) {
    HWND control = ::GetDlgItem(dialog_, id);
    if (!control) return;
    if (!tips_) {
        tips_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  dialog_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        // Tips of several lines (the units and the range) wrap as written.
        ::SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    std::wstring wide = widen(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    ::SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32DialogControls::end_dialog(int result) {
    ended_ = true;
    ::EndDialog(dialog_, result);
}

namespace {

INT_PTR CALLBACK template_dialog_proc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_INITDIALOG) {
        auto* controls = reinterpret_cast<Win32DialogControls*>(lp);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lp);
        controls->set_window(dialog);
        if (HWND icon = ::FindWindowExW(dialog, nullptr, L"Static", nullptr)) {
            for (; icon; icon = ::FindWindowExW(dialog, icon, L"Static", nullptr))
                if ((::GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(program_icon()), 0);
        }
        controls->procedure()(*controls, DialogMessage::init, 0);
        return TRUE;
    }
    auto* controls = reinterpret_cast<Win32DialogControls*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!controls || message != WM_COMMAND || controls->ended()) return FALSE;
    int id = LOWORD(wp);
    int code = HIWORD(wp);
    HWND from = reinterpret_cast<HWND>(lp);
    wchar_t cls[16] = L"";
    if (from) ::GetClassNameW(from, cls, 16);
    if (from && ::lstrcmpiW(cls, L"ListBox") == 0) {
        if (code == LBN_DBLCLK) controls->procedure()(*controls, DialogMessage::command, IDOK);
        return TRUE;
    }
    // Buttons, Enter (the default button's id) and Esc or the close box (IDCANCEL).
    if (code == BN_CLICKED) {
        controls->procedure()(*controls, DialogMessage::command, id);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int run_template_dialog(HWND owner, const DialogTemplate& t, DialogProc proc) {
    std::vector<uint16_t> words = dialog_template_words(t);
    Win32DialogControls controls(nullptr, proc);
    INT_PTR r = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                          reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
                                          template_dialog_proc,
                                          reinterpret_cast<LPARAM>(&controls));
    return static_cast<int>(r);
}
