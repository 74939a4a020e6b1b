#pragma once
// Kelvaro.dll as the reference host loads it: LoadLibrary, the ten exports
// found by name, and a catalogue of the components they describe. The host
// knows the components only through these exports and their raw tables.
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

struct HostApplication;

// The two interface kinds, as the host defines them.
extern const GUID refhost_plugin_kind;     // {50E47D69-8922-11D1-9A00-00C04FCC9C26}
extern const GUID refhost_attribute_kind;  // {50E47D67-8922-11D1-9A00-00C04FCC9C26}

struct PluginExports {
    int32_t(__stdcall* has_interface)(const GUID* kind, uint32_t) = nullptr;
    int32_t(__stdcall* get_id)(const GUID* kind, int32_t index, uint32_t) = nullptr;
    const char*(__stdcall* get_name)(const GUID* kind, int32_t index, HostApplication* host, uint32_t) = nullptr;
    uint8_t(__stdcall* is_resident)(const GUID* kind, int32_t index, uint32_t) = nullptr;
    void(__stdcall* create_interface)(const GUID* kind, int32_t index, void** out, uint32_t, uint32_t) = nullptr;
    void*(__stdcall* get_info)(void* record, uint32_t, uint32_t) = nullptr;
    int32_t(__stdcall* get_interface_version)(uint32_t) = nullptr;
    int32_t(__stdcall* get_text_encoding)(uint32_t, uint32_t) = nullptr;
    int32_t(__stdcall* get_exception)(uint32_t, uint32_t) = nullptr;
    uint8_t(__stdcall* has_separate_interfaces)(uint32_t) = nullptr;
};

// One component the module offers.
struct PluginComponent {
    GUID kind;
    int32_t index = 0;
    int32_t id = 0;
    std::string name;     // as get_name answered it, code page 932
    bool resident = false;
    void* object = nullptr;  // a resident component's object, created at load
};

class PluginModule {
public:
    PluginModule() = default;
    ~PluginModule() { unload(); }
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Loads the module and finds its ten exports; false (with a reason in
    // error()) when the file does not load or an export is missing.
    bool load(const std::string& path);
    // Lists the components of both kinds (has_interface, get_id, get_name,
    // _is_resident@12) and creates the resident ones.
    void enumerate(HostApplication* host);
    // Asks every component's name again, after a change of language.
    void refresh_names(HostApplication* host);
    // Releases the resident components and frees the module.
    void unload();

    bool loaded() const { return module_ != nullptr; }
    const std::string& error() const { return error_; }
    const PluginExports& exports() const { return exports_; }
    std::vector<PluginComponent>& components() { return components_; }
    // The first component of the kind; none when the module offers none.
    PluginComponent* find(const GUID& kind);

    // A new object through create_interface, with its one reference; none
    // when nothing was stored.
    void* create(const GUID& kind, int32_t index) const;

private:
    HMODULE module_ = nullptr;
    std::string error_;
    PluginExports exports_;
    std::vector<PluginComponent> components_;
};
