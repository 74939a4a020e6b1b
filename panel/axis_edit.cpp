// A panel edit box's text, on every keystroke, as its axis's new angle.
//
// Every text written back here (the saved text, a limit) raises EN_CHANGE
// inside SetWindowText while the box keeps the focus, so the panel commits the
// written text again before the outer pass goes on. Normally that nested pass
// reads back a number inside the limits and ends at once. It would not end for
// a text that keeps failing the same way: an empty or unreadable saved text,
// an angle that prints as "nan", or a limit with more than six decimals whose
// "%6f" text reads back just beyond it. So a text is written back only when it
// differs from what the box holds, and never deeper than a few passes; a pass
// that may not write takes the clamped value as it is.
#include "panel/limits_dialog.h"

#include <cstdlib>
#include <cstring>

#include "joint/unwind_guard.h"
#include "panel/panel_state.h"

namespace {

// Room for the eleven characters that count, and the terminator.
constexpr int edit_text_size = 12;

// Outer pass, the nested pass of a written text, and one more for a restored
// text that is then clamped to a limit.
constexpr int deepest_rewrite = 3;
int commit_depth = 0;

// One pass deeper for as long as a commit runs. The pass ends also when a host
// exception unwinds it (set_rotation failing inside apply_axis_change, say):
// a depth left counted would stop every later rewrite.
struct CommitDepth {
    CommitDepth() : leave(&leave_pass, nullptr) { ++commit_depth; }
    static void leave_pass(void*) { --commit_depth; }
    UnwindGuard leave;
};

// Writes the text unless the box already holds it (as far as it is read) or
// the chain is deep enough; answers whether it wrote.
bool rewrite_edit(HWND edit, const char* text)
{
    if (commit_depth >= deepest_rewrite)
        return false;
    char present[edit_text_size];
    GetWindowTextA(edit, present, edit_text_size);
    if (strncmp(present, text, edit_text_size - 1) == 0)
        return false;
    SetWindowTextA(edit, text);
    return true;
}

void rewrite_to_angle(HWND edit, float angle)
{
    char text[64];
    format_angle(angle, text, sizeof text);
    rewrite_edit(edit, text);
}

// The text to fall back on: the box's own, as it held it when it got the
// focus or as the program last wrote it, or, when that is no number (nothing
// saved yet), the angle the axis holds now.
void restore_edit(HWND edit, const AxisControls& controls, const AxisChannel& channel)
{
    const char* saved = saved_text_of(controls);
    if (is_numeric_text(saved))
        rewrite_edit(edit, saved);
    else
        rewrite_to_angle(edit, channel.current);
}

}  // namespace

void commit_axis_edit(int edit_id)
{
    const AxisControls* controls = axis_controls_for_edit(edit_id);
    if (controls == nullptr)
        return;
    CommitDepth depth;
    AxisChannel& channel = joint_link.*(controls->channel);
    const float minimum = channel.minimum;
    const float maximum = channel.maximum;
    HWND edit = GetDlgItem(panel_state.panel_window, edit_id);

    char text[edit_text_size] = {};
    GetWindowTextA(edit, text, edit_text_size);
    if (!is_numeric_text(text)) {
        restore_edit(edit, *controls, channel);
        return;
    }

    float value = static_cast<float>(atof(text));
    if (value < minimum) {
        rewrite_to_angle(edit, minimum);
        value = minimum;
    }
    if (value > maximum) {
        rewrite_to_angle(edit, maximum);
        value = maximum;
    }

    channel.current = value;
    joint_link.active_slider = controls->slider_id;
    sync_axis_controls(controls->slider_id, true, false);
    apply_axis_change();
    auto_key();
}
