// Putting a channel's values into its axis's slider and edit box, and enabling
// the controls that act on the linked joint.
#include "panel/panel_state.h"
#include <climits>
#include <commctrl.h>
#include "panel/resource.h"

namespace {

// A selection end as the trackbar takes it: a 16-bit word. A limit beyond the
// word's range (a stored record may hold anything a float holds) saturates at
// the word's ends instead of wrapping round to the other side.
WORD selection_word(float angle)
{
    int value = truncate_angle(angle);
    if (value > SHRT_MAX)
        value = SHRT_MAX;
    if (value < SHRT_MIN)
        value = SHRT_MIN;
    return static_cast<WORD>(value);
}

}  // namespace

void sync_axis_controls(int slider_id, bool set_position, bool set_text)
{
    const AxisControls* controls = axis_controls_for_slider(slider_id);
    HWND panel = panel_state.panel_window;
    if (controls == nullptr || panel == nullptr)
        return;
    const AxisChannel& channel = joint_link.*(controls->channel);
    if (set_text) {
        char text[64];
        format_angle(channel.current, text, sizeof text);
        // Sends EN_CHANGE back into the panel before it returns (Microsoft's
        // documentation of WM_SETTEXT on an edit control), also while the box
        // has the focus: marked as the program's, it is not taken as typing.
        panel_state.writing_edit = controls->edit_id;
        SetDlgItemTextA(panel, controls->edit_id, text);
        panel_state.writing_edit = 0;
    }
    if (set_position) {
        // Read again: the EN_CHANGE above may have run the panel's own handling.
        const AxisChannel& now = joint_link.*(controls->channel);
        SendDlgItemMessageA(panel, controls->slider_id, TBM_SETPOS, TRUE,
                            static_cast<LPARAM>(truncate_angle(now.current)));
    }
}

void show_axis_limits(int slider_id)
{
    const AxisControls* controls = axis_controls_for_slider(slider_id);
    HWND panel = panel_state.panel_window;
    if (controls == nullptr || panel == nullptr)
        return;
    const AxisChannel& channel = joint_link.*(controls->channel);
    SendDlgItemMessageA(panel, controls->slider_id, TBM_SETSEL, TRUE,
                        MAKELONG(selection_word(channel.minimum), selection_word(channel.maximum)));
}

void set_joint_controls_enabled(BOOL enable)
{
    HWND panel = panel_state.panel_window;
    if (panel == nullptr)
        return;
    const int ids[] = {IDC_YAW_EDIT, IDC_PITCH_EDIT, IDC_ROLL_EDIT, IDC_YAW_SLIDER,
                       IDC_PITCH_SLIDER, IDC_ROLL_SLIDER, IDC_RESET};
    for (int id : ids)
        EnableWindow(GetDlgItem(panel, id), enable);
}
