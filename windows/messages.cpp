#include "windows/messages.h"

#include <algorithm>
#include <windowsx.h>

int mouse_modifiers(WPARAM wp) {
    return (wp & MK_SHIFT ? kShiftHeld : 0) | (wp & MK_CONTROL ? kControlHeld : 0);
}

int key_modifiers() {
    return (::GetKeyState(VK_SHIFT) < 0 ? kShiftHeld : 0) |
           (::GetKeyState(VK_CONTROL) < 0 ? kControlHeld : 0);
}

bool mouse_message(UINT message, WPARAM wp, LPARAM lp, POINT client_origin, Message& out) {
    WindowMessage kind;
    switch (message) {
    case WM_LBUTTONDOWN: kind = WindowMessage::left_button_down; break;
    case WM_LBUTTONUP: kind = WindowMessage::left_button_up; break;
    case WM_MBUTTONDOWN: kind = WindowMessage::middle_button_down; break;
    case WM_MBUTTONUP: kind = WindowMessage::middle_button_up; break;
    case WM_MOUSEMOVE:
        if (!(wp & (MK_LBUTTON | MK_MBUTTON))) return false;
        kind = WindowMessage::mouse_move;
        break;
    case WM_MOUSEWHEEL:
        if (GET_WHEEL_DELTA_WPARAM(wp) == 0) return false;
        kind = WindowMessage::mouse_wheel;
        break;
    default: return false;
    }
    out = Message{kind};
    out.x = GET_X_LPARAM(lp);
    out.y = GET_Y_LPARAM(lp);
    out.keys = mouse_modifiers(GET_KEYSTATE_WPARAM(wp));
    if (kind == WindowMessage::mouse_wheel) {
        out.x -= client_origin.x;
        out.y -= client_origin.y;
        out.delta = GET_WHEEL_DELTA_WPARAM(wp);
    }
    return true;
}

int key_code(WPARAM vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return static_cast<int>(vk);
    switch (vk) {
    case VK_ESCAPE: return kKeyEscape;
    case VK_F5: return kKeyF5;
    case VK_F1: return kKeyF1;
    case VK_PRIOR: return kKeyPageUp;
    case VK_NEXT: return kKeyPageDown;
    case VK_LEFT: return kKeyLeft;
    case VK_RIGHT: return kKeyRight;
    case VK_ADD:
    case VK_OEM_PLUS: return kKeyPlus;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: return kKeyMinus;
    default: return 0;
    }
}

int scroll_target(int request, const SCROLLINFO& now, int line) {
    int page = static_cast<int>(now.nPage);
    int last = std::max(now.nMin, now.nMax - std::max(page, 1) + 1);
    int to = now.nPos;
    switch (request) {
    case SB_LINELEFT: to -= line; break;
    case SB_LINERIGHT: to += line; break;
    case SB_PAGELEFT: to -= std::max(page, line); break;
    case SB_PAGERIGHT: to += std::max(page, line); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: to = now.nTrackPos; break;
    case SB_LEFT: to = now.nMin; break;
    case SB_RIGHT: to = last; break;
    default: break;
    }
    return std::clamp(to, now.nMin, last);
}

bool is_input(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}
