#pragma once
#include "math/vector3.h"

// Matrix4: sixteen 32-bit floats stored row by row, entry (r, c) at element
// 4r + c. The matrices built here and read by decompose_matrix are in
// row-vector form (a point p maps to p·M): row r of the upper-left 3×3 block is
// the image of coordinate axis r, elements 12..14 a translation, elements 3, 7,
// 11 a perspective part, element 15 the homogeneous weight.
struct Matrix4 {
    float m[16] = {};

    constexpr Matrix4() = default;
    constexpr Matrix4(float m0, float m1, float m2, float m3,
                      float m4, float m5, float m6, float m7,
                      float m8, float m9, float m10, float m11,
                      float m12, float m13, float m14, float m15)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15} {}

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
};

static_assert(sizeof(Matrix4) == 16 * sizeof(float), "sixteen packed floats");

// The row-vector rotation by the angle whose cosine is c and sine is s about
// the (normalised) axis, right-handed: with c = cos θ, s = sin θ the x axis maps
// to row 0. A zero axis gives c on the diagonal, 1 at element 15, 0 elsewhere.
Matrix4 axis_rotation_matrix_cs(const Vector3& axis, float c, float s);

// axis_rotation_matrix_cs with the cosine and sine of angle (radians), each
// rounded to float.
Matrix4 axis_rotation_matrix(const Vector3& axis, float angle);
