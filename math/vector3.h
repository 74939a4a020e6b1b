#pragma once

// Vector3: three 32-bit floats x, y, z, in that order; a plain value type.
// Arithmetic is carried out in double precision and rounded to float on every
// store into a component.
struct Vector3 {
    float x = 0, y = 0, z = 0;

    constexpr Vector3() = default;
    constexpr Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    // A unit-length copy: each component multiplied by 1 / length. A zero or
    // NaN-length vector comes back unchanged.
    Vector3 normalized() const;

    // Normalises in place and returns the length before (a float). A vector
    // whose length is 0 or NaN, or so small that 1 / length overflows a float,
    // is left unchanged and 0 is returned.
    float normalize();
};

static_assert(sizeof(Vector3) == 3 * sizeof(float), "three packed floats");
