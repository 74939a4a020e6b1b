// The sliders' presses and stepping keys begin the panel's slider gestures.
// The watch is a subclass of the kind that works with every version of the
// common controls: the trackbar's own procedure, kept in a property of the
// slider, gets every message after the watch has looked at it.
#include "panel/slider_gesture.h"

#include "panel/panel_state.h"

namespace {

const char trackbar_procedure_property[] = "Kelvaro.TrackbarProcedure";

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
    const WNDPROC trackbar = reinterpret_cast<WNDPROC>(GetPropA(slider, trackbar_procedure_property));
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
        RemovePropA(slider, trackbar_procedure_property);
        break;
    default:
        break;
    }
    return CallWindowProcA(trackbar, slider, message, wparam, lparam);
}

}  // namespace

void watch_slider_gestures(HWND panel)
{
    for (const AxisControls& controls : axis_controls) {
        HWND slider = GetDlgItem(panel, controls.slider_id);
        if (slider == nullptr || GetPropA(slider, trackbar_procedure_property) != nullptr)
            continue;
        SetPropA(slider, trackbar_procedure_property,
                 reinterpret_cast<HANDLE>(GetWindowLongPtrA(slider, GWLP_WNDPROC)));
        SetWindowLongPtrA(slider, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watch_slider));
    }
}
