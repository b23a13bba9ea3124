#include "shell/window.h"

#include "shell/notice.h"
#include "shell/view.h"

void show_notices() {
    for (const std::string& text : take_notices())
        window_system().message_box(text, "zel", MessageIcon::warning);
}

int zelWndProc(const Message& m) {
    WindowSystem& ws = window_system();
    switch (m.message) {
    case WindowMessage::paint:
        if (m.canvas) zelPaint(*m.canvas);
        return 0;
    case WindowMessage::close: ws.destroy_window(); return 0;
    case WindowMessage::destroy: ws.post_quit(0); return 0;
    case WindowMessage::query_end_session: return 1;
    default: return 0;
    }
}
