#pragma once
// Every host operation the simulated host answers, as a number (for the call
// log and fault injection) and a name ("set_rotation"). AddRef, Release and
// QueryInterface are not operations here: they are the reference accounting.
#include <cstdint>

// (interface, operation), in the order of joint/host.h.
#define SIM_HOST_OPERATIONS(X)                  \
    X(HostApplication, host_uses_japanese)      \
    X(HostApplication, main_window)             \
    X(HostApplication, current_scene)           \
    X(HostApplication, auto_key_enabled)        \
    X(HostScene, active_shape_count)            \
    X(HostScene, active_shape)                  \
    X(HostScene, size_unit)                     \
    X(HostScene, set_placement)                 \
    X(HostScene, begin_part)                    \
    X(HostScene, begin_line)                    \
    X(HostScene, append_point)                  \
    X(HostScene, end_line)                      \
    X(HostScene, end_part)                      \
    X(HostScene, update)                        \
    X(HostShape, kind)                          \
    X(HostShape, as_part)                       \
    X(HostShape, joint_handle)                  \
    X(HostShape, placement_anchor)              \
    X(HostShape, placement_value)               \
    X(HostShape, open_stream_for_read)          \
    X(HostShape, open_stream_for_write)         \
    X(HostShape, find_attribute_stream)         \
    X(HostShape, delete_attribute_stream)       \
    X(HostPart, part_kind)                      \
    X(HostPart, get_transformation)             \
    X(HostPart, set_transformation)             \
    X(HostPart, set_part_option)                \
    X(HostPart, remove)                         \
    X(HostJoint, get_rotation)                  \
    X(HostJoint, set_rotation)                  \
    X(HostJoint, center)                        \
    X(HostJoint, motion_enabled)                \
    X(HostJoint, current_time)                  \
    X(HostJoint, key_count)                     \
    X(HostJoint, key_time)                      \
    X(HostJoint, insert_key)                    \
    X(HostJoint, set_key_rotation)              \
    X(HostStream, seek)                         \
    X(HostStream, read_float)                   \
    X(HostStream, write_float)                  \
    X(HostEntry, part_handle)                   \
    X(HostEntry, line_handle)                   \
    X(HostLine, set_color)

enum class SimOperation : int32_t {
#define SIM_OPERATION_ENUMERATOR(interface_name, operation_name) operation_name,
    SIM_HOST_OPERATIONS(SIM_OPERATION_ENUMERATOR)
#undef SIM_OPERATION_ENUMERATOR
};

constexpr int32_t sim_operation_count = 0
#define SIM_OPERATION_ONE(interface_name, operation_name) +1
    SIM_HOST_OPERATIONS(SIM_OPERATION_ONE)
#undef SIM_OPERATION_ONE
    ;

// "set_rotation".
const char* sim_operation_name(SimOperation operation);
// "HostJoint".
const char* sim_operation_interface(SimOperation operation);
// The operation of that name; false (and *out untouched) for an unknown name.
bool sim_operation_named(const char* name, SimOperation* out);
