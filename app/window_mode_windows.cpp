// The window: the program's message loop on Win32, after the command line
// and the program directory have been handled.
#include <clocale>

#include "app/modes.h"
#include "shell/window.h"
#include "windows/main_window.h"
#include "windows/win32_window_system.h"

int run_window(const CommandLine&) {
    // Started from the Start menu or Explorer, the program has a console
    // window of its own: it goes. One shared with a command prompt stays.
    DWORD processes[2];
    if (::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
    std::setlocale(LC_NUMERIC, "C");
    MainWindow window(zelWndProc);
    Win32WindowSystem ws(window);
    window.create(SW_SHOWDEFAULT);
    return ws.run();
}
