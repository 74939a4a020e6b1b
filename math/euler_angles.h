#pragma once
#include <cstdint>
#include "math/quaternion.h"

// Euler angles by Shoemake's table-driven conversion. The only order code in
// use is 0: first angle about x, second about y, third about z, fixed axes, so
// the rotation is Rz(third)·Ry(second)·Rx(first) acting on column vectors.
struct EulerAngles {
    float first, second, third;  // radians
    float order;                 // the order code as a float; carried, never read
};

extern const int8_t euler_first_axis[4];  // {0, 1, 2, 0}
extern const int8_t euler_next_axis[4];   // {1, 2, 0, 1}

// Below or at this (2^-19) the first two axes count as in gimbal lock.
constexpr double euler_gimbal_threshold = 1.9073486328125e-06;

// m: entry (r, c) at element 4r + c, column-vector form.
EulerAngles euler_from_matrix(const float m[16], int order);

// The quaternion's rotation matrix (scaled by 2 / norm, so any non-zero length
// gives a pure rotation; a zero quaternion gives the identity), then
// euler_from_matrix.
EulerAngles euler_from_quaternion(float x, float y, float z, float w, int order);

// The three angles of order 0 in degrees: first about x (Pitch), second about
// y (Yaw), third about z (Roll).
void euler_degrees_from_quaternion(const Quaternion& q, float& first, float& second, float& third);
