#include "bench/drag/floor_dialog.h"

#include <commctrl.h>
#include <cstdio>
#include <initializer_list>

#include "panel/resource.h"

namespace {

int edit_of_slider(int slider_id)
{
    switch (slider_id) {
    case IDC_PITCH_SLIDER: return IDC_PITCH_EDIT;
    case IDC_YAW_SLIDER: return IDC_YAW_EDIT;
    case IDC_ROLL_SLIDER: return IDC_ROLL_EDIT;
    default: return 0;
    }
}

BOOL on_init_dialog(HWND dialog)
{
    for (int slider_id : {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER}) {
        SendDlgItemMessageA(dialog, slider_id, TBM_SETRANGE, TRUE, MAKELPARAM(-180, 180));
        SendDlgItemMessageA(dialog, slider_id, TBM_SETPOS, TRUE, 0);
    }
    return TRUE;
}

// The slider's position as the box's text.
void show_slider_position(HWND dialog, HWND slider)
{
    const int position = static_cast<short>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    char text[32];
    snprintf(text, sizeof text, "%6f", static_cast<double>(static_cast<float>(position)));
    SetDlgItemTextA(dialog, edit_of_slider(GetDlgCtrlID(slider)), text);
}

BOOL on_hscroll(HWND dialog, WPARAM wparam, LPARAM lparam)
{
    if (LOWORD(wparam) != TB_THUMBTRACK)
        return FALSE;
    show_slider_position(dialog, reinterpret_cast<HWND>(lparam));
    return TRUE;
}

BOOL on_command(WPARAM wparam)
{
    // The edit boxes' EN_CHANGE arrives here, inside SetWindowText.
    return HIWORD(wparam) == EN_CHANGE;
}

INT_PTR CALLBACK bare_floor_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog(dialog);
    case WM_HSCROLL:
        return on_hscroll(dialog, wparam, lparam);
    case WM_COMMAND:
        return on_command(wparam);
    default:
        return FALSE;
    }
}

// As the panel does: a step with Ctrl held would open the limits dialog
// instead, which the floor has not got. (Whether a step belongs to a gesture
// the panel tells from its own state, without asking the window system.)
BOOL on_asking_hscroll(HWND dialog, WPARAM wparam, LPARAM lparam)
{
    if (LOWORD(wparam) != TB_THUMBTRACK)
        return FALSE;
    if (GetKeyState(VK_CONTROL) < 0)
        return TRUE;
    show_slider_position(dialog, reinterpret_cast<HWND>(lparam));
    return TRUE;
}

// As the panel does: the focus tells a typed text from a written one. The
// floor has nothing to do with either, so the answer goes unused.
BOOL on_asking_command(WPARAM wparam)
{
    if (HIWORD(wparam) != EN_CHANGE)
        return FALSE;
    GetFocus();
    return TRUE;
}

INT_PTR CALLBACK asking_floor_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog(dialog);
    case WM_HSCROLL:
        return on_asking_hscroll(dialog, wparam, lparam);
    case WM_COMMAND:
        return on_asking_command(wparam);
    default:
        return FALSE;
    }
}

}  // namespace

HWND create_floor_dialog(HMODULE template_module, HWND owner, FloorKind kind)
{
    DLGPROC procedure = kind == FloorKind::asking ? asking_floor_proc : bare_floor_proc;
    HWND dialog = CreateDialogParamA(template_module, MAKEINTRESOURCEA(IDD_JOINT_PANEL), owner, procedure, 0);
    if (dialog != nullptr)
        ShowWindow(dialog, SW_SHOW);
    return dialog;
}
