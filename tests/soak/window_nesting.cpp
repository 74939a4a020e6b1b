#include "window_nesting.h"

#include <windows.h>

namespace {

constexpr UINT probe_message = WM_APP + 7;
int deepest = 0;

LRESULT CALLBACK probe_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != probe_message)
        return DefWindowProcA(window, message, wparam, lparam);
    const int depth = static_cast<int>(wparam);
    if (depth > deepest)
        deepest = depth;
    if (depth < window_nesting_probe_depth)
        SendMessageA(window, probe_message, depth + 1, 0);
    return 1;
}

HWND probe_window()
{
    static HWND window = [] {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = probe_proc;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "KelvaroSoakNestingProbe";
        RegisterClassA(&window_class);
        return CreateWindowA(window_class.lpszClassName, "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                             window_class.hInstance, nullptr);
    }();
    return window;
}

}  // namespace

int window_nesting_left()
{
    deepest = 0;
    SendMessageA(probe_window(), probe_message, 1, 0);
    return deepest;
}
