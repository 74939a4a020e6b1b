#include "simhost/host_main_window.h"

namespace {

const char host_main_class[] = "KelvaroHostMain";

}  // namespace

HWND create_host_main_window()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA window_class = {};
    if (!GetClassInfoA(instance, host_main_class, &window_class)) {
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = instance;
        window_class.lpszClassName = host_main_class;
        RegisterClassA(&window_class);
    }
    return CreateWindowA(host_main_class, "Host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                         instance, nullptr);
}
