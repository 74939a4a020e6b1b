#pragma once
// The link to the one ball joint the plug-in works on, and the operations on
// it. Everything runs on the host's user-interface thread; no locks.
#include <cstdint>
#include "joint/host.h"
#include "math/quaternion.h"
#include "math/vector3.h"

// The limits stored with a shape: the identifier they are stored under (the
// panel component's own), and the default range of a shape without a record.
constexpr int32_t panel_component_id = 0x40a00030;
constexpr int32_t attribute_component_id = 0x40a00031;
constexpr float default_minimum_angle = -180.0f;
constexpr float default_maximum_angle = 180.0f;

// One axis of the panel, all in degrees. The limits bound what the panel lets
// the user set; nothing in the joint link clamps `current` to them.
struct AxisChannel {
    float current;       // the angle the slider and edit show and the user sets
    float last_applied;  // the part of `current` already turned into rotation of the joint
    float minimum;
    float maximum;
};

// The persistent form of the six limits: six floats in this order, written one
// by one to the shape's stream under panel_component_id. No header, no count.
struct JointLimits {
    float pitch_minimum, pitch_maximum;
    float yaw_minimum, yaw_maximum;
    float roll_minimum, roll_maximum;
};

// What a shape without a stored record gets.
constexpr JointLimits default_joint_limits = {default_minimum_angle, default_maximum_angle,
                                              default_minimum_angle, default_maximum_angle,
                                              default_minimum_angle, default_maximum_angle};

// What the guide's building has begun in the host and not yet ended. Lines go
// into a begun part until its end_part, points into a begun line until its
// end_line, so what a host exception left begun would take in whatever comes
// next: it is ended before the guide is removed or built again (the ends are
// host calls, made once the exception has passed). A host operation that
// raised is taken to have done nothing: a begin that raised began nothing, an
// end that raised ended nothing.
struct GuideBuild {
    HostScene* scene = nullptr;  // where it was begun; borrowed
    bool part_open = false;
    bool line_open = false;
};

// The process-wide link state. `joint` held means linked. `shape` and `joint`
// each hold one counted reference, released when the link replaces or clears
// them. `part` and `guide` are borrowed (the results of as_part and
// part_handle carry no reference), as are `host` and `scene`, which the host
// hands in. The host makes a counted handle afresh for every call, but `part`
// is its own handle of the shape, the same for as long as the shape lives: it
// is what tells one joint from another.
struct JointLink {
    HostApplication* host = nullptr;
    HostScene* scene = nullptr;
    HostShape* shape = nullptr;
    HostPart* part = nullptr;
    HostJoint* joint = nullptr;
    HostPart* guide = nullptr;
    GuideBuild guide_build;
    Quaternion rotation;       // as last read from or written to the joint; w NaN until then
    Quaternion undo_rotation;  // what UNDO writes back
    Vector3 pitch_axis{-1, 0, 0};
    Vector3 yaw_axis{0, -1, 0};
    Vector3 roll_axis{0, 0, -1};
    AxisChannel pitch{};
    AxisChannel yaw{};
    AxisChannel roll{};
    int active_slider = 0;  // slider ID of the axis last moved, typed into or set in the limits dialog
};

extern JointLink joint_link;

// The channel of a slider ID (1001 Pitch, 1002 Yaw, 1003 Roll); none otherwise.
AxisChannel* axis_channel(int slider_id);

// Stored limits of the linked shape.
void save_limits();
// The record stored with shape, read whole; false (limits untouched) when it
// has none or it ends early. take_limits puts a record into the channels.
bool read_stored_limits(HostShape* shape, JointLimits* limits);
void take_limits(const JointLimits& limits);

// A channel's change as rotation of the joint, and the motion key.
void apply_axis_change();
void auto_key();

// The guide figure at the linked joint.
void build_guide();
void remove_guide();

// Linking to the scene's single active ball joint; UNDO and RESET.
void relink();
void unlink();
// What a new scene from the host does to an open panel: the limits held for
// the shape linked so far go to that shape, then relink.
void save_limits_and_relink();
void undo();
void reset();
