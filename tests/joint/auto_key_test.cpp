// The motion key at the current time: inserted or replaced at exact and
// in-between times, nothing with the switch off or motion disabled, the
// scene's active shape only while it is the linked joint, and the three handles
// given back joint, shape, scene, also when a host exception passes.
#include <string>
#include <vector>
#include "joint/host_exception.h"
#include "joint/release_guard.h"
#include "joint_fixture.h"
#include "math/rotation_constants.h"
#include "panel/resource.h"
#include "simhost/host_catch.h"

using AutoKeyTest = JointTest;

namespace {

std::vector<float> key_times(const SimShape& joint)
{
    std::vector<float> times;
    for (const SimMotionKey& key : joint.keys())
        times.push_back(key.time);
    return times;
}

void expect_same_rotation(const Quaternion& a, const Quaternion& b)
{
    EXPECT_EQ(a.w, b.w);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

}  // namespace

TEST_F(AutoKeyTest, WithNoKeysOneIsInsertedAtTheCurrentTimeHoldingThePresentRotation)
{
    SimShape& joint = link_new_joint();
    host.set_auto_key(true);
    scene().set_current_time(12.5f);
    joint_link.pitch.current = 40;
    joint_link.active_slider = IDC_PITCH_SLIDER;
    apply_axis_change();
    auto_key();
    ASSERT_EQ(key_times(joint), std::vector<float>{12.5f});
    expect_same_rotation(joint.keys()[0].rotation, joint_link.rotation);
    expect_only_kept_references();
}

TEST_F(AutoKeyTest, AKeyAtExactlyTheCurrentTimeTakesTheRotationAndOthersAreInsertedInOrder)
{
    SimShape& joint = link_new_joint();
    host.set_auto_key(true);
    const Quaternion old_rotation(0, 1, 0, 0);
    joint.add_key(0, old_rotation);
    joint.add_key(30, old_rotation);
    joint_link.rotation = Quaternion(0.5f, 0.5f, 0.5f, 0.5f);

    scene().set_current_time(30);
    auto_key();
    EXPECT_EQ(key_times(joint), (std::vector<float>{0, 30}));
    expect_same_rotation(joint.keys()[1].rotation, joint_link.rotation);
    expect_same_rotation(joint.keys()[0].rotation, old_rotation);
    EXPECT_EQ(host.call_count(SimOperation::insert_key), 0);

    scene().set_current_time(15);
    auto_key();
    EXPECT_EQ(key_times(joint), (std::vector<float>{0, 15, 30}));
    EXPECT_EQ(host.calls(SimOperation::insert_key).back().floats, std::vector<float>{15});

    scene().set_current_time(45);
    auto_key();
    EXPECT_EQ(key_times(joint), (std::vector<float>{0, 15, 30, 45}));

    host.clear_calls();
    scene().set_current_time(0);
    auto_key();
    EXPECT_EQ(key_times(joint).size(), 4u);
    ASSERT_EQ(host.call_count(SimOperation::set_key_rotation), 1);
    EXPECT_EQ(host.calls(SimOperation::set_key_rotation)[0].ints, std::vector<int32_t>{0});

    // Only exact equality replaces: a time a hair past a key is a new key.
    scene().set_current_time(15.000001f);
    auto_key();
    EXPECT_EQ(key_times(joint), (std::vector<float>{0, 15, 15.000001f, 30, 45}));
    expect_only_kept_references();
}

TEST_F(AutoKeyTest, TheSwitchOffOrMotionDisabledChangesNothing)
{
    SimShape& joint = link_new_joint();
    scene().set_current_time(10);
    host.set_auto_key(false);
    auto_key();
    EXPECT_TRUE(joint.keys().empty());
    EXPECT_EQ(host.call_count(SimOperation::motion_enabled), 0);

    host.set_auto_key(true);
    joint.set_motion_enabled(false);
    host.clear_calls();
    auto_key();
    EXPECT_TRUE(joint.keys().empty());
    EXPECT_EQ(host.call_count(SimOperation::current_time), 0);
    EXPECT_EQ(host.call_count(SimOperation::key_count), 0);
    expect_only_kept_references();
}

TEST_F(AutoKeyTest, KeysTheActiveShapeOnlyWhileItIsTheLinkedJoint)
{
    SimShape& linked = link_new_joint("Linked");
    SimShape& other = add_selected_joint("Other");
    host.set_auto_key(true);
    auto_key();  // the host changed the selection and has not told the panel yet
    EXPECT_TRUE(other.keys().empty());
    scene().select(linked);
    auto_key();
    EXPECT_EQ(linked.keys().size(), 1u);

    SimShape& plain = scene().add_part("Plain");
    scene().select(plain);
    auto_key();  // a part without a joint: nothing
    scene().clear_selection();
    auto_key();  // no active shape: nothing
    host.set_no_current_scene(true);
    auto_key();  // no scene: nothing
    EXPECT_TRUE(other.keys().empty());
    EXPECT_EQ(linked.keys().size(), 1u);
    expect_only_kept_references();
}

TEST_F(AutoKeyTest, AHostExceptionInsideReachesTheCatcherWithEveryHandleGivenBack)
{
    SimShape& joint = link_new_joint();
    host.set_auto_key(true);
    joint.add_key(0, identity_quaternion);
    ExceptionChainRecord* chain = exception_chain_head();
    for (const char* failing : {"key_time", "key_count", "current_time", "motion_enabled", "auto_key_enabled",
                                "joint_handle", "active_shape", "insert_key"}) {
        SCOPED_TRACE(failing);
        scene().set_current_time(20);
        ASSERT_TRUE(host.fail_call(failing, 1, 5));
        HostCatch caught;
        EXPECT_FALSE(host_try([] { auto_key(); }, &caught));
        EXPECT_TRUE(caught.is_int);
        EXPECT_EQ(caught.int_value, 5);
        EXPECT_EQ(exception_chain_head(), chain);
        expect_only_kept_references();
    }
    EXPECT_EQ(joint.keys().size(), 1u);
    auto_key();  // and it works again
    EXPECT_EQ(key_times(joint), (std::vector<float>{0, 20}));
    expect_only_kept_references();
}

namespace {

// A host of four handles that log their releases, for the order of release.
std::vector<std::string> releases;

struct LoggedHandle {
    explicit LoggedHandle(const char* name) : name(name) {}
    const char* name;
    long references = 0;
    unsigned long add() { return ++references; }
    unsigned long release()
    {
        releases.push_back(name);
        return --references;
    }
};

struct FakeJoint final : HostJoint {
    LoggedHandle log{"joint"};
    bool fail = false;
    long __stdcall QueryInterface(const GUID*, void**) override { return E_NOINTERFACE; }
    unsigned long __stdcall AddRef() override { return log.add(); }
    unsigned long __stdcall Release() override { return log.release(); }
    void __stdcall get_rotation(Quaternion* out) override { *out = identity_quaternion; }
    void __stdcall set_rotation(const Quaternion*) override {}
    void __stdcall center(Vector3* out) override { *out = Vector3(); }
    host_bool __stdcall motion_enabled() override { return 1; }
    float __stdcall current_time() override { return 1; }
    int32_t __stdcall key_count() override
    {
        if (fail)
            raise_host_int_exception(9);
        return 0;
    }
    float __stdcall key_time(int32_t) override { return 0; }
    void __stdcall insert_key(float) override {}
    void __stdcall set_key_rotation(int32_t, const Quaternion*) override {}
};

struct FakeShape final : HostShape {
    LoggedHandle log{"shape"};
    FakeJoint* joint = nullptr;
    long __stdcall QueryInterface(const GUID*, void**) override { return E_NOINTERFACE; }
    unsigned long __stdcall AddRef() override { return log.add(); }
    unsigned long __stdcall Release() override { return log.release(); }
    int32_t __stdcall kind() override { return host_shape_kind_part; }
    HostPart* __stdcall as_part() override { return nullptr; }
    HostJoint* __stdcall joint_handle() override
    {
        joint->AddRef();
        return joint;
    }
    HostShape* __stdcall placement_anchor() override { return nullptr; }
    int32_t __stdcall placement_value(int32_t) override { return 0; }
    HostStream* __stdcall open_stream_for_read(int32_t) override { return nullptr; }
    HostStream* __stdcall open_stream_for_write(int32_t, int32_t, int32_t) override { return nullptr; }
    HostStream* __stdcall find_attribute_stream(int32_t, int32_t) override { return nullptr; }
    void __stdcall delete_attribute_stream(int32_t, int32_t) override {}
};

struct FakeScene final : HostScene {
    LoggedHandle log{"scene"};
    FakeShape* shape = nullptr;
    long __stdcall QueryInterface(const GUID*, void**) override { return E_NOINTERFACE; }
    unsigned long __stdcall AddRef() override { return log.add(); }
    unsigned long __stdcall Release() override { return log.release(); }
    int32_t __stdcall active_shape_count() override { return 1; }
    HostShape* __stdcall active_shape(int32_t) override
    {
        shape->AddRef();
        return shape;
    }
    float __stdcall size_unit() override { return 1; }
    void __stdcall set_placement(int32_t) override {}
    HostEntry* __stdcall begin_part(const char*) override { return nullptr; }
    HostEntry* __stdcall begin_line(const char*, int32_t) override { return nullptr; }
    void __stdcall append_point(const Vector3*, const Vector3*, const Vector3*, const Vector3*,
                                const Vector3*) override {}
    void __stdcall end_line() override {}
    void __stdcall end_part() override {}
    void __stdcall update() override {}
};

struct FakeApplication final : HostApplication {
    FakeScene* scene = nullptr;
    long __stdcall QueryInterface(const GUID*, void**) override { return E_NOINTERFACE; }
    unsigned long __stdcall AddRef() override { return 1; }
    unsigned long __stdcall Release() override { return 1; }
    host_bool __stdcall host_uses_japanese(int32_t) override { return 0; }
    HWND __stdcall main_window() override { return nullptr; }
    HostScene* __stdcall current_scene() override
    {
        scene->AddRef();
        return scene;
    }
    host_bool __stdcall auto_key_enabled() override { return 1; }
};

}  // namespace

TEST(AutoKeyRelease, HandlesGoBackJointShapeSceneAlsoWhenAHostExceptionPasses)
{
    FakeJoint joint;
    FakeShape shape;
    FakeScene scene;
    FakeApplication application;
    shape.joint = &joint;
    scene.shape = &shape;
    application.scene = &scene;
    joint_link = JointLink{};
    joint_link.host = &application;
    joint_link.joint = &joint;  // linked; the fake shape's part, none, is the link's

    releases.clear();
    auto_key();
    EXPECT_EQ(releases, (std::vector<std::string>{"joint", "shape", "scene"}));

    releases.clear();
    joint.fail = true;
    HostCatch caught;
    EXPECT_FALSE(host_try([] { auto_key(); }, &caught));
    EXPECT_EQ(caught.int_value, 9);
    EXPECT_EQ(releases, (std::vector<std::string>{"joint", "shape", "scene"}));
    EXPECT_EQ(joint.log.references + shape.log.references + scene.log.references, 0);
    joint_link = JointLink{};
}
