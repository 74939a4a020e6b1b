#include "panel_watch.h"

#include <commctrl.h>

#include "panel/resource.h"

PanelWatch panel_watch;
const int slider_ids[3] = {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER};
const int edit_ids[3] = {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT};

namespace {

// The panel's procedure, and the sliders' (the panel's own watch of them, then the trackbar's).
WNDPROC panel_procedure, slider_procedure;

int slot_of(const int (&ids)[3], int id)
{
    for (int slot = 0; slot < 3; ++slot)
        if (ids[slot] == id)
            return slot;
    return -1;
}

LRESULT CALLBACK watching_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    HWND control = reinterpret_cast<HWND>(lparam);
    if (message == WM_HSCROLL && panel_watch.reporting && slot_of(slider_ids, GetDlgCtrlID(control)) >= 0)
        panel_watch.reports.push_back({slot_of(slider_ids, GetDlgCtrlID(control)), LOWORD(wparam),
                                       static_cast<short>(SendMessageA(control, TBM_GETPOS, 0, 0)),
                                       GetKeyState(VK_CONTROL) < 0});
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED)
        panel_watch.clicked.push_back(LOWORD(wparam));
    if (message == WM_COMMAND && HIWORD(wparam) == EN_CHANGE && panel_watch.typing && panel_watch.depth == 0 &&
        slot_of(edit_ids, LOWORD(wparam)) >= 0 && GetFocus() == control) {
        char text[64] = {};
        GetWindowTextA(control, text, sizeof text);
        panel_watch.typed.push_back({slot_of(edit_ids, LOWORD(wparam)), text});
    }
    ++panel_watch.depth;
    const LRESULT result = CallWindowProcA(panel_procedure, panel, message, wparam, lparam);
    --panel_watch.depth;
    return result;
}

LRESULT CALLBACK documented_trackbar_proc(HWND slider, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_CAPTURECHANGED || !panel_watch.documented)
        return CallWindowProcA(slider_procedure, slider, message, wparam, lparam);
    for (int code : {TB_THUMBPOSITION, TB_ENDTRACK})
        if (panel_watch.dragging)
            SendMessageA(GetParent(slider), WM_HSCROLL, code, reinterpret_cast<LPARAM>(slider));
    panel_watch.dragging = false;
    return 0;
}

}  // namespace

void watch_panel(HWND panel)
{
    panel_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watching_panel_proc)));
    for (int id : slider_ids)
        slider_procedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(panel, id), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&documented_trackbar_proc)));
}
