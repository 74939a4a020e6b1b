// Vector3: normalisation, and what it does with zero, NaN, tiny and huge
// vectors. Results are compared to within 4 float ulps (EXPECT_FLOAT_EQ)
// unless the value is exact.
#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "math/vector3.h"

namespace {

const float nan_value = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

bool same_bits(const Vector3& a, const Vector3& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Vector3Normalized, ScalesToUnitLength)
{
    const Vector3 v = Vector3(3, 0, 4).normalized();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);

    const Vector3 u = Vector3(-1e-20f, 2e-20f, 2e-20f).normalized();  // length in double, no underflow
    EXPECT_FLOAT_EQ(u.x, -1.0f / 3);
    EXPECT_FLOAT_EQ(u.y, 2.0f / 3);
    EXPECT_FLOAT_EQ(u.z, 2.0f / 3);
}

TEST(Vector3Normalized, ZeroAndNanComeBackUnchanged)
{
    const Vector3 zero(0, 0, 0);
    EXPECT_TRUE(same_bits(zero.normalized(), zero));

    const Vector3 with_nan(1, nan_value, 2);
    EXPECT_TRUE(same_bits(with_nan.normalized(), with_nan));
}

TEST(Vector3Normalize, ReturnsLengthBeforeAndLeavesUnitVector)
{
    Vector3 v(3, 0, 4);
    EXPECT_EQ(v.normalize(), 5.0f);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
}

TEST(Vector3Normalize, ZeroNanAndTinyVectorsReturnZeroAndStayAsTheyWere)
{
    // 1e-39 is a subnormal float: its reciprocal overflows a float.
    const Vector3 cases[] = {Vector3(0, 0, 0), Vector3(nan_value, 1, 1), Vector3(1, 1, nan_value),
                             Vector3(1e-39f, 0, 0), Vector3(0, -1e-39f, 1e-40f)};
    for (const Vector3& before : cases) {
        Vector3 v = before;
        EXPECT_EQ(v.normalize(), 0.0f);
        EXPECT_TRUE(same_bits(v, before)) << before.x << " " << before.y << " " << before.z;
    }
}

TEST(Vector3Normalize, LengthBeyondFloatRangeGivesZeroVectorAndInfinity)
{
    Vector3 v(3e38f, 3e38f, 0);
    EXPECT_EQ(v.normalize(), infinity);
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
}

TEST(Vector3Normalize, SmallestNormalisableLengthStillNormalises)
{
    // 1e-38 is a normal float whose reciprocal (1e38) still fits.
    Vector3 v(0, 1e-38f, 0);
    EXPECT_EQ(v.normalize(), 1e-38f);
    EXPECT_FLOAT_EQ(v.y, 1.0f);
}

}  // namespace
