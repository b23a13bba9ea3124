#include "windows/win32_window_system.h"

#include <commdlg.h>
#include <cstdlib>

#include "platform/exit.h"
#include "platform/files.h"
#include "platform/idle.h"
#include "platform/signals.h"
#include "resources/resources.h"
#include "windows/canvas.h"
#include "windows/dialog.h"
#include "windows/table_dialog.h"
#include "windows/messages.h"

namespace {

MainWindow* the_window = nullptr;
constexpr UINT_PTR kSignalTimer = 1;

std::wstring backslashes(std::wstring path) {
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::string forward_slashes(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// Ctrl+C and the console's close end the program as the close box does.
void CALLBACK look_for_termination(HWND window, UINT, UINT_PTR id, DWORD) {
    if (!termination_requested()) return;
    ::KillTimer(window, id);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
}

// The text viewer: a read-only edit field of the whole file in the window's font.
INT_PTR CALLBACK viewer_proc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* text = reinterpret_cast<const std::wstring*>(lp);
        HWND edit = ::GetDlgItem(dialog, 100);
        ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(window_font()), FALSE);
        ::SetWindowTextW(edit, text->c_str());
        ::SetWindowPos(dialog, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
        // The caret at the start, nothing selected (the dialog's own focus would select all).
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, 0, 0);
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:  // a read-only edit field: white, as a page
        ::SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(::GetStockObject(WHITE_BRUSH));
    case WM_SIZE:
        ::MoveWindow(::GetDlgItem(dialog, 100), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == 2 /* Esc */) ::EndDialog(dialog, 0);
        return TRUE;
    case WM_CLOSE: ::EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
    }
}

// The question of choose: its buttons have the ids kFirstChoice and on;
// Enter (IDOK) and Esc or the close box (IDCANCEL) pick what the caller said.
constexpr int kFirstChoice = 1000;

struct Choice {
    int default_button, escape_button;
};

INT_PTR CALLBACK choice_proc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG: ::SetWindowLongPtrW(dialog, DWLP_USER, lp); return TRUE;
    case WM_COMMAND: {
        const auto* c = reinterpret_cast<const Choice*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        int id = LOWORD(wp);
        int picked = id == IDOK ? c->default_button : id == IDCANCEL ? c->escape_button : id - kFirstChoice;
        if (id >= kFirstChoice || picked >= 0) ::EndDialog(dialog, picked);
        return TRUE;
    }
    case WM_CLOSE: ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0); return TRUE;
    default: return FALSE;
    }
}

// The open or save dialog: `filter` and `extension` of the files it offers,
// starting from `path` (a path ending in a slash is the folder to start in).
struct FileDialog {
    bool save;
    const wchar_t *filter, *extension, *title;
};

bool file_dialog(HWND owner, const FileDialog& d, std::string& path, long& error) {
    error = 0;
    bool folder = !path.empty() && path.back() == '/';
    std::wstring start = backslashes(widen(path));
    std::wstring file = folder ? std::wstring() : start;
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = d.filter;
    ofn.lpstrDefExt = d.extension;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = d.title;
    if (folder) ofn.lpstrInitialDir = start.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (d.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(d.save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn))) {
        error = static_cast<long>(::CommDlgExtendedError());
        return false;
    }
    path = forward_slashes(narrow(file.c_str()));
    return true;
}

}  // namespace

WhileWaiting while_waiting(const MSG& msg, HWND stop_button) {
    if (!is_input(msg.message)) return WhileWaiting::dispatch;
    if (msg.hwnd == stop_button && stop_button) return WhileWaiting::dispatch;
    // Without a focus window Windows sends keys as system keys.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE)
        return WhileWaiting::stop;
    return WhileWaiting::drop;
}

void keep_window_alive() {
    static long long since = -kIdleIntervalMs;
    long long now = static_cast<long long>(::GetTickCount64());
    if (!the_window || waiting_for_machine() || now - since < kIdleIntervalMs) return;
    set_waiting_for_machine(true);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that runs next
            break;
        }
        switch (while_waiting(msg, the_window->stop_button())) {
        case WhileWaiting::dispatch:
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            break;
        case WhileWaiting::stop: {
            Message m{WindowMessage::command};
            m.id = IDM_STOP;
            the_window->send(m);
            break;
        }
        case WhileWaiting::drop: break;
        }
    }
    set_waiting_for_machine(false);
    since = static_cast<long long>(::GetTickCount64());
}

Win32WindowSystem::Win32WindowSystem(MainWindow& window) : window_(window) {
    the_window = &window_;
    set_window_system(this);
    set_idle_handler(keep_window_alive);
    ::SetTimer(window_.frame(), kSignalTimer, 200, look_for_termination);
}

Win32WindowSystem::~Win32WindowSystem() {
    the_window = nullptr;
    set_idle_handler(nullptr);
    set_window_system(nullptr);
}

int Win32WindowSystem::run() {
    if (quit_posted_) return quit_status_;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window_.take_key(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return quit_posted_ ? quit_status_ : static_cast<int>(msg.wParam);
}

int Win32WindowSystem::dialog_box(int template_id, DialogProc proc) {
    const DialogTemplate* t = dialog_template(template_id);
    if (!t) return -1;
    return run_template_dialog(window_.frame(), *t, proc);
}

bool Win32WindowSystem::get_open_file_name(std::string& path, long& error) {
    return file_dialog(window_.frame(),
                       {false, L"DXF Files (*.dxf)\0*.dxf\0Drawing Xfer Files (*.dxf)\0*.dxf\0",
                        nullptr, L"Open drawing"},
                       path, error);
}

bool Win32WindowSystem::get_save_file_name(std::string& path, long& error) {
    return file_dialog(window_.frame(),
                       {true, L"DXF Files (*.dxf)\0*.dxf\0", L"dxf", L"Save as R12 DXF"}, path,
                       error);
}

bool Win32WindowSystem::get_save_csv_name(std::string& path, long& error) {
    return file_dialog(window_.frame(),
                       {true, L"CSV Files (*.csv)\0*.csv\0", L"csv", L"Export the jobs shown"},
                       path, error);
}

void Win32WindowSystem::run_table(const std::string& title, TableSource& source) {
    run_table_dialog(window_.frame(), title, source);
}

void Win32WindowSystem::message_box(const std::string& text, const std::string& caption,
                                    MessageIcon icon) {
    UINT shown = icon == MessageIcon::error     ? MB_ICONERROR
                 : icon == MessageIcon::warning ? MB_ICONWARNING
                                                : MB_ICONINFORMATION;
    ::MessageBoxW(window_.frame(), widen(text).c_str(), widen(caption).c_str(), MB_OK | shown);
}

bool Win32WindowSystem::text_dialog(TextFields&, const TextDialogHelp&) {
    message_box("New from text is not available in this build: it was made without the font "
                "libraries. Make the letters in a drawing program and open them as a DXF "
                "drawing.",
                "New from text", MessageIcon::information);
    return false;
}

bool Win32WindowSystem::ask_yes_no(const std::string& text, const std::string& caption) {
    return ::MessageBoxW(window_.frame(), widen(text).c_str(), widen(caption).c_str(),
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int Win32WindowSystem::choose(const std::string& text, const std::string& caption,
                              const std::vector<std::string>& buttons, int default_button,
                              int escape_button) {
    // A template made for the question: the text over a row of buttons at the right.
    constexpr int kButtonW = 56, kButtonH = 14, kGap = 6, kMargin = 10, kTextW = 260;
    int lines = 1, column = 0;
    for (char c : text) {
        column = c == '\n' ? 0 : column + 1;
        if (c == '\n' || column > 60) lines += 1, column = c == '\n' ? 0 : 1;
    }
    int n = static_cast<int>(buttons.size());
    int w = std::max(kTextW, n * (kButtonW + kGap)) + 2 * kMargin, text_h = lines * 9;
    std::vector<ControlDef> controls{{ControlKind::label, -1, text.c_str(), kMargin, kMargin,
                                      w - 2 * kMargin, text_h}};
    for (int k = 0; k < n; ++k)
        controls.push_back({k == default_button ? ControlKind::default_button : ControlKind::button,
                            kFirstChoice + k, buttons[static_cast<std::size_t>(k)].c_str(),
                            w - kMargin - (n - k) * (kButtonW + kGap) + kGap,
                            2 * kMargin + text_h, kButtonW, kButtonH});
    DialogTemplate t{0, caption.c_str(), w, 3 * kMargin + text_h + kButtonH, "MS Shell Dlg", 8,
                     controls};
    std::vector<uint16_t> words = dialog_template_words(t);
    Choice choice{default_button, escape_button};
    INT_PTR r = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                          reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                          window_.frame(), choice_proc,
                                          reinterpret_cast<LPARAM>(&choice));
    return r < 0 ? escape_button : static_cast<int>(r);
}

void Win32WindowSystem::show_command_button(int id, bool shown) {
    window_.show_command_button(id, shown);
}

void Win32WindowSystem::check_menu_item(int id, bool checked) {
    ::CheckMenuItem(window_.menu(), static_cast<UINT>(id),
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32WindowSystem::set_menu_item(int id, const std::string& label) {
    // A plain Win32 menu has no hidden items: an item without a label goes,
    // and one that went comes back before Exit.
    HMENU menu = window_.menu();
    UINT item = static_cast<UINT>(id);
    std::wstring text = widen(label);
    if (label.empty())
        ::DeleteMenu(menu, item, MF_BYCOMMAND);
    else if (!::ModifyMenuW(menu, item, MF_BYCOMMAND | MF_STRING, item, text.c_str()))
        ::InsertMenuW(menu, IDM_EXIT, MF_BYCOMMAND | MF_STRING, item, text.c_str());
    ::DrawMenuBar(window_.frame());
}

WindowPlacement Win32WindowSystem::window_placement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!::GetWindowPlacement(window_.frame(), &wp)) return {};
    const RECT& r = wp.rcNormalPosition;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top, wp.showCmd == SW_SHOWMAXIMIZED};
}

void Win32WindowSystem::set_window_placement(const WindowPlacement& p) {
    if (p.w <= 0 || p.h <= 0) return;
    RECT r{p.x, p.y, p.x + p.w, p.y + p.h};
    // Not where no screen shows it.
    if (!::MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) r = RECT{0, 0, p.w, p.h};
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.showCmd = p.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    wp.rcNormalPosition = r;
    ::SetWindowPlacement(window_.frame(), &wp);
}

void Win32WindowSystem::run_text_viewer(const std::string& path) {
    // A report or the job history, shown up to a bound that years of jobs stay
    // under and that a file that never ends reaches; past it, why not.
    std::string content, why;
    if (!read_small_file(path, 64 * 1024 * 1024, content, why)) content = why;
    show_text(path.substr(path.find_last_of("/\\") + 1), content);
}

void Win32WindowSystem::show_text(const std::string& name, const std::string& content) {
    // The edit control breaks lines at CR LF only.
    std::wstring text;
    for (wchar_t c : widen(content)) {
        if (c == L'\n' && (text.empty() || text.back() != L'\r')) text += L'\r';
        text += c;
    }
    // A template of one read-only edit field; the caption is the file's name.
    std::vector<uint16_t> words;
    auto dword = [&](DWORD v) {
        words.push_back(static_cast<uint16_t>(v & 0xffff));
        words.push_back(static_cast<uint16_t>(v >> 16));
    };
    auto text_of = [&](const std::wstring& s) {
        for (wchar_t c : s) words.push_back(static_cast<uint16_t>(c));
        words.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_CENTER | DS_MODALFRAME);
    dword(0);
    words.push_back(1);
    for (int v : {0, 0, 320, 240}) words.push_back(static_cast<uint16_t>(v));
    words.push_back(0);
    words.push_back(0);
    text_of(widen(name));
    if (words.size() % 2) words.push_back(0);
    dword(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
          ES_AUTOHSCROLL | ES_AUTOVSCROLL);
    dword(0);
    for (int v : {0, 0, 320, 240}) words.push_back(static_cast<uint16_t>(v));
    words.push_back(100);
    words.push_back(0xffff);
    words.push_back(0x0081);  // edit
    text_of(L"");
    words.push_back(0);
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                              reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), window_.frame(),
                              viewer_proc, reinterpret_cast<LPARAM>(&text));
}

void Win32WindowSystem::create_button(const char* label, int id, int x, int y, int w, int h) {
    window_.add_button(label, id, x, y, w, h);
}

void Win32WindowSystem::invalidate() { ::InvalidateRect(window_.client(), nullptr, TRUE); }

void Win32WindowSystem::set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical) {
    window_.set_scroll_bars(horizontal, vertical);
}

void Win32WindowSystem::set_window_title(const std::string& title) {
    ::SetWindowTextW(window_.frame(), widen(title).c_str());
}

void Win32WindowSystem::set_status_text(const std::string& text) { window_.set_status_text(text); }

bool Win32WindowSystem::set_look(const Look& look) {
    window_.set_look(look);
    return true;
}

void Win32WindowSystem::set_busy(bool busy) { window_.set_busy(busy); }

void Win32WindowSystem::set_progress(int value, int maximum) { window_.set_progress(value, maximum); }

void Win32WindowSystem::post_close() { ::PostMessageW(window_.frame(), WM_CLOSE, 0, 0); }

void Win32WindowSystem::destroy_window() {
    ::ShowWindow(window_.frame(), SW_HIDE);
    window_.send(Message{WindowMessage::destroy});
}

void Win32WindowSystem::post_quit(int status) {
    quit_posted_ = true;
    quit_status_ = status;
    ::PostQuitMessage(status);
}

void Win32WindowSystem::end_program(int status) {
    run_program_end_steps();
    std::exit(status);
}
