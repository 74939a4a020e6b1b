#pragma once
// Every host operation the simulated host answers, as a number (for the call
// log and fault injection) and a name ("set_rotation"). AddRef, Release and
// QueryInterface are not operations here: they are the reference accounting.
#include <cstdint>

// (interface, operation, table position, argument words after the object,
// result), in the order of joint/host.h. Positions 0 to 2 of every table are
// QueryInterface, AddRef and Release. Results: none, word (32 bits in EAX),
// byte (a host_bool in AL), float (on the x87 stack), handle (a pointer in EAX
// carrying one reference, or none).
#define SIM_HOST_OPERATIONS(X)                                    \
    X(HostApplication, host_uses_japanese, 3, 1, byte)        \
    X(HostApplication, main_window, 4, 0, word)               \
    X(HostApplication, current_scene, 5, 0, handle)           \
    X(HostApplication, auto_key_enabled, 6, 0, byte)          \
    X(HostScene, active_shape_count, 3, 0, word)              \
    X(HostScene, active_shape, 4, 1, handle)                  \
    X(HostScene, size_unit, 5, 0, float)                      \
    X(HostScene, set_placement, 6, 1, none)                   \
    X(HostScene, begin_part, 7, 1, handle)                    \
    X(HostScene, begin_line, 8, 2, handle)                    \
    X(HostScene, append_point, 9, 5, none)                    \
    X(HostScene, end_line, 10, 0, none)                       \
    X(HostScene, end_part, 11, 0, none)                       \
    X(HostScene, update, 12, 0, none)                         \
    X(HostShape, kind, 3, 0, word)                            \
    X(HostShape, as_part, 4, 0, handle)                       \
    X(HostShape, joint_handle, 5, 0, handle)                  \
    X(HostShape, placement_anchor, 6, 0, handle)              \
    X(HostShape, placement_value, 7, 1, word)                 \
    X(HostShape, open_stream_for_read, 8, 1, handle)          \
    X(HostShape, open_stream_for_write, 9, 3, handle)         \
    X(HostShape, find_attribute_stream, 10, 2, handle)        \
    X(HostShape, delete_attribute_stream, 11, 2, none)        \
    X(HostPart, part_kind, 3, 0, word)                        \
    X(HostPart, get_transformation, 4, 1, none)               \
    X(HostPart, set_transformation, 5, 1, none)               \
    X(HostPart, set_part_option, 6, 1, none)                  \
    X(HostPart, remove, 7, 0, none)                           \
    X(HostJoint, get_rotation, 3, 1, none)                    \
    X(HostJoint, set_rotation, 4, 1, none)                    \
    X(HostJoint, center, 5, 1, none)                          \
    X(HostJoint, motion_enabled, 6, 0, byte)                  \
    X(HostJoint, current_time, 7, 0, float)                   \
    X(HostJoint, key_count, 8, 0, word)                       \
    X(HostJoint, key_time, 9, 1, float)                       \
    X(HostJoint, insert_key, 10, 1, none)                     \
    X(HostJoint, set_key_rotation, 11, 2, none)               \
    X(HostStream, seek, 3, 1, none)                           \
    X(HostStream, read_float, 4, 1, byte)                     \
    X(HostStream, write_float, 5, 1, none)                    \
    X(HostEntry, part_handle, 3, 0, handle)                   \
    X(HostEntry, line_handle, 4, 0, handle)                   \
    X(HostLine, set_color, 3, 1, none)

enum class SimOperation : int32_t {
#define SIM_OPERATION_ENUMERATOR(interface_name, operation_name, position, words, result) operation_name,
    SIM_HOST_OPERATIONS(SIM_OPERATION_ENUMERATOR)
#undef SIM_OPERATION_ENUMERATOR
};

constexpr int32_t sim_operation_count = 0
#define SIM_OPERATION_ONE(interface_name, operation_name, position, words, result) +1
    SIM_HOST_OPERATIONS(SIM_OPERATION_ONE)
#undef SIM_OPERATION_ONE
    ;

// "set_rotation".
const char* sim_operation_name(SimOperation operation);
// "HostJoint".
const char* sim_operation_interface(SimOperation operation);
enum class SimResult : int32_t { none, word, byte, float_, handle };

// Where the operation sits in its interface's table, how many 32-bit words it
// takes after the object (the callee removes them), and what it returns.
int32_t sim_operation_position(SimOperation operation);
int32_t sim_operation_argument_words(SimOperation operation);
SimResult sim_operation_result(SimOperation operation);
// The operation of that name; false (and *out untouched) for an unknown name.
bool sim_operation_named(const char* name, SimOperation* out);
