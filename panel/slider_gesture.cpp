// The sliders' presses and stepping keys begin the panel's slider gestures.
// The watch is a subclass of the kind that works with every version of the
// common controls: the trackbar's own procedure gets every message after the
// watch has looked at it. The procedures are kept here, one per axis, and not
// in a property of the slider: a drag step sends a slider several messages,
// and under Wine every GetProp is a round trip to the wineserver.
#include "panel/slider_gesture.h"

#include "panel/panel_state.h"

namespace {

// A watched slider and the trackbar procedure it had before the watch.
struct WatchedSlider {
    HWND slider;
    WNDPROC trackbar;
};

// By axis, in the order of axis_controls; a slider leaves its entry as it is
// destroyed. Only one panel lives at a time (create_panel_window makes one).
WatchedSlider watched_sliders[3] = {};

WatchedSlider* watched(HWND slider)
{
    for (WatchedSlider& entry : watched_sliders) {
        if (entry.slider == slider)
            return &entry;
    }
    return nullptr;
}

// The keys a trackbar steps by: each sends its step as it goes down and
// TB_ENDTRACK as it comes up (Microsoft's trackbar keyboard interface).
bool is_stepping_key(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return true;
    default:
        return false;
    }
}

// Bit 30 of a WM_KEYDOWN's lParam: the key was already down, so this is the
// keyboard's repeat, which belongs to the gesture the first press began.
bool is_repeat(LPARAM lparam)
{
    return (lparam & (1 << 30)) != 0;
}

void begin_gesture(HWND slider)
{
    panel_state.gesture = SliderGesture{GetDlgCtrlID(slider), false};
}

LRESULT CALLBACK watch_slider(HWND slider, UINT message, WPARAM wparam, LPARAM lparam)
{
    WatchedSlider* entry = watched(slider);
    const WNDPROC trackbar = entry != nullptr ? entry->trackbar : nullptr;
    if (trackbar == nullptr)  // never so: a slider leaves the watch as it leaves its entry
        return DefWindowProcA(slider, message, wparam, lparam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a double click, where the class asks for them
        begin_gesture(slider);
        break;
    case WM_KEYDOWN:
        if (is_stepping_key(wparam) && !is_repeat(lparam))
            begin_gesture(slider);
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(slider, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(trackbar));
        *entry = WatchedSlider{};
        break;
    default:
        break;
    }
    return CallWindowProcA(trackbar, slider, message, wparam, lparam);
}

}  // namespace

void watch_slider_gestures(HWND panel)
{
    for (size_t axis = 0; axis < 3; ++axis) {
        HWND slider = GetDlgItem(panel, axis_controls[axis].slider_id);
        if (slider == nullptr || watched(slider) != nullptr)
            continue;
        watched_sliders[axis] = WatchedSlider{
            slider, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(slider, GWLP_WNDPROC))};
        SetWindowLongPtrA(slider, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watch_slider));
    }
}
