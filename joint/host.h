#pragma once
// The host's handles as the plug-in sees them.
//
// The host is built by another compiler, so every handle kind is an interface
// of pure virtual operations with one calling convention for all of them:
// __stdcall, the object as the first stack word (the COM form, which both
// compilers lay out alike). Operations take and return only 32-bit words,
// floats and pointers; a Vector3, Quaternion or Matrix4 travels by pointer,
// never by value. A yes/no answer is one byte (host_bool, in AL); non-zero
// means yes.
//
// Every handle kind is counted in the manner of IUnknown, and the host's rule
// says which handles carry a reference:
//
// - The results of current_scene, active_shape, joint_handle, line_handle and
//   the three stream operations (open_stream_for_read, open_stream_for_write,
//   find_attribute_stream) carry one reference for the caller. The step that
//   got one releases it when it ends (ReleaseGuard does that, also when a host
//   exception passes), unless JointLink keeps it; then the link releases it
//   when it lets go.
// - Every other result (as_part, placement_anchor, begin_part, begin_line,
//   part_handle) and every handle the host passes in is borrowed: the plug-in
//   never releases it. A borrowed result lives as long as what it came from.
// - A part removed with remove() is gone: nothing may touch it afterwards.
//
// The host's failures arrive as its own C++ exceptions, which on x86 are
// structured exceptions (code 0xE06D7363); see joint/host_exception.h and
// joint/release_guard.h.

#include <cstdint>
#include <windows.h>
#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/vector3.h"

typedef uint8_t host_bool;

struct HostScene;
struct HostShape;
struct HostPart;
struct HostJoint;
struct HostStream;
struct HostEntry;
struct HostLine;

struct HostUnknown {
    virtual long __stdcall QueryInterface(const GUID* iid, void** out) = 0;
    virtual unsigned long __stdcall AddRef() = 0;
    virtual unsigned long __stdcall Release() = 0;
};

// The application: its language, its main window, its current scene and its
// automatic keying switch.
struct HostApplication : HostUnknown {
    virtual host_bool __stdcall host_uses_japanese(int32_t which) = 0;  // the plug-in passes 0
    virtual HWND __stdcall main_window() = 0;
    virtual HostScene* __stdcall current_scene() = 0;
    virtual host_bool __stdcall auto_key_enabled() = 0;
};

// A scene: its active shapes, its size unit, and the operations that build a
// part of lines (begin_part, begin_line, append_point, end_line, end_part).
struct HostScene : HostUnknown {
    virtual int32_t __stdcall active_shape_count() = 0;
    virtual HostShape* __stdcall active_shape(int32_t index) = 0;  // none past the count
    virtual float __stdcall size_unit() = 0;
    virtual void __stdcall set_placement(int32_t value) = 0;        // where begin_part puts the part
    virtual HostEntry* __stdcall begin_part(const char* name) = 0;                  // borrowed
    virtual HostEntry* __stdcall begin_line(const char* name, int32_t option) = 0;  // borrowed
    // A control point: its position and its four handles.
    virtual void __stdcall append_point(const Vector3* position, const Vector3* in_handle,
                                        const Vector3* out_handle, const Vector3* side_in_handle,
                                        const Vector3* side_out_handle) = 0;
    virtual void __stdcall end_line() = 0;
    virtual void __stdcall end_part() = 0;
    virtual void __stdcall update() = 0;
};

// A shape of the scene, and the attribute streams stored with it under a
// 32-bit key.
struct HostShape : HostUnknown {
    virtual int32_t __stdcall kind() = 0;                 // 2: a part
    virtual HostPart* __stdcall as_part() = 0;            // borrowed; none unless kind() is 2
    virtual HostJoint* __stdcall joint_handle() = 0;      // none unless a ball joint
    virtual HostShape* __stdcall placement_anchor() = 0;  // borrowed; asked for placement_value(0)
    virtual int32_t __stdcall placement_value(int32_t which) = 0;
    virtual HostStream* __stdcall open_stream_for_read(int32_t key) = 0;  // none: nothing stored
    virtual HostStream* __stdcall open_stream_for_write(int32_t key, int32_t, int32_t) = 0;  // replaces key's record
    virtual HostStream* __stdcall find_attribute_stream(int32_t key, int32_t) = 0;  // none: nothing stored
    virtual void __stdcall delete_attribute_stream(int32_t key, int32_t) = 0;
};

enum : int32_t {
    host_shape_kind_part = 2,
    host_part_kind_ball_joint = 10,
};

struct HostPart : HostUnknown {
    virtual int32_t __stdcall part_kind() = 0;  // 10: a ball joint
    virtual void __stdcall get_transformation(Matrix4* out) = 0;
    virtual void __stdcall set_transformation(const Matrix4* transformation) = 0;
    virtual void __stdcall set_part_option(int32_t option) = 0;
    virtual void __stdcall remove() = 0;  // deletes the part and its lines; the handle is dead after
};

// A ball joint: its rotation (shown in the scene at once when set), its centre
// and its motion keys, ascending in time.
struct HostJoint : HostUnknown {
    virtual void __stdcall get_rotation(Quaternion* out) = 0;
    virtual void __stdcall set_rotation(const Quaternion* rotation) = 0;
    virtual void __stdcall center(Vector3* out) = 0;
    virtual host_bool __stdcall motion_enabled() = 0;
    virtual float __stdcall current_time() = 0;
    virtual int32_t __stdcall key_count() = 0;
    virtual float __stdcall key_time(int32_t index) = 0;
    virtual void __stdcall insert_key(float time) = 0;  // the new key holds the present rotation
    virtual void __stdcall set_key_rotation(int32_t index, const Quaternion* rotation) = 0;
};

// A record stored with a shape: 32-bit floats in sequence.
struct HostStream : HostUnknown {
    virtual void __stdcall seek(int32_t position) = 0;
    // Reads the next float into *out and answers yes; at the end of the
    // record answers no and leaves *out alone.
    virtual host_bool __stdcall read_float(float* out) = 0;
    virtual void __stdcall write_float(float value) = 0;
};

// What begin_part and begin_line return.
struct HostEntry : HostUnknown {
    virtual HostPart* __stdcall part_handle() = 0;  // borrowed
    virtual HostLine* __stdcall line_handle() = 0;  // carries a reference
};

struct HostLine : HostUnknown {
    virtual void __stdcall set_color(const Vector3* rgb) = 0;  // red, green, blue in 0..1
};
