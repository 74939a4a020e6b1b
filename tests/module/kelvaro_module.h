#pragma once
// Kelvaro.dll as the host sees it: loaded with LoadLibrary from the build, its
// exports found by name, its components reached through their raw tables.
#include <cstdint>
#include <windows.h>

struct HostApplication;

// The two interface kinds, written out here byte by byte as the host has them.
extern const GUID plugin_kind;     // {50E47D69-8922-11D1-9A00-00C04FCC9C26}
extern const GUID attribute_kind;  // {50E47D67-8922-11D1-9A00-00C04FCC9C26}

struct KelvaroExports {
    int32_t(__stdcall* has_interface)(const GUID* kind, uint32_t);
    int32_t(__stdcall* get_id)(const GUID* kind, int32_t index, uint32_t);
    const char*(__stdcall* get_name)(const GUID* kind, int32_t index, HostApplication* host, uint32_t);
    uint8_t(__stdcall* is_resident)(const GUID* kind, int32_t index, uint32_t);
    void(__stdcall* create_interface)(const GUID* kind, int32_t index, void** out, uint32_t, uint32_t);
    void*(__stdcall* get_info)(void* record, uint32_t, uint32_t);
    int32_t(__stdcall* get_interface_version)(uint32_t);
    int32_t(__stdcall* get_text_encoding)(uint32_t, uint32_t);
    int32_t(__stdcall* get_exception)(uint32_t, uint32_t);
    uint8_t(__stdcall* has_separate_interfaces)(uint32_t);
};

// The module, loaded once per process; the test fails if it cannot be.
HMODULE kelvaro_module();
const KelvaroExports& kelvaro_exports();

// A component object: its table pointer, then its count.
struct ComponentObject {
    const void* const* table;
    int32_t reference_count;
};

// A new component through create_interface; none if nothing was stored.
ComponentObject* create_component(const GUID& kind, int32_t index);
