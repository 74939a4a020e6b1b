#pragma once
// The handle kinds of joint/host.h over the simulated scene. Each operation
// first passes SimHost::enter (log, dead-handle check, injected failure),
// then does its work on the SimScene or SimShape behind it. What an operation
// returns follows the host's rule (sim_handle.h): a counted handle made for
// the call, or one of the host's own, borrowed.
#include "simhost/sim_host.h"

class SimApplicationHandle final : public SimCounted<HostApplication> {
public:
    explicit SimApplicationHandle(SimHost& host);
    host_bool __stdcall host_uses_japanese(int32_t which) override;
    HWND __stdcall main_window() override;
    HostScene* __stdcall current_scene() override;
    host_bool __stdcall auto_key_enabled() override;

private:
    SimHost& host_;
};

class SimSceneHandle final : public SimCounted<HostScene> {
public:
    SimSceneHandle(SimScene& scene, SimHandleLife life);
    int32_t __stdcall active_shape_count() override;
    HostShape* __stdcall active_shape(int32_t index) override;
    float __stdcall size_unit() override;
    void __stdcall set_placement(int32_t value) override;
    HostEntry* __stdcall begin_part(const char* name) override;
    HostEntry* __stdcall begin_line(const char* name, int32_t option) override;
    void __stdcall append_point(const Vector3* position, const Vector3* in_handle, const Vector3* out_handle,
                                const Vector3* side_in_handle, const Vector3* side_out_handle) override;
    void __stdcall end_line() override;
    void __stdcall end_part() override;
    void __stdcall update() override;

private:
    SimScene& scene_;
};

class SimShapeHandle final : public SimCounted<HostShape> {
public:
    SimShapeHandle(SimShape& shape, SimHandleLife life);
    int32_t __stdcall kind() override;
    HostPart* __stdcall as_part() override;
    HostJoint* __stdcall joint_handle() override;
    HostShape* __stdcall placement_anchor() override;
    int32_t __stdcall placement_value(int32_t which) override;
    HostStream* __stdcall open_stream_for_read(int32_t key) override;
    HostStream* __stdcall open_stream_for_write(int32_t key, int32_t, int32_t) override;
    HostStream* __stdcall find_attribute_stream(int32_t key, int32_t) override;
    void __stdcall delete_attribute_stream(int32_t key, int32_t) override;

private:
    SimShape& shape_;
};

class SimPartHandle final : public SimCounted<HostPart> {
public:
    SimPartHandle(SimShape& shape, SimHandleLife life);
    int32_t __stdcall part_kind() override;
    void __stdcall get_transformation(Matrix4* out) override;
    void __stdcall set_transformation(const Matrix4* transformation) override;
    void __stdcall set_part_option(int32_t option) override;
    void __stdcall remove() override;

private:
    SimShape& shape_;
};

class SimJointHandle final : public SimCounted<HostJoint> {
public:
    SimJointHandle(SimShape& shape, SimHandleLife life);
    void __stdcall get_rotation(Quaternion* out) override;
    void __stdcall set_rotation(const Quaternion* rotation) override;
    void __stdcall center(Vector3* out) override;
    host_bool __stdcall motion_enabled() override;
    float __stdcall current_time() override;
    int32_t __stdcall key_count() override;
    float __stdcall key_time(int32_t index) override;
    void __stdcall insert_key(float time) override;
    void __stdcall set_key_rotation(int32_t index, const Quaternion* rotation) override;

private:
    SimShape& shape_;
};

// One open stream: a record and a byte position in it. seek takes a byte
// position; reading stops at the record's end, writing past it extends it.
// Always counted: every stream is made for the caller that opened it.
class SimStreamHandle final : public SimCounted<HostStream> {
public:
    SimStreamHandle(SimHost& host, SimShape& shape, std::string description, SimStreamRecord record, size_t start,
                    SimHandleLife life);
    void __stdcall seek(int32_t position) override;
    host_bool __stdcall read_float(float* out) override;
    void __stdcall write_float(float value) override;

    const SimStreamRecord& record() const { return record_; }
    size_t position() const { return position_; }

private:
    SimStreamRecord record_;
    size_t position_ = 0;
};

class SimEntryHandle final : public SimCounted<HostEntry> {
public:
    SimEntryHandle(SimShape& shape, SimHandleLife life);
    HostPart* __stdcall part_handle() override;
    HostLine* __stdcall line_handle() override;

private:
    SimShape& shape_;
};

class SimLineHandle final : public SimCounted<HostLine> {
public:
    SimLineHandle(SimShape& shape, SimHandleLife life);
    void __stdcall set_color(const Vector3* rgb) override;

private:
    SimShape& shape_;
};
