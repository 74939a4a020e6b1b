#include "bench/drag/loaded_panel.h"

#include <cstdint>
#include <string>

#include "simhost/component_calls.h"

namespace {

// {50E47D69-8922-11D1-9A00-00C04FCC9C26}, the plug-in interface kind.
const GUID plugin_kind = {0x50E47D69, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};

using CreateInterface = void(__stdcall*)(const GUID* kind, int32_t index, void** out, uint32_t, uint32_t);

struct OwnedDialog {
    HWND owner;
    HWND found;
};

BOOL CALLBACK find_owned_dialog(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<OwnedDialog*>(context);
    char class_name[16] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    if (GetWindow(window, GW_OWNER) == search->owner && lstrcmpA(class_name, "#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool LoadedPanel::load(const char* dll_path)
{
    // The build names the DLL by its Linux path; Wine shows the Linux root as Z:.
    std::string path = dll_path;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    module_ = LoadLibraryA(path.c_str());
    return module_ != nullptr;
}

bool LoadedPanel::create_component()
{
    auto create = reinterpret_cast<CreateInterface>(reinterpret_cast<void*>(GetProcAddress(module_, "create_interface")));
    if (create == nullptr)
        return false;
    create(&plugin_kind, 0, &component_, 0, 0);
    return component_ != nullptr;
}

HWND LoadedPanel::create_and_open(HostApplication* application, HostScene* scene, HWND owner)
{
    component_create_panel_window(component_, application);
    component_open_panel(component_, application, scene);
    OwnedDialog search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), find_owned_dialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void LoadedPanel::destroy()
{
    component_destroy_panel_window(component_);
}
