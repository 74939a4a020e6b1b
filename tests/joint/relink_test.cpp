// Linking to the scene's single active ball joint and dropping the link, UNDO
// and RESET, on the real panel controls, with the references the link keeps
// checked after every step.
#include <cmath>
#include "joint/release_guard.h"
#include "joint_fixture.h"
#include "math/euler_angles.h"
#include "math/rotation_constants.h"
#include "panel/resource.h"
#include "simhost/host_catch.h"

namespace {

const int joint_controls[] = {IDC_YAW_EDIT, IDC_PITCH_EDIT, IDC_ROLL_EDIT, IDC_YAW_SLIDER,
                              IDC_PITCH_SLIDER, IDC_ROLL_SLIDER, IDC_RESET, IDC_UNDO};

// Pitch 30, then Yaw 20, as the channels compose them: a rotation whose
// read-back is (30, 20, 0).
Quaternion pitch30_yaw20()
{
    const double h = 3.14159265358979323846 / 360;
    const Quaternion yaw(static_cast<float>(std::cos(20 * h)), 0, static_cast<float>(std::sin(20 * h)), 0);
    const Quaternion pitch(static_cast<float>(std::cos(30 * h)), static_cast<float>(std::sin(30 * h)), 0, 0);
    return yaw.multiply(pitch);
}

void expect_same_rotation(const Quaternion& a, const Quaternion& b)
{
    EXPECT_EQ(a.w, b.w);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

void move_channel(int slider_id, float angle)
{
    axis_channel(slider_id)->current = angle;
    joint_link.active_slider = slider_id;
    apply_axis_change();
}

}  // namespace

using RelinkTest = JointTest;

TEST_F(RelinkTest, LinkingReadsTheRotationShowsTheAnglesAndEnablesTheControls)
{
    SimShape& joint = add_selected_joint();
    joint.set_rotation(pitch30_yaw20());
    set_joint_controls_enabled(FALSE);
    EnableWindow(panel.control(IDC_UNDO), FALSE);
    relink();

    EXPECT_EQ(host.shape_of(joint_link.shape), &joint);
    EXPECT_EQ(joint_link.part, joint.part_handle());
    EXPECT_EQ(host.shape_of(joint_link.joint), &joint);
    expect_same_rotation(joint_link.rotation, joint.rotation());
    expect_same_rotation(joint_link.undo_rotation, joint.rotation());
    EXPECT_NEAR(joint_link.pitch.current, 30, 2e-4);
    EXPECT_NEAR(joint_link.yaw.current, 20, 2e-4);
    EXPECT_NEAR(joint_link.roll.current, 0, 2e-4);
    for (const AxisChannel* channel : {&joint_link.pitch, &joint_link.yaw, &joint_link.roll})
        EXPECT_EQ(channel->last_applied, channel->current);

    char expected[32];
    format_angle(joint_link.pitch.current, expected, sizeof expected);
    EXPECT_EQ(panel.text(IDC_PITCH_EDIT), expected);
    EXPECT_EQ(panel.slider_position(IDC_PITCH_SLIDER), static_cast<int>(joint_link.pitch.current));
    EXPECT_EQ(panel.slider_position(IDC_YAW_SLIDER), static_cast<int>(joint_link.yaw.current));
    for (int id : joint_controls)
        EXPECT_TRUE(panel.enabled(id)) << id;
    EXPECT_EQ(scene().find_all("#Kelvaro_Guide").size(), 1u);
    expect_only_kept_references();
    EXPECT_EQ(host.outstanding_references(), 2);  // shape and joint; the part and the guide are borrowed
}

TEST_F(RelinkTest, TwoActiveShapesUnlinkAndTheControlsKeepTheLastValuesDisabled)
{
    SimShape& joint = link_new_joint();
    move_channel(IDC_ROLL_SLIDER, 25);
    sync_axis_controls(IDC_ROLL_SLIDER, true, true);
    const AxisChannel roll_before = joint_link.roll;
    const Quaternion rotation_before = joint_link.rotation;
    SendDlgItemMessageA(panel.window(), IDC_AUTOSHADE, BM_SETCHECK, BST_CHECKED, 0);

    SimShape& other = scene().add_part("Box");
    scene().select({&joint, &other});
    relink();

    EXPECT_EQ(joint_link.shape, nullptr);
    EXPECT_EQ(joint_link.part, nullptr);
    EXPECT_EQ(joint_link.joint, nullptr);
    EXPECT_EQ(joint_link.guide, nullptr);
    EXPECT_TRUE(scene().find_all("#Kelvaro_Guide").empty());
    for (int id : joint_controls)
        EXPECT_FALSE(panel.enabled(id)) << id;
    EXPECT_TRUE(panel.enabled(IDC_AUTOSHADE));
    EXPECT_EQ(SendDlgItemMessageA(panel.window(), IDC_AUTOSHADE, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(joint_link.roll.current, roll_before.current);
    EXPECT_EQ(joint_link.roll.last_applied, roll_before.last_applied);
    expect_same_rotation(joint_link.rotation, rotation_before);
    EXPECT_EQ(panel.text(IDC_ROLL_EDIT), "25.000000");
    EXPECT_EQ(panel.slider_position(IDC_ROLL_SLIDER), 25);
    EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
}

TEST_F(RelinkTest, OnlyASinglePartOfTheBallJointKindLinks)
{
    SimShape& plain = scene().add_part("Plain");
    SimShape& sphere = scene().add_shape("Sphere", sim_shape_kind_other);
    for (SimShape* shape : {&plain, &sphere}) {
        scene().select(*shape);
        relink();
        EXPECT_EQ(joint_link.joint, nullptr) << shape->name();
        EXPECT_FALSE(panel.enabled(IDC_PITCH_SLIDER));
        EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
    }
    scene().clear_selection();
    relink();
    EXPECT_EQ(joint_link.joint, nullptr);
    joint_link.scene = nullptr;
    relink();
    EXPECT_EQ(joint_link.joint, nullptr);
}

TEST_F(RelinkTest, RelinkingToAnotherJointGivesBackTheFormerHandles)
{
    SimShape& first = link_new_joint("First");
    SimShape& second = add_selected_joint("Second");
    relink();
    EXPECT_EQ(host.shape_of(joint_link.joint), &second);
    EXPECT_EQ(first.references(), 0);
    expect_only_kept_references();
}

TEST_F(RelinkTest, AStoredMinimumIsShownTruncatedTowardZeroAndKeptExact)
{
    SimShape& joint = add_selected_joint();
    joint.set_stream_floats(panel_component_id, {-45.7f, 45.7f, -180, 180, -180, 180});
    relink();
    EXPECT_EQ(panel.selection_start(IDC_PITCH_SLIDER), -45);
    EXPECT_EQ(panel.selection_end(IDC_PITCH_SLIDER), 45);
    EXPECT_EQ(joint_link.pitch.minimum, -45.7f);
}

TEST_F(RelinkTest, AnAngleOutsideTheStoredLimitsIsShownUnchanged)
{
    SimShape& joint = add_selected_joint();
    joint.set_stream_floats(panel_component_id, {-10, 10, -180, 180, -180, 180});
    const double h = 3.14159265358979323846 / 360;
    joint.set_rotation(Quaternion(static_cast<float>(std::cos(60 * h)), static_cast<float>(std::sin(60 * h)), 0, 0));
    relink();
    EXPECT_NEAR(joint_link.pitch.current, 60, 2e-4);
    EXPECT_EQ(panel.slider_position(IDC_PITCH_SLIDER), 60);
    EXPECT_EQ(panel.text(IDC_PITCH_EDIT).substr(0, 4), "60.0");
    EXPECT_EQ(panel.selection_end(IDC_PITCH_SLIDER), 10);
}

TEST_F(RelinkTest, UndoRightAfterLinkingWritesTheUnchangedRotationBack)
{
    SimShape& joint = add_selected_joint();
    joint.set_rotation(pitch30_yaw20());
    relink();
    const Quaternion linked = joint.rotation();
    host.clear_calls();
    undo();
    ASSERT_EQ(host.call_count(SimOperation::set_rotation), 1);
    expect_same_rotation(host.calls(SimOperation::set_rotation)[0].quaternion(), linked);
    expect_same_rotation(joint.rotation(), linked);
    EXPECT_EQ(host.call_count(SimOperation::insert_key), 0);
    EXPECT_EQ(scene().find_all("#Kelvaro_Guide").size(), 1u);
    expect_only_kept_references();
}

TEST_F(RelinkTest, UndoAfterMovesGoesBackToTheLinkedRotationAndShowsItsAngles)
{
    SimShape& joint = add_selected_joint();
    joint.set_rotation(pitch30_yaw20());
    relink();
    move_channel(IDC_ROLL_SLIDER, 90);
    move_channel(IDC_PITCH_SLIDER, -100);
    undo();
    expect_same_rotation(joint.rotation(), pitch30_yaw20());
    EXPECT_NEAR(joint_link.pitch.current, 30, 2e-4);
    EXPECT_NEAR(joint_link.roll.current, 0, 2e-4);
    EXPECT_EQ(joint_link.pitch.last_applied, joint_link.pitch.current);
    EXPECT_EQ(panel.slider_position(IDC_PITCH_SLIDER), static_cast<int>(joint_link.pitch.current));
    EXPECT_EQ(panel.slider_position(IDC_ROLL_SLIDER), 0);
    undo();  // again, the same
    expect_same_rotation(joint.rotation(), pitch30_yaw20());
}

TEST_F(RelinkTest, ResetThenUndoLeavesTheJointAtTheIdentity)
{
    SimShape& joint = add_selected_joint();
    joint.set_rotation(pitch30_yaw20());
    relink();
    move_channel(IDC_YAW_SLIDER, 70);
    reset();
    expect_same_rotation(joint.rotation(), identity_quaternion);
    for (const AxisChannel* channel : {&joint_link.pitch, &joint_link.yaw, &joint_link.roll}) {
        EXPECT_EQ(channel->current, 0);
        EXPECT_EQ(channel->last_applied, 0);
    }
    EXPECT_EQ(panel.text(IDC_YAW_EDIT), "0.000000");
    EXPECT_EQ(panel.slider_position(IDC_YAW_SLIDER), 0);
    undo();
    expect_same_rotation(joint.rotation(), identity_quaternion);
    expect_same_rotation(joint_link.rotation, identity_quaternion);
    for (int id : {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT})
        EXPECT_EQ(panel.text(id), "0.000000") << id;  // the identity reads back with a yaw of -0
    EXPECT_EQ(host.call_count(SimOperation::insert_key), 0);
    expect_only_kept_references();
}

TEST_F(RelinkTest, RelinkingTheSameJointAfterMovesMakesTheMovedRotationTheUndoPoint)
{
    SimShape& joint = link_new_joint();
    move_channel(IDC_PITCH_SLIDER, 40);
    const Quaternion moved = joint.rotation();
    relink();
    move_channel(IDC_PITCH_SLIDER, 0);
    undo();
    expect_same_rotation(joint.rotation(), moved);
    EXPECT_EQ(scene().find_all("#Kelvaro_Guide").size(), 1u);
    expect_only_kept_references();
}

TEST_F(RelinkTest, UndoAndResetWithNoJointLinkedChangeNothing)
{
    SimShape& joint = add_selected_joint();
    joint.set_rotation(pitch30_yaw20());
    joint_link.pitch.current = 7;
    undo();
    reset();
    EXPECT_TRUE(host.calls().empty());
    EXPECT_EQ(joint_link.pitch.current, 7);
    EXPECT_TRUE(std::isnan(joint_link.rotation.w));
    EXPECT_EQ(panel.text(IDC_PITCH_EDIT), "");
}

TEST_F(RelinkTest, AHostExceptionWhileLinkingLeavesOnlyTheKeptReferencesAndTheNextRelinkWorks)
{
    SimShape& joint = add_selected_joint();
    joint.set_stream_floats(panel_component_id, {-1, 1, -2, 2, -3, 3});
    ExceptionChainRecord* chain = exception_chain_head();
    for (const char* failing : {"active_shape_count", "active_shape", "kind", "as_part", "part_kind", "joint_handle",
                                "get_rotation", "open_stream_for_read", "read_float", "size_unit", "begin_part",
                                "set_color", "end_part"}) {
        SCOPED_TRACE(failing);
        ASSERT_TRUE(host.fail_call(failing, 1, 13));
        HostCatch caught;
        EXPECT_FALSE(host_try([] { relink(); }, &caught));
        EXPECT_EQ(caught.int_value, 13);
        EXPECT_EQ(exception_chain_head(), chain);
        expect_only_kept_references();

        relink();
        EXPECT_EQ(host.shape_of(joint_link.joint), &joint);
        EXPECT_EQ(joint_link.roll.maximum, 3);
        EXPECT_EQ(scene().find_all("#Kelvaro_Guide").size(), 1u);
        expect_only_kept_references();
    }
}

// A host failure anywhere in a relink, from the save of the first joint's
// limits to the reads of the next joint's state, leaves no mixed link: the
// link is dropped, and nothing the plug-in held for the first joint is ever
// written to the second.
TEST_F(RelinkTest, AHostFailureWhileRelinkingToAnotherJointUnlinks)
{
    for (const char* failing : {"open_stream_for_write", "write_float", "active_shape_count", "active_shape", "kind",
                                "as_part", "part_kind", "joint_handle", "get_rotation", "read_float"}) {
        SCOPED_TRACE(failing);
        SimShape& first = link_new_joint("First");
        move_channel(IDC_PITCH_SLIDER, 40);
        SimShape& second = add_selected_joint("Second");
        second.set_stream_floats(panel_component_id, {-1, 1, -2, 2, -3, 3});
        const Quaternion second_rotation(0.5f, 0.5f, 0.5f, 0.5f);
        second.set_rotation(second_rotation);

        ASSERT_TRUE(host.fail_call(failing, 1, 13));
        EXPECT_FALSE(host_try([] { save_limits_and_relink(); }, nullptr));
        EXPECT_EQ(joint_link.joint, nullptr);
        EXPECT_EQ(joint_link.shape, nullptr);
        EXPECT_EQ(joint_link.part, nullptr);
        for (int id : joint_controls)
            EXPECT_FALSE(panel.enabled(id)) << id;
        EXPECT_EQ(joint_link.pitch.maximum, 180) << "the second joint's limits were not taken";
        expect_only_kept_references();

        host.clear_calls();
        move_channel(IDC_PITCH_SLIDER, 60);
        undo();
        reset();
        EXPECT_EQ(host.call_count(SimOperation::set_rotation), 0) << host.call_report();
        expect_same_rotation(second.rotation(), second_rotation);

        relink();  // the next relink takes the second joint whole
        EXPECT_EQ(host.shape_of(joint_link.joint), &second);
        expect_same_rotation(joint_link.rotation, second_rotation);
        EXPECT_EQ(joint_link.pitch.maximum, 1);
        EXPECT_EQ(scene().find_all("#Kelvaro_Guide").size(), 1u);
        unlink();
        EXPECT_NE(first.rotation().w, 1) << "the first joint was turned";
    }
}
