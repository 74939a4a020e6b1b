#pragma once
// Calls into a component's operation table by position, as the host makes
// them (the reference host and the benchmarks use these): positions 0 to 2 stdcall with the object as the first argument;
// position 3 onward thiscall (the object in ECX, 32-bit argument words on the
// stack, removed by the callee).
#include <cstdint>

struct HostApplication;
struct HostScene;
struct HostShape;

enum : int {
    position_release = 2,
    position_component_id = 5,
    position_notify_relink = 28,
    position_notify_refresh = 29,
    position_create_panel_window = 30,
    position_destroy_panel_window = 31,
    position_open_panel = 32,
    position_run_attribute_command = 205,
};

// Position 2: the count left.
uint32_t component_release(void* object);
// Position 5: the component's identifier (one ignored word).
int32_t component_id_of(void* object);
// Position 30: the panel's window (ignored, the host object, ignored).
void component_create_panel_window(void* object, HostApplication* host);
// Position 31: destroy the panel's window (three ignored words).
void component_destroy_panel_window(void* object);
// Position 32: open the panel (the application, the scene, ignored).
void component_open_panel(void* object, HostApplication* host, HostScene* scene);
// Position 28: the selection changed (flag pointer, scene, five ignored words).
void component_notify_relink(void* object, uint8_t* flag, HostScene* scene);
// Position 29: the scene changed otherwise (flag pointer, scene, three ignored).
void component_notify_refresh(void* object, uint8_t* flag, HostScene* scene);
// Position 205 of an attribute component: its command on the target shape
// (target, ignored); one byte back.
uint8_t component_run_attribute_command(void* object, HostShape* target);
