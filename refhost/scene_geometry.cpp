#include "refhost/scene_geometry.h"

#include <cmath>

namespace {

WorldPoint through_transformation(const Matrix4& m, const WorldPoint& p)
{
    WorldPoint out;
    out.x = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
    out.y = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
    out.z = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
    return out;
}

}  // namespace

WorldPoint rotate_by(const Quaternion& q, const WorldPoint& p)
{
    // v' = v + 2w (u × v) + 2 u × (u × v), u the vector part of a unit q.
    const double n = std::sqrt(double(q.w) * q.w + double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z);
    if (n == 0)
        return p;
    const double w = q.w / n, x = q.x / n, y = q.y / n, z = q.z / n;
    const double tx = 2 * (y * p.z - z * p.y);
    const double ty = 2 * (z * p.x - x * p.z);
    const double tz = 2 * (x * p.y - y * p.x);
    WorldPoint out;
    out.x = p.x + w * tx + (y * tz - z * ty);
    out.y = p.y + w * ty + (z * tx - x * tz);
    out.z = p.z + w * tz + (x * ty - y * tx);
    return out;
}

WorldPoint world_point(const SimShape& shape, const WorldPoint& local)
{
    WorldPoint p = local;
    for (const SimShape* s = &shape; s != nullptr && s->parent() != nullptr; s = s->parent()) {
        if (!s->is_part())
            continue;
        p = through_transformation(s->transformation(), p);
        if (s->is_ball_joint()) {
            const Vector3& c = s->center();
            WorldPoint d{p.x - c.x, p.y - c.y, p.z - c.z};
            d = rotate_by(s->rotation(), d);
            p = WorldPoint{c.x + d.x, c.y + d.y, c.z + d.z};
        }
    }
    return p;
}

WorldPoint world_anchor(const SimShape& shape)
{
    if (shape.is_ball_joint()) {
        const Vector3& c = shape.center();
        return shape.parent() != nullptr ? world_point(*shape.parent(), WorldPoint{c.x, c.y, c.z})
                                         : WorldPoint{c.x, c.y, c.z};
    }
    return world_point(shape, WorldPoint{});
}

bool keyed_rotation_at(const SimShape& joint, float time, Quaternion* out)
{
    const std::vector<SimMotionKey>& keys = joint.keys();
    if (keys.empty())
        return false;
    if (time <= keys.front().time) {
        *out = keys.front().rotation;
        return true;
    }
    if (time >= keys.back().time) {
        *out = keys.back().rotation;
        return true;
    }
    size_t after = 1;
    while (keys[after].time < time)
        ++after;
    const SimMotionKey& a = keys[after - 1];
    const SimMotionKey& b = keys[after];
    const double t = (time - a.time) / double(b.time - a.time);
    double bw = b.rotation.w, bx = b.rotation.x, by = b.rotation.y, bz = b.rotation.z;
    double dot = a.rotation.w * bw + a.rotation.x * bx + a.rotation.y * by + a.rotation.z * bz;
    if (dot < 0) {  // the shorter way round
        bw = -bw, bx = -bx, by = -by, bz = -bz;
        dot = -dot;
    }
    double ka = 1 - t, kb = t;
    if (dot < 0.9995) {
        const double angle = std::acos(dot);
        ka = std::sin((1 - t) * angle) / std::sin(angle);
        kb = std::sin(t * angle) / std::sin(angle);
    }
    double w = ka * a.rotation.w + kb * bw, x = ka * a.rotation.x + kb * bx;
    double y = ka * a.rotation.y + kb * by, z = ka * a.rotation.z + kb * bz;
    const double n = std::sqrt(w * w + x * x + y * y + z * z);
    *out = Quaternion(float(w / n), float(x / n), float(y / n), float(z / n));
    return true;
}
