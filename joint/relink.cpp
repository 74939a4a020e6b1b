// Linking to the scene's single active ball joint, dropping the link, and the
// UNDO and RESET commands.
#include <initializer_list>
#include "joint/joint_link.h"
#include "joint/release_guard.h"
#include "joint/unwind_guard.h"
#include "math/euler_angles.h"
#include "math/rotation_constants.h"
#include "panel/panel_state.h"
#include "panel/resource.h"

namespace {

// Keeps a counted reference to value in the link's field and gives back the
// one the field held before.
template <class T>
void hold(T*& field, T* value)
{
    if (value != nullptr)
        value->AddRef();
    T* previous = field;
    field = value;
    if (previous != nullptr)
        previous->Release();
}

void enable_undo_button(BOOL enable)
{
    if (panel_state.panel_window != nullptr)
        EnableWindow(GetDlgItem(panel_state.panel_window, IDC_UNDO), enable);
}

// The channels' angles from `rotation`, each taken as already applied.
void channels_from_rotation()
{
    JointLink& link = joint_link;
    euler_degrees_from_quaternion(link.rotation, link.pitch.current, link.yaw.current, link.roll.current);
    for (AxisChannel* channel : {&link.pitch, &link.yaw, &link.roll})
        channel->last_applied = channel->current;
}

void show_all_angles()
{
    for (const AxisControls& controls : axis_controls)
        sync_axis_controls(controls.slider_id, true, true);
}

// The link is dropped, with the slider gesture under way, and the controls
// that act on it are disabled. The guide is left to the caller: removing it is
// a host call.
void drop_link()
{
    forget_slider_gesture();
    hold<HostShape>(joint_link.shape, nullptr);
    joint_link.part = nullptr;
    hold<HostJoint>(joint_link.joint, nullptr);
    set_joint_controls_enabled(FALSE);
    enable_undo_button(FALSE);
}

// From relink's first host call until the link is taken, a host failure drops
// the link as it unwinds: the scene's active shape may already be another
// joint, and no rotation of the joint linked before may ever be written to it
// (the next drag's key goes to the scene's active shape), nor the other way
// round. While the host's exception unwinds, the only host calls are the
// Releases of the link's two references; the guide figure stays until the
// panel closes or the next link replaces it.
void drop_link_on_fault(void*)
{
    drop_link();
}

}  // namespace

void unlink()
{
    drop_link();
    remove_guide();
}

void relink()
{
    JointLink& link = joint_link;
    UnwindGuard drop_on_fault(&drop_link_on_fault, nullptr);
    if (link.scene == nullptr || link.scene->active_shape_count() != 1) {
        unlink();
        return;
    }
    // The candidate's counted handles are held here until it has proved to be
    // a ball joint and its state has been read; the link takes its own
    // references only then. Its part is borrowed.
    ReleaseGuard<HostShape> shape(link.scene->active_shape(0));
    if (!shape || shape->kind() != host_shape_kind_part) {
        unlink();
        return;
    }
    HostPart* part = shape->as_part();
    if (part == nullptr || part->part_kind() != host_part_kind_ball_joint) {
        unlink();
        return;
    }
    ReleaseGuard<HostJoint> joint(shape->joint_handle());
    if (!joint) {
        unlink();
        return;
    }
    Quaternion rotation;
    joint->get_rotation(&rotation);
    JointLimits limits = default_joint_limits;
    read_stored_limits(shape.get(), &limits);

    // The part is the host's own handle of the shape, the same for as long as
    // the shape lives: it tells the joint linked before from another. A drag
    // under way goes on over a relink to its own joint (a refresh when the
    // time moved); on another joint it ends, and nothing of it is keyed there.
    if (part != link.part)
        forget_slider_gesture();
    hold(link.shape, shape.get());
    link.part = part;
    hold(link.joint, joint.get());
    drop_on_fault.dismiss();
    link.rotation = rotation;
    link.undo_rotation = rotation;
    channels_from_rotation();
    take_limits(limits);
    for (const AxisControls& controls : axis_controls)
        show_axis_limits(controls.slider_id);
    show_all_angles();
    set_joint_controls_enabled(TRUE);
    enable_undo_button(TRUE);
    build_guide();
}

void save_limits_and_relink()
{
    // The scene has already moved on: a host failure while the old shape's
    // limits are written drops the link as a failed relink does.
    UnwindGuard drop_on_fault(&drop_link_on_fault, nullptr);
    if (joint_link.shape != nullptr)
        save_limits();
    drop_on_fault.dismiss();
    relink();
}

void undo()
{
    if (joint_link.joint == nullptr)
        return;
    joint_link.joint->set_rotation(&joint_link.undo_rotation);
    joint_link.rotation = joint_link.undo_rotation;
    channels_from_rotation();
    show_all_angles();
}

void reset()
{
    JointLink& link = joint_link;
    if (link.joint == nullptr)
        return;
    for (AxisChannel* channel : {&link.pitch, &link.yaw, &link.roll}) {
        channel->current = 0;
        channel->last_applied = 0;
    }
    link.pitch_axis = Vector3(-1, 0, 0);
    link.yaw_axis = Vector3(0, -1, 0);
    link.roll_axis = Vector3(0, 0, -1);
    link.rotation = identity_quaternion;
    link.undo_rotation = identity_quaternion;
    link.joint->set_rotation(&link.rotation);
    show_all_angles();
}
