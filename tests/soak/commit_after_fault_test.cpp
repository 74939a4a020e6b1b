// Found by the soak: a host exception that passes through the panel's own
// frames unwinds them without running their destructors or the code after
// the call. It must not leave the panel stuck afterwards: here set_rotation
// fails inside a typed commit, and inside the application that follows OK in
// the limits dialog.
#include <gtest/gtest.h>

#include "desktop/slider_press.h"
#include "panel/limits_dialog.h"
#include "panel/panel_state.h"
#include "soak_world.h"

namespace {

std::string edit_text(HWND edit)
{
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    return text;
}

void type_key(HWND edit, char key)
{
    SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
}

}  // namespace

TEST(CommitAfterHostFault, TextsBeyondTheLimitAreStillRewrittenAfterFaultsInsideCommits)
{
    SoakWorld world(9);
    ASSERT_NE(joint_link.joint, nullptr);
    HWND edit = GetDlgItem(panel_state.panel_window, IDC_PITCH_EDIT);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);

    // Three keystrokes whose commits the host interrupts.
    for (int i = 0; i < 3; ++i) {
        world.host().fail_call(SimOperation::set_rotation, 1, 7);
        HostCatch caught;
        EXPECT_FALSE(host_try([&] { type_key(edit, '1'); }, &caught));
        world.host().clear_faults();
    }

    // Now a keystroke that makes the text exceed the maximum of 180.
    SendMessageA(edit, EM_SETSEL, 0, -1);
    type_key(edit, '9');
    type_key(edit, '9');
    type_key(edit, '9');
    EXPECT_FLOAT_EQ(joint_link.pitch.current, 180.0f);
    EXPECT_EQ(edit_text(edit), "180.000000");

    // And a letter still puts the saved text back.
    type_key(edit, 'x');
    EXPECT_TRUE(is_numeric_text(edit_text(edit).c_str())) << edit_text(edit);
}

TEST(CommitAfterHostFault, SlidersStillMoveAndTheHostWindowIsEnabledAfterAFaultFollowingTheLimitsDialog)
{
    SoakWorld world(9);
    ASSERT_NE(joint_link.joint, nullptr);
    HWND panel = panel_state.panel_window;
    HWND slider = GetDlgItem(panel, IDC_PITCH_SLIDER);

    world.answerer().plan("-90", "10", "90", IDOK);
    world.host().fail_call(SimOperation::set_rotation, 1, 7);
    set_key(VK_CONTROL, true);
    HostCatch caught;
    press_slider(slider);
    EXPECT_FALSE(host_try([&] { SendMessageA(panel, WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(slider)); },
                          &caught));
    set_key(VK_CONTROL, false);
    world.host().clear_faults();
    EXPECT_EQ(world.answerer().dialogs_seen(), 1);
    EXPECT_TRUE(IsWindowEnabled(panel_state.host_window));

    // A later drag step moves the axis again.
    press_slider(slider);
    SendMessageA(slider, TBM_SETPOS, TRUE, 40);
    SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 40), reinterpret_cast<LPARAM>(slider));
    EXPECT_FLOAT_EQ(joint_link.pitch.current, 40.0f);
}
