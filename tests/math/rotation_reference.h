#pragma once
// Reference rotations for the maths tests, computed in double precision and
// independently of the code under test: a double quaternion with its own
// Hamilton product, column-vector rotation matrices, and a deterministic
// sample of random rotations (the same on every compiler and platform).
#include <cmath>
#include <cstdint>
#include <random>

#include "math/matrix4.h"
#include "math/quaternion.h"

namespace rotation_reference {

constexpr double pi = 3.14159265358979323846;

inline double radians(double degrees) { return degrees * pi / 180.0; }

// w, x, y, z; Hamilton product; acts on column vectors as q·v·q*.
struct DQuat {
    double w, x, y, z;

    DQuat operator*(const DQuat& b) const
    {
        return {w * b.w - x * b.x - y * b.y - z * b.z,
                w * b.x + x * b.w + y * b.z - z * b.y,
                w * b.y - x * b.z + y * b.w + z * b.x,
                w * b.z + x * b.y - y * b.x + z * b.w};
    }
    double norm() const { return std::sqrt(w * w + x * x + y * y + z * z); }
    DQuat unit() const
    {
        const double n = norm();
        return {w / n, x / n, y / n, z / n};
    }
    DQuat conjugate() const { return {w, -x, -y, -z}; }
};

inline DQuat to_dquat(const Quaternion& q) { return {q.w, q.x, q.y, q.z}; }

// Rotation by angle (radians) about a unit axis, right-handed.
inline DQuat about_axis(double ax, double ay, double az, double angle)
{
    const double s = std::sin(angle / 2);
    return {std::cos(angle / 2), ax * s, ay * s, az * s};
}
inline DQuat about_x(double angle) { return about_axis(1, 0, 0, angle); }
inline DQuat about_y(double angle) { return about_axis(0, 1, 0, angle); }
inline DQuat about_z(double angle) { return about_axis(0, 0, 1, angle); }

// The angle (radians) of the rotation that takes a to b. q and −q are the
// same rotation, so the sign is made canonical first.
inline double rotation_distance(const DQuat& a_in, const DQuat& b_in)
{
    const DQuat a = a_in.unit();
    DQuat b = b_in.unit();
    if (a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z < 0)
        b = {-b.w, -b.x, -b.y, -b.z};
    const double d = std::sqrt((a.w - b.w) * (a.w - b.w) + (a.x - b.x) * (a.x - b.x) +
                               (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
    const double s = std::sqrt((a.w + b.w) * (a.w + b.w) + (a.x + b.x) * (a.x + b.x) +
                               (a.y + b.y) * (a.y + b.y) + (a.z + b.z) * (a.z + b.z));
    return 2 * std::atan2(d, s);
}

// The column-vector rotation matrix of q, entry (r, c) in m[r][c].
struct DMatrix3 {
    double m[3][3];
};

inline DMatrix3 column_matrix(const DQuat& q_in)
{
    const DQuat q = q_in.unit();
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
             {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
             {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}}};
}

// The same rotation in the row-vector Matrix4 form (the transpose), with a
// per-row scale, a translation and weight 1, rounded to float.
inline Matrix4 row_vector_matrix(const DQuat& q, double sx = 1, double sy = 1, double sz = 1,
                                 double tx = 0, double ty = 0, double tz = 0)
{
    const DMatrix3 c = column_matrix(q);
    const double s[3] = {sx, sy, sz};
    Matrix4 r;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            r[4 * row + col] = float(s[row] * c.m[col][row]);
    r[12] = float(tx);
    r[13] = float(ty);
    r[14] = float(tz);
    r[15] = 1.0f;
    return r;
}

// A fixed-seed source of uniform numbers in [0, 1), built from mt19937's raw
// output so every standard library gives the same sequence.
class Sample {
public:
    explicit Sample(uint32_t seed) : engine_(seed) {}
    double uniform() { return double(engine_() >> 8) / 16777216.0; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }

    // A uniformly distributed unit quaternion (Shoemake's subgroup algorithm).
    DQuat unit_quaternion()
    {
        const double u1 = uniform(), u2 = uniform(), u3 = uniform();
        const double a = std::sqrt(1 - u1), b = std::sqrt(u1);
        return {b * std::cos(2 * pi * u3), a * std::sin(2 * pi * u2),
                a * std::cos(2 * pi * u2), b * std::sin(2 * pi * u3)};
    }

private:
    std::mt19937 engine_;
};

inline Quaternion to_float(const DQuat& q) { return Quaternion(float(q.w), float(q.x), float(q.y), float(q.z)); }

}  // namespace rotation_reference
