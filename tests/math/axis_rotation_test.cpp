// The row-vector rotation matrix about an axis. Exact where the inputs make
// the entries exact; 1e-6 per element against a double-precision reference
// otherwise.
#include <cmath>

#include <gtest/gtest.h>

#include "math/matrix4.h"
#include "math/rotation_constants.h"
#include "rotation_reference.h"

namespace {

using namespace rotation_reference;

void expect_matrix_eq(const Matrix4& actual, const Matrix4& expected)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(actual[i], expected[i]) << "element " << i;
}

TEST(AxisRotationMatrix, QuarterTurnAboutZMapsXToY)
{
    const Matrix4 expected(0, 1, 0, 0,
                           -1, 0, 0, 0,
                           0, 0, 1, 0,
                           0, 0, 0, 1);
    expect_matrix_eq(axis_rotation_matrix_cs(Vector3(0, 0, 1), 0, 1), expected);
    // The axis is normalised first.
    expect_matrix_eq(axis_rotation_matrix_cs(Vector3(0, 0, 2), 0, 1), expected);
}

TEST(AxisRotationMatrix, ZeroAngleGivesIdentity)
{
    const Vector3 axes[] = {Vector3(1, 0, 0), Vector3(0, -1, 0), Vector3(0, 0, -1),
                            Vector3(1, 2, 3), Vector3(-0.5f, 4, -7)};
    for (const Vector3& axis : axes)
        expect_matrix_eq(axis_rotation_matrix(axis, 0.0f), identity_matrix);
}

TEST(AxisRotationMatrix, ZeroAxisLeavesCosineOnTheDiagonal)
{
    const Matrix4 m = axis_rotation_matrix_cs(Vector3(0, 0, 0), 0.5f, 0.8f);
    expect_matrix_eq(m, Matrix4(0.5f, 0, 0, 0,
                                0, 0.5f, 0, 0,
                                0, 0, 0.5f, 0,
                                0, 0, 0, 1));
}

TEST(AxisRotationMatrix, RowsAreImagesOfTheAxesUnderRightHandedRotation)
{
    // Row r is where coordinate axis r goes: column r of the column-vector
    // matrix of the same rotation.
    Sample sample(7);
    for (int n = 0; n < 200; ++n) {
        const DQuat direction = sample.unit_quaternion();  // any unit 3-vector: its vector part
        const double length = std::sqrt(direction.x * direction.x + direction.y * direction.y +
                                        direction.z * direction.z);
        const Vector3 axis(float(direction.x * 3), float(direction.y * 3), float(direction.z * 3));
        const float angle = float(sample.uniform(-pi, pi));
        const Matrix4 m = axis_rotation_matrix(axis, angle);
        const Matrix4 expected = row_vector_matrix(
            about_axis(direction.x / length, direction.y / length, direction.z / length, angle));
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(m[i], expected[i], 1e-6) << "sample " << n << " element " << i;
    }
}

}  // namespace
