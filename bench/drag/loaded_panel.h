#pragma once
// The real panel as the host gets it: Kelvaro.dll loaded with LoadLibrary,
// the panel component made by create_interface, and its window made and
// opened through positions 30 and 32 of the component's raw table, called
// thiscall as the host's compiler calls them.
#include <windows.h>

struct HostApplication;
struct HostScene;

class LoadedPanel {
public:
    // LoadLibrary; false when the module cannot be loaded.
    bool load(const char* dll_path);
    HMODULE module() const { return module_; }
    // create_interface for the panel component; false when none comes back.
    bool create_component();

    // Position 30, then position 32; answers the panel window (owned by
    // owner), or none when it cannot be found.
    HWND create_and_open(HostApplication* application, HostScene* scene, HWND owner);
    // Position 31.
    void destroy();

private:
    HMODULE module_ = nullptr;
    void* component_ = nullptr;
};
