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
    error = 0;
    std::wstring file = backslashes(widen(path));
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window_.frame();
    ofn.lpstrFilter = L"DXF Files (*.dxf)\0*.dxf\0Drawing Xfer Files (*.dxf)\0*.dxf\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = L"OPENFILENAME";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn)) {
        error = static_cast<long>(::CommDlgExtendedError());
        return false;
    }
    path = forward_slashes(narrow(file.c_str()));
    return true;
}

void Win32WindowSystem::message_box(const std::string& text, const std::string& caption,
                                    MessageIcon icon) {
    UINT shown = icon == MessageIcon::error     ? MB_ICONERROR
                 : icon == MessageIcon::warning ? MB_ICONWARNING
                                                : MB_ICONINFORMATION;
    ::MessageBoxW(window_.frame(), widen(text).c_str(), widen(caption).c_str(), MB_OK | shown);
}

bool Win32WindowSystem::ask_yes_no(const std::string& text, const std::string& caption) {
    return ::MessageBoxW(window_.frame(), widen(text).c_str(), widen(caption).c_str(),
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void Win32WindowSystem::run_text_viewer(const std::string& path) {
    // A report or the job history, shown up to a bound that years of jobs stay
    // under and that a file that never ends reaches; past it, why not.
    std::string content, why;
    if (!read_small_file(path, 64 * 1024 * 1024, content, why)) content = why;
    // The edit control breaks lines at CR LF only.
    std::wstring text;
    for (wchar_t c : widen(content)) {
        if (c == L'\n' && (text.empty() || text.back() != L'\r')) text += L'\r';
        text += c;
    }
    std::string name = path.substr(path.find_last_of("/\\") + 1);
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
