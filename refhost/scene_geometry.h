#pragma once
// Where the shapes of a simulated scene stand in the world, as the reference
// host draws them.
//
// A point given in a shape's own coordinates (the coordinates of what the
// shape contains) reaches its parent's coordinates through the shape's
// transformation (row vectors: p·M) and, for a ball joint, its rotation about
// its centre (Hamilton quaternion w, x, y, z; p ↦ c + q (p − c) q*; the centre
// is in the parent's coordinates). Going up to the root gives the world.
#include <vector>
#include "math/quaternion.h"
#include "math/vector3.h"
#include "simhost/sim_shape.h"

struct WorldPoint {
    double x = 0, y = 0, z = 0;
};

WorldPoint rotate_by(const Quaternion& q, const WorldPoint& p);
// A point of shape's own coordinates, in the world.
WorldPoint world_point(const SimShape& shape, const WorldPoint& local);
// Where a shape stands in the world: a ball joint at its centre, another part
// at its own origin.
WorldPoint world_anchor(const SimShape& shape);

// Rotations of the keys of a joint at a time: the key's rotation at or before
// the first and after the last key, spherical interpolation in between. False
// when the joint has no keys.
bool keyed_rotation_at(const SimShape& joint, float time, Quaternion* out);
