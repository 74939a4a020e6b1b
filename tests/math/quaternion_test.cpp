// Quaternion: layout, the load-time constants, the Hamilton product (operand
// order, normalisation) and its degenerate inputs. Tolerances: 1e-6 on unit
// quaternion components (a few float ulps), exact where the value is exact.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "math/quaternion.h"
#include "math/rotation_constants.h"
#include "rotation_reference.h"

namespace {

using namespace rotation_reference;

constexpr double unit_tolerance = 1e-6;

void expect_quaternion(const Quaternion& q, float w, float x, float y, float z)
{
    EXPECT_EQ(q.w, w);
    EXPECT_EQ(q.x, x);
    EXPECT_EQ(q.y, y);
    EXPECT_EQ(q.z, z);
}

TEST(QuaternionLayout, FourFloatsScalarFirst)
{
    // The host reads and writes the joint's rotation in exactly this layout.
    EXPECT_EQ(sizeof(Quaternion), 16u);
    EXPECT_EQ(offsetof(Quaternion, w), 0u);
    EXPECT_EQ(offsetof(Quaternion, x), 4u);
    EXPECT_EQ(offsetof(Quaternion, y), 8u);
    EXPECT_EQ(offsetof(Quaternion, z), 12u);
    expect_quaternion(Quaternion(1, 2, 3, 4), 1, 2, 3, 4);
    expect_quaternion(Quaternion(5, Vector3(6, 7, 8)), 5, 6, 7, 8);
}

TEST(QuaternionLayout, DefaultIsNanMarkedRotation)
{
    // The constant itself is the signalling NaN; copies may be quietened by
    // the x87 unit on 32-bit x86, but stay NaN.
    uint32_t bits;
    std::memcpy(&bits, &quaternion_default_w, sizeof bits);
    EXPECT_EQ(bits & 0x7fc00000u, 0x7f800000u) << std::hex << bits;
    EXPECT_NE(bits & 0x003fffffu, 0u) << std::hex << bits;

    const Quaternion q;
    EXPECT_TRUE(std::isnan(q.w));
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_EQ(q.z, 0.0f);
}

// Made by a dynamic initialiser while the program loads, as the joint link's
// rotations are: quaternion_default_w must already hold its NaN by then.
struct MadeAtLoadTime {
    Quaternion rotation;
    MadeAtLoadTime() : rotation() {}
};
const MadeAtLoadTime made_at_load_time;

TEST(QuaternionLayout, DefaultMadeAtLoadTimeIsNanMarkedToo)
{
    EXPECT_TRUE(std::isnan(made_at_load_time.rotation.w));
    EXPECT_EQ(made_at_load_time.rotation.x, 0.0f);
}

TEST(RotationConstants, HoldTheirValues)
{
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(zero_matrix[i], 0.0f) << i;
        EXPECT_EQ(identity_matrix[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
    expect_quaternion(identity_quaternion, 1, 0, 0, 0);
    EXPECT_EQ(degrees_per_radian, 57.2957763671875f);
    EXPECT_EQ(radians_per_degree, 0.017453292f);
}

TEST(QuaternionProduct, ThisIsTheLeftFactor)
{
    const Quaternion i(0, 1, 0, 0), j(0, 0, 1, 0), k(0, 0, 0, 1);
    expect_quaternion(i.multiply(j), 0, 0, 0, 1);   // i·j = k
    expect_quaternion(j.multiply(i), 0, 0, 0, -1);  // j·i = −k
    expect_quaternion(j.multiply(k), 0, 1, 0, 0);   // j·k = i
    expect_quaternion(k.multiply(i), 0, 0, 1, 0);   // k·i = j
    expect_quaternion(i.multiply(i), -1, 0, 0, 0);  // i² = −1
}

TEST(QuaternionProduct, ResultIsNormalised)
{
    expect_quaternion(Quaternion(2, 0, 0, 0).multiply(Quaternion(1, 0, 0, 0)), 1, 0, 0, 0);

    const Quaternion q = Quaternion(3, -1, 2, 0.5f).multiply(Quaternion(0.25f, 4, 1, -2));
    EXPECT_NEAR(to_dquat(q).norm(), 1.0, unit_tolerance);
}

TEST(QuaternionProduct, MatchesHamiltonProductOfRandomRotations)
{
    Sample sample(20261207);
    for (int n = 0; n < 500; ++n) {
        const Quaternion a = to_float(sample.unit_quaternion());
        const Quaternion b = to_float(sample.unit_quaternion());
        const DQuat expected = (to_dquat(a) * to_dquat(b)).unit();
        const Quaternion p = a.multiply(b);
        EXPECT_NEAR(p.w, expected.w, unit_tolerance) << n;
        EXPECT_NEAR(p.x, expected.x, unit_tolerance) << n;
        EXPECT_NEAR(p.y, expected.y, unit_tolerance) << n;
        EXPECT_NEAR(p.z, expected.z, unit_tolerance) << n;
    }
}

TEST(QuaternionScaling, ScaledAndNormalized)
{
    expect_quaternion(Quaternion(1, -2, 3, 0.5f).scaled(2), 2, -4, 6, 1);
    const Quaternion n = Quaternion(0, 3, 0, 4).normalized();
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    EXPECT_EQ(n.w, 0.0f);
    EXPECT_EQ(n.y, 0.0f);
}

TEST(QuaternionDegenerate, ZeroLengthNormalisesToNan)
{
    // There is no zero guard: 1 / 0 gives an infinite factor, and 0·inf is NaN.
    const Quaternion n = Quaternion(0, 0, 0, 0).normalized();
    EXPECT_TRUE(std::isnan(n.w) && std::isnan(n.x) && std::isnan(n.y) && std::isnan(n.z));

    // So does a product that comes out zero (only possible with a zero factor).
    const Quaternion p = Quaternion(0, 0, 0, 0).multiply(identity_quaternion);
    EXPECT_TRUE(std::isnan(p.w) && std::isnan(p.x) && std::isnan(p.y) && std::isnan(p.z));
}

TEST(QuaternionDegenerate, NanMarkedRotationStaysNanThroughProducts)
{
    // A rotation not yet read from the host multiplied by a delta is NaN, not a
    // valid-looking rotation.
    const Quaternion p = Quaternion(0.6f, 0.8f, 0, 0).multiply(Quaternion());
    EXPECT_TRUE(std::isnan(p.w));

    const float infinity = std::numeric_limits<float>::infinity();
    const Quaternion q = Quaternion(infinity, 0, 0, 0).normalized();  // inf·0 = NaN
    EXPECT_TRUE(std::isnan(q.w));
}

}  // namespace
