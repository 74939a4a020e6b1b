#include "math/quaternion.h"

#include <cmath>

#include "math/ieee_quotient.h"

// Products and sums in double, each component rounded to float as it is stored.

Quaternion Quaternion::scaled(float s) const
{
    return Quaternion(float(double(s) * w), float(double(s) * x),
                      float(double(s) * y), float(double(s) * z));
}

Quaternion Quaternion::normalized() const
{
    // No zero guard: a zero quaternion gives k = +inf, and every component
    // 0·inf = NaN.
    const double norm = double(w) * w + double(x) * x + double(y) * y + double(z) * z;
    const float k = float(ieee_quotient(1.0, std::sqrt(norm)));
    return scaled(k);
}

Quaternion Quaternion::multiply(const Quaternion& right) const
{
    const Quaternion& a = *this;
    const Quaternion& b = right;
    const double w_ = double(a.w) * b.w - (double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
    const double x_ = double(a.w) * b.x + double(b.w) * a.x + (double(a.y) * b.z - double(a.z) * b.y);
    const double y_ = double(a.w) * b.y + double(b.w) * a.y + (double(a.z) * b.x - double(a.x) * b.z);
    const double z_ = double(a.w) * b.z + double(b.w) * a.z + (double(a.x) * b.y - double(a.y) * b.x);
    return Quaternion(float(w_), Vector3(float(x_), float(y_), float(z_))).normalized();
}
