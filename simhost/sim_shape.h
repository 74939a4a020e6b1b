#pragma once
// SimShape: one shape of a simulated scene, with what the host keeps for it.
//
// Every shape has a name, a kind (2: a part) and attribute streams under
// 32-bit keys. A part also has a part kind (10: a ball joint), a
// transformation, children and, once the plug-in has set it, a part option.
// A ball joint also has a rotation, a centre and motion keys in ascending
// time. A line (made by begin_line) has its option, its control points and
// its colour.
//
// The methods here are the scene's own view: they neither log calls, nor
// fail, nor count references. The plug-in reaches the shape only through
// handles, which do all three.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "joint/host.h"
#include "simhost/sim_stream_record.h"

class SimHost;
class SimScene;
class SimShapeHandle;
class SimPartHandle;
class SimJointHandle;
class SimLineHandle;
class SimEntryHandle;

enum : int32_t {
    sim_shape_kind_other = 1,  // a shape that is not a part (a primitive)
    sim_shape_kind_line = 4,   // what begin_line makes
    sim_part_kind_plain = 0,   // a part that is not a ball joint (what begin_part makes)
};

// A control point: its position and its four handles, as append_point gives them.
struct SimPoint {
    Vector3 position, in_handle, out_handle, side_in_handle, side_out_handle;
};

struct SimMotionKey {
    float time;
    Quaternion rotation;
};

class SimShape {
public:
    // Shapes are made by SimScene (add_shape, add_part, add_ball_joint, and
    // begin_part and begin_line).
    SimShape(SimScene& scene, SimShape* parent, std::string name, int32_t kind, int32_t part_kind, int32_t id);
    ~SimShape();
    SimShape(const SimShape&) = delete;
    SimShape& operator=(const SimShape&) = delete;

    // What the shape is.
    const std::string& name() const { return name_; }
    int32_t kind() const { return kind_; }
    bool is_part() const { return kind_ == host_shape_kind_part; }
    bool is_ball_joint() const { return is_part() && part_kind_ == host_part_kind_ball_joint; }
    bool is_line() const { return kind_ == sim_shape_kind_line; }
    // The number that placement_value(0) answers for it; unique in its scene.
    int32_t id() const { return id_; }
    // Taken out of the scene by remove(); the object itself stays, so late
    // releases of its handles are still counted.
    bool removed() const { return removed_; }
    SimScene& scene() const { return scene_; }
    SimHost& host() const;
    SimShape* parent() const { return parent_; }
    const std::vector<SimShape*>& children() const { return children_; }
    SimShape* find_child(const std::string& name) const;

    // The host's own handles of it, borrowed: no reference is added. The part
    // handle is none unless the shape is a part. The entry handle is what
    // begin_part or begin_line returned for it. (The shape, joint and line
    // handles that operations return carry a reference: each is made for its
    // caller, see sim_handle.h.)
    HostShape* shape_handle();
    HostPart* part_handle();
    HostEntry* entry_handle();
    // A joint handle (a line handle) as joint_handle (line_handle) answers it,
    // counted, with its one reference, but without a logged call; none unless
    // the shape is a ball joint (a line). For tests that talk to the host
    // directly.
    HostJoint* new_joint_handle();
    HostLine* new_line_handle();
    // Outstanding references over all its handles, streams included.
    int32_t references() const;

    // A part.
    int32_t part_kind() const { return part_kind_; }
    const Matrix4& transformation() const { return transformation_; }
    void set_transformation(const Matrix4& transformation) { transformation_ = transformation; }
    bool has_part_option() const { return has_part_option_; }
    int32_t part_option() const { return part_option_; }
    void set_part_option(int32_t option);

    // A ball joint. A new joint has the identity rotation, its centre at the
    // origin, motion enabled and no keys.
    const Quaternion& rotation() const { return rotation_; }
    void set_rotation(const Quaternion& rotation) { rotation_ = rotation; }
    const Vector3& center() const { return center_; }
    void set_center(const Vector3& center) { center_ = center; }
    bool motion_enabled() const { return motion_enabled_; }
    void set_motion_enabled(bool enabled) { motion_enabled_ = enabled; }
    const std::vector<SimMotionKey>& keys() const { return keys_; }
    // A key at time holding rotation, in time order; a key already at exactly
    // that time takes the rotation instead of a second key being made.
    // Answers the key's index.
    int32_t add_key(float time, const Quaternion& rotation);
    // add_key(time, rotation()).
    int32_t insert_key(float time) { return add_key(time, rotation_); }
    // False (nothing changes) for an index outside the keys.
    bool set_key_rotation(int32_t index, const Quaternion& rotation);

    // A line.
    int32_t line_option() const { return line_option_; }
    void set_line_option(int32_t option) { line_option_ = option; }
    const std::vector<SimPoint>& points() const { return points_; }
    void add_point(const SimPoint& point) { points_.push_back(point); }
    bool has_color() const { return has_color_; }
    const Vector3& color() const { return color_; }
    void set_color(const Vector3& rgb);

    // Attribute streams.
    bool has_stream(int32_t key) const;
    std::vector<int32_t> stream_keys() const;
    SimStreamBytes stream_bytes(int32_t key) const;  // empty when none
    std::vector<float> stream_floats(int32_t key) const;
    void set_stream_bytes(int32_t key, const SimStreamBytes& bytes);
    void set_stream_floats(int32_t key, const std::vector<float>& values);
    // The record itself (none when nothing is stored) and a fresh empty one
    // that replaces what was stored.
    SimStreamRecord stream_record(int32_t key) const;
    SimStreamRecord replace_stream(int32_t key);
    // False when nothing was stored under key.
    bool delete_stream(int32_t key);

private:
    friend class SimScene;
    void attach_child(SimShape* child) { children_.push_back(child); }
    void detach_child(SimShape* child);
    void mark_removed();

    SimScene& scene_;
    SimShape* parent_;
    std::string name_;
    int32_t kind_;
    int32_t part_kind_;
    int32_t id_;
    bool removed_ = false;
    std::vector<SimShape*> children_;

    Matrix4 transformation_;
    bool has_part_option_ = false;
    int32_t part_option_ = 0;

    Quaternion rotation_{1, 0, 0, 0};
    Vector3 center_;
    bool motion_enabled_ = true;
    std::vector<SimMotionKey> keys_;

    int32_t line_option_ = 0;
    std::vector<SimPoint> points_;
    bool has_color_ = false;
    Vector3 color_;

    std::map<int32_t, SimStreamRecord> streams_;

    std::unique_ptr<SimShapeHandle> shape_handle_;
    std::unique_ptr<SimPartHandle> part_handle_;
    std::unique_ptr<SimEntryHandle> entry_handle_;
};
