// Splitting a row-vector matrix into scale, shear, angles and translation, and
// the quaternion rebuilt from the angles. Angles within 2e-6 radians, scales
// and shears within 4 float ulps, quaternion components within 2e-6.
#include <cmath>

#include <gtest/gtest.h>

#include "math/matrix_decomposition.h"
#include "math/quaternion.h"
#include "math/rotation_constants.h"
#include "rotation_reference.h"

namespace {

using namespace rotation_reference;

constexpr double angle_tolerance = 2e-6;

struct Parts {
    Vector3 scale, shear, angles, translation;
    int result;
};

Parts decompose(const Matrix4& m)
{
    Parts p;
    p.result = decompose_matrix(m, p.scale, p.shear, p.angles, p.translation);
    return p;
}

// Rx(rx)·Ry(ry)·Rz(rz) in row-vector form is the column-vector rotation
// Rz·Ry·Rx, i.e. the quaternion qz·qy·qx.
DQuat rotation_of_angles(double rx, double ry, double rz)
{
    return about_z(rz) * about_y(ry) * about_x(rx);
}

void expect_vector_eq(const Vector3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

void expect_angles(const Vector3& a, double rx, double ry, double rz)
{
    EXPECT_NEAR(a.x, rx, angle_tolerance);
    EXPECT_NEAR(a.y, ry, angle_tolerance);
    EXPECT_NEAR(a.z, rz, angle_tolerance);
}

TEST(DecomposeMatrix, IdentityAndUniformWeight)
{
    for (float k : {1.0f, 2.0f}) {
        const Matrix4 m(k, 0, 0, 0, 0, k, 0, 0, 0, 0, k, 0, 0, 0, 0, k);
        const Parts p = decompose(m);
        EXPECT_EQ(p.result, 1);
        expect_vector_eq(p.scale, 1, 1, 1);
        expect_vector_eq(p.shear, 0, 0, 0);
        expect_vector_eq(p.angles, 0, 0, 0);
        expect_vector_eq(p.translation, 0, 0, 0);
    }
}

TEST(DecomposeMatrix, ScaleShearAndTranslation)
{
    expect_vector_eq(decompose(Matrix4(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1)).scale, 2, 3, 4);

    const Parts sheared = decompose(Matrix4(1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    expect_vector_eq(sheared.scale, 1, 1, 1);
    expect_vector_eq(sheared.shear, 0, 0, 1);  // (yz, xz, xy)

    Matrix4 turned = axis_rotation_matrix(Vector3(1, 0, 0), float(pi / 4));
    turned[12] = 5;
    turned[13] = 6;
    turned[14] = 7;
    const Parts p = decompose(turned);
    expect_angles(p.angles, pi / 4, 0, 0);
    expect_vector_eq(p.translation, 5, 6, 7);
}

TEST(DecomposeMatrix, MirrorIsLeftHanded)
{
    const Parts p = decompose(Matrix4(-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    expect_vector_eq(p.scale, -1, -1, -1);
    EXPECT_FLOAT_EQ(p.angles.x, float(-pi));
    EXPECT_EQ(p.angles.y, 0.0f);
    EXPECT_EQ(p.angles.z, 0.0f);
}

TEST(DecomposeMatrix, NearPlusNinetyPutsTheFreeAngleIntoX)
{
    // At ry = +90° only rx − rz is fixed.
    const Parts p = decompose(row_vector_matrix(rotation_of_angles(0, pi / 2, 0.3)));
    expect_angles(p.angles, -0.3, pi / 2, 0);
    EXPECT_EQ(p.angles.z, 0.0f);
}

TEST(DecomposeMatrix, NearMinusNinetyPutsTheFreeAngleIntoX)
{
    // At ry = −90° only rx + rz is fixed.
    const Parts p = decompose(row_vector_matrix(rotation_of_angles(0, -pi / 2, 0.3)));
    expect_angles(p.angles, 0.3, -pi / 2, 0);
    EXPECT_EQ(p.angles.z, 0.0f);
}

TEST(DecomposeMatrix, InsideTheThresholdCountsAsLocked)
{
    // cos ry = 0.0001 is inside 0.0002: rz folds into rx (0.3 − 0.2). As a
    // float, sin ry = 1 − 5e-9 is 1, so ry comes back as 90° and the matrix
    // itself cannot carry ry closer than ~3.5e-4 (sqrt(2·2^-24)).
    const double b = std::acos(0.0001);
    const Parts p = decompose(row_vector_matrix(rotation_of_angles(0.3, b, 0.2)));
    EXPECT_NEAR(p.angles.x, 0.1, 1e-5);
    EXPECT_NEAR(p.angles.y, b, 3.5e-4);
    EXPECT_EQ(p.angles.z, 0.0f);
}

// How closely angles read from a float matrix give back its rotation: ry
// comes from asin of a float, good to about 2^-24 / |cos ry|; inside the
// lock threshold rz is folded into rx, off by up to cos ry · |rz|.
double recompose_tolerance(double cos_ry)
{
    const double c = std::fabs(cos_ry);
    return c > 0.0002 ? 1e-5 + 1.2e-7 / c : 7e-4;
}

TEST(DecomposeMatrix, RandomScaledRotationsComeApartAndRecompose)
{
    Sample sample(2023);
    for (int n = 0; n < 1000; ++n) {
        const DQuat q = sample.unit_quaternion();
        const double sx = sample.uniform(0.5, 3), sy = sample.uniform(0.5, 3), sz = sample.uniform(0.5, 3);
        const Matrix4 m = row_vector_matrix(q, sx, sy, sz, 1, -2, 3);
        const Parts p = decompose(m);
        EXPECT_NEAR(p.scale.x, sx, 4e-6 * sx) << n;
        EXPECT_NEAR(p.scale.y, sy, 4e-6 * sy) << n;
        EXPECT_NEAR(p.scale.z, sz, 4e-6 * sz) << n;
        EXPECT_NEAR(p.shear.x, 0, 2e-6) << n;
        EXPECT_NEAR(p.shear.y, 0, 2e-6) << n;
        EXPECT_NEAR(p.shear.z, 0, 2e-6) << n;
        expect_vector_eq(p.translation, 1, -2, 3);
        const double tolerance = recompose_tolerance(std::cos(double(p.angles.y)));
        EXPECT_LT(rotation_distance(rotation_of_angles(p.angles.x, p.angles.y, p.angles.z), q), tolerance)
            << n;
    }
}

TEST(DecomposeMatrix, RotationsNearTheLockRecompose)
{
    // ry from 1e-6 to 1e-2 radians short of ±90°, on both sides of the
    // threshold.
    Sample sample(9090);
    for (int n = 0; n < 2000; ++n) {
        const double short_of = std::pow(10.0, sample.uniform(-6, -2));
        const double ry = (n % 2 ? 1 : -1) * (pi / 2 - short_of);
        const DQuat q = rotation_of_angles(sample.uniform(-pi, pi), ry, sample.uniform(-pi, pi));
        const Parts p = decompose(row_vector_matrix(q));
        EXPECT_LT(rotation_distance(rotation_of_angles(p.angles.x, p.angles.y, p.angles.z), q),
                  recompose_tolerance(std::cos(ry)))
            << n << " ry " << ry;
    }
}

TEST(DecomposeMatrix, DegenerateInputGivesNonFiniteValuesNotAFault)
{
    // A zero weight: every element is divided by 0.
    Matrix4 weightless = identity_matrix;
    weightless[15] = 0;
    const Parts w = decompose(weightless);
    EXPECT_EQ(w.result, 1);
    EXPECT_TRUE(std::isnan(w.translation.x));  // 0 / 0
    EXPECT_TRUE(std::isnan(w.angles.y));
    EXPECT_EQ(w.scale.x, 0.0f);  // a row of inf and NaN has a NaN length: left as it was

    // A zero row keeps scale 0, and the shears divided by it are NaN.
    const Parts flat = decompose(Matrix4(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    EXPECT_EQ(flat.result, 1);
    expect_vector_eq(flat.scale, 1, 0, 1);
    EXPECT_TRUE(std::isnan(flat.shear.z));

    // The zero matrix all the way to a quaternion: NaN, never a trap.
    Quaternion q(1, 0, 0, 0);
    q.set_from_matrix(zero_matrix);
    EXPECT_TRUE(std::isnan(q.w) && std::isnan(q.x) && std::isnan(q.y) && std::isnan(q.z));
}

TEST(SetFromMatrix, IdentityGivesIdentity)
{
    Quaternion q;
    const Quaternion& r = q.set_from_matrix(identity_matrix);
    EXPECT_EQ(&r, &q);
    EXPECT_EQ(q.w, 1.0f);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_EQ(q.z, 0.0f);
}

TEST(SetFromMatrix, TurnAboutZGivesTheConjugate)
{
    for (double theta : {0.1, 1.0, -2.5, 3.0}) {
        Quaternion q;
        q.set_from_matrix(axis_rotation_matrix(Vector3(0, 0, 1), float(theta)));
        EXPECT_NEAR(q.w, std::cos(theta / 2), 2e-6) << theta;
        EXPECT_EQ(q.x, 0.0f);
        EXPECT_EQ(q.y, 0.0f);
        EXPECT_NEAR(q.z, -std::sin(theta / 2), 2e-6) << theta;

        // About the negative axis it is the turn about the positive one.
        q.set_from_matrix(axis_rotation_matrix(Vector3(0, 0, -1), float(theta)));
        EXPECT_NEAR(q.w, std::cos(theta / 2), 2e-6) << theta;
        EXPECT_NEAR(q.z, std::sin(theta / 2), 2e-6) << theta;
    }
}

TEST(SetFromMatrix, RandomRotationsGiveTheInverseOfTheRowVectorRotation)
{
    Sample sample(314);
    for (int n = 0; n < 1000; ++n) {
        const DQuat rotation = sample.unit_quaternion();
        Quaternion q;
        q.set_from_matrix(row_vector_matrix(rotation));
        // sin ry = 2(w·y − x·z) for the rotation Rz·Ry·Rx on column vectors.
        const double sin_ry = 2 * (rotation.w * rotation.y - rotation.x * rotation.z);
        const double tolerance = recompose_tolerance(std::sqrt(std::fmax(0.0, 1 - sin_ry * sin_ry)));
        EXPECT_LT(rotation_distance(to_dquat(q), rotation.conjugate()), tolerance) << n;
    }
}

}  // namespace
