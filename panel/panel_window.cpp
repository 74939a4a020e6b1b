// The floating joint panel: a modeless dialog owned by the host's main window.
// Slider moves, typed angles and the buttons become operations on the linked
// joint; the panel keeps its own screen position and can roll itself up to
// its caption (AutoShade).
#include "panel/panel_window.h"

#include <commctrl.h>

#include "joint/unwind_guard.h"
#include "module/module_instance.h"
#include "panel/limits_dialog.h"
#include "panel/panel_state.h"
#include "panel/resource.h"
#include "panel/slider_gesture.h"

namespace {

constexpr int slider_page = 30;       // degrees a click into the channel moves
constexpr int slider_range = 180;     // each slider runs -180..180
constexpr int edit_text_limit = 11;   // "-180.000000"
constexpr int edit_text_size = edit_text_limit + 1;
constexpr UINT_PTR autoshade_event = 1;
constexpr UINT autoshade_period = 100;  // milliseconds
constexpr int rolled_up_width = 120;    // pixels

// True while the limits dialog runs. Its modal loop may still deliver the
// sliders' notifications, and none of them may open a second dialog, change
// the axis the dialog works on, or take the focus away from the dialog's fields.
bool limits_dialog_open = false;
// The host's window was disabled already when the dialog opened (by a modal
// dialog of the host's own): the dialog's end leaves it so.
bool host_disabled_before_dialog = false;

LRESULT send_item(HWND window, int id, UINT message, WPARAM wparam, LPARAM lparam)
{
    return SendDlgItemMessageA(window, id, message, wparam, lparam);
}

// ---- WM_INITDIALOG -------------------------------------------------------

void place_from_registry(HWND window)
{
    RECT frame;
    GetWindowRect(window, &frame);
    panel_state.full_width = frame.right - frame.left;
    panel_state.full_height = frame.bottom - frame.top;
    uint32_t packed = load_panel_position();
    int x = packed & 0xFFFF;
    int y = packed >> 16;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

BOOL on_init_dialog(HWND window)
{
    static const int edits[] = {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT};
    static const int sliders[] = {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER};
    static const int sliders_for_position[] = {IDC_YAW_SLIDER, IDC_PITCH_SLIDER, IDC_ROLL_SLIDER};
    static const int edits_for_text[] = {IDC_YAW_EDIT, IDC_PITCH_EDIT, IDC_ROLL_EDIT};

    for (int id : edits)
        send_item(window, id, EM_LIMITTEXT, edit_text_limit, 0);
    for (int id : sliders)
        send_item(window, id, TBM_SETPAGESIZE, 0, slider_page);
    for (int id : sliders) {
        send_item(window, id, TBM_SETRANGE, TRUE, MAKELONG(-slider_range, slider_range));
        send_item(window, id, TBM_SETSEL, TRUE, MAKELONG(-slider_range, slider_range));
    }
    for (int id : sliders_for_position)
        send_item(window, id, TBM_SETPOS, TRUE, 0);
    for (int id : sliders) {
        send_item(window, id, TBM_SETTIC, 0, -90);
        send_item(window, id, TBM_SETTIC, 0, 0);
        send_item(window, id, TBM_SETTIC, 0, 90);
    }
    for (int id : edits_for_text)
        SetDlgItemTextA(window, id, "0.000000");

    place_from_registry(window);

    send_item(window, IDC_AUTOSHADE, BM_SETCHECK, BST_UNCHECKED, 0);
    panel_state.timer_id = 0;
    watch_slider_gestures(window);
    return TRUE;
}

// ---- WM_MOVE -------------------------------------------------------------

// The stored corner is the window's own, read from the window: lParam holds
// the client area's corner, and the panel has the small caption of a tool
// window, so no caption metric leads back from one to the other exactly.
void on_move(HWND window)
{
    RECT frame;
    GetWindowRect(window, &frame);
    store_panel_position(pack_panel_position(frame.left, frame.top));
}

// ---- WM_HSCROLL ----------------------------------------------------------

// However the dialog's step ends, also when a host exception from the
// application after OK unwinds it: the host window is as the dialog found it
// and has the focus (SetFocus fails on a window the host keeps disabled), and
// the sliders answer again. The dialog ends the drag that opened it: the modal
// dialog took the capture from the slider (on Windows as under Wine), and
// nothing that drag still reports counts.
void finish_limits_dialog(void*)
{
    forget_slider_gesture();
    if (!host_disabled_before_dialog)
        EnableWindow(panel_state.host_window, TRUE);
    SetFocus(panel_state.host_window);
    limits_dialog_open = false;
}

// The dialog's answer belongs to the joint it was opened on. A relink in its
// modal loop (the host notifies while the dialog runs) to another joint, or
// none, leaves the answer with nowhere to go: no joint, limit or key changes,
// and the panel shows the joint linked now. A relink to the same joint (a
// refresh when the time moved) keeps the answer for it.
void open_limits_dialog(HWND window)
{
    HostPart* const opened_on = joint_link.part;
    const bool turned = panel_state.gesture.turned;
    limits_dialog_open = true;
    UnwindGuard finish(&finish_limits_dialog, nullptr);
    // EnableWindow answers whether the window was disabled before.
    host_disabled_before_dialog = EnableWindow(panel_state.host_window, FALSE) != FALSE;
    INT_PTR result = DialogBoxParamA(module_instance, MAKEINTRESOURCEA(IDD_LIMITS_DIALOG), window,
                                     limits_dialog_proc, 0);
    const bool same_joint = opened_on != nullptr && joint_link.part == opened_on;
    // DialogBoxParam answers -1 when it could not make the dialog: that is no OK.
    if (result == 1 && same_joint) {
        // The angle is applied and keyed before the limits go to the shape,
        // so that a host failing to store them leaves the pose shown, applied
        // and keyed. A relink before the panel closes (the timeline moved,
        // say) reloads the limits from the shape.
        show_axis_limits(joint_link.active_slider);
        sync_axis_controls(joint_link.active_slider, true, true);
        apply_axis_change();
        auto_key();
        if (joint_link.shape != nullptr)
            save_limits();
        return;
    }
    // The drag that opened the dialog has already moved the thumb; the angle
    // has not changed, so the thumb goes back to it. The dialog ended that
    // drag: if it turned the joint before the dialog, this is its let-go's
    // key. A cancel with nothing turned keys nothing, so the animation is
    // left as it was.
    sync_axis_controls(joint_link.active_slider, true, false);
    if (turned && same_joint)
        auto_key();
}

// The slider's whole-degree position as the axis's angle, kept within its
// limits: at a limit the angle takes the limit's exact value while the slider
// shows it truncated. A step held at a limit, or on an axis pinned by its
// limits, turns nothing.
void take_slider_position(HWND slider, AxisChannel& channel)
{
    float angle = static_cast<short>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    if (angle < channel.minimum) {
        SendMessageA(slider, TBM_SETPOS, TRUE, truncate_angle(channel.minimum));
        angle = channel.minimum;
    }
    if (angle > channel.maximum) {
        SendMessageA(slider, TBM_SETPOS, TRUE, truncate_angle(channel.maximum));
        angle = channel.maximum;
    }
    channel.current = angle;
    sync_axis_controls(joint_link.active_slider, false, true);
    const bool turns = channel.current != channel.last_applied;
    apply_axis_change();
    if (turns)
        panel_state.gesture.turned = true;
}

// A let-go: its first end ends the gesture, and the pose is keyed. The slider
// needs the mouse capture no more: it is given back before the host is called
// (Wine's trackbar lets it go only after this notification returns), so that a
// host failure in the key cannot leave a slider that holds the capture with
// the button up and tracks every move of the mouse. Then the host gets the
// focus back; a host that keeps its window disabled leaves it with the slider,
// which changes nothing: only a new press or key begins a gesture.
void on_end_track(HWND slider)
{
    forget_slider_gesture();
    if (GetCapture() == slider)
        ReleaseCapture();
    auto_key();
    SetFocus(panel_state.host_window);
}

// Where the thumb moved without turning the joint, it goes back to the angle,
// so that the next page or drag turns from the angle the joint has.
void put_thumb_at_angle(HWND slider, const AxisChannel& channel)
{
    SendMessageA(slider, TBM_SETPOS, TRUE, truncate_angle(channel.current));
}

BOOL on_hscroll(HWND window, WPARAM wparam, LPARAM lparam)
{
    if (limits_dialog_open)
        return TRUE;
    HWND slider = reinterpret_cast<HWND>(lparam);
    const int slider_id = GetDlgCtrlID(slider);
    AxisChannel* channel = axis_channel(slider_id);
    if (channel == nullptr)
        return FALSE;
    // What a slider reports outside a gesture of its own turns, opens and
    // keys nothing: Wine's second TB_ENDTRACK as the capture goes; after the
    // limits dialog, a capture taken by another window or a host failure, the
    // late let-go and the thumb steps of a drag Wine's trackbar still tracks
    // with the button up; whatever the mouse wheel makes of a slider.
    if (panel_state.gesture.slider_id != slider_id) {
        put_thumb_at_angle(slider, *channel);
        return TRUE;
    }

    joint_link.active_slider = slider_id;
    switch (LOWORD(wparam)) {
    case TB_THUMBTRACK:
        if (GetKeyState(VK_CONTROL) < 0) {
            open_limits_dialog(window);
            return TRUE;
        }
        take_slider_position(slider, *channel);
        return TRUE;
    case TB_PAGEUP:
    case TB_PAGEDOWN:
        take_slider_position(slider, *channel);
        return TRUE;
    case TB_ENDTRACK:
        on_end_track(slider);
        return TRUE;
    case TB_LINEUP:
    case TB_LINEDOWN:
    case TB_TOP:
    case TB_BOTTOM:
        // The arrows, Home and End step the thumb alone; the joint turns by
        // pages and drags. Their let-go still keys.
        put_thumb_at_angle(slider, *channel);
        return FALSE;
    default:
        return FALSE;
    }
}

// ---- WM_COMMAND ----------------------------------------------------------

// The guide goes with the panel, and so does what a host failure left begun of
// it, which remove_guide ends even when no guide part was handed over.
void hide_panel(HWND window)
{
    if (joint_link.shape != nullptr)
        save_limits();
    remove_guide();
    ShowWindow(window, SW_HIDE);
    panel_state.shown = 0;
}

void save_edit_text(int edit_id, HWND edit)
{
    if (const AxisControls* controls = axis_controls_for_edit(edit_id))
        GetWindowTextA(edit, saved_text_of(*controls), edit_text_size);
}

// The edit notifications. The program's own texts (a relink, UNDO, RESET, a
// slider's step, the limits dialog) are marked while they are written, and
// only saved, also in the box that has the focus and also while the panel is
// hidden: opening relinks before the panel counts as open, and the dialog
// gives the focus back to the box that had it as the panel is activated, so
// what a box puts back is always the text it showed. Otherwise, while the
// panel is open, a change in the box that has the focus is the user's (a
// keystroke, a paste, or the panel's rewrite of a typed text, which commits
// in turn) and a change in another box is saved.
BOOL on_edit_notification(int edit_id, int code, HWND edit)
{
    switch (code) {
    case EN_SETFOCUS:
        save_edit_text(edit_id, edit);
        return TRUE;
    case EN_CHANGE:
        if (panel_state.writing_edit == edit_id)
            save_edit_text(edit_id, edit);
        else if (!panel_state.shown)
            return FALSE;  // typing into a hidden panel counts for nothing
        else if (GetFocus() == edit)
            commit_axis_edit(edit_id);
        else
            save_edit_text(edit_id, edit);
        return TRUE;
    default:
        return FALSE;
    }
}

void on_autoshade(HWND window)
{
    if (send_item(window, IDC_AUTOSHADE, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        panel_state.timer_id = SetTimer(window, autoshade_event, autoshade_period, nullptr);
    } else {
        KillTimer(window, panel_state.timer_id);
        panel_state.timer_id = 0;
        // Unticked while rolled up (the box keeps the focus, so the space bar
        // reaches it), the panel would stay a strip: it comes back whole.
        SetWindowPos(window, nullptr, 0, 0, panel_state.full_width, panel_state.full_height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL on_command(HWND window, WPARAM wparam, LPARAM lparam)
{
    int id = LOWORD(wparam);
    switch (id) {
    case IDOK:
    case IDCANCEL:
        hide_panel(window);
        return TRUE;
    case IDC_UNDO:
        undo();
        SetFocus(panel_state.host_window);
        return TRUE;
    case IDC_RESET:
        reset();
        SetFocus(panel_state.host_window);
        return TRUE;
    case IDC_YAW_EDIT:
    case IDC_PITCH_EDIT:
    case IDC_ROLL_EDIT:
        return on_edit_notification(id, HIWORD(wparam), reinterpret_cast<HWND>(lparam));
    case IDC_AUTOSHADE:
        on_autoshade(window);
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- WM_TIMER: AutoShade -------------------------------------------------

// Full size while the cursor is on the panel (edges included), else a strip
// of the small caption and the frame.
void on_timer(HWND window)
{
    POINT cursor;
    RECT frame;
    GetCursorPos(&cursor);
    GetWindowRect(window, &frame);
    bool inside = frame.left <= cursor.x && cursor.x <= frame.right && frame.top <= cursor.y &&
                  cursor.y <= frame.bottom;
    int width = panel_state.full_width;
    int height = panel_state.full_height;
    if (!inside) {
        width = rolled_up_width;
        height = GetSystemMetrics(SM_CYSMCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    }
    SetWindowPos(window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

INT_PTR CALLBACK panel_dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog(window);
    case WM_MOVE:
        on_move(window);
        return FALSE;
    case WM_HSCROLL:
        return on_hscroll(window, wparam, lparam);
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    case WM_TIMER:
        on_timer(window);
        return FALSE;
    default:
        return FALSE;
    }
}

void create_panel_window(HostApplication* host_object)
{
    if (panel_state.panel_window != nullptr)
        return;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    // A host that gives no object gets a panel without an owner.
    panel_state.host_window = host_object != nullptr ? host_object->main_window() : nullptr;
    panel_state.panel_window =
        CreateDialogParamA(module_instance, MAKEINTRESOURCEA(IDD_JOINT_PANEL),
                           panel_state.host_window, panel_dialog_proc, 0);
    if (panel_state.panel_window != nullptr)
        ShowWindow(panel_state.panel_window, SW_HIDE);
    panel_state.shown = 0;
}

void destroy_panel_window()
{
    if (panel_state.panel_window == nullptr)
        return;
    if (panel_state.timer_id != 0) {
        KillTimer(panel_state.panel_window, panel_state.timer_id);
        panel_state.timer_id = 0;
    }
    DestroyWindow(panel_state.panel_window);
    panel_state.panel_window = nullptr;
    panel_state.shown = 0;
}
