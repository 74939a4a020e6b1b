#include "simhost/sim_shape.h"
#include <algorithm>
#include "simhost/sim_handles.h"

SimShape::SimShape(SimScene& scene, SimShape* parent, std::string name, int32_t kind, int32_t part_kind, int32_t id)
    : scene_(scene),
      parent_(parent),
      name_(std::move(name)),
      kind_(kind),
      part_kind_(kind == host_shape_kind_part ? part_kind : sim_part_kind_plain),
      id_(id),
      transformation_(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1)
{
    // The host's own handles, lent to whoever asks: the shape (handed in as a
    // target, or as a placement anchor), the entry that begin_part or
    // begin_line answered, and the part.
    shape_handle_ = std::make_unique<SimShapeHandle>(*this, SimHandleLife::host_held);
    entry_handle_ = std::make_unique<SimEntryHandle>(*this, SimHandleLife::host_held);
    if (is_part())
        part_handle_ = std::make_unique<SimPartHandle>(*this, SimHandleLife::host_held);
}

SimShape::~SimShape() = default;

SimHost& SimShape::host() const
{
    return scene_.host();
}

SimShape* SimShape::find_child(const std::string& name) const
{
    for (SimShape* child : children_)
        if (child->name() == name)
            return child;
    return nullptr;
}

HostShape* SimShape::shape_handle()
{
    return shape_handle_.get();
}

HostPart* SimShape::part_handle()
{
    return part_handle_.get();
}

HostJoint* SimShape::new_joint_handle()
{
    return is_ball_joint() ? host().make_counted<SimJointHandle>(*this) : nullptr;
}

HostLine* SimShape::new_line_handle()
{
    return is_line() ? host().make_counted<SimLineHandle>(*this) : nullptr;
}

HostEntry* SimShape::entry_handle()
{
    return entry_handle_.get();
}

int32_t SimShape::references() const
{
    return host().references_to(*this);
}

void SimShape::set_part_option(int32_t option)
{
    has_part_option_ = true;
    part_option_ = option;
}

int32_t SimShape::add_key(float time, const Quaternion& rotation)
{
    auto at = std::lower_bound(keys_.begin(), keys_.end(), time,
                               [](const SimMotionKey& key, float t) { return key.time < t; });
    if (at != keys_.end() && at->time == time) {
        at->rotation = rotation;
        return static_cast<int32_t>(at - keys_.begin());
    }
    at = keys_.insert(at, SimMotionKey{time, rotation});
    return static_cast<int32_t>(at - keys_.begin());
}

bool SimShape::set_key_rotation(int32_t index, const Quaternion& rotation)
{
    if (index < 0 || static_cast<size_t>(index) >= keys_.size())
        return false;
    keys_[index].rotation = rotation;
    return true;
}

void SimShape::set_color(const Vector3& rgb)
{
    has_color_ = true;
    color_ = rgb;
}

bool SimShape::has_stream(int32_t key) const
{
    return streams_.count(key) != 0;
}

std::vector<int32_t> SimShape::stream_keys() const
{
    std::vector<int32_t> keys;
    for (const auto& stream : streams_)
        keys.push_back(stream.first);
    return keys;
}

SimStreamBytes SimShape::stream_bytes(int32_t key) const
{
    auto found = streams_.find(key);
    return found == streams_.end() ? SimStreamBytes{} : *found->second;
}

std::vector<float> SimShape::stream_floats(int32_t key) const
{
    return sim_stream_floats_of(stream_bytes(key));
}

void SimShape::set_stream_bytes(int32_t key, const SimStreamBytes& bytes)
{
    *replace_stream(key) = bytes;
}

void SimShape::set_stream_floats(int32_t key, const std::vector<float>& values)
{
    set_stream_bytes(key, sim_stream_bytes_of(values));
}

SimStreamRecord SimShape::stream_record(int32_t key) const
{
    auto found = streams_.find(key);
    return found == streams_.end() ? nullptr : found->second;
}

SimStreamRecord SimShape::replace_stream(int32_t key)
{
    SimStreamRecord record = std::make_shared<SimStreamBytes>();
    streams_[key] = record;
    return record;
}

bool SimShape::delete_stream(int32_t key)
{
    return streams_.erase(key) != 0;
}

void SimShape::detach_child(SimShape* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void SimShape::mark_removed()
{
    removed_ = true;
    for (SimShape* child : children_)
        child->mark_removed();
}
