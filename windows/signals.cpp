// platform/signals.h on Windows: Ctrl+C, Ctrl+Break and the console window's
// close (a program started from a console) end the program the way closing
// its window does. The window layer looks at the request with its timer.
#include "platform/signals.h"

#include <atomic>

#include "windows/win32.h"

namespace {

std::atomic<bool> requested{false};
std::atomic<DWORD> console_event{~DWORD(0)};
std::atomic<const char*> other_cause{nullptr};

BOOL WINAPI on_console_event(DWORD event) {
    DWORD none = ~DWORD(0);
    console_event.compare_exchange_strong(none, event);
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

std::string termination_cause() {
    switch (console_event.load()) {
    case CTRL_C_EVENT: return "Ctrl+C";
    case CTRL_BREAK_EVENT: return "Ctrl+Break";
    case CTRL_CLOSE_EVENT: return "the console's close";
    case CTRL_LOGOFF_EVENT: return "the end of the session";
    case CTRL_SHUTDOWN_EVENT: return "the shutdown of the computer";
    default: return other_cause ? other_cause.load() : "";
    }
}

void terminate_for(const char* cause) {
    const char* none = nullptr;
    other_cause.compare_exchange_strong(none, cause);
    requested = true;
}
