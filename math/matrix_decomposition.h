#pragma once
#include "math/matrix4.h"

// The float 0.0002 that cos(ry) is compared with for gimbal lock.
constexpr float decompose_gimbal_threshold = 0.0002f;

// Splits a row-vector matrix into scale, shear (yz, xz, xy), rotation angles
// (rx, ry, rz) in radians with rotation = Rx(rx)·Ry(ry)·Rz(rz), and
// translation, by Gram–Schmidt orthogonalisation of the rows. A left-handed
// frame negates the scale and the rows. Always returns 1.
int decompose_matrix(const Matrix4& m, Vector3& scale, Vector3& shear, Vector3& angles, Vector3& translation);
