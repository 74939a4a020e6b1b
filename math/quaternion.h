#pragma once
#include "math/vector3.h"

struct Matrix4;

// The float that a default-constructed Quaternion carries as w: a NaN (the
// standard library's signalling NaN), marking a rotation not yet read from the
// host. Constant-initialised, so it exists before any other code runs.
extern const float quaternion_default_w;

// Quaternion: four 32-bit floats w, x, y, z, in that order, the scalar part
// first; the joint's rotation travels to and from the host in exactly this
// layout. Identity (1, 0, 0, 0). Products are Hamilton products (i·j = k),
// `this` the left factor. Rotations act on column vectors: q·v·q*.
// Arithmetic in double precision, rounded to float on every store.
struct Quaternion {
    float w, x, y, z;

    Quaternion() : w(quaternion_default_w), x(0), y(0), z(0) {}
    constexpr Quaternion(float w_, float x_, float y_, float z_) : w(w_), x(x_), y(y_), z(z_) {}
    constexpr Quaternion(float w_, const Vector3& v) : w(w_), x(v.x), y(v.y), z(v.z) {}

    // (s·w, s·x, s·y, s·z).
    Quaternion scaled(float s) const;

    // scaled by 1 / length (the factor rounded to float). No zero guard: a
    // zero quaternion gives non-finite components.
    Quaternion normalized() const;

    // The normalised Hamilton product this · right.
    Quaternion multiply(const Quaternion& right) const;

    // The conjugate of the rotation that the row-vector matrix m applies
    // (rebuilt from decompose_matrix's three angles); sets this and returns it.
    Quaternion& set_from_matrix(const Matrix4& m);
};

static_assert(sizeof(Quaternion) == 4 * sizeof(float), "the host reads and writes four packed floats");
