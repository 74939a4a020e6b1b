// The maths of one slider step end to end: the change of angle in degrees
// becomes a turn about the slider's negative axis, a quaternion, and a product
// onto the held rotation, which reads back as the panel's three angles.
// Degrees within 1e-4 (single steps) and 2e-3 (after 360 small steps).
#include <cmath>

#include <gtest/gtest.h>

#include "math/euler_angles.h"
#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/rotation_constants.h"

namespace {

const Vector3 pitch_axis(-1, 0, 0);
const Vector3 yaw_axis(0, -1, 0);
const Vector3 roll_axis(0, 0, -1);

Quaternion step(const Quaternion& rotation, const Vector3& axis, float from_degrees, float to_degrees)
{
    const float delta = (to_degrees - from_degrees) * radians_per_degree;
    Quaternion change;
    change.set_from_matrix(axis_rotation_matrix(axis, delta));
    return change.multiply(rotation);
}

struct Degrees {
    float pitch, yaw, roll;
};

Degrees read_back(const Quaternion& q)
{
    Degrees d;
    euler_degrees_from_quaternion(q, d.pitch, d.yaw, d.roll);
    return d;
}

void expect_degrees(const Degrees& d, double pitch, double yaw, double roll, double tolerance)
{
    EXPECT_NEAR(d.pitch, pitch, tolerance);
    EXPECT_NEAR(d.yaw, yaw, tolerance);
    EXPECT_NEAR(d.roll, roll, tolerance);
}

TEST(DragStep, OneChannelFromIdentityReadsBackAsThatChannel)
{
    expect_degrees(read_back(step(identity_quaternion, pitch_axis, 0, 30)), 30, 0, 0, 1e-4);
    expect_degrees(read_back(step(identity_quaternion, roll_axis, 0, 135)), 0, 0, 135, 1e-4);
    expect_degrees(read_back(step(identity_quaternion, yaw_axis, 0, 45)), 0, 45, 0, 1e-4);
    expect_degrees(read_back(step(identity_quaternion, pitch_axis, 0, -170)), -170, 0, 0, 1e-4);
}

TEST(DragStep, YawBeyondNinetyReadsBackAsTheEquivalentTriple)
{
    // The middle angle stays within ±90: yaw 100 is (±180, 80, ±180).
    const Degrees d = read_back(step(identity_quaternion, yaw_axis, 0, 100));
    EXPECT_NEAR(std::fabs(d.pitch), 180, 1e-4);
    EXPECT_NEAR(d.yaw, 80, 1e-4);
    EXPECT_NEAR(std::fabs(d.roll), 180, 1e-4);
}

TEST(DragStep, ManySmallStepsAddUpWithoutDrift)
{
    // A drag of one degree per step from −180 to 180 about the roll axis comes
    // back to where it started; halfway it is at 0.
    Quaternion rotation = step(identity_quaternion, roll_axis, 0, -180);
    for (int angle = -180; angle < 180; ++angle) {
        rotation = step(rotation, roll_axis, float(angle), float(angle + 1));
        if (angle + 1 == 0)
            expect_degrees(read_back(rotation), 0, 0, 0, 2e-3);
    }
    const Degrees end = read_back(rotation);
    EXPECT_NEAR(std::fabs(end.roll), 180, 2e-3);
    EXPECT_NEAR(end.pitch, 0, 2e-3);
    EXPECT_NEAR(end.yaw, 0, 2e-3);
    EXPECT_NEAR(double(rotation.w) * rotation.w + double(rotation.z) * rotation.z, 1.0, 1e-6);
}

TEST(DragStep, ChangesComposeOntoTheHeldRotationFromTheLeft)
{
    // Pitch 30 first, then roll 10: the roll is about the fixed z axis, so the
    // angles read back are exactly the two channels (Rz(10)·Rx(30)).
    Quaternion rotation = step(identity_quaternion, pitch_axis, 0, 30);
    rotation = step(rotation, roll_axis, 0, 10);
    expect_degrees(read_back(rotation), 30, 0, 10, 1e-4);
}

}  // namespace
