// Reference accounting of the simulated host, by the host's rule: the results
// of current_scene, active_shape, joint_handle, line_handle and the stream
// operations carry a reference and die when it is given back; every other
// result, and every handle handed in, is borrowed. Every breach is an error.
#include <gtest/gtest.h>
#include "simhost/simhost.h"

namespace {

struct LinkedScene {
    SimHost host;
    SimShape& joint = host.scene().add_ball_joint("Elbow");
    LinkedScene() { host.scene().select(joint); }
};

}  // namespace

TEST(SimReferences, CountedResultsCarryAReferenceBorrowedOnesNone)
{
    LinkedScene s;
    HostApplication* app = s.host.application();
    EXPECT_EQ(s.host.outstanding_references(), 0);  // handed in: borrowed

    HostScene* scene = app->current_scene();
    EXPECT_NE(scene, s.host.scene().handle()) << "a handle of its own, made for the caller";
    HostShape* shape = scene->active_shape(0);
    HostPart* part = shape->as_part();
    HostShape* anchor = shape->placement_anchor();
    HostEntry* entry = s.host.scene().handle()->begin_part("#Guide");
    HostPart* made = entry->part_handle();
    HostJoint* joint = shape->joint_handle();
    ASSERT_NE(joint, nullptr);
    EXPECT_EQ(s.host.outstanding_references(), 3) << s.host.outstanding_report();
    EXPECT_EQ(s.joint.references(), 2);
    EXPECT_EQ(s.host.references(joint), 1);
    EXPECT_EQ(s.host.references(part) + s.host.references(anchor) + s.host.references(entry) +
                  s.host.references(made),
              0);
    EXPECT_EQ(s.host.shape_of(joint), &s.joint);

    joint->AddRef();
    EXPECT_EQ(joint->Release(), 1u);
    EXPECT_EQ(joint->Release(), 0u);
    shape->Release();
    scene->Release();
    EXPECT_EQ(s.host.outstanding_references(), 0) << s.host.outstanding_report();
    EXPECT_TRUE(s.host.errors().empty()) << s.host.errors().front();
}

TEST(SimReferences, ACountedHandleIsDeadOnceReleasedToZero)
{
    LinkedScene s;
    HostShape* shape = s.host.scene().handle()->active_shape(0);
    HostShape* again = s.host.scene().handle()->active_shape(0);
    EXPECT_NE(shape, again);
    EXPECT_EQ(shape->Release(), 0u);
    EXPECT_TRUE(s.host.errors().empty());

    shape->kind();      // a call on it
    shape->Release();   // and a release of it
    shape->AddRef();    // it does not come back to life
    ASSERT_EQ(s.host.errors().size(), 3u);
    for (const std::string& error : s.host.errors())
        EXPECT_NE(error.find("HostShape of 'Elbow', which was released to zero"), std::string::npos) << error;
    EXPECT_EQ(s.host.over_releases(), 1);
    EXPECT_EQ(again->kind(), host_shape_kind_part) << "another caller's handle lives on";
    again->Release();
    EXPECT_EQ(s.host.outstanding_references(), 0);
}

TEST(SimReferences, ReleasingABorrowedHandleIsAnError)
{
    LinkedScene s;
    HostShape* shape = s.host.scene().handle()->active_shape(0);
    shape->as_part()->Release();
    shape->placement_anchor()->Release();
    s.host.scene().handle()->Release();
    s.host.application()->Release();
    EXPECT_EQ(s.host.over_releases(), 4);
    ASSERT_EQ(s.host.errors().size(), 4u);
    EXPECT_EQ(s.host.errors()[0], "Release of HostPart of 'Elbow', for which no reference was given");

    // A reference taken with AddRef may be given back.
    HostPart* part = shape->as_part();
    part->AddRef();
    EXPECT_EQ(part->Release(), 0u);
    EXPECT_EQ(s.host.errors().size(), 4u);
    shape->Release();
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

// A removed part is gone: any call on its handles, or a release of the part
// handle, is an error; a counted handle of it may still be given back.
TEST(SimReferences, ARemovedPartIsDead)
{
    LinkedScene s;
    HostShape* shape = s.host.scene().handle()->active_shape(0);
    HostPart* part = shape->as_part();
    part->remove();
    EXPECT_TRUE(s.joint.removed());
    EXPECT_TRUE(s.host.scene().selection().empty());
    EXPECT_TRUE(s.host.errors().empty());

    shape->kind();
    part->set_part_option(0);
    part->Release();
    ASSERT_EQ(s.host.errors().size(), 3u);
    EXPECT_EQ(s.host.errors()[0], "kind on HostShape of 'Elbow', which was removed");
    EXPECT_EQ(s.host.errors()[2], "Release of HostPart of 'Elbow', which was removed");

    shape->Release();
    EXPECT_EQ(s.host.outstanding_references(), 0);
    EXPECT_EQ(s.host.errors().size(), 3u);
}

TEST(SimReferences, CallsAndReleasesAreNumberedInOneSequence)
{
    LinkedScene s;
    HostScene* scene = s.host.application()->current_scene();
    HostShape* shape = scene->active_shape(0);
    HostJoint* joint = shape->joint_handle();
    joint->Release();
    shape->Release();
    scene->Release();
    EXPECT_EQ(s.host.releases(), (std::vector<std::string>{"HostJoint of 'Elbow'", "HostShape of 'Elbow'",
                                                           "HostScene #1"}));
    ASSERT_EQ(s.host.reference_events().size(), 6u);
    EXPECT_EQ(s.host.reference_events()[0].change, SimReferenceChange::handed_out);
    EXPECT_EQ(s.host.reference_events()[0].handle->handle(), scene);
    // current_scene, its reference, active_shape, its reference, ...
    EXPECT_LT(s.host.calls()[0].sequence, s.host.reference_events()[0].sequence);
    EXPECT_LT(s.host.reference_events()[0].sequence, s.host.calls()[1].sequence);
    EXPECT_LT(s.host.calls()[2].sequence, s.host.reference_events()[3].sequence);
}
