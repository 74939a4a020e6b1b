// The panel state's operations on real trackbars and edit boxes: the angle
// text, truncation toward zero with saturation, showing a channel, its limits
// as the selection range, and enabling the joint's controls.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include "joint_fixture.h"
#include <commctrl.h>
#include "panel/resource.h"

namespace {

const float nan_value = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();
const float largest = 3.4e38f;

std::string formatted(float angle)
{
    char text[64];
    format_angle(angle, text, sizeof text);
    return text;
}

}  // namespace

TEST(AngleText, SixDecimalsAndAtLeastSixCharacters)
{
    EXPECT_EQ(formatted(0), "0.000000");
    EXPECT_EQ(formatted(-180), "-180.000000");
    EXPECT_EQ(formatted(-45.5f), "-45.500000");
    EXPECT_EQ(formatted(-0.5f), "-0.500000");  // only a text that reads as zero loses its sign
    EXPECT_EQ(formatted(45.7f), "45.700001");  // the float widened to double
    EXPECT_EQ(formatted(-180).size(), 11u);
}

TEST(AngleText, AStoredExtremeIsCutToTheBufferAndAlwaysTerminated)
{
    // "%6f" of 3.4e38 is 46 characters.
    EXPECT_EQ(formatted(largest).substr(0, 9), "339999995");
    EXPECT_EQ(formatted(largest).size(), 46u);
    EXPECT_EQ(formatted(-largest).size(), 47u);

    char buffer[20 + 4];
    std::memset(buffer, '#', sizeof buffer);
    format_angle(-largest, buffer, 20);
    EXPECT_EQ(std::strlen(buffer), 19u);
    EXPECT_EQ(std::string(buffer, 19), "-339999995214436424");
    for (size_t i = 20; i < sizeof buffer; ++i)
        EXPECT_EQ(buffer[i], '#') << "written past the buffer at " << i;

    char one = '#';
    format_angle(12, &one, 1);
    EXPECT_EQ(one, '\0');
    char untouched = '#';
    format_angle(12, &untouched, 0);
    EXPECT_EQ(untouched, '#');

    for (float odd : {nan_value, infinity, -infinity}) {
        char small[12];
        std::memset(small, '#', sizeof small);
        format_angle(odd, small, sizeof small);
        EXPECT_LT(std::strlen(small), sizeof small);
    }
}

TEST(AngleTruncation, TowardZeroSaturatingAndNaNAsZero)
{
    EXPECT_EQ(truncate_angle(-45.7f), -45);
    EXPECT_EQ(truncate_angle(45.7f), 45);
    EXPECT_EQ(truncate_angle(-0.9f), 0);
    EXPECT_EQ(truncate_angle(-180), -180);
    EXPECT_EQ(truncate_angle(nan_value), 0);
    EXPECT_EQ(truncate_angle(largest), INT_MAX);
    EXPECT_EQ(truncate_angle(-largest), INT_MIN);
    EXPECT_EQ(truncate_angle(infinity), INT_MAX);
    EXPECT_EQ(truncate_angle(-infinity), INT_MIN);
    EXPECT_EQ(truncate_angle(2147483520.0f), 2147483520);  // the largest float below 2^31
    EXPECT_EQ(truncate_angle(2147483648.0f), INT_MAX);
    EXPECT_EQ(truncate_angle(-2147483648.0f), INT_MIN);
}

TEST(AxisControlsTable, TiesEachAxisToItsSliderEditAndChannelInPitchYawRollOrder)
{
    ASSERT_EQ(axis_controls[0].slider_id, IDC_PITCH_SLIDER);
    EXPECT_EQ(axis_controls[0].edit_id, IDC_PITCH_EDIT);
    EXPECT_EQ(&(joint_link.*axis_controls[0].channel), &joint_link.pitch);
    ASSERT_EQ(axis_controls[1].slider_id, IDC_YAW_SLIDER);
    EXPECT_EQ(axis_controls[1].edit_id, IDC_YAW_EDIT);
    EXPECT_EQ(&(joint_link.*axis_controls[1].channel), &joint_link.yaw);
    ASSERT_EQ(axis_controls[2].slider_id, IDC_ROLL_SLIDER);
    EXPECT_EQ(axis_controls[2].edit_id, IDC_ROLL_EDIT);
    EXPECT_EQ(&(joint_link.*axis_controls[2].channel), &joint_link.roll);

    EXPECT_EQ(axis_controls_for_edit(IDC_YAW_EDIT), &axis_controls[1]);
    EXPECT_EQ(axis_controls_for_slider(IDC_ROLL_SLIDER), &axis_controls[2]);
    EXPECT_EQ(axis_controls_for_slider(IDC_UNDO), nullptr);
    EXPECT_EQ(axis_controls_for_edit(IDC_PITCH_SLIDER), nullptr);
    EXPECT_EQ(axis_channel(IDC_YAW_SLIDER), &joint_link.yaw);
    EXPECT_EQ(axis_channel(IDC_YAW_EDIT), nullptr);
}

using AxisControlsTest = JointTest;

TEST_F(AxisControlsTest, SyncWritesTheTextFirstWhoseEnChangeArrivesInsideThenMovesTheSlider)
{
    joint_link.pitch.current = -45.5f;
    panel_recorder.recording = true;
    sync_axis_controls(IDC_PITCH_SLIDER, true, true);
    panel_recorder.recording = false;

    EXPECT_EQ(panel.text(IDC_PITCH_EDIT), "-45.500000");
    EXPECT_EQ(panel.slider_position(IDC_PITCH_SLIDER), -45);
    ASSERT_EQ(panel_recorder.messages.size(), 1u);  // no WM_HSCROLL for TBM_SETPOS
    const PanelMessage& change = panel_recorder.messages[0];
    EXPECT_EQ(change.control_id, IDC_PITCH_EDIT);
    EXPECT_EQ(change.code, EN_CHANGE);
    EXPECT_EQ(change.text, "-45.500000");
    EXPECT_EQ(change.slider_position, 0);  // the slider had not moved yet
    EXPECT_EQ(panel.text(IDC_YAW_EDIT), "");
    EXPECT_EQ(panel.text(IDC_ROLL_EDIT), "");
}

TEST_F(AxisControlsTest, SyncTouchesOnlyWhatItIsAskedToAndOnlyForTheThreeSliders)
{
    joint_link.yaw.current = 100.9f;
    sync_axis_controls(IDC_YAW_SLIDER, true, false);
    EXPECT_EQ(panel.slider_position(IDC_YAW_SLIDER), 100);
    EXPECT_EQ(panel.text(IDC_YAW_EDIT), "");

    joint_link.roll.current = -12.25f;
    sync_axis_controls(IDC_ROLL_SLIDER, false, true);
    EXPECT_EQ(panel.text(IDC_ROLL_EDIT), "-12.250000");
    EXPECT_EQ(panel.slider_position(IDC_ROLL_SLIDER), 0);

    panel_recorder.recording = true;
    for (int id : {IDC_UNDO, IDC_PITCH_EDIT, 0, -1})
        sync_axis_controls(id, true, true);
    EXPECT_TRUE(panel_recorder.messages.empty());
    EXPECT_EQ(panel.text(IDC_PITCH_EDIT), "");
    EXPECT_EQ(panel.slider_position(IDC_PITCH_SLIDER), 0);
}

TEST_F(AxisControlsTest, SyncOfAnAngleBeyondAnyRangeSaturatesTheSlider)
{
    const struct {
        float angle;
        int position;
    } cases[] = {{largest, 180}, {-largest, -180}, {infinity, 180}, {-infinity, -180}, {nan_value, 0},
                 {3e9f, 180},    {-3e9f, -180}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        SendDlgItemMessageA(panel.window(), IDC_PITCH_SLIDER, TBM_SETPOS, TRUE, 7);
        joint_link.pitch.current = c.angle;
        sync_axis_controls(IDC_PITCH_SLIDER, true, true);
        EXPECT_EQ(panel.slider_position(IDC_PITCH_SLIDER), c.position);
        EXPECT_FALSE(panel.text(IDC_PITCH_EDIT).empty());
    }
    joint_link.pitch.current = largest;
    sync_axis_controls(IDC_PITCH_SLIDER, false, true);
    EXPECT_EQ(panel.text(IDC_PITCH_EDIT).size(), 46u);  // the whole text, not cut short by the edit's limit
}

TEST_F(AxisControlsTest, LimitsBecomeTheSelectionTruncatedTowardZero)
{
    joint_link.pitch.minimum = -45.7f;
    joint_link.pitch.maximum = 45.7f;
    show_axis_limits(IDC_PITCH_SLIDER);
    EXPECT_EQ(panel.selection_start(IDC_PITCH_SLIDER), -45);
    EXPECT_EQ(panel.selection_end(IDC_PITCH_SLIDER), 45);
    EXPECT_EQ(joint_link.pitch.minimum, -45.7f);

    joint_link.roll.minimum = -90;
    joint_link.roll.maximum = 10;
    show_axis_limits(IDC_ROLL_SLIDER);
    EXPECT_EQ(panel.selection_start(IDC_ROLL_SLIDER), -90);
    EXPECT_EQ(panel.selection_end(IDC_ROLL_SLIDER), 10);
    EXPECT_EQ(panel.selection_start(IDC_YAW_SLIDER), -180);  // untouched
    EXPECT_EQ(panel.selection_end(IDC_YAW_SLIDER), 180);

    show_axis_limits(IDC_UNDO);  // nothing to show
}

TEST_F(AxisControlsTest, StoredExtremesSaturateTheSelectionInsteadOfWrappingRound)
{
    // 3.4e38 taken blindly as a 16-bit word would wrap to -1.
    joint_link.yaw.minimum = -largest;
    joint_link.yaw.maximum = largest;
    show_axis_limits(IDC_YAW_SLIDER);
    EXPECT_EQ(panel.selection_start(IDC_YAW_SLIDER), -180);
    EXPECT_EQ(panel.selection_end(IDC_YAW_SLIDER), 180);

    joint_link.yaw.minimum = -infinity;
    joint_link.yaw.maximum = 70000;  // beyond a word too: 70000 & 0xFFFF is 4464
    show_axis_limits(IDC_YAW_SLIDER);
    EXPECT_EQ(panel.selection_start(IDC_YAW_SLIDER), -180);
    EXPECT_EQ(panel.selection_end(IDC_YAW_SLIDER), 180);

    joint_link.yaw.minimum = nan_value;
    joint_link.yaw.maximum = nan_value;
    show_axis_limits(IDC_YAW_SLIDER);
    EXPECT_EQ(panel.selection_start(IDC_YAW_SLIDER), 0);
    EXPECT_EQ(panel.selection_end(IDC_YAW_SLIDER), 0);
    EXPECT_TRUE(std::isnan(joint_link.yaw.minimum));
}

TEST_F(AxisControlsTest, EnablingTheJointControlsLeavesUndoAndAutoShadeAlone)
{
    const int joint_controls[] = {IDC_YAW_EDIT, IDC_PITCH_EDIT, IDC_ROLL_EDIT, IDC_YAW_SLIDER,
                                  IDC_PITCH_SLIDER, IDC_ROLL_SLIDER, IDC_RESET};
    set_joint_controls_enabled(FALSE);
    for (int id : joint_controls)
        EXPECT_FALSE(panel.enabled(id)) << id;
    EXPECT_TRUE(panel.enabled(IDC_UNDO));
    EXPECT_TRUE(panel.enabled(IDC_AUTOSHADE));

    EnableWindow(panel.control(IDC_UNDO), FALSE);
    set_joint_controls_enabled(TRUE);
    for (int id : joint_controls)
        EXPECT_TRUE(panel.enabled(id)) << id;
    EXPECT_FALSE(panel.enabled(IDC_UNDO));
    EXPECT_TRUE(panel.enabled(IDC_AUTOSHADE));
}

TEST(AxisControlsWithoutPanel, ReachNothingAndDoNoHarm)
{
    ASSERT_EQ(panel_state.panel_window, nullptr);
    joint_link.pitch.current = 12;
    sync_axis_controls(IDC_PITCH_SLIDER, true, true);
    show_axis_limits(IDC_PITCH_SLIDER);
    set_joint_controls_enabled(FALSE);
    EXPECT_EQ(joint_link.pitch.current, 12);
    joint_link = JointLink{};
}
