#include "math/vector3.h"

#include <cmath>

// Lengths, reciprocals and products are taken in double; each component is
// rounded to float as it is stored.

Vector3 Vector3::normalized() const
{
    const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (!(length > 0.0))  // zero, or NaN: the copy comes back as it was
        return *this;
    const double r = 1.0 / length;
    return Vector3(float(x * r), float(y * r), float(z * r));
}

float Vector3::normalize()
{
    const float length = float(std::sqrt(double(x) * x + double(y) * y + double(z) * z));
    if (std::isnan(length) || length == 0.0f)
        return 0.0f;
    const double r = 1.0 / length;
    if (!std::isfinite(float(r)))  // 1 / length beyond the float range
        return 0.0f;
    // An infinite length gives r = 0: the vector becomes zero and infinity is
    // returned.
    x = float(x * r);
    y = float(y * r);
    z = float(z * r);
    return length;
}
