#pragma once
// What the panel shares with the rest of the module: its process-wide state,
// the table that ties each axis to its controls, and the operations that put a
// channel's values into those controls.
#include <cstddef>
#include <windows.h>
#include "joint/joint_link.h"

// The slider gesture under way, decided from what the user did: a press on a
// slider, or a key that steps a focused one, begins it; its first TB_ENDTRACK,
// the limits dialog, a new press or key, or a link to another joint ends it.
// Only what a slider reports inside its gesture moves the joint or keys it;
// where the focus and the capture are does not decide it.
struct SliderGesture {
    int slider_id = 0;    // the slider pressed or keyed; 0 while no gesture is under way
    bool turned = false;  // a step of it has turned the joint
};

struct PanelState {
    HWND panel_window = nullptr;
    HWND host_window = nullptr;  // owner; gets the focus back after drags and buttons
    int shown = 0;               // 1 while the panel is open for the user
    UINT_PTR timer_id = 0;       // the AutoShade timer; 0 while none runs
    int full_width = 0;          // outer size measured at WM_INITDIALOG
    int full_height = 0;
    // Per axis, in the order of axis_controls (Pitch, Yaw, Roll): the text its
    // edit box had when it got the focus, or that the program last wrote into
    // it; what the box puts back when the user's text is no number.
    char saved_text[3][20] = {};
    // The edit box the program is writing into, 0 while none: its EN_CHANGE
    // is no typing, whichever box has the focus.
    int writing_edit = 0;
    SliderGesture gesture;
};

extern PanelState panel_state;

// Ends the slider gesture under way, if any, with nothing keyed: what it
// turned on one joint is never keyed on another.
void forget_slider_gesture();

// One axis's controls. Walks over all axes go Pitch, Yaw, Roll.
struct AxisControls {
    int slider_id;
    int edit_id;
    AxisChannel JointLink::*channel;
};

extern const AxisControls axis_controls[3];  // Pitch, Yaw, Roll

const AxisControls* axis_controls_for_slider(int slider_id);  // none for other IDs
const AxisControls* axis_controls_for_edit(int edit_id);

// The text the axis's edit box puts back (PanelState::saved_text).
char* saved_text_of(const AxisControls& controls);

// The text of an angle, "%6f"; always terminated, cut to the buffer.
void format_angle(float angle, char* text, size_t size);

// A float angle as a slider position or selection end: truncated toward zero,
// saturating outside the int range, 0 for NaN.
int truncate_angle(float angle);

// Shows the axis's `current`: its edit's text ("%6f", which sends EN_CHANGE
// back into the panel before it returns) if set_text, then its slider's
// position if set_position. Other IDs do nothing.
void sync_axis_controls(int slider_id, bool set_position, bool set_text);

// The axis's minimum..maximum as its slider's selection range.
void show_axis_limits(int slider_id);

// Enables or disables the edits, the sliders and RESET (not UNDO, never AutoShade).
void set_joint_controls_enabled(BOOL enable);
