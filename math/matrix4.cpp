#include "math/matrix4.h"

#include <cmath>

#include "math/rotation_constants.h"

Matrix4 axis_rotation_matrix_cs(const Vector3& axis, float c, float s)
{
    // A zero axis stays zero here, leaving c on the diagonal.
    const Vector3 unit = axis.normalized();
    const double x = unit.x, y = unit.y, z = unit.z;
    const double cd = c, sd = s;
    const double t = 1.0 - cd;

    Matrix4 r = zero_matrix;
    r[0] = float(x * x + (1.0 - x * x) * cd);
    r[1] = float(t * x * y + z * sd);
    r[2] = float(t * x * z - y * sd);
    r[4] = float(t * x * y - z * sd);
    r[5] = float(y * y + (1.0 - y * y) * cd);
    r[6] = float(t * y * z + x * sd);
    r[8] = float(t * x * z + y * sd);
    r[9] = float(t * y * z - x * sd);
    r[10] = float(z * z + (1.0 - z * z) * cd);
    r[15] = 1.0f;
    return r;
}

Matrix4 axis_rotation_matrix(const Vector3& axis, float angle)
{
    const float s = float(std::sin(double(angle)));
    const float c = float(std::cos(double(angle)));
    return axis_rotation_matrix_cs(axis, c, s);
}
