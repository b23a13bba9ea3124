// platform/signals.h on Windows: Ctrl+C, Ctrl+Break and the console window's
// close (a program started from a console) end the program the way closing
// its window does. The window layer looks at the request with its timer.
#include "platform/signals.h"

#include <atomic>

#include "windows/win32.h"

namespace {

std::atomic<bool> requested{false};

BOOL WINAPI on_console_event(DWORD event) {
    requested = true;
    // The system ends the process when the handler returns from a close:
    // give the program's own end a few seconds first.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::Sleep(4000);
    return TRUE;
}

}  // namespace

void catch_termination() { ::SetConsoleCtrlHandler(on_console_event, TRUE); }

bool termination_requested() { return requested; }

int termination_fd() { return -1; }
