// Injected failures: an operation told to fail raises the host's int
// exception before it has any effect; a host_try around the caller's step
// catches it after the ReleaseGuards in between have released their handles.
#include <gtest/gtest.h>
#include "joint/release_guard.h"
#include "simhost/simhost.h"

namespace {

struct KeyScene {
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    KeyScene()
    {
        host.scene().select(elbow);
        host.set_auto_key(true);
        host.scene().set_current_time(15);
        elbow.add_key(0, Quaternion(1, 0, 0, 0));
    }
};

// A step shaped like the plug-in's keying: three handles held by guards
// while the joint is keyed.
__attribute__((noinline)) void key_active_joint(HostApplication* app)
{
    ReleaseGuard<HostScene> scene(app->current_scene());
    ReleaseGuard<HostShape> shape(scene->active_shape(0));
    ReleaseGuard<HostJoint> joint(shape->joint_handle());
    if (app->auto_key_enabled() && joint->motion_enabled())
        joint->insert_key(joint->current_time());
}

}  // namespace

TEST(SimFault, AFailingOperationRaisesTheHostsIntAndGuardsRelease)
{
    KeyScene s;
    s.host.fail_call(SimOperation::insert_key, 1, 42);
    ExceptionChainRecord* chain_before = exception_chain_head();
    HostCatch caught;
    EXPECT_FALSE(host_try([&] { key_active_joint(s.host.application()); }, &caught));
    EXPECT_TRUE(caught.caught);
    EXPECT_EQ(caught.code, host_exception_code);
    EXPECT_TRUE(caught.is_int);
    EXPECT_EQ(caught.int_value, 42);
    EXPECT_EQ(exception_chain_head(), chain_before);

    EXPECT_EQ(s.elbow.keys().size(), 1u);  // no effect
    EXPECT_EQ(s.host.faults_raised(), 1);
    ASSERT_EQ(s.host.call_count(SimOperation::insert_key), 1);
    EXPECT_TRUE(s.host.calls(SimOperation::insert_key)[0].failed);
    EXPECT_EQ(s.host.outstanding_references(), 0) << s.host.outstanding_report();
    EXPECT_EQ(s.host.over_releases(), 0);

    // Spent: the same step runs through the next time.
    EXPECT_TRUE(host_try([&] { key_active_joint(s.host.application()); }, nullptr));
    EXPECT_EQ(s.elbow.keys().size(), 2u);
    EXPECT_EQ(s.host.outstanding_references(), 0);
}

TEST(SimFault, AFailingHandleReturnAddsNoReference)
{
    KeyScene s;
    ASSERT_TRUE(s.host.fail_call("joint_handle", 1, -3));
    HostCatch caught;
    EXPECT_FALSE(host_try([&] { key_active_joint(s.host.application()); }, &caught));
    EXPECT_EQ(caught.int_value, -3);
    EXPECT_EQ(s.host.outstanding_references(), 0) << s.host.outstanding_report();
}

TEST(SimFault, TheNthCallFailsAndEarlierOnesRun)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    HostJoint* joint = elbow.new_joint_handle();
    host.fail_call(SimOperation::set_rotation, 3, 7);
    const Quaternion q[3] = {{0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    int completed = 0;
    HostCatch caught;
    bool returned = host_try(
        [&] {
            for (const Quaternion& r : q) {
                joint->set_rotation(&r);
                ++completed;
            }
        },
        &caught);
    EXPECT_FALSE(returned);
    EXPECT_EQ(completed, 2);
    EXPECT_EQ(caught.int_value, 7);
    EXPECT_EQ(elbow.rotation().y, 1);  // the second one's, the third never landed
    std::vector<SimCall> calls = host.calls(SimOperation::set_rotation);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_FALSE(calls[1].failed);
    EXPECT_TRUE(calls[2].failed);
    EXPECT_EQ(calls[2].quaternion().z, 1);  // what was asked is logged all the same
}

TEST(SimFault, OnlyTheNamedOperationFailsAndUnknownNamesAreRefused)
{
    SimHost host;
    EXPECT_FALSE(host.fail_call("no_such_operation"));
    host.fail_call(SimOperation::size_unit);
    HostScene* scene = host.scene().handle();
    EXPECT_TRUE(host_try([&] { scene->active_shape_count(); }, nullptr));
    HostCatch caught;
    EXPECT_FALSE(host_try([&] { scene->size_unit(); }, &caught));
    EXPECT_EQ(caught.int_value, 1);
    host.fail_call(SimOperation::size_unit);
    host.clear_faults();
    EXPECT_TRUE(host_try([&] { scene->size_unit(); }, nullptr));
}

TEST(SimFault, EveryOperationHasAName)
{
    for (int32_t i = 0; i < sim_operation_count; ++i) {
        SimOperation found;
        const char* name = sim_operation_name(static_cast<SimOperation>(i));
        ASSERT_TRUE(sim_operation_named(name, &found)) << name;
        EXPECT_EQ(static_cast<int32_t>(found), i) << name;  // names are unique
    }
    EXPECT_STREQ(sim_operation_interface(SimOperation::set_color), "HostLine");
}

TEST(SimFault, AnOperationCanAnswerNoneInsteadOfAHandle)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    elbow.set_stream_floats(0x40a00030, {-1, 1});
    ASSERT_TRUE(host.answer_none(SimOperation::open_stream_for_write));
    EXPECT_FALSE(host.answer_none(SimOperation::write_float));  // returns no handle
    EXPECT_FALSE(host.answer_none("no_such_operation"));

    HostShape* shape = elbow.shape_handle();
    EXPECT_EQ(shape->open_stream_for_write(0x40a00030, 0, 0), nullptr);
    EXPECT_EQ(elbow.stream_floats(0x40a00030), (std::vector<float>{-1, 1}));  // not replaced
    EXPECT_TRUE(host.calls().back().refused);
    EXPECT_EQ(host.faults_raised(), 0);

    HostStream* second = shape->open_stream_for_write(0x40a00030, 0, 0);  // spent
    ASSERT_NE(second, nullptr);
    second->Release();
    EXPECT_EQ(host.outstanding_references(), 0);
}
