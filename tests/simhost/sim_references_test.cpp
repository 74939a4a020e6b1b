// Reference accounting of the simulated host: every handle an operation
// returns carries one reference, Release gives it back, and a Release too many
// is recorded instead of freeing anything.
#include <gtest/gtest.h>
#include "simhost/simhost.h"

namespace {

struct LinkedScene {
    SimHost host;
    SimShape& joint = host.scene().add_ball_joint("Elbow");
    LinkedScene() { host.scene().select(joint); }
};

}  // namespace

TEST(SimReferences, EveryReturnedHandleCountsUntilReleased)
{
    LinkedScene s;
    HostApplication* app = s.host.application();
    EXPECT_EQ(s.host.outstanding_references(), 0);  // handed in: borrowed

    HostScene* scene = app->current_scene();
    ASSERT_EQ(scene, s.host.scene().handle());
    HostShape* shape = scene->active_shape(0);
    HostPart* part = shape->as_part();
    HostJoint* joint = shape->joint_handle();
    ASSERT_NE(joint, nullptr);
    EXPECT_EQ(s.host.outstanding_references(), 4) << s.host.outstanding_report();
    EXPECT_EQ(s.joint.references(), 3);
    EXPECT_EQ(s.host.references(joint), 1);

    joint->AddRef();
    EXPECT_EQ(s.host.references(joint), 2);
    EXPECT_EQ(joint->Release(), 1u);
    EXPECT_EQ(joint->Release(), 0u);
    part->Release();
    shape->Release();
    scene->Release();
    EXPECT_EQ(s.host.outstanding_references(), 0) << s.host.outstanding_report();
    EXPECT_EQ(s.host.over_releases(), 0);
    EXPECT_TRUE(s.host.errors().empty());
}

TEST(SimReferences, TheReportNamesWhatIsStillHeld)
{
    LinkedScene s;
    HostShape* shape = s.host.scene().handle()->active_shape(0);
    HostJoint* joint = shape->joint_handle();
    shape->Release();
    EXPECT_EQ(s.host.outstanding_report(), "HostJoint of 'Elbow': 1\n");
    joint->Release();
    EXPECT_EQ(s.host.outstanding_report(), "");
}

TEST(SimReferences, OverReleaseIsRecordedAndTheHandleStaysUsable)
{
    LinkedScene s;
    HostShape* shape = s.host.scene().handle()->active_shape(0);
    EXPECT_EQ(shape->Release(), 0u);
    EXPECT_EQ(shape->Release(), 0u);  // one too many
    EXPECT_EQ(s.host.over_releases(), 1);
    ASSERT_EQ(s.host.errors().size(), 1u);
    EXPECT_NE(s.host.errors()[0].find("HostShape of 'Elbow'"), std::string::npos) << s.host.errors()[0];
    // The count does not go below zero, and the object is still the scene's.
    EXPECT_EQ(s.host.references(shape), 0);
    EXPECT_EQ(shape->kind(), host_shape_kind_part);
}

TEST(SimReferences, NoneAnswersAddNoReference)
{
    SimHost host;
    SimShape& sphere = host.scene().add_shape("Ball", sim_shape_kind_other);
    SimShape& plain = host.scene().add_part("Body");
    host.scene().select({&sphere, &plain});
    HostScene* scene = host.scene().handle();
    EXPECT_EQ(scene->active_shape(2), nullptr);
    EXPECT_EQ(scene->active_shape(-1), nullptr);

    HostShape* first = scene->active_shape(0);
    EXPECT_EQ(first->as_part(), nullptr);
    EXPECT_EQ(first->joint_handle(), nullptr);
    EXPECT_EQ(first->open_stream_for_read(0x40a00030), nullptr);
    EXPECT_EQ(first->find_attribute_stream(0x40a00030, 0), nullptr);
    HostShape* second = scene->active_shape(1);
    EXPECT_EQ(second->joint_handle(), nullptr);  // a part, but no ball joint
    EXPECT_EQ(host.outstanding_references(), 2);
    first->Release();
    second->Release();
    EXPECT_EQ(host.outstanding_references(), 0);

    host.set_no_current_scene(true);
    EXPECT_EQ(host.application()->current_scene(), nullptr);
    EXPECT_EQ(host.outstanding_references(), 0);
}

TEST(SimReferences, QueryInterfaceHandsOutNothing)
{
    SimHost host;
    void* out = &host;
    EXPECT_EQ(host.application()->QueryInterface(&IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(host.outstanding_references(), 0);
}

TEST(SimReferences, RemovedShapesStayCountedAndUseIsAnError)
{
    LinkedScene s;
    HostShape* shape = s.host.scene().handle()->active_shape(0);
    HostPart* part = shape->as_part();
    part->remove();
    EXPECT_TRUE(s.joint.removed());
    EXPECT_TRUE(s.host.scene().selection().empty());
    EXPECT_TRUE(s.host.errors().empty());
    EXPECT_EQ(s.host.outstanding_references(), 2);

    shape->kind();  // a use after removal
    ASSERT_EQ(s.host.errors().size(), 1u);
    EXPECT_NE(s.host.errors()[0].find("removed"), std::string::npos);

    part->Release();
    shape->Release();
    EXPECT_EQ(s.host.outstanding_references(), 0);
    EXPECT_EQ(s.host.over_releases(), 0);
}

TEST(SimReferences, ReleasesAreListedInTheOrderTheyHappen)
{
    LinkedScene s;
    HostScene* scene = s.host.application()->current_scene();
    HostShape* shape = scene->active_shape(0);
    HostJoint* joint = shape->joint_handle();
    joint->Release();
    shape->Release();
    scene->Release();
    scene->Release();
    EXPECT_EQ(s.host.releases(), (std::vector<std::string>{"HostJoint of 'Elbow'", "HostShape of 'Elbow'",
                                                           "HostScene #1", "HostScene #1"}));
    ASSERT_EQ(s.host.reference_events().size(), 7u);
    EXPECT_EQ(s.host.reference_events()[0].change, SimReferenceChange::handed_out);
    EXPECT_EQ(s.host.reference_events()[0].handle->handle(), scene);
    EXPECT_EQ(s.host.reference_events()[6].change, SimReferenceChange::over_release);
    EXPECT_EQ(s.host.reference_events()[6].references, 0);
}
