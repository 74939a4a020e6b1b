// The guide figure: its part and three lines with their control points and
// colours, the linked part's transformation, where it is placed, exactly one
// after repeated relinks, removal on unlink, and host exceptions while it is
// built.
#include "joint/release_guard.h"
#include "joint_fixture.h"
#include "simhost/host_catch.h"

using GuideTest = JointTest;

namespace {

const char guide_name[] = "#Kelvaro_Guide";

void expect_vector(const Vector3& v, float x, float y, float z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

// A line of two control points whose handles all sit on the point.
void expect_straight_line(const SimShape& line, const Vector3& from, const Vector3& to)
{
    ASSERT_EQ(line.points().size(), 2u);
    const Vector3 ends[2] = {from, to};
    for (int i = 0; i < 2; ++i) {
        const SimPoint& p = line.points()[i];
        for (const Vector3* v : {&p.position, &p.in_handle, &p.out_handle, &p.side_in_handle, &p.side_out_handle})
            expect_vector(*v, ends[i].x, ends[i].y, ends[i].z);
    }
}

const Matrix4 joint_transformation(0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1);

}  // namespace

TEST_F(GuideTest, ThreeColouredArmsFromTheJointsCentreTakingThePartsTransformation)
{
    SimShape& joint = add_selected_joint();
    joint.set_center(Vector3(10, 20, 30));
    joint.set_transformation(joint_transformation);
    scene().set_size_unit(1);
    relink();

    ASSERT_EQ(scene().find_all(guide_name).size(), 1u);
    SimShape& guide = *scene().find(guide_name);
    EXPECT_TRUE(guide.is_part());
    EXPECT_EQ(host.references(joint_link.guide), 0) << "borrowed";
    EXPECT_EQ(joint_link.guide, guide.part_handle());
    EXPECT_TRUE(guide.has_part_option());
    EXPECT_EQ(guide.part_option(), 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(guide.transformation()[i], joint_transformation[i]) << i;

    ASSERT_EQ(guide.children().size(), 3u);
    const SimShape& yaw = *guide.children()[0];
    const SimShape& pitch = *guide.children()[1];
    const SimShape& roll = *guide.children()[2];
    EXPECT_EQ(yaw.name(), "G_Yaw");
    EXPECT_EQ(pitch.name(), "R_Pitch");
    EXPECT_EQ(roll.name(), "B_Roll");
    const Vector3 centre(10, 20, 30);
    expect_straight_line(yaw, centre, Vector3(10, 120, 30));
    expect_straight_line(pitch, centre, Vector3(110, 20, 30));
    expect_straight_line(roll, centre, Vector3(10, 20, 130));
    expect_vector(yaw.color(), 0, 1, 0);
    expect_vector(pitch.color(), 1, 0, 0);
    expect_vector(roll.color(), 0, 0, 1);
    for (const SimShape* line : {&yaw, &pitch, &roll}) {
        EXPECT_TRUE(line->is_line());
        EXPECT_EQ(line->line_option(), 0);
    }
    EXPECT_EQ(scene().open_part(), nullptr);  // the part was closed
    EXPECT_GE(scene().update_count(), 1);

    // The line handles go back B_Roll's, R_Pitch's, G_Yaw's, before the part ends.
    EXPECT_EQ(host.releases(), (std::vector<std::string>{"HostLine of 'B_Roll'", "HostLine of 'R_Pitch'",
                                                         "HostLine of 'G_Yaw'", "HostJoint of 'Joint'",
                                                         "HostShape of 'Joint'"}));
    const int32_t end_part = host.calls(SimOperation::end_part).at(0).sequence;
    for (const SimReferenceEvent& event : host.reference_events()) {
        if (event.change == SimReferenceChange::release && host.shape_of(event.handle->handle())->is_line()) {
            EXPECT_LT(event.sequence, end_part) << event.handle->description();
        }
    }
    EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    expect_only_kept_references();
}

TEST_F(GuideTest, TheArmLengthIsAHundredSizeUnits)
{
    SimShape& joint = add_selected_joint();
    joint.set_center(Vector3(1, 2, 3));
    scene().set_size_unit(0.25f);
    relink();
    const SimShape& guide = *scene().find(guide_name);
    expect_straight_line(*guide.children()[1], Vector3(1, 2, 3), Vector3(26, 2, 3));
}

TEST_F(GuideTest, TheGuideGoesWhereTheJointsPlacementAnchorSays)
{
    SimShape& arm = scene().add_part("Arm");
    SimShape& joint = scene().add_ball_joint("Elbow", &arm);
    scene().select(joint);
    relink();
    ASSERT_EQ(arm.find_child(guide_name) != nullptr, true);
    ASSERT_EQ(host.call_count(SimOperation::set_placement), 1);
    EXPECT_EQ(host.calls(SimOperation::set_placement)[0].ints[0], arm.id());
    expect_only_kept_references();
}

TEST_F(GuideTest, RepeatedRelinksLeaveExactlyOneGuideAtThePresentCentre)
{
    SimShape& joint = add_selected_joint();
    for (int i = 0; i < 5; ++i) {
        joint.set_center(Vector3(static_cast<float>(i), 0, 0));
        relink();
        ASSERT_EQ(scene().find_all(guide_name).size(), 1u);
        expect_only_kept_references();
    }
    const SimShape& guide = *scene().find(guide_name);
    EXPECT_EQ(guide.children()[0]->points()[0].position.x, 4);
    EXPECT_EQ(host.call_count(SimOperation::remove), 4);
}

TEST_F(GuideTest, UnlinkRemovesTheGuideOnceAndASecondUnlinkRemovesNothing)
{
    link_new_joint();
    scene().select({});
    relink();
    EXPECT_TRUE(scene().find_all(guide_name).empty());
    EXPECT_EQ(joint_link.guide, nullptr);
    EXPECT_EQ(host.call_count(SimOperation::remove), 1);
    relink();
    EXPECT_EQ(host.call_count(SimOperation::remove), 1);
    expect_only_kept_references();
}

TEST_F(GuideTest, ClosingRemovesTheGuideWhileTheJointStaysLinked)
{
    link_new_joint();
    remove_guide();  // what the panel does when it closes
    EXPECT_TRUE(scene().find_all(guide_name).empty());
    EXPECT_NE(joint_link.joint, nullptr);
    remove_guide();
    EXPECT_EQ(host.call_count(SimOperation::remove), 1);
    expect_only_kept_references();

    // A removal that fails removed nothing: the next close, relink or unlink
    // removes that guide, and no second one is ever built beside it.
    const struct {
        void (*step)();
        size_t guides_after;
    } steps[] = {{&remove_guide, 0}, {&relink, 1}, {&unlink, 0}};
    for (const auto& step : steps) {
        relink();
        ASSERT_TRUE(host.fail_call("remove", 1, 9));
        EXPECT_FALSE(host_try([&] { step.step(); }, nullptr));
        EXPECT_EQ(scene().find_all(guide_name).size(), 1u);
        step.step();
        EXPECT_EQ(scene().find_all(guide_name).size(), step.guides_after);
        expect_only_kept_references();
    }
}

// (A failure of part_handle itself is left out: the host has then made a part
// whose handle never reached us, which nothing on our side can remove.)
TEST_F(GuideTest, AHostExceptionWhileBuildingGivesBackEveryLineAndTheNextRelinkCleansUp)
{
    link_new_joint();
    ExceptionChainRecord* chain = exception_chain_head();
    for (const char* failing : {"set_color", "append_point", "line_handle", "end_line", "end_part", "update",
                                "set_transformation", "begin_line", "center", "placement_value", "size_unit"}) {
        SCOPED_TRACE(failing);
        for (int nth : {1, 2, 3}) {
            ASSERT_TRUE(host.fail_call(failing, nth, 42));
            HostCatch caught;
            const bool returned = host_try([] { build_guide(); }, &caught);
            host.clear_faults();
            if (returned)
                continue;  // fewer calls than nth
            EXPECT_EQ(caught.int_value, 42);
            EXPECT_EQ(exception_chain_head(), chain);
            expect_only_kept_references();
            ASSERT_LE(scene().find_all(guide_name).size(), 1u);
        }
    }
    relink();
    EXPECT_EQ(scene().find_all(guide_name).size(), 1u);
    EXPECT_EQ(scene().open_part(), nullptr);
    EXPECT_EQ(scene().find(guide_name)->children().size(), 3u);
    expect_only_kept_references();
}

// A line (its guide's removal failing too), then a part, left begun: the next guide begins outside both.
TEST_F(GuideTest, WhatAHostExceptionLeftBegunIsEndedBeforeTheNextGuideBegins)
{
    link_new_joint();
    ASSERT_TRUE(host.fail_call("line_handle", 2, 42));  // R_Pitch's
    EXPECT_FALSE(host_try([] { build_guide(); }, nullptr));
    ASSERT_TRUE(host.fail_call("remove", 1, 43));
    EXPECT_FALSE(host_try([] { build_guide(); }, nullptr));
    ASSERT_TRUE(host.fail_call("part_handle", 1, 44));  // a part whose handle never reached us
    EXPECT_FALSE(host_try([] { build_guide(); }, nullptr));
    build_guide();
    EXPECT_EQ(host.shape_of(joint_link.guide)->parent(), &scene().root());
    EXPECT_EQ(scene().open_part(), nullptr);
}
