#include "math/matrix_decomposition.h"

#include <cmath>

#include "math/ieee_quotient.h"
#include "math/quaternion.h"

namespace {

double dot(const Vector3& a, const Vector3& b)
{
    return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

// a − k·b, each component rounded to float.
Vector3 minus_scaled(const Vector3& a, float k, const Vector3& b)
{
    return Vector3(float(a.x - double(k) * b.x), float(a.y - double(k) * b.y),
                   float(a.z - double(k) * b.z));
}

// a · (b × c) in double.
double triple_product(const Vector3& a, const Vector3& b, const Vector3& c)
{
    const double cx = double(b.y) * c.z - double(b.z) * c.y;
    const double cy = double(b.z) * c.x - double(b.x) * c.z;
    const double cz = double(b.x) * c.y - double(b.y) * c.x;
    return a.x * cx + a.y * cy + a.z * cz;
}

Vector3 negated(const Vector3& v)
{
    return Vector3(-v.x, -v.y, -v.z);
}

}  // namespace

int decompose_matrix(const Matrix4& m, Vector3& scale, Vector3& shear, Vector3& angles, Vector3& translation)
{
    // Bring the homogeneous weight to 1. A zero weight is not guarded: every
    // element becomes infinite or NaN, and so does everything below.
    Matrix4 l;
    const double weight = m[15];
    for (int i = 0; i < 16; ++i)
        l[i] = float(ieee_quotient(m[i], weight));

    translation = Vector3(l[12], l[13], l[14]);
    // Elements 3, 7 and 11 (perspective) play no part.

    Vector3 r0(l[0], l[1], l[2]);
    Vector3 r1(l[4], l[5], l[6]);
    Vector3 r2(l[8], l[9], l[10]);

    // Gram–Schmidt over the rows. A row that comes out zero keeps scale 0,
    // and the shears divided by it become infinite or NaN.
    scale.x = r0.normalize();

    shear.z = float(dot(r0, r1));
    r1 = minus_scaled(r1, shear.z, r0);
    scale.y = r1.normalize();
    shear.z = float(ieee_quotient(shear.z, scale.y));

    shear.y = float(dot(r0, r2));
    r2 = minus_scaled(r2, shear.y, r0);
    shear.x = float(dot(r1, r2));
    r2 = minus_scaled(r2, shear.x, r1);
    scale.z = r2.normalize();
    shear.y = float(ieee_quotient(shear.y, scale.z));
    shear.x = float(ieee_quotient(shear.x, scale.z));

    // A left-handed frame: negate the scales and the rows together.
    if (triple_product(r0, r1, r2) < 0.0) {
        scale = negated(scale);
        r0 = negated(r0);
        r1 = negated(r1);
        r2 = negated(r2);
    }

    // The rows are now Rx(rx)·Ry(ry)·Rz(rz) in row-vector form:
    // r0 = (cy·cz, cy·sz, −sy), r1.z = sx·cy, r2.z = cx·cy.
    angles.y = float(std::asin(-double(r0.z)));
    const double g = std::cos(double(angles.y));
    const double threshold = decompose_gimbal_threshold;
    if (g < -threshold || g > threshold) {
        angles.x = float(std::atan2(double(r1.z), double(r2.z)));
        angles.z = float(std::atan2(double(r0.y), double(r0.x)));
    } else {
        // Gimbal lock (or NaN): near ry = +90° row 1 is (sin(rx − rz),
        // cos(rx − rz), 0), near −90° it is (−sin(rx + rz), cos(rx + rz), 0);
        // the whole of the one free angle goes into rx.
        const float h = float(std::atan2(double(r1.x), double(r1.y)));
        angles.x = angles.y > 0.0f ? h : -h;
        angles.z = 0.0f;
    }
    return 1;
}

Quaternion& Quaternion::set_from_matrix(const Matrix4& m)
{
    Vector3 scale, shear, angles, translation;
    decompose_matrix(m, scale, shear, angles, translation);

    // Half-angle quaternions with negated sines: the product is the conjugate
    // of the rotation the matrix applies to row vectors.
    const double hx = double(angles.x) / 2, hy = double(angles.y) / 2, hz = double(angles.z) / 2;
    const Quaternion qz(float(std::cos(hz)), 0.0f, 0.0f, float(std::sin(-hz)));
    const Quaternion qy(float(std::cos(hy)), 0.0f, float(std::sin(-hy)), 0.0f);
    const Quaternion qx(float(std::cos(hx)), float(std::sin(-hx)), 0.0f, 0.0f);

    const Quaternion p = qx.multiply(qy);
    *this = p.multiply(qz);
    return *this;
}
