#include "desktop/real_input.h"

#include <commctrl.h>

#include "desktop/message_pump.h"

namespace {

void send_mouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void send_key(WORD virtual_key, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Absolute mouse coordinates run 0..65535 over the primary screen; rounding
// up lands on the intended pixel.
LONG normalised(LONG pixel, int screen_size)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screen_size - 1) / screen_size);
}

// A window takes no input while it or any window it sits in is disabled
// (a modal dialog disables its owner, and with it the owner's controls).
bool enabled_with_its_parents(HWND window)
{
    for (HWND w = window; w != nullptr; w = GetAncestor(w, GA_PARENT)) {
        if (w == GetDesktopWindow())
            break;
        if (!IsWindowEnabled(w))
            return false;
    }
    return true;
}

}  // namespace

void activate_for_input(HWND top_level, HWND focus)
{
    SetForegroundWindow(top_level);
    SetActiveWindow(top_level);
    if (focus != nullptr)
        SetFocus(focus);
}

POINT to_screen(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

void move_cursor(POINT screen)
{
    send_mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
               normalised(screen.x, GetSystemMetrics(SM_CXSCREEN)),
               normalised(screen.y, GetSystemMetrics(SM_CYSCREEN)));
}

void move_cursor_and_wait(POINT screen)
{
    // Moves still queued together would reach a window as one.
    move_cursor(screen);
    pump_until([&] {
        POINT at;
        GetCursorPos(&at);
        MSG msg;
        return at.x == screen.x && at.y == screen.y &&
               !PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE);
    }, 1000);
}

void press_left_button()
{
    send_mouse(MOUSEEVENTF_LEFTDOWN);
}

void release_left_button()
{
    send_mouse(MOUSEEVENTF_LEFTUP);
}

void click_at(POINT screen)
{
    move_cursor(screen);
    press_left_button();
    release_left_button();
}

bool reaches(HWND window, POINT screen, const char** why_not)
{
    const char* reason = nullptr;
    if (screen.x < 0 || screen.y < 0 || screen.x >= GetSystemMetrics(SM_CXSCREEN) ||
        screen.y >= GetSystemMetrics(SM_CYSCREEN))
        reason = "the point is off the screen";
    else if (!enabled_with_its_parents(window))
        reason = "the window is disabled";
    else if (WindowFromPoint(screen) != window)
        reason = "another window, a border or a caption is there";
    if (why_not != nullptr)
        *why_not = reason;
    return reason == nullptr;
}

POINT center_of(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    return to_screen(window, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

POINT thumb_center(HWND slider)
{
    // Wine's trackbar works out where its thumb is when it paints.
    UpdateWindow(slider);
    RECT thumb = {};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return to_screen(slider, {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2});
}

POINT channel_point(HWND slider, int offset_from_thumb)
{
    RECT channel = {};
    SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    POINT thumb = thumb_center(slider);
    POINT on_channel = to_screen(slider, {0, (channel.top + channel.bottom) / 2});
    return {thumb.x + offset_from_thumb, on_channel.y};
}

bool drag_thumb(HWND slider, int dx, int steps, bool release, const char** why_not)
{
    POINT start = thumb_center(slider);
    if (!reaches(slider, start, why_not))
        return false;
    move_cursor(start);
    press_left_button();
    for (int i = 1; i <= steps; ++i)  // each move handled before the next is sent
        move_cursor_and_wait({start.x + dx * i / steps, start.y});
    if (release)
        release_left_button();
    return true;
}

void key_down(WORD virtual_key)
{
    send_key(virtual_key, 0);
}

void key_up(WORD virtual_key)
{
    send_key(virtual_key, KEYEVENTF_KEYUP);
}

void press_key(WORD virtual_key)
{
    key_down(virtual_key);
    key_up(virtual_key);
}

void type_text(const char* text)
{
    for (const char* c = text; *c != '\0'; ++c) {
        SHORT scan = VkKeyScanA(*c);
        if (scan == -1)
            continue;
        bool shift = (scan & 0x100) != 0;
        if (shift)
            key_down(VK_SHIFT);
        press_key(LOBYTE(scan));
        if (shift)
            key_up(VK_SHIFT);
    }
}
