// The panel's life: what a fresh panel shows, closing it, UNDO and RESET.
#include "panel_fixture.h"

#include <cstring>
#include <set>

#include "module/module_instance.h"
#include "desktop/message_pump.h"
#include "desktop/real_input.h"
#include "desktop/slider_press.h"

TEST_F(PanelTest, NewPanelIsHiddenWithZeroedControlsAndMeasuredSize)
{
    create_panel();
    EXPECT_FALSE(IsWindowVisible(panel()));
    EXPECT_EQ(panel_state.shown, 0);
    EXPECT_EQ(panel_state.host_window, host_window);
    EXPECT_EQ(GetWindow(panel(), GW_OWNER), host_window);

    RECT frame;
    GetWindowRect(panel(), &frame);
    EXPECT_EQ(panel_state.full_width, frame.right - frame.left);
    EXPECT_EQ(panel_state.full_height, frame.bottom - frame.top);

    for (int slider : {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER}) {
        SCOPED_TRACE(slider);
        HWND s = item(slider);
        EXPECT_EQ(SendMessageA(s, TBM_GETRANGEMIN, 0, 0), -180);
        EXPECT_EQ(SendMessageA(s, TBM_GETRANGEMAX, 0, 0), 180);
        EXPECT_EQ(selection_start(slider), -180);
        EXPECT_EQ(selection_end(slider), 180);
        EXPECT_EQ(slider_position(slider), 0);
        EXPECT_EQ(SendMessageA(s, TBM_GETPAGESIZE, 0, 0), 30);
        // The two ends and the three ticks set at -90, 0 and 90.
        // (the control keeps them in an order of its own).
        ASSERT_EQ(SendMessageA(s, TBM_GETNUMTICS, 0, 0), 5);
        std::set<int> tics;
        for (int i = 0; i < 3; ++i)
            tics.insert(static_cast<int>(SendMessageA(s, TBM_GETTIC, i, 0)));
        EXPECT_EQ(tics, (std::set<int>{-90, 0, 90}));
    }
    for (int edit : {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT}) {
        EXPECT_EQ(item_text(edit), "0.000000");
        EXPECT_EQ(SendMessageA(item(edit), EM_GETLIMITTEXT, 0, 0), 11);
    }
    EXPECT_EQ(SendMessageA(item(IDC_AUTOSHADE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(panel_state.timer_id, 0u);
    // Texts written while the panel is not open are not saved.
    for (const char* saved : panel_state.saved_text)
        EXPECT_STREQ(saved, "");
}

TEST_F(PanelTest, CreatingTwiceKeepsTheFirstPanel)
{
    create_panel();
    HWND first = panel();
    create_panel_window(host.application());
    EXPECT_EQ(panel(), first);
    destroy_panel_window();
    EXPECT_EQ(panel(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    destroy_panel_window();  // nothing left to destroy
}

TEST_F(PanelTest, CloseBoxSavesLimitsRemovesGuideAndHidesButKeepsTheLink)
{
    open_linked_panel();
    ASSERT_NE(joint_link.guide, nullptr);
    joint_link.pitch.minimum = -45.5f;
    joint_link.yaw.maximum = 30.25f;

    // The caption's close box: WM_SYSCOMMAND SC_CLOSE, which the dialog
    // manager turns into a posted IDCANCEL.
    SendMessageA(panel(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(pump_until([&] { return panel_state.shown == 0; }));

    EXPECT_FALSE(IsWindowVisible(panel()));
    EXPECT_EQ(panel_state.shown, 0);
    EXPECT_EQ(joint_link.guide, nullptr);
    SimShape* guide = scene.find("#Kelvaro_Guide");
    EXPECT_EQ(guide, nullptr);
    EXPECT_NE(joint_link.joint, nullptr);
    std::vector<float> stored = joint->stream_floats(panel_component_id);
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored[0], -45.5f);
    EXPECT_EQ(stored[3], 30.25f);

    // Hidden, a box still keeps the program's text as the one it puts back.
    joint_link.pitch.current = 12;
    sync_axis_controls(IDC_PITCH_SLIDER, true, true);
    EXPECT_STREQ(panel_state.saved_text[0], "12.000000");
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "12.000000");
}

TEST_F(PanelTest, OkCommandHidesAsTheCloseBoxDoesAlsoWhenAHostFailureCutTheGuideShort)
{
    open_linked_panel();
    ASSERT_TRUE(host.fail_call("part_handle", 1, 44));  // a guide part whose handle never reached us
    EXPECT_FALSE(host_try([] { relink(); }, nullptr));
    SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(panel()));
    EXPECT_EQ(panel_state.shown, 0);
    EXPECT_EQ(joint_link.guide, nullptr);
    EXPECT_EQ(scene.open_part(), nullptr);
    EXPECT_EQ(joint->stream_floats(panel_component_id).size(), 6u);
}

TEST_F(PanelTest, ProgrammaticTextWhileOpenIsSaved)
{
    open_linked_panel();
    SetFocus(host_window);
    joint_link.roll.current = -45.5f;
    sync_axis_controls(IDC_ROLL_SLIDER, true, true);
    EXPECT_STREQ(panel_state.saved_text[2], "-45.500000");
    EXPECT_EQ(slider_position(IDC_ROLL_SLIDER), -45);
}

TEST_F(PanelTest, UndoButtonClickedRestoresTheJointShowsItsAnglesAndFocusesTheHost)
{
    // 179 degrees about Pitch. The read-back's float maths shows it exactly
    // so, a hair short of 179.
    const Quaternion linked(0.0087265340f, 0.99996192f, 0, 0);
    joint->set_rotation(linked);
    open_linked_panel();
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "178.999985");
    const int shown_sliders[] = {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER};
    const int shown_edits[] = {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT};
    std::string texts[3];
    int positions[3];
    for (int i = 0; i < 3; ++i) {
        texts[i] = item_text(shown_edits[i]);
        positions[i] = slider_position(shown_sliders[i]);
    }

    // Two axes moved through their sliders.
    for (int slider : {IDC_ROLL_SLIDER, IDC_PITCH_SLIDER}) {
        press_slider(item(slider));
        SendMessageA(item(slider), TBM_SETPOS, TRUE, -100);
        SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, -100),
                     reinterpret_cast<LPARAM>(item(slider)));
        ReleaseCapture();
    }
    activate_for_input(panel());
    click_at(center_of(item(IDC_UNDO)));
    ASSERT_TRUE(pump_until([&] { return joint->rotation().x == linked.x; }));
    EXPECT_EQ(joint->rotation().w, linked.w);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(item_text(shown_edits[i]), texts[i]);
        EXPECT_EQ(slider_position(shown_sliders[i]), positions[i]);
    }
    EXPECT_TRUE(pump_until([&] { return GetFocus() == host_window; }));
}

TEST_F(PanelTest, ResetButtonClickedClearsTheRotationAndFocusesTheHost)
{
    joint->set_rotation(Quaternion(0.9659258f, 0.2588190f, 0, 0));
    open_linked_panel();
    activate_for_input(panel());

    click_at(center_of(item(IDC_RESET)));
    ASSERT_TRUE(pump_until([&] { return joint->rotation().x == 0; }));
    EXPECT_EQ(joint->rotation().w, 1);
    EXPECT_TRUE(pump_until([&] { return GetFocus() == host_window; }));
    for (int edit : {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT})
        EXPECT_EQ(item_text(edit), "0.000000");
}

TEST_F(PanelTest, UndoAndResetWithoutJointOnlyFocusTheHost)
{
    create_panel();  // nothing selected: no link
    open_panel();
    ASSERT_EQ(joint_link.joint, nullptr);
    host.clear_calls();
    for (int button : {IDC_UNDO, IDC_RESET}) {
        SetFocus(item(IDC_AUTOSHADE));
        SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(item(button)));
        EXPECT_EQ(GetFocus(), host_window);
    }
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 0);
}

// The host always hands in the object that yields its main window; without
// one the panel is still made, hidden and without an owner, instead of the
// module crashing inside the host's call.
TEST(PanelWithoutHostObject, IsMadeHiddenAndUnowned)
{
    module_instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(panel_state.panel_window, nullptr);
    create_panel_window(nullptr);
    ASSERT_NE(panel_state.panel_window, nullptr);
    EXPECT_EQ(GetWindow(panel_state.panel_window, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowVisible(panel_state.panel_window));
    EXPECT_EQ(panel_state.shown, 0);
    destroy_panel_window();
    EXPECT_EQ(panel_state.panel_window, nullptr);
}
