// A channel's change as rotation of the joint: the delta quaternions of the
// negative axes, read-back through the Euler extraction, the order of moves,
// split moves, other slider IDs, and that a drag step allocates nothing.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include "joint_fixture.h"
#include "math/euler_angles.h"
#include "math/rotation_constants.h"
#include "panel/resource.h"

namespace {

int allocations = 0;

}  // namespace

// Every allocation through operator new in this program is counted.
void* operator new(std::size_t size)
{
    ++allocations;
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

struct Angles {
    float pitch, yaw, roll;
};

Angles read_back(const Quaternion& q)
{
    Angles a{};
    euler_degrees_from_quaternion(q, a.pitch, a.yaw, a.roll);
    return a;
}

// What the panel does for a slider step or an accepted entry.
void move_channel(int slider_id, float angle)
{
    axis_channel(slider_id)->current = angle;
    joint_link.active_slider = slider_id;
    apply_axis_change();
}

const double degree_tolerance = 2e-4;  // single precision through the trigonometry

void expect_angles(const Quaternion& q, float pitch, float yaw, float roll)
{
    const Angles a = read_back(q);
    EXPECT_NEAR(a.pitch, pitch, degree_tolerance);
    EXPECT_NEAR(a.yaw, yaw, degree_tolerance);
    EXPECT_NEAR(a.roll, roll, degree_tolerance);
}

void expect_quaternion(const Quaternion& q, float w, float x, float y, float z)
{
    EXPECT_NEAR(q.w, w, 1e-6);
    EXPECT_NEAR(q.x, x, 1e-6);
    EXPECT_NEAR(q.y, y, 1e-6);
    EXPECT_NEAR(q.z, z, 1e-6);
}

}  // namespace

using AxisChangeTest = JointTest;

TEST_F(AxisChangeTest, APositiveChangeTurnsAboutThePositiveCoordinateAxis)
{
    const float c = 0.96592583f, s = 0.25881905f;  // cos 15°, sin 15°
    SimShape& joint = link_new_joint();
    move_channel(IDC_PITCH_SLIDER, 30);
    expect_quaternion(joint_link.rotation, c, s, 0, 0);
    EXPECT_EQ(joint.rotation().w, joint_link.rotation.w);  // written through to the joint
    EXPECT_EQ(joint.rotation().x, joint_link.rotation.x);

    reset();
    move_channel(IDC_YAW_SLIDER, 30);
    expect_quaternion(joint_link.rotation, c, 0, s, 0);
    reset();
    move_channel(IDC_ROLL_SLIDER, 30);
    expect_quaternion(joint_link.rotation, c, 0, 0, s);
    expect_only_kept_references();
}

TEST_F(AxisChangeTest, OneChannelMovedAloneReadsBackAsThatChannel)
{
    link_new_joint();
    move_channel(IDC_PITCH_SLIDER, 30);
    expect_angles(joint_link.rotation, 30, 0, 0);
    EXPECT_EQ(joint_link.pitch.last_applied, 30);

    reset();
    move_channel(IDC_ROLL_SLIDER, 135);
    expect_angles(joint_link.rotation, 0, 0, 135);

    reset();
    move_channel(IDC_YAW_SLIDER, 45);
    expect_angles(joint_link.rotation, 0, 45, 0);
}

TEST_F(AxisChangeTest, Yaw100ReadsBackAsTheEquivalentTripleWithTheMiddleAngleWithin90)
{
    link_new_joint();
    move_channel(IDC_YAW_SLIDER, 100);
    const Angles a = read_back(joint_link.rotation);
    EXPECT_NEAR(std::fabs(a.pitch), 180, degree_tolerance);
    EXPECT_NEAR(a.yaw, 80, degree_tolerance);
    EXPECT_NEAR(std::fabs(a.roll), 180, degree_tolerance);
    EXPECT_EQ(joint_link.yaw.current, 100);  // the channel keeps what the user set
}

TEST_F(AxisChangeTest, TheOrderOfMovesMatters)
{
    link_new_joint();
    move_channel(IDC_PITCH_SLIDER, 30);
    move_channel(IDC_YAW_SLIDER, 20);
    expect_angles(joint_link.rotation, 30, 20, 0);
    const Quaternion pitch_first = joint_link.rotation;

    reset();
    move_channel(IDC_YAW_SLIDER, 20);
    move_channel(IDC_PITCH_SLIDER, 30);
    const Angles a = read_back(joint_link.rotation);
    const double difference = std::fabs(a.pitch - 30) + std::fabs(a.yaw - 20) + std::fabs(a.roll);
    EXPECT_GT(difference, 1.0);
    const double dot = pitch_first.w * joint_link.rotation.w + pitch_first.x * joint_link.rotation.x +
                       pitch_first.y * joint_link.rotation.y + pitch_first.z * joint_link.rotation.z;
    EXPECT_LT(std::fabs(dot), 0.9999);  // a different rotation, not another form of the same one
}

TEST_F(AxisChangeTest, TwoStepsEqualOneStepOfTheSameTotal)
{
    link_new_joint();
    move_channel(IDC_PITCH_SLIDER, 10);
    move_channel(IDC_PITCH_SLIDER, 30);
    const Quaternion stepped = joint_link.rotation;

    reset();
    move_channel(IDC_PITCH_SLIDER, 30);
    expect_quaternion(stepped, joint_link.rotation.w, joint_link.rotation.x, joint_link.rotation.y,
                      joint_link.rotation.z);
}

TEST_F(AxisChangeTest, OnlyTheActiveChannelIsApplied)
{
    link_new_joint();
    joint_link.yaw.current = 50;  // moved but not applied
    move_channel(IDC_ROLL_SLIDER, 20);
    EXPECT_EQ(joint_link.yaw.last_applied, 0);
    EXPECT_EQ(joint_link.roll.last_applied, 20);
    expect_angles(joint_link.rotation, 0, 0, 20);
}

// Regression: a change of zero (a step held at a limit) once composed the
// identity onto the rotation, which rounds this one again.
TEST_F(AxisChangeTest, AChangeOfZeroOrAnotherSliderIdRewritesTheJointWithTheRotationAsItIs)
{
    SimShape& joint = link_new_joint();
    move_channel(IDC_PITCH_SLIDER, 30);
    const Quaternion quarter_yaw(0.7071068f, 0, 0.7071068f, 0), rounded = identity_quaternion.multiply(quarter_yaw);
    ASSERT_NE(std::memcmp(&rounded, &quarter_yaw, sizeof quarter_yaw), 0);
    joint_link.rotation = quarter_yaw;
    joint.set_rotation(Quaternion(0, 0, 0, 1));  // changed in the host meanwhile
    joint_link.pitch.current = 60;
    host.clear_calls();

    for (int other : {0, IDC_UNDO, IDC_PITCH_EDIT, IDC_YAW_SLIDER}) {  // Yaw: no change
        joint_link.active_slider = other;
        apply_axis_change();
    }
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 4);
    EXPECT_EQ(host.call_count(SimOperation::get_rotation), 0);  // the joint is never read here
    EXPECT_EQ(std::memcmp(&joint.rotation(), &quarter_yaw, sizeof quarter_yaw), 0);
    EXPECT_EQ(std::memcmp(&joint_link.rotation, &quarter_yaw, sizeof quarter_yaw), 0);
    EXPECT_EQ(joint_link.pitch.last_applied, 30);
    expect_only_kept_references();
}

TEST_F(AxisChangeTest, WithNoJointLinkedNothingHappens)
{
    joint_link.rotation = identity_quaternion;
    move_channel(IDC_PITCH_SLIDER, 30);
    EXPECT_TRUE(host.calls().empty());
    EXPECT_EQ(joint_link.pitch.last_applied, 0);
    EXPECT_EQ(joint_link.rotation.w, 1);
}

namespace {

// A joint that only counts what it is told, allocating nothing itself.
struct CountingJoint final : HostJoint {
    int writes = 0;
    long __stdcall QueryInterface(const GUID*, void**) override { return E_NOINTERFACE; }
    unsigned long __stdcall AddRef() override { return 1; }
    unsigned long __stdcall Release() override { return 1; }
    void __stdcall get_rotation(Quaternion* out) override { *out = identity_quaternion; }
    void __stdcall set_rotation(const Quaternion*) override { ++writes; }
    void __stdcall center(Vector3* out) override { *out = Vector3(); }
    host_bool __stdcall motion_enabled() override { return 0; }
    float __stdcall current_time() override { return 0; }
    int32_t __stdcall key_count() override { return 0; }
    float __stdcall key_time(int32_t) override { return 0; }
    void __stdcall insert_key(float) override {}
    void __stdcall set_key_rotation(int32_t, const Quaternion*) override {}
};

}  // namespace

TEST(AxisChangeAllocation, ADragOfAThousandStepsAllocatesNothing)
{
    const int before_probe = allocations;
    int* volatile probe = new int(1);  // volatile: the pair cannot be optimised away
    delete probe;
    ASSERT_EQ(allocations, before_probe + 1);  // the counter sees allocations

    CountingJoint joint;
    joint_link = JointLink{};
    joint_link.joint = &joint;
    joint_link.rotation = identity_quaternion;
    const int before = allocations;
    for (int step = 0; step < 1000; ++step) {
        const int slider = IDC_PITCH_SLIDER + step % 3;
        axis_channel(slider)->current = static_cast<float>(step % 361 - 180);
        joint_link.active_slider = slider;
        apply_axis_change();
    }
    const int during = allocations - before;
    joint_link = JointLink{};
    EXPECT_EQ(during, 0);
    EXPECT_EQ(joint.writes, 1000);
}
