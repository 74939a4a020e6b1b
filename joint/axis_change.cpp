// A channel's change as rotation of the linked joint, and the motion key at
// the current time.
#include "joint/joint_link.h"
#include "joint/release_guard.h"
#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/rotation_constants.h"
#include "panel/resource.h"

namespace {

// The axis about which a slider's channel turns the joint; none for other IDs.
const Vector3* channel_axis(int slider_id)
{
    switch (slider_id) {
    case IDC_PITCH_SLIDER:
        return &joint_link.pitch_axis;
    case IDC_YAW_SLIDER:
        return &joint_link.yaw_axis;
    case IDC_ROLL_SLIDER:
        return &joint_link.roll_axis;
    default:
        return nullptr;
    }
}

}  // namespace

// Runs for every drag step: everything lives on the stack, nothing is
// allocated, nothing is kept but `rotation`. A change of zero (a step held at
// a limit, another slider ID) keeps `rotation` exactly as it is: composing
// with the identity would only round it again, and a step that turns nothing
// must leave the joint's pose as it was.
void apply_axis_change()
{
    if (joint_link.joint == nullptr)
        return;

    AxisChannel* channel = axis_channel(joint_link.active_slider);
    const Vector3* axis = channel_axis(joint_link.active_slider);
    if (channel != nullptr && axis != nullptr) {
        const float angle = static_cast<float>(
            (static_cast<double>(channel->current) - static_cast<double>(channel->last_applied)) *
            static_cast<double>(radians_per_degree));
        channel->last_applied = channel->current;
        if (angle != 0) {
            Quaternion delta_rotation;
            delta_rotation.set_from_matrix(axis_rotation_matrix(*axis, angle));
            joint_link.rotation = delta_rotation.multiply(joint_link.rotation);
        }
    }
    joint_link.joint->set_rotation(&joint_link.rotation);
}

namespace {

// Writes the key at time t into the joint's motion: an existing key at exactly
// t takes the held rotation; otherwise a new key is inserted, which records the
// joint's present rotation. Keys are ascending in time.
void key_joint_at(HostJoint* joint, float t)
{
    const int32_t count = joint->key_count();
    for (int32_t i = 0; i < count; ++i) {
        const float key_time = joint->key_time(i);
        if (key_time > t)
            break;
        if (key_time == t) {
            joint->set_key_rotation(i, &joint_link.rotation);
            return;
        }
    }
    joint->insert_key(t);
}

}  // namespace

// Only the linked joint is keyed, with its own pose: a selection that the host
// changed without telling the panel yet gets no key of another joint's.
void auto_key()
{
    if (joint_link.host == nullptr || joint_link.joint == nullptr)
        return;
    // Declared in this order so that they are released joint, shape, scene,
    // also when a host exception passes.
    ReleaseGuard<HostScene> scene(joint_link.host->current_scene());
    if (!scene)
        return;
    ReleaseGuard<HostShape> shape(scene->active_shape(0));
    if (!shape || shape->as_part() != joint_link.part)
        return;
    ReleaseGuard<HostJoint> joint(shape->joint_handle());
    if (!joint)
        return;
    if (!joint_link.host->auto_key_enabled())
        return;
    if (!joint->motion_enabled())
        return;
    key_joint_at(joint.get(), joint->current_time());
}
