#include "refhost/key_strip.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>

namespace {

const char* const strip_class_name = "KelvaroRefhostKeys";

}  // namespace

bool KeyStrip::create(HWND parent, int id, HWND time_slider)
{
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = window_proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_HAND);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = strip_class_name;
        registered = RegisterClassA(&wc) != 0;
    }
    slider_ = time_slider;
    window_ = CreateWindowExA(0, strip_class_name, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return window_ != nullptr;
}

void KeyStrip::show(const std::vector<float>& key_times, float current_time)
{
    key_times_ = key_times;
    current_time_ = current_time;
    if (window_ != nullptr)
        InvalidateRect(window_, nullptr, TRUE);
}

int KeyStrip::x_of(float time) const
{
    // The trackbar's channel, in the strip's coordinates (the strip stands
    // right under the trackbar).
    RECT channel = {};
    SendMessageA(slider_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    POINT left = {channel.left, 0}, right = {channel.right, 0};
    MapWindowPoints(slider_, window_, &left, 1);
    MapWindowPoints(slider_, window_, &right, 1);
    RECT thumb = {};
    SendMessageA(slider_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int half_thumb = (thumb.right - thumb.left) / 2;
    const double low = static_cast<double>(SendMessageA(slider_, TBM_GETRANGEMIN, 0, 0));
    const double high = static_cast<double>(SendMessageA(slider_, TBM_GETRANGEMAX, 0, 0));
    const double first = left.x + half_thumb, last = right.x - half_thumb;
    if (high <= low)
        return static_cast<int>(first);
    return static_cast<int>(std::lround(first + (time - low) * (last - first) / (high - low)));
}

void KeyStrip::paint(HDC dc)
{
    RECT area;
    GetClientRect(window_, &area);
    // Sized by the strip's height, which the host scales to the desktop's DPI.
    const int middle = area.bottom / 2, half = std::max<int>(2, (area.bottom - 4) / 2);
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(120, 80, 0));
    HBRUSH fill = CreateSolidBrush(RGB(255, 190, 40));
    HGDIOBJ old_pen = SelectObject(dc, outline);
    HGDIOBJ old_brush = SelectObject(dc, fill);
    for (float time : key_times_) {
        const int x = x_of(time);
        POINT diamond[] = {{x, middle - half}, {x + half, middle}, {x, middle + half}, {x - half, middle}};
        Polygon(dc, diamond, 4);
    }
    HPEN now = CreatePen(PS_SOLID, std::max<int>(2, area.bottom / 7), RGB(220, 30, 30));
    SelectObject(dc, now);
    const int x = x_of(current_time_);
    MoveToEx(dc, x, 0, nullptr);
    LineTo(dc, x, area.bottom);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(outline);
    DeleteObject(fill);
    DeleteObject(now);
}

LRESULT CALLBACK KeyStrip::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    KeyStrip* self = reinterpret_cast<KeyStrip*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<KeyStrip*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    return self != nullptr ? self->handle(message, wparam, lparam) : DefWindowProcA(window, message, wparam, lparam);
}

LRESULT KeyStrip::handle(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        paint(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const int x = static_cast<short>(LOWORD(lparam));
        const float* nearest = nullptr;
        for (const float& time : key_times_) {
            if (nearest == nullptr || std::abs(x_of(time) - x) < std::abs(x_of(*nearest) - x))
                nearest = &time;
        }
        if (nearest != nullptr && on_time_)
            on_time_(*nearest);
        return 0;
    }
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}
