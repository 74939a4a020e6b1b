// Euler angles (order x, y, z about fixed axes) from a quaternion. Angles in
// degrees are compared within 2e-5 (a few float ulps of 90); recomposed
// rotations within 4e-6 radians.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "math/euler_angles.h"
#include "math/rotation_constants.h"
#include "rotation_reference.h"

namespace {

using namespace rotation_reference;

constexpr double degree_tolerance = 2e-5;

struct Degrees {
    float first, second, third;
};

Degrees read_back(const Quaternion& q)
{
    Degrees d;
    euler_degrees_from_quaternion(q, d.first, d.second, d.third);
    return d;
}

Quaternion from(const DQuat& q) { return to_float(q); }

TEST(EulerFromQuaternion, IdentityZeroAndScaledIdentityGiveZeroAngles)
{
    const Quaternion cases[] = {identity_quaternion, Quaternion(0, 0, 0, 0), Quaternion(2, 0, 0, 0)};
    for (const Quaternion& q : cases) {
        const Degrees d = read_back(q);
        EXPECT_EQ(d.first, 0.0f);
        EXPECT_EQ(d.second, 0.0f);  // may be −0
        EXPECT_EQ(d.third, 0.0f);
    }
}

TEST(EulerFromQuaternion, QuarterTurnsAboutEachAxis)
{
    const Degrees x = read_back(from(about_x(radians(90))));
    EXPECT_NEAR(x.first, 90, degree_tolerance);
    EXPECT_NEAR(x.second, 0, degree_tolerance);
    EXPECT_NEAR(x.third, 0, degree_tolerance);

    const Degrees z = read_back(from(about_z(radians(90))));
    EXPECT_NEAR(z.first, 0, degree_tolerance);
    EXPECT_NEAR(z.second, 0, degree_tolerance);
    EXPECT_NEAR(z.third, 90, degree_tolerance);
}

TEST(EulerFromQuaternion, QuarterTurnAboutYTakesTheGimbalLockBranch)
{
    // Here cos(second) is below 2^-19: the third angle is set to exactly 0 and
    // the first carries the whole turn about the locked axes.
    const Degrees up = read_back(from(about_y(radians(90))));
    EXPECT_NEAR(up.first, 0, degree_tolerance);
    EXPECT_NEAR(up.second, 90, degree_tolerance);
    EXPECT_EQ(up.third, 0.0f);

    const Degrees down = read_back(from(about_y(radians(-90))));
    EXPECT_NEAR(down.first, 0, degree_tolerance);
    EXPECT_NEAR(down.second, -90, degree_tolerance);
    EXPECT_EQ(down.third, 0.0f);

    // In the lock, a turn about z after one about y reads back about x.
    const Degrees locked = read_back(from(about_z(radians(40)) * about_y(radians(90))));
    EXPECT_NEAR(locked.first, -40, degree_tolerance);
    EXPECT_NEAR(locked.second, 90, degree_tolerance);
    EXPECT_EQ(locked.third, 0.0f);
}

TEST(EulerFromQuaternion, ComposedTenTwentyThirtyReadsBackInOrder)
{
    const DQuat q = about_z(radians(10)) * about_y(radians(20)) * about_x(radians(30));
    const Degrees d = read_back(from(q));
    EXPECT_NEAR(d.first, 30, degree_tolerance);
    EXPECT_NEAR(d.second, 20, degree_tolerance);
    EXPECT_NEAR(d.third, 10, degree_tolerance);
}

TEST(EulerFromQuaternion, OrderCodeTravelsAsFourthValue)
{
    const EulerAngles e = euler_from_quaternion(0, 0, 0, 1, 0);
    EXPECT_EQ(e.order, 0.0f);
    // Codes never passed by the system still stay inside the axis tables.
    for (int order : {1, 7, 31, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        const EulerAngles other = euler_from_quaternion(0.1f, 0.2f, 0.3f, 0.9f, order);
        EXPECT_TRUE(std::isfinite(other.first) && std::isfinite(other.second) && std::isfinite(other.third))
            << order;
        EXPECT_EQ(other.order, float(order));
    }
}

TEST(EulerFromQuaternion, NanRotationGivesNanAnglesWithThirdZero)
{
    // The default quaternion (w NaN: not read from the host yet): the lock test
    // fails on NaN, so the lock formulas run and the third angle is 0.
    const Degrees d = read_back(Quaternion());
    EXPECT_TRUE(std::isnan(d.first));
    EXPECT_TRUE(std::isnan(d.second));
    EXPECT_EQ(d.third, 0.0f);

    const float infinity = std::numeric_limits<float>::infinity();
    const Degrees inf = read_back(Quaternion(1, infinity, 0, 0));
    EXPECT_TRUE(std::isnan(inf.first));
    EXPECT_TRUE(std::isnan(inf.second));
    EXPECT_EQ(inf.third, 0.0f);
}

// Property: the three angles, as the panel shows them, recompose as
// Rz(third)·Ry(second)·Rx(first) on column vectors to the rotation they were
// read from, and the middle angle stays within ±90.
void expect_recomposes(const DQuat& rotation, int n)
{
    const Quaternion q = to_float(rotation);
    const Degrees d = read_back(q);
    ASSERT_LE(std::fabs(d.second), 90.0f) << n;
    const double rad = radians_per_degree;  // as the panel turns degrees back into radians
    const DQuat recomposed = about_z(d.third * rad) * about_y(d.second * rad) * about_x(d.first * rad);
    EXPECT_LT(rotation_distance(recomposed, to_dquat(q)), 4e-6)
        << "sample " << n << ": " << d.first << ", " << d.second << ", " << d.third;
}

TEST(EulerProperty, RandomRotationsRecomposeFromTheirAngles)
{
    Sample sample(0x4b656c76);
    for (int n = 0; n < 5000; ++n)
        expect_recomposes(sample.unit_quaternion(), n);
}

TEST(EulerProperty, RotationsNearGimbalLockRecomposeFromTheirAngles)
{
    // Middle angles within 0.01° of ±90, on both sides of the 2^-19 threshold.
    Sample sample(90);
    for (int n = 0; n < 2000; ++n) {
        const double sign = (n % 2) ? 1.0 : -1.0;
        const double second = sign * (90 - sample.uniform(0, 0.01) * ((n % 4 < 2) ? 1.0 : 1e-4));
        const DQuat q = about_z(sample.uniform(-pi, pi)) * about_y(radians(second)) *
                        about_x(sample.uniform(-pi, pi));
        expect_recomposes(q, n);
    }
}

}  // namespace
