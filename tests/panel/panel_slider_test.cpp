// The sliders: real drags, channel clicks and keys where Wine gives them, the
// control's own messages otherwise; the clamp to the limits; Ctrl on a drag
// opening the limits dialog.
#include "panel_fixture.h"

#include <cmath>
#include <cstring>

#include "desktop/message_pump.h"
#include "desktop/real_input.h"
#include "desktop/slider_press.h"
#include "support/limits_answers.h"
#include "support/message_recorder.h"

namespace {

// The angle, in degrees, that a unit quaternion turns by.
float turned_degrees(const Quaternion& q)
{
    return static_cast<float>(2 * std::acos(std::fmin(1.0, std::fabs(static_cast<double>(q.w)))) *
                              180 / 3.14159265358979);
}

bool ends_with_endtrack(const MessageRecorder& recorder)
{
    std::vector<int> codes = recorder.scroll_codes();
    return !codes.empty() && codes.back() == TB_ENDTRACK;
}

void set_control_key_state(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

class SliderTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        open_linked_panel();
        host.set_auto_key(true);
        recorder.watch(panel());
        activate_for_input(panel());
        host.clear_calls();
    }
    void TearDown() override
    {
        release_left_button();
        key_up(VK_CONTROL);
        pump_pending();
        PanelTest::TearDown();
    }

    // The exact messages a trackbar sends while its thumb is dragged to pos;
    // a slider that does not hold the capture is pressed first.
    void synthesised_thumb_track(int slider_id, int pos)
    {
        if (GetCapture() != item(slider_id))
            press_slider(item(slider_id));
        SendMessageA(item(slider_id), TBM_SETPOS, TRUE, pos);
        SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, pos),
                     reinterpret_cast<LPARAM>(item(slider_id)));
    }
    // The same with Ctrl held down: it opens the limits dialog and returns
    // when the dialog has ended.
    void synthesised_ctrl_thumb_track(int slider_id, int pos)
    {
        set_control_key_state(true);
        synthesised_thumb_track(slider_id, pos);
        set_control_key_state(false);
    }
    void synthesised_end_track(int slider_id)  // Wine's order: the end, then the capture goes
    {
        SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                     reinterpret_cast<LPARAM>(item(slider_id)));
        if (GetCapture() == item(slider_id))
            ReleaseCapture();
    }

    MessageRecorder recorder{WM_HSCROLL, WM_COMMAND};
};

}  // namespace

TEST_F(SliderTest, RealDragTurnsTheJointAtEveryStepKeysOnceAndFocusesTheHost)
{
    drag_thumb(item(IDC_YAW_SLIDER), 40, 10, true);
    ASSERT_TRUE(pump_until([&] { return ends_with_endtrack(recorder); }));
    pump_pending();

    // Thumb moves, then the end of the drag (Wine ends it twice: once for the
    // button, once for the capture; Windows once).
    std::vector<int> codes = recorder.scroll_codes();
    size_t tracks = 0;
    while (tracks < codes.size() && codes[tracks] == TB_THUMBTRACK)
        ++tracks;
    ASSERT_GE(tracks, 2u);
    ASSERT_GT(codes.size(), tracks + 1);
    EXPECT_EQ(codes[tracks], TB_THUMBPOSITION);
    for (size_t i = tracks + 1; i < codes.size(); ++i)
        EXPECT_EQ(codes[i], TB_ENDTRACK);

    int position = slider_position(IDC_YAW_SLIDER);
    EXPECT_GT(position, 20);
    EXPECT_EQ(joint_link.active_slider, IDC_YAW_SLIDER);
    EXPECT_EQ(joint_link.yaw.current, static_cast<float>(position));
    EXPECT_EQ(item_text(IDC_YAW_EDIT), angle_text(static_cast<float>(position)));
    EXPECT_EQ(joint_link.pitch.current, 0);
    EXPECT_EQ(joint_link.roll.current, 0);

    // Applied at each step that moved the thumb, keyed once at the end.
    EXPECT_GE(host.call_count(SimOperation::set_rotation), 2);
    EXPECT_NEAR(turned_degrees(joint->rotation()), static_cast<float>(position), 0.01f);
    ASSERT_EQ(joint->keys().size(), 1u);
    EXPECT_NEAR(turned_degrees(joint->keys()[0].rotation), static_cast<float>(position), 0.01f);
    EXPECT_EQ(GetFocus(), host_window);

    // The host's own modal dialog disables its window, which then takes no focus:
    // the slider keeps it, and the let-go still keys once.
    EnableWindow(host_window, FALSE);
    recorder.clear();
    drag_thumb(item(IDC_YAW_SLIDER), -40, 5, true);
    ASSERT_TRUE(pump_until([&] { return ends_with_endtrack(recorder); }));
    pump_pending();
    EXPECT_EQ(host.call_count(SimOperation::insert_key) + host.call_count(SimOperation::set_key_rotation), 2);
    EnableWindow(host_window, TRUE);
}

TEST_F(SliderTest, RealLetGoWhoseKeyTheHostFailsLeavesNothingThatMovesWithoutAPress)
{
    HWND slider = item(IDC_ROLL_SLIDER);
    EXPECT_FALSE(host_try([&] {
        drag_thumb(slider, 30, 5, false);
        host.fail_call(SimOperation::current_scene, 1, 7);
        release_left_button();
        pump_until([&] { return ends_with_endtrack(recorder); });
    }, nullptr));
    const Quaternion pose = joint->rotation();
    for (int offset : {-60, 50, -30, 20, -50})  // with the button up
        move_cursor(channel_point(slider, offset)), pump_for(50);
    EXPECT_EQ(std::memcmp(&pose, &joint->rotation(), sizeof pose), 0);
    EXPECT_NE(GetCapture(), slider);
    EXPECT_EQ(item_text(IDC_ROLL_EDIT), angle_text(static_cast<float>(slider_position(IDC_ROLL_SLIDER))));
}

TEST_F(SliderTest, RealDragPastTheMinimumStopsAtTheMinimumsExactValue)
{
    joint_link.pitch.minimum = -45.5f;
    show_axis_limits(IDC_PITCH_SLIDER);
    drag_thumb(item(IDC_PITCH_SLIDER), -150, 10, true);
    ASSERT_TRUE(pump_until([&] { return ends_with_endtrack(recorder); }));

    EXPECT_EQ(slider_position(IDC_PITCH_SLIDER), -45);
    EXPECT_EQ(joint_link.pitch.current, -45.5f);
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "-45.500000");
    EXPECT_NEAR(turned_degrees(joint->rotation()), 45.5f, 0.01f);
}

TEST_F(SliderTest, SynthesisedTrackBelowTheMinimumClampsSliderTextAndAngle)
{
    joint_link.pitch.minimum = -45.5f;
    synthesised_thumb_track(IDC_PITCH_SLIDER, -100);
    EXPECT_EQ(slider_position(IDC_PITCH_SLIDER), -45);
    EXPECT_EQ(joint_link.pitch.current, -45.5f);
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "-45.500000");
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 1);
    EXPECT_EQ(joint->keys().size(), 0u);  // keyed only when the drag ends

    synthesised_end_track(IDC_PITCH_SLIDER);
    EXPECT_EQ(joint->keys().size(), 1u);
    EXPECT_EQ(GetFocus(), host_window);

    // A drag whose focus and capture another window takes is keyed once as the capture
    // goes, unless a relink to another joint came first: what it turned on one joint is
    // not keyed on another.
    for (bool relinked : {false, true}) {
        synthesised_thumb_track(IDC_PITCH_SLIDER, relinked ? 30 : 20);
        SetFocus(host_window);
        if (relinked) {
            scene.select(scene.add_ball_joint("Other"));
            relink();
        }
        SetCapture(host_window);
        SendMessageA(panel(), WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(item(IDC_PITCH_SLIDER)));
        EXPECT_EQ(host.call_count(SimOperation::insert_key) + host.call_count(SimOperation::set_key_rotation), 2);
    }
}

TEST_F(SliderTest, SynthesisedTrackAboveTheMaximumClamps)
{
    joint_link.roll.maximum = 10.75f;
    synthesised_thumb_track(IDC_ROLL_SLIDER, 170);
    EXPECT_EQ(slider_position(IDC_ROLL_SLIDER), 10);
    EXPECT_EQ(joint_link.roll.current, 10.75f);
    EXPECT_EQ(item_text(IDC_ROLL_EDIT), "10.750000");

    // A stored record may hold a minimum above its maximum: the minimum is
    // tested first, so the angle ends at the maximum.
    joint_link.yaw.minimum = 50;
    joint_link.yaw.maximum = -50;
    synthesised_thumb_track(IDC_YAW_SLIDER, 0);
    EXPECT_EQ(joint_link.yaw.current, -50);
    EXPECT_EQ(slider_position(IDC_YAW_SLIDER), -50);
}

TEST_F(SliderTest, RealChannelClickPagesThirtyDegrees)
{
    click_at(channel_point(item(IDC_ROLL_SLIDER), 40));
    ASSERT_TRUE(pump_until([&] { return ends_with_endtrack(recorder); }));
    EXPECT_EQ(recorder.scroll_codes().front(), TB_PAGEDOWN);
    EXPECT_EQ(slider_position(IDC_ROLL_SLIDER), 30);
    EXPECT_EQ(joint_link.roll.current, 30);
    EXPECT_EQ(item_text(IDC_ROLL_EDIT), "30.000000");
    EXPECT_NEAR(turned_degrees(joint->rotation()), 30, 0.01f);
    EXPECT_EQ(joint->keys().size(), 1u);

    recorder.clear();
    click_at(channel_point(item(IDC_ROLL_SLIDER), -40));
    ASSERT_TRUE(pump_until([&] { return ends_with_endtrack(recorder); }));
    EXPECT_EQ(recorder.scroll_codes().front(), TB_PAGEUP);
    EXPECT_EQ(joint_link.roll.current, 0);
}

TEST_F(SliderTest, RealChannelClickThenTheMaximumClamps)
{
    joint_link.yaw.maximum = 20.5f;
    show_axis_limits(IDC_YAW_SLIDER);
    click_at(channel_point(item(IDC_YAW_SLIDER), 40));
    ASSERT_TRUE(pump_until([&] { return ends_with_endtrack(recorder); }));
    EXPECT_EQ(slider_position(IDC_YAW_SLIDER), 20);
    EXPECT_EQ(joint_link.yaw.current, 20.5f);
    EXPECT_EQ(item_text(IDC_YAW_EDIT), "20.500000");
}

// Arrows, Home and End step the thumb alone, and it goes back to the angle:
// the page after them turns the joint by one page, from the angle it has.
TEST_F(SliderTest, RealKeysOnAFocusedSliderTurnTheJointOnlyByPages)
{
    HWND slider = item(IDC_PITCH_SLIDER);
    const struct {
        WORD key;
        int code;
        int angle;  // the joint's Pitch after the key
    } steps[] = {{VK_RIGHT, TB_LINEDOWN, 0}, {VK_END, TB_BOTTOM, 0}, {VK_HOME, TB_TOP, 0}, {VK_NEXT, TB_PAGEDOWN, 30}};
    int keys = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        recorder.clear();
        activate_for_input(panel(), slider);
        ASSERT_EQ(GetFocus(), slider);
        press_key(step.key);
        ASSERT_TRUE(pump_until([&] { return ends_with_endtrack(recorder); }));
        EXPECT_EQ(recorder.scroll_codes().front(), step.code);
        EXPECT_NEAR(turned_degrees(joint->rotation()), step.angle, 1e-3);
        EXPECT_EQ(slider_position(IDC_PITCH_SLIDER), step.angle);
        EXPECT_EQ(item_text(IDC_PITCH_EDIT), angle_text(static_cast<float>(step.angle)));
        // Each key's let-go keys once, and hands the focus back to the host.
        EXPECT_EQ(host.call_count(SimOperation::insert_key) + host.call_count(SimOperation::set_key_rotation), ++keys);
        EXPECT_EQ(GetFocus(), host_window);
    }
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 1);
    EXPECT_TRUE(IsWindowVisible(panel()));
}

TEST_F(SliderTest, ScrollFromSomethingNotASliderIsLeftAlone)
{
    SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 5), 0);
    SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 5),
                 reinterpret_cast<LPARAM>(item(IDC_YAW_EDIT)));
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 0);
    EXPECT_EQ(joint_link.yaw.current, 0);
}

TEST_F(SliderTest, RealCtrlDragOpensTheLimitsDialogAndCancelChangesNothing)
{
    joint_link.yaw.minimum = -45.5f;
    joint_link.yaw.maximum = 60;
    show_axis_limits(IDC_YAW_SLIDER);

    ModalAnswerer answerer;
    answerer.ignore(panel());
    bool host_enabled_inside = true;
    bool panel_enabled_inside = true;
    std::string texts[3];
    answerer.expect("Joint Value Setting", [&](HWND dialog) {
        host_enabled_inside = IsWindowEnabled(host_window) != FALSE;
        panel_enabled_inside = IsWindowEnabled(panel()) != FALSE;
        texts[0] = window_text(GetDlgItem(dialog, IDC_LIMIT_MINIMUM));
        texts[1] = window_text(GetDlgItem(dialog, IDC_LIMIT_CURRENT));
        texts[2] = window_text(GetDlgItem(dialog, IDC_LIMIT_MAXIMUM));
        // The user lets go of the mouse over the dialog, and of Ctrl, and cancels.
        move_cursor(center_of(dialog));
        release_left_button();
        pump_until([] { return GetKeyState(VK_LBUTTON) >= 0; }, 1000);
        key_up(VK_CONTROL);
        post_button_click(dialog, IDCANCEL);
    });

    key_down(VK_CONTROL);
    drag_thumb(item(IDC_YAW_SLIDER), 30, 5, false);
    ASSERT_TRUE(pump_until([&] { return answerer.all_answered() && IsWindowEnabled(host_window); }));
    pump_until([&] { return ends_with_endtrack(recorder); }, 1000);
    // Wine's trackbar still tracks the mouse: moves over it, then with Ctrl, change nothing.
    const size_t before_hover = recorder.scroll_codes().size();
    for (size_t i = 0; i < 4; ++i) {
        if (i == 2)
            key_down(VK_CONTROL);
        move_cursor(channel_point(item(IDC_YAW_SLIDER), i % 2 == 0 ? -50 : 40));
        pump_until([&] { return recorder.scroll_codes().size() > before_hover + i; }, 500);
    }
    key_up(VK_CONTROL);
    EXPECT_GT(recorder.scroll_codes().size(), before_hover + 1) << "Wine's trackbar tracked no hover";

    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].owner, panel());
    EXPECT_EQ(answerer.unexpected_count(), 0);
    EXPECT_FALSE(host_enabled_inside);
    EXPECT_FALSE(panel_enabled_inside);
    EXPECT_EQ(texts[0], "-45.500000");
    EXPECT_EQ(texts[1], "0.000000");  // as linked: a yaw of -0 shows no sign
    EXPECT_EQ(texts[2], "60.000000");

    EXPECT_EQ(joint_link.active_slider, IDC_YAW_SLIDER);
    EXPECT_EQ(joint_link.yaw.minimum, -45.5f);
    EXPECT_EQ(joint_link.yaw.maximum, 60);
    EXPECT_EQ(joint_link.yaw.current, 0);  // as linked (possibly -0)
    EXPECT_EQ(selection_start(IDC_YAW_SLIDER), -45);
    EXPECT_EQ(selection_end(IDC_YAW_SLIDER), 60);
    EXPECT_EQ(slider_position(IDC_YAW_SLIDER), 0);  // the thumb is back at the angle
    EXPECT_EQ(item_text(IDC_YAW_EDIT), "0.000000");
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 0);
    // Auto key is on, but nothing turned: the animation is left alone.
    EXPECT_EQ(host.call_count(SimOperation::insert_key) + host.call_count(SimOperation::set_key_rotation), 0);
    EXPECT_TRUE(IsWindowEnabled(host_window));
    EXPECT_TRUE(IsWindowEnabled(panel()));
    EXPECT_EQ(GetFocus(), host_window);
}

TEST_F(SliderTest, CtrlTrackWithOkPinsTheAxisShowsTheRangeAndApplies)
{
    ModalAnswerer answerer;
    answerer.ignore(panel());
    answerer.expect("Joint Value Setting", fill_limits_and_press("30", "30", "30", IDOK));

    synthesised_ctrl_thumb_track(IDC_PITCH_SLIDER, 12);

    EXPECT_TRUE(answerer.all_answered());
    EXPECT_EQ(answerer.unexpected_count(), 0);
    EXPECT_EQ(joint_link.pitch.minimum, 30);
    EXPECT_EQ(joint_link.pitch.current, 30);
    EXPECT_EQ(joint_link.pitch.maximum, 30);
    EXPECT_EQ(selection_start(IDC_PITCH_SLIDER), 30);
    EXPECT_EQ(selection_end(IDC_PITCH_SLIDER), 30);
    EXPECT_EQ(slider_position(IDC_PITCH_SLIDER), 30);
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "30.000000");
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 1);
    EXPECT_NEAR(turned_degrees(joint->rotation()), 30, 0.01f);
    EXPECT_TRUE(IsWindowEnabled(host_window));
    EXPECT_EQ(GetFocus(), host_window);

    // Pinned: any further drag stays at 30.
    synthesised_thumb_track(IDC_PITCH_SLIDER, -120);
    EXPECT_EQ(joint_link.pitch.current, 30);
    EXPECT_EQ(slider_position(IDC_PITCH_SLIDER), 30);
}

TEST_F(SliderTest, CtrlPartwayThroughADragKeysWhatTheDragTurnedOrTheDialogAccepted)
{
    const struct {
        int answer;
        int steps[2];
        const char* current;  // typed into the dialog; none: left as shown
        float limit;          // Pitch's limits are -limit..limit
        int key_writes;
        float keyed;
    } cases[] = {{IDCANCEL, {5, 12}, nullptr, 180, 1, 12},
                 {IDOK, {20, 25}, "40", 180, 1, 40},
                 {IDCANCEL, {50, 60}, nullptr, 40, 0, 40}};  // held at the limit: nothing turned
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        host.clear_calls();
        joint_link.pitch.minimum = -c.limit;
        joint_link.pitch.maximum = c.limit;
        for (int step : c.steps)
            synthesised_thumb_track(IDC_PITCH_SLIDER, step);
        ModalAnswerer answerer;
        answerer.ignore(panel());
        answerer.expect("Joint Value Setting", [&](HWND dialog) {
            synthesised_end_track(IDC_PITCH_SLIDER);  // the drag ends while the dialog is open
            fill_limits_and_press(nullptr, c.current, nullptr, c.answer)(dialog);
        });
        synthesised_ctrl_thumb_track(IDC_PITCH_SLIDER, c.steps[1] + 3);

        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(host.call_count(SimOperation::insert_key) + host.call_count(SimOperation::set_key_rotation),
                  c.key_writes);
        ASSERT_EQ(joint->keys().size(), 1u);
        EXPECT_NEAR(turned_degrees(joint->keys()[0].rotation), c.keyed, 0.01f);
        EXPECT_NEAR(turned_degrees(joint->rotation()), c.keyed, 0.01f);
    }
}

TEST_F(SliderTest, LimitsAcceptedWithOkAreStoredAtOnceAndSurviveARelink)
{
    ModalAnswerer answerer;
    answerer.ignore(panel());
    answerer.expect("Joint Value Setting", fill_limits_and_press("-20", "10", "35.5", IDOK));
    synthesised_ctrl_thumb_track(IDC_YAW_SLIDER, 3);
    EXPECT_EQ(joint->stream_floats(panel_component_id),
              (std::vector<float>{-180, 180, -20, 35.5f, -180, 180}));

    relink();  // what a refresh does while the panel is open (the timeline moved)
    EXPECT_EQ(joint_link.yaw.minimum, -20);
    EXPECT_EQ(joint_link.yaw.maximum, 35.5f);
    EXPECT_EQ(selection_start(IDC_YAW_SLIDER), -20);
    EXPECT_EQ(selection_end(IDC_YAW_SLIDER), 35);
}

TEST_F(SliderTest, AHostFailingToStoreTheLimitsAfterOkLeavesTheAngleAppliedAndTheRangeShown)
{
    ModalAnswerer answerer;
    answerer.ignore(panel());
    answerer.expect("Joint Value Setting", fill_limits_and_press("-20", "10", "35.5", IDOK));
    ASSERT_TRUE(host.fail_call("open_stream_for_write", 1, 5));
    EXPECT_FALSE(host_try([&] { synthesised_ctrl_thumb_track(IDC_YAW_SLIDER, 3); }, nullptr));

    EXPECT_EQ(selection_start(IDC_YAW_SLIDER), -20);
    EXPECT_EQ(selection_end(IDC_YAW_SLIDER), 35);
    EXPECT_EQ(item_text(IDC_YAW_EDIT), "10.000000");
    EXPECT_EQ(joint_link.yaw.last_applied, 10);
    EXPECT_NEAR(turned_degrees(joint->rotation()), 10, 0.01f);
    EXPECT_EQ(joint->keys().size(), 1u);
    EXPECT_TRUE(IsWindowEnabled(host_window));
}

TEST_F(SliderTest, LimitsWithOkShowTruncatedRangeAndTurnByTheDifference)
{
    EnableWindow(host_window, FALSE);  // by the host's own modal dialog, which the limits dialog leaves it to
    synthesised_thumb_track(IDC_ROLL_SLIDER, 5);  // 5 degrees applied
    ModalAnswerer answerer;
    answerer.ignore(panel());
    answerer.expect("Joint Value Setting", fill_limits_and_press("-45.7", "10", "45.7", IDOK));
    synthesised_ctrl_thumb_track(IDC_ROLL_SLIDER, 7);

    EXPECT_EQ(selection_start(IDC_ROLL_SLIDER), -45);
    EXPECT_EQ(selection_end(IDC_ROLL_SLIDER), 45);
    EXPECT_EQ(joint_link.roll.minimum, -45.7f);
    EXPECT_EQ(joint_link.roll.maximum, 45.7f);
    EXPECT_EQ(joint_link.roll.current, 10);
    EXPECT_EQ(joint_link.roll.last_applied, 10);
    EXPECT_EQ(slider_position(IDC_ROLL_SLIDER), 10);
    EXPECT_EQ(item_text(IDC_ROLL_EDIT), "10.000000");
    EXPECT_NEAR(turned_degrees(joint->rotation()), 10, 0.01f);
    EXPECT_FALSE(IsWindowEnabled(host_window));
}

// The host relinks while the dialog runs, to another joint or to none (two selected):
// the answer turns, keys and stores nothing.
TEST_F(SliderTest, TheLimitsDialogsAnswerChangesNoJointButTheOneItWasOpenedOn)
{
    SimShape& other = scene.add_ball_joint("Other");
    for (const auto& chosen : {std::vector<SimShape*>{&other}, std::vector<SimShape*>{joint, &other}}) {
        scene.select(*joint);
        relink();
        ModalAnswerer answerer;
        answerer.ignore(panel());
        answerer.expect("Joint Value Setting", [&](HWND dialog) {
            scene.select(chosen);
            relink();
            fill_limits_and_press("-20", "10", "35", IDOK)(dialog);
        });
        host.clear_calls();
        synthesised_ctrl_thumb_track(IDC_PITCH_SLIDER, 5);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(host.call_count(SimOperation::set_rotation) + host.call_count(SimOperation::insert_key) +
                      host.call_count(SimOperation::set_key_rotation) + host.call_count("open_stream_for_write"),
                  0);
    }
}

TEST_F(SliderTest, RealTypedLimitsWithEnterAreStored)
{
    ModalAnswerer answerer;
    answerer.ignore(panel());
    ModalAnswerer::Answer typing = type_limits_and_enter("-20", "-5.5", "20");
    answerer.expect("Joint Value Setting", [&](HWND dialog) {
        set_control_key_state(false);  // Ctrl let go before typing
        typing(dialog);
    });
    synthesised_ctrl_thumb_track(IDC_YAW_SLIDER, 3);

    EXPECT_EQ(answerer.unexpected_count(), 0);
    EXPECT_EQ(joint_link.yaw.minimum, -20);
    EXPECT_EQ(joint_link.yaw.current, -5.5f);
    EXPECT_EQ(joint_link.yaw.maximum, 20);
    EXPECT_EQ(item_text(IDC_YAW_EDIT), "-5.500000");
    EXPECT_EQ(slider_position(IDC_YAW_SLIDER), -5);
}

TEST_F(SliderTest, SliderNotificationsDuringTheDialogChangeNeitherAxisNorDialog)
{
    // The drag that opened the dialog may go on inside its loop, and another
    // slider may report too: none of it may open a second dialog or move the
    // axis the dialog stores into.
    ModalAnswerer answerer;
    answerer.ignore(panel());
    answerer.expect("Joint Value Setting", [&](HWND dialog) {
        synthesised_thumb_track(IDC_ROLL_SLIDER, 40);
        synthesised_end_track(IDC_ROLL_SLIDER);
        SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_PAGEDOWN, 0),
                     reinterpret_cast<LPARAM>(item(IDC_YAW_SLIDER)));
        fill_limits_and_press("-50", "-20", "50", IDOK)(dialog);
    });
    synthesised_ctrl_thumb_track(IDC_YAW_SLIDER, 3);

    EXPECT_EQ(answerer.unexpected_count(), 0);
    EXPECT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(joint_link.active_slider, IDC_YAW_SLIDER);
    EXPECT_EQ(joint_link.yaw.minimum, -50);
    EXPECT_EQ(joint_link.yaw.current, -20);
    EXPECT_EQ(joint_link.roll.current, 0);
    EXPECT_EQ(joint_link.roll.minimum, -180);
    EXPECT_EQ(slider_position(IDC_YAW_SLIDER), -20);
    // Roll's end inside the dialog keyed nothing; the drag that opened the
    // dialog is keyed once, after it, with Yaw's new angle.
    ASSERT_EQ(joint->keys().size(), 1u);
    EXPECT_NEAR(turned_degrees(joint->keys()[0].rotation), 20, 0.01f);
}

TEST_F(SliderTest, TheAutoShadeTimerKeepsRunningInsideTheDialog)
{
    SendMessageA(item(IDC_AUTOSHADE), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(IDC_AUTOSHADE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item(IDC_AUTOSHADE)));
    RECT frame;
    GetWindowRect(panel(), &frame);
    move_cursor({frame.right + 40, frame.bottom + 40});

    int width_inside = 0;
    ModalAnswerer answerer;
    answerer.ignore(panel());
    answerer.expect("Joint Value Setting", [&](HWND dialog) {
        // Let the panel's own timer tick in this loop before cancelling.
        pump_until([&] {
            RECT r;
            GetWindowRect(panel(), &r);
            return r.right - r.left == 120;
        }, 1000);
        RECT r;
        GetWindowRect(panel(), &r);
        width_inside = r.right - r.left;
        post_button_click(dialog, IDCANCEL);
    });
    synthesised_ctrl_thumb_track(IDC_PITCH_SLIDER, 3);
    EXPECT_EQ(width_inside, 120);
}
