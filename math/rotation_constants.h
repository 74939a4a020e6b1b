#pragma once
#include "math/matrix4.h"
#include "math/quaternion.h"

// Process-wide constants, constant-initialised when the module loads and never
// written afterwards.
extern const Matrix4 zero_matrix;         // all sixteen elements 0
extern const Matrix4 identity_matrix;     // 1 at elements 0, 5, 10, 15
extern const Quaternion identity_quaternion;  // (1, 0, 0, 0)

// Degrees to radians and back, as the floats the panel has always used.
constexpr float radians_per_degree = 0.017453292f;
constexpr float degrees_per_radian = 57.295776f;
