// The window: the program's message loop on Win32, after the command line
// and the program directory have been handled.
#include <clocale>
#include <cstdio>

#include "app/modes.h"
#include "resources/strings.h"
#include "shell/window.h"
#include "windows/main_window.h"
#include "windows/win32_window_system.h"

int refuse_window(const std::string& why) {
    std::fprintf(stderr, "zel: %s\n", why.c_str());
    ::MessageBoxW(nullptr, widen(why).c_str(), widen(kProductName).c_str(), MB_OK | MB_ICONERROR);
    return 1;
}

int run_window(const CommandLine&) {
    // Started from the Start menu or Explorer, the program has a console
    // window of its own: it goes. One shared with a command prompt stays.
    DWORD processes[2];
    if (::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
    std::setlocale(LC_NUMERIC, "C");
    MainWindow window(zelWndProc);
    Win32WindowSystem ws(window);
    window.create(SW_SHOWDEFAULT);
    window.send(Message{WindowMessage::shown});
    return ws.run();
}
