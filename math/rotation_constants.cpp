#include "math/rotation_constants.h"

#include <limits>

// The degenerate cases of the maths (NaN, infinities, overflow on rounding to
// float) are IEEE 754 results.
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "the rotation maths needs IEEE 754 float and double");

// Each constant is defined constexpr, so the compiler writes its value into
// the module's read-only data: it holds that value before any dynamic
// initialiser runs (the joint link's default quaternions copy
// quaternion_default_w while the module loads), and nothing can write it later.

constexpr float quaternion_default_w = std::numeric_limits<float>::signaling_NaN();

constexpr Matrix4 zero_matrix = Matrix4();

constexpr Matrix4 identity_matrix = Matrix4(1, 0, 0, 0,
                                            0, 1, 0, 0,
                                            0, 0, 1, 0,
                                            0, 0, 0, 1);

constexpr Quaternion identity_quaternion = Quaternion(1, 0, 0, 0);
