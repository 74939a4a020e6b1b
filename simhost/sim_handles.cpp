#include "simhost/sim_handles.h"

namespace {

std::string described(const char* kind, const SimShape& shape)
{
    return std::string(kind) + " of '" + shape.name() + "'";
}

// One of the host's own handles, lent: no reference is added.
template <class Handle>
auto borrowed(Handle* handle) -> decltype(handle->hand_out())
{
    return handle != nullptr ? handle->hand_out() : nullptr;
}

}  // namespace

// The application.

SimApplicationHandle::SimApplicationHandle(SimHost& host)
    : SimCounted(host, "HostApplication", nullptr, nullptr, SimHandleLife::host_held), host_(host)
{
}

host_bool __stdcall SimApplicationHandle::host_uses_japanese(int32_t which)
{
    host_.enter(SimOperation::host_uses_japanese, account_, {which});
    return host_.uses_japanese() ? 1 : 0;
}

HWND __stdcall SimApplicationHandle::main_window()
{
    host_.enter(SimOperation::main_window, account_);
    return host_.main_window();
}

HostScene* __stdcall SimApplicationHandle::current_scene()
{
    if (!host_.enter(SimOperation::current_scene, account_))
        return nullptr;
    return host_.has_current_scene() ? host_.make_counted<SimSceneHandle>(host_.scene()) : nullptr;
}

host_bool __stdcall SimApplicationHandle::auto_key_enabled()
{
    host_.enter(SimOperation::auto_key_enabled, account_);
    return host_.auto_key() ? 1 : 0;
}

// The scene.

SimSceneHandle::SimSceneHandle(SimScene& scene, SimHandleLife life)
    : SimCounted(scene.host(), "HostScene #" + std::to_string(scene.number()), nullptr, &scene, life), scene_(scene)
{
}

int32_t __stdcall SimSceneHandle::active_shape_count()
{
    scene_.host().enter(SimOperation::active_shape_count, account_);
    return static_cast<int32_t>(scene_.selection().size());
}

HostShape* __stdcall SimSceneHandle::active_shape(int32_t index)
{
    if (!scene_.host().enter(SimOperation::active_shape, account_, {index}))
        return nullptr;
    if (index < 0 || static_cast<size_t>(index) >= scene_.selection().size())
        return nullptr;
    return scene_.host().make_counted<SimShapeHandle>(*scene_.selection()[index]);
}

float __stdcall SimSceneHandle::size_unit()
{
    scene_.host().enter(SimOperation::size_unit, account_);
    return scene_.size_unit();
}

void __stdcall SimSceneHandle::set_placement(int32_t value)
{
    scene_.host().enter(SimOperation::set_placement, account_, {value});
    scene_.set_placement(value);
}

HostEntry* __stdcall SimSceneHandle::begin_part(const char* name)
{
    if (!scene_.host().enter(SimOperation::begin_part, account_, {}, {}, name != nullptr ? name : ""))
        return nullptr;
    SimShape& part = scene_.begin_part(name != nullptr ? name : "");
    return borrowed(static_cast<SimEntryHandle*>(part.entry_handle()));
}

HostEntry* __stdcall SimSceneHandle::begin_line(const char* name, int32_t option)
{
    if (!scene_.host().enter(SimOperation::begin_line, account_, {option}, {}, name != nullptr ? name : ""))
        return nullptr;
    SimShape& line = scene_.begin_line(name != nullptr ? name : "", option);
    return borrowed(static_cast<SimEntryHandle*>(line.entry_handle()));
}

void __stdcall SimSceneHandle::append_point(const Vector3* position, const Vector3* in_handle,
                                            const Vector3* out_handle, const Vector3* side_in_handle,
                                            const Vector3* side_out_handle)
{
    const Vector3 p = *position, a = *in_handle, b = *out_handle, c = *side_in_handle, d = *side_out_handle;
    scene_.host().enter(SimOperation::append_point, account_, {},
                        {p.x, p.y, p.z, a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z, d.x, d.y, d.z});
    scene_.append_point(SimPoint{p, a, b, c, d});
}

void __stdcall SimSceneHandle::end_line()
{
    scene_.host().enter(SimOperation::end_line, account_);
    scene_.end_line();
}

void __stdcall SimSceneHandle::end_part()
{
    scene_.host().enter(SimOperation::end_part, account_);
    scene_.end_part();
}

void __stdcall SimSceneHandle::update()
{
    scene_.host().enter(SimOperation::update, account_);
    scene_.update();
}

// A shape.

SimShapeHandle::SimShapeHandle(SimShape& shape, SimHandleLife life)
    : SimCounted(shape.host(), described("HostShape", shape), &shape, &shape.scene(), life), shape_(shape)
{
}

int32_t __stdcall SimShapeHandle::kind()
{
    shape_.host().enter(SimOperation::kind, account_);
    return shape_.kind();
}

HostPart* __stdcall SimShapeHandle::as_part()
{
    if (!shape_.host().enter(SimOperation::as_part, account_))
        return nullptr;
    return borrowed(static_cast<SimPartHandle*>(shape_.part_handle()));
}

HostJoint* __stdcall SimShapeHandle::joint_handle()
{
    if (!shape_.host().enter(SimOperation::joint_handle, account_))
        return nullptr;
    return shape_.is_ball_joint() ? shape_.host().make_counted<SimJointHandle>(shape_) : nullptr;
}

HostShape* __stdcall SimShapeHandle::placement_anchor()
{
    if (!shape_.host().enter(SimOperation::placement_anchor, account_))
        return nullptr;
    SimShape& anchor = shape_.parent() != nullptr ? *shape_.parent() : shape_;
    return borrowed(static_cast<SimShapeHandle*>(anchor.shape_handle()));
}

int32_t __stdcall SimShapeHandle::placement_value(int32_t which)
{
    shape_.host().enter(SimOperation::placement_value, account_, {which});
    return shape_.id();
}

HostStream* __stdcall SimShapeHandle::open_stream_for_read(int32_t key)
{
    if (!shape_.host().enter(SimOperation::open_stream_for_read, account_, {key}))
        return nullptr;
    SimStreamRecord record = shape_.stream_record(key);
    if (!record)
        return nullptr;
    return shape_.host().open_stream(shape_, key, std::move(record), "read", true);
}

HostStream* __stdcall SimShapeHandle::open_stream_for_write(int32_t key, int32_t second, int32_t third)
{
    if (!shape_.host().enter(SimOperation::open_stream_for_write, account_, {key, second, third}))
        return nullptr;
    return shape_.host().open_stream(shape_, key, shape_.replace_stream(key), "write", false);
}

HostStream* __stdcall SimShapeHandle::find_attribute_stream(int32_t key, int32_t second)
{
    if (!shape_.host().enter(SimOperation::find_attribute_stream, account_, {key, second}))
        return nullptr;
    SimStreamRecord record = shape_.stream_record(key);
    if (!record)
        return nullptr;
    return shape_.host().open_stream(shape_, key, std::move(record), "found", true);
}

void __stdcall SimShapeHandle::delete_attribute_stream(int32_t key, int32_t second)
{
    shape_.host().enter(SimOperation::delete_attribute_stream, account_, {key, second});
    shape_.delete_stream(key);
}

// A part.

SimPartHandle::SimPartHandle(SimShape& shape, SimHandleLife life)
    : SimCounted(shape.host(), described("HostPart", shape), &shape, &shape.scene(), life), shape_(shape)
{
}

int32_t __stdcall SimPartHandle::part_kind()
{
    shape_.host().enter(SimOperation::part_kind, account_);
    return shape_.part_kind();
}

void __stdcall SimPartHandle::get_transformation(Matrix4* out)
{
    shape_.host().enter(SimOperation::get_transformation, account_);
    *out = shape_.transformation();
}

void __stdcall SimPartHandle::set_transformation(const Matrix4* transformation)
{
    const Matrix4 t = *transformation;
    shape_.host().enter(SimOperation::set_transformation, account_, {},
                        {t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11], t[12], t[13],
                         t[14], t[15]});
    shape_.set_transformation(t);
}

void __stdcall SimPartHandle::set_part_option(int32_t option)
{
    shape_.host().enter(SimOperation::set_part_option, account_, {option});
    shape_.set_part_option(option);
}

void __stdcall SimPartHandle::remove()
{
    shape_.host().enter(SimOperation::remove, account_);
    shape_.scene().remove(shape_);
}

// A ball joint.

SimJointHandle::SimJointHandle(SimShape& shape, SimHandleLife life)
    : SimCounted(shape.host(), described("HostJoint", shape), &shape, &shape.scene(), life), shape_(shape)
{
}

void __stdcall SimJointHandle::get_rotation(Quaternion* out)
{
    shape_.host().enter(SimOperation::get_rotation, account_);
    *out = shape_.rotation();
}

void __stdcall SimJointHandle::set_rotation(const Quaternion* rotation)
{
    const Quaternion q = *rotation;
    shape_.host().enter(SimOperation::set_rotation, account_, {}, {q.w, q.x, q.y, q.z});
    shape_.set_rotation(q);
}

void __stdcall SimJointHandle::center(Vector3* out)
{
    shape_.host().enter(SimOperation::center, account_);
    *out = shape_.center();
}

host_bool __stdcall SimJointHandle::motion_enabled()
{
    shape_.host().enter(SimOperation::motion_enabled, account_);
    return shape_.motion_enabled() ? 1 : 0;
}

float __stdcall SimJointHandle::current_time()
{
    shape_.host().enter(SimOperation::current_time, account_);
    return shape_.scene().current_time();
}

int32_t __stdcall SimJointHandle::key_count()
{
    shape_.host().enter(SimOperation::key_count, account_);
    return static_cast<int32_t>(shape_.keys().size());
}

float __stdcall SimJointHandle::key_time(int32_t index)
{
    shape_.host().enter(SimOperation::key_time, account_, {index});
    if (index < 0 || static_cast<size_t>(index) >= shape_.keys().size()) {
        shape_.host().record_error("key_time(" + std::to_string(index) + ") on " + account_.description() +
                                   ", which has " + std::to_string(shape_.keys().size()) + " keys");
        return 0;
    }
    return shape_.keys()[index].time;
}

void __stdcall SimJointHandle::insert_key(float time)
{
    shape_.host().enter(SimOperation::insert_key, account_, {}, {time});
    shape_.insert_key(time);
}

void __stdcall SimJointHandle::set_key_rotation(int32_t index, const Quaternion* rotation)
{
    const Quaternion q = *rotation;
    shape_.host().enter(SimOperation::set_key_rotation, account_, {index}, {q.w, q.x, q.y, q.z});
    if (!shape_.set_key_rotation(index, q))
        shape_.host().record_error("set_key_rotation(" + std::to_string(index) + ") on " + account_.description() +
                                   ", which has " + std::to_string(shape_.keys().size()) + " keys");
}

// A stream.

SimStreamHandle::SimStreamHandle(SimHost& host, SimShape& shape, std::string description, SimStreamRecord record,
                                 size_t start, SimHandleLife life)
    : SimCounted(host, std::move(description), &shape, &shape.scene(), life), record_(std::move(record)), position_(start)
{
}

void __stdcall SimStreamHandle::seek(int32_t position)
{
    account_.host().enter(SimOperation::seek, account_, {position});
    if (position < 0) {
        account_.host().record_error("seek(" + std::to_string(position) + ") on " + account_.description());
        position = 0;
    }
    position_ = static_cast<size_t>(position);
}

host_bool __stdcall SimStreamHandle::read_float(float* out)
{
    account_.host().enter(SimOperation::read_float, account_);
    if (position_ + 4 > record_->size())
        return 0;
    *out = sim_decode_float(record_->data() + position_);
    position_ += 4;
    return 1;
}

void __stdcall SimStreamHandle::write_float(float value)
{
    account_.host().enter(SimOperation::write_float, account_, {}, {value});
    if (record_->size() < position_ + 4)
        record_->resize(position_ + 4);
    sim_encode_float(value, record_->data() + position_);
    position_ += 4;
}

// What begin_part and begin_line return.

SimEntryHandle::SimEntryHandle(SimShape& shape, SimHandleLife life)
    : SimCounted(shape.host(), described("HostEntry", shape), &shape, &shape.scene(), life), shape_(shape)
{
}

HostPart* __stdcall SimEntryHandle::part_handle()
{
    if (!shape_.host().enter(SimOperation::part_handle, account_))
        return nullptr;
    return borrowed(static_cast<SimPartHandle*>(shape_.part_handle()));
}

HostLine* __stdcall SimEntryHandle::line_handle()
{
    if (!shape_.host().enter(SimOperation::line_handle, account_))
        return nullptr;
    return shape_.is_line() ? shape_.host().make_counted<SimLineHandle>(shape_) : nullptr;
}

// A line.

SimLineHandle::SimLineHandle(SimShape& shape, SimHandleLife life)
    : SimCounted(shape.host(), described("HostLine", shape), &shape, &shape.scene(), life), shape_(shape)
{
}

void __stdcall SimLineHandle::set_color(const Vector3* rgb)
{
    const Vector3 c = *rgb;
    shape_.host().enter(SimOperation::set_color, account_, {}, {c.x, c.y, c.z});
    shape_.set_color(c);
}
