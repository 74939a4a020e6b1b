#include "math/euler_angles.h"

#include <cmath>

#include "math/rotation_constants.h"

const int8_t euler_first_axis[4] = {0, 1, 2, 0};
const int8_t euler_next_axis[4] = {1, 2, 0, 1};

namespace {

// The parts of an order code, lowest bit first: frame (1 = rotating axes),
// repetition (1 = the first axis again as the third), parity (1 = odd), then
// two bits selecting the first axis through euler_first_axis. Code 0 is
// x, y, z about fixed axes.
struct EulerOrder {
    int i, j, k;
    bool odd, repeated, rotating;
};

EulerOrder decode_order(int order)
{
    const unsigned bits = static_cast<unsigned>(order);
    EulerOrder o;
    o.rotating = (bits & 1u) != 0;
    o.repeated = ((bits >> 1) & 1u) != 0;
    o.odd = ((bits >> 2) & 1u) != 0;
    o.i = euler_first_axis[(bits >> 3) & 3u];
    const int n = o.odd ? 1 : 0;
    o.j = euler_next_axis[o.i + n];
    o.k = euler_next_axis[o.i + 1 - n];
    return o;
}

}  // namespace

EulerAngles euler_from_matrix(const float m[16], int order)
{
    const EulerOrder o = decode_order(order);
    auto at = [m](int r, int c) { return double(m[4 * r + c]); };
    const int i = o.i, j = o.j, k = o.k;

    float a, b, c;
    if (!o.repeated) {
        const double g = std::sqrt(at(i, i) * at(i, i) + at(j, i) * at(j, i));
        if (g > euler_gimbal_threshold) {
            a = float(std::atan2(at(k, j), at(k, k)));
            b = float(std::atan2(-at(k, i), g));
            c = float(std::atan2(at(j, i), at(i, i)));
        } else {
            // Gimbal lock, also when g is NaN: the third angle is set to 0.
            a = float(std::atan2(-at(j, k), at(j, j)));
            b = float(std::atan2(-at(k, i), g));
            c = 0.0f;
        }
    } else {
        const double g = std::sqrt(at(i, j) * at(i, j) + at(i, k) * at(i, k));
        if (g > euler_gimbal_threshold) {
            a = float(std::atan2(at(i, j), at(i, k)));
            b = float(std::atan2(g, at(i, i)));
            c = float(std::atan2(at(j, i), -at(k, i)));
        } else {
            a = float(std::atan2(-at(j, k), at(j, j)));
            b = float(std::atan2(g, at(i, i)));
            c = 0.0f;
        }
    }
    if (o.odd) {
        a = -a;
        b = -b;
        c = -c;
    }
    if (o.rotating) {
        const float t = a;
        a = c;
        c = t;
    }
    return EulerAngles{a, b, c, float(order)};
}

EulerAngles euler_from_quaternion(float x, float y, float z, float w, int order)
{
    // 2 / N makes the matrix a pure rotation for any non-zero length; a zero
    // (or NaN) norm gives t = 0 and so the identity.
    const double n = double(w) * w + double(z) * z + double(y) * y + double(x) * x;
    const double t = n > 0.0 ? 2.0 / n : 0.0;
    const double xs = x * t, ys = y * t, zs = z * t;
    const double wx = w * xs, wy = w * ys, wz = w * zs;
    const double xx = x * xs, xy = x * ys, xz = x * zs;
    const double yy = y * ys, yz = y * zs, zz = z * zs;

    // Column-vector form, entry (r, c) at element 4r + c.
    const float m[16] = {
        float(1.0 - (yy + zz)), float(xy - wz), float(xz + wy), 0.0f,
        float(xy + wz), float(1.0 - (xx + zz)), float(yz - wx), 0.0f,
        float(xz - wy), float(yz + wx), float(1.0 - (xx + yy)), 0.0f,
        0.0f, 0.0f, 0.0f, 1.0f,
    };
    return euler_from_matrix(m, order);
}

void euler_degrees_from_quaternion(const Quaternion& q, float& first, float& second, float& third)
{
    const EulerAngles e = euler_from_quaternion(q.x, q.y, q.z, q.w, 0);
    first = e.first * degrees_per_radian;
    second = e.second * degrees_per_radian;
    third = e.third * degrees_per_radian;
}
