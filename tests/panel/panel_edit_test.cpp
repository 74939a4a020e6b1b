// Typed angles in the panel's edit boxes: every keystroke that leaves a
// number is clamped, applied and keyed; anything else puts back the saved
// text; the re-entrant rewrites always end.
#include "panel_fixture.h"

#include <cmath>
#include <cstring>

#include "desktop/message_pump.h"
#include "desktop/real_input.h"
#include "support/message_recorder.h"
#include "desktop/slider_press.h"

namespace {

void set_clipboard_text(HWND owner, const char* text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    size_t size = strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

class EditTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        open_linked_panel();
        host.set_auto_key(true);
        recorder.watch(panel());
        host.clear_calls();
    }

    // The user clicks into the edit box (it gets the focus, the panel saves
    // its text) and selects all of it.
    HWND focus_edit(int edit_id)
    {
        HWND edit = item(edit_id);
        activate_for_input(panel(), edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return edit;
    }

    // Real keys, pumped until the box holds the expected text.
    void type_and_wait(const char* keys, int edit_id, const std::string& expected_text)
    {
        type_text(keys);
        EXPECT_TRUE(pump_until([&] { return item_text(edit_id) == expected_text; }))
            << "text is " << item_text(edit_id);
        pump_pending();
    }

    int changes_of(int edit_id) const
    {
        int n = 0;
        for (int code : recorder.command_codes(edit_id))
            n += code == EN_CHANGE;
        return n;
    }

    int keyings() const
    {
        return host.call_count(SimOperation::insert_key) +
               host.call_count(SimOperation::set_key_rotation);
    }

    MessageRecorder recorder{WM_COMMAND};
};

}  // namespace

TEST_F(EditTest, EveryTypedKeystrokeThatLeavesANumberIsAppliedAndKeyed)
{
    focus_edit(IDC_PITCH_EDIT);
    EXPECT_STREQ(panel_state.saved_text[0], angle_text(joint_link.pitch.current).c_str());

    type_and_wait("1", IDC_PITCH_EDIT, "1");
    EXPECT_EQ(joint_link.pitch.current, 1);
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 1);
    EXPECT_EQ(keyings(), 1);

    type_and_wait("2.5", IDC_PITCH_EDIT, "12.5");
    EXPECT_EQ(joint_link.pitch.current, 12.5f);
    EXPECT_EQ(joint_link.active_slider, IDC_PITCH_SLIDER);
    EXPECT_EQ(slider_position(IDC_PITCH_SLIDER), 12);
    // "12" and "12.5" turn the joint; "12." reads as 12 again and turns it by nothing.
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 4);
    EXPECT_EQ(keyings(), 4);
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "12.5");  // the typed text stays as typed
    EXPECT_EQ(GetFocus(), item(IDC_PITCH_EDIT));
}

TEST_F(EditTest, ValueBeyondALimitIsRewrittenToTheLimitInOneNestedPass)
{
    joint_link.yaw.minimum = -45.5f;
    joint_link.yaw.maximum = 45.5f;
    focus_edit(IDC_YAW_EDIT);
    type_text("100");
    ASSERT_TRUE(pump_until([&] { return item_text(IDC_YAW_EDIT) == "45.500000"; }));
    pump_pending();
    EXPECT_EQ(joint_link.yaw.current, 45.5f);
    EXPECT_EQ(slider_position(IDC_YAW_SLIDER), 45);
    // The rewrite's EN_CHANGE arrived inside the handling of the typed one.
    bool nested = false;
    for (const RecordedMessage& m : recorder.of(WM_COMMAND))
        nested |= m.depth == 1 && HIWORD(m.wparam) == EN_CHANGE;
    EXPECT_TRUE(nested);
    EXPECT_EQ(recorder.deepest(), 1);

    SendMessageA(item(IDC_YAW_EDIT), EM_SETSEL, 0, -1);
    type_text("-");
    type_text("99");
    ASSERT_TRUE(pump_until([&] { return item_text(IDC_YAW_EDIT) == "-45.500000"; }));
    EXPECT_EQ(joint_link.yaw.current, -45.5f);

    // A minimum above the maximum, as a stored record may hold: the minimum is
    // tested first, so the angle ends at the maximum.
    joint_link.pitch.minimum = 50;
    joint_link.pitch.maximum = -50;
    HWND edit = focus_edit(IDC_PITCH_EDIT);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("0"));
    EXPECT_EQ(joint_link.pitch.current, -50);
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "-50.000000");
}

TEST_F(EditTest, ALetterPutsBackTheSavedTextAndItsAngle)
{
    joint_link.roll.current = 12;
    sync_axis_controls(IDC_ROLL_SLIDER, true, true);
    focus_edit(IDC_ROLL_EDIT);
    ASSERT_STREQ(panel_state.saved_text[2], "12.000000");

    type_and_wait("5", IDC_ROLL_EDIT, "5");
    EXPECT_EQ(joint_link.roll.current, 5);
    type_and_wait("x", IDC_ROLL_EDIT, "12.000000");
    EXPECT_EQ(joint_link.roll.current, 12);
    EXPECT_EQ(slider_position(IDC_ROLL_SLIDER), 12);
    EXPECT_EQ(recorder.deepest(), 1);
}

// The artist is in the Yaw box when the host brings another joint, turned
// about Yaw: by a relink while the panel is open, or as the panel opens again
// (the dialog gives the focus back to the box as it is activated).
TEST_F(EditTest, AnotherJointWhileABoxHasTheFocusWritesNothingAndTheBoxPutsBackItsOwnText)
{
    for (const double half_turn : {0.39269908169872414, -0.39269908169872414}) {  // of 45 degrees
        const bool reopen = half_turn < 0;
        SCOPED_TRACE(reopen ? "opened again" : "relinked");
        SimShape& other = scene.add_ball_joint(reopen ? "Knee" : "Hip");
        const Quaternion pose(static_cast<float>(std::cos(half_turn)), 0, static_cast<float>(std::sin(half_turn)), 0);
        other.set_rotation(pose);
        focus_edit(IDC_YAW_EDIT);
        scene.select(other);
        host.clear_calls();
        if (reopen) {
            SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            open_panel();
            ASSERT_EQ(GetFocus(), item(IDC_YAW_EDIT));
        } else {
            save_limits_and_relink();
        }
        EXPECT_EQ(host.call_count(SimOperation::set_rotation) + keyings(), 0);
        const std::string shown = item_text(IDC_YAW_EDIT);
        EXPECT_NEAR(atof(shown.c_str()), reopen ? -45 : 45, 1e-4);

        // A letter: the box puts back its own angle, and the joint keeps its pose.
        const int changes = changes_of(IDC_YAW_EDIT);
        type_text("x");
        ASSERT_TRUE(pump_until([&] { return changes_of(IDC_YAW_EDIT) >= changes + 2; }));
        pump_pending();
        EXPECT_EQ(item_text(IDC_YAW_EDIT), shown);
        const Quaternion& now = other.rotation();
        EXPECT_NEAR(now.w * pose.w + now.x * pose.x + now.y * pose.y + now.z * pose.z, 1, 1e-6);
    }
}

TEST_F(EditTest, DeletingAllTextPutsBackTheSavedText)
{
    joint_link.pitch.current = -30.25f;
    sync_axis_controls(IDC_PITCH_SLIDER, true, true);
    focus_edit(IDC_PITCH_EDIT);
    press_key(VK_DELETE);
    ASSERT_TRUE(pump_until([&] { return changes_of(IDC_PITCH_EDIT) >= 2; }));
    pump_pending();
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "-30.250000");
    EXPECT_EQ(joint_link.pitch.current, -30.25f);
}

TEST_F(EditTest, PastedTextIsCommittedAsTypedTextIs)
{
    HWND edit = focus_edit(IDC_YAW_EDIT);
    set_clipboard_text(panel(), "33");
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(item_text(IDC_YAW_EDIT), "33");
    EXPECT_EQ(joint_link.yaw.current, 33);

    std::string saved = panel_state.saved_text[1];
    SendMessageA(edit, EM_SETSEL, 0, -1);
    set_clipboard_text(panel(), "abc");
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(item_text(IDC_YAW_EDIT), saved);
    EXPECT_EQ(joint_link.yaw.current, static_cast<float>(atof(saved.c_str())));

    // More than eleven characters: the box takes eleven, far beyond the maximum.
    SendMessageA(edit, EM_SETSEL, 0, -1);
    set_clipboard_text(panel(), "1234567890123");
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(item_text(IDC_YAW_EDIT), "180.000000");
    EXPECT_EQ(joint_link.yaw.current, 180);
    EXPECT_LE(recorder.deepest(), 2);
}

TEST_F(EditTest, ElevenNinesTypedEndAtTheMaximum)
{
    focus_edit(IDC_ROLL_EDIT);
    type_text("99999999999");
    ASSERT_TRUE(pump_until([&] { return changes_of(IDC_ROLL_EDIT) >= 11; }));
    pump_for(100);
    EXPECT_EQ(item_text(IDC_ROLL_EDIT), "180.000000");
    EXPECT_EQ(joint_link.roll.current, 180);
    EXPECT_EQ(slider_position(IDC_ROLL_SLIDER), 180);
    EXPECT_LE(recorder.deepest(), 2);
}

TEST_F(EditTest, WithNothingSavedTheAngleItselfIsPutBack)
{
    // Nothing saved for the box (its text never was: a safeguard).
    HWND edit = focus_edit(IDC_PITCH_EDIT);
    panel_state.saved_text[0][0] = '\0';
    joint_link.pitch.current = 7;

    SendMessageA(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "7.000000");
    EXPECT_EQ(joint_link.pitch.current, 7);
    EXPECT_LE(recorder.deepest(), 2);
}

TEST_F(EditTest, ANanAngleWithNothingSavedEndsWithoutApplying)
{
    HWND edit = focus_edit(IDC_PITCH_EDIT);
    panel_state.saved_text[0][0] = '\0';
    joint_link.pitch.current = NAN;

    SendMessageA(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "   nan");
    EXPECT_TRUE(std::isnan(joint_link.pitch.current));
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 0);
    EXPECT_LE(recorder.deepest(), 2);
}

TEST_F(EditTest, ALimitWithMoreThanSixDecimalsEndsAtTheLimit)
{
    // "%6f" of -0.0000004 reads as zero (shown without its sign), above it.
    joint_link.pitch.minimum = -1;
    joint_link.pitch.maximum = -0.0000004f;
    HWND edit = focus_edit(IDC_PITCH_EDIT);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("5"));
    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "0.000000");
    EXPECT_EQ(joint_link.pitch.current, -0.0000004f);
    EXPECT_LE(recorder.deepest(), 2);
    EXPECT_LE(changes_of(IDC_PITCH_EDIT), 3);

    // And from below: 0.000000 reads back below a minimum of 0.0000004.
    recorder.clear();
    joint_link.roll.minimum = 0.0000004f;
    joint_link.roll.maximum = 1;
    edit = focus_edit(IDC_ROLL_EDIT);
    type_text("-");
    ASSERT_TRUE(pump_until([&] { return item_text(IDC_ROLL_EDIT) == "0.000000"; }));
    pump_pending();
    EXPECT_EQ(joint_link.roll.current, 0.0000004f);
    EXPECT_LE(recorder.deepest(), 2);
}

TEST_F(EditTest, HugeAndNanLimitsFromAStoredRecordNeitherCrashNorOverflow)
{
    // Linked again with a stored record that holds no sensible limits.
    unlink();
    joint->set_stream_floats(panel_component_id, {-1e30f, 1e30f, NAN, NAN, 3.0e38f, 3.4e38f});
    open_panel();
    ASSERT_NE(joint_link.joint, nullptr);
    ASSERT_EQ(joint_link.roll.minimum, 3.0e38f);

    HWND edit = focus_edit(IDC_PITCH_EDIT);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("99999999999"));
    EXPECT_EQ(joint_link.pitch.current, 99999999999.0f);
    EXPECT_EQ(slider_position(IDC_PITCH_SLIDER), 180);

    edit = focus_edit(IDC_YAW_EDIT);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("170"));
    EXPECT_EQ(joint_link.yaw.current, 170);  // no limit holds it back

    edit = focus_edit(IDC_ROLL_EDIT);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("5"));
    EXPECT_EQ(joint_link.roll.current, 3.0e38f);
    EXPECT_EQ(slider_position(IDC_ROLL_SLIDER), 180);
    EXPECT_LE(recorder.deepest(), 2);

    // A drag with NaN limits takes the slider's value as it is.
    press_slider(item(IDC_YAW_SLIDER));
    SendMessageA(item(IDC_YAW_SLIDER), TBM_SETPOS, TRUE, -20);
    SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, -20),
                 reinterpret_cast<LPARAM>(item(IDC_YAW_SLIDER)));
    EXPECT_EQ(joint_link.yaw.current, -20);
}

TEST_F(EditTest, TypingWhileThePanelIsHiddenChangesNothing)
{
    HWND edit = focus_edit(IDC_PITCH_EDIT);
    std::string saved = panel_state.saved_text[0];
    SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_EQ(panel_state.shown, 0);
    host.clear_calls();
    float before = joint_link.pitch.current;

    // Real keys go wherever the focus went; the exact messages go to the box.
    type_text("42");
    pump_until([] { return false; }, 200);
    SendMessageA(edit, WM_CHAR, '5', 0);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    set_clipboard_text(host_window, "abc");
    SendMessageA(edit, WM_PASTE, 0, 0);

    EXPECT_EQ(item_text(IDC_PITCH_EDIT), "abc");
    EXPECT_EQ(joint_link.pitch.current, before);
    EXPECT_EQ(panel_state.saved_text[0], saved);
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 0);
    EXPECT_FALSE(IsWindowVisible(panel()));
}
