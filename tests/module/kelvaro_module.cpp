#include "kelvaro_module.h"
#include <gtest/gtest.h>
#include <string>

const GUID plugin_kind = {0x50E47D69, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
const GUID attribute_kind = {0x50E47D67, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};

namespace {

// The build names the DLL by its Linux path; Wine shows the Linux root as Z:.
std::string windows_path(const char* path)
{
    std::string result = path;
    if (!result.empty() && result[0] == '/')
        result = "Z:" + result;
    return result;
}

template <class Function>
void find_export(HMODULE module, const char* name, Function* out)
{
    *out = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (*out == nullptr)
        ADD_FAILURE() << "Kelvaro.dll exports no " << name;
}

}  // namespace

HMODULE kelvaro_module()
{
    static HMODULE module = LoadLibraryA(windows_path(KELVARO_DLL_PATH).c_str());
    if (module == nullptr)
        ADD_FAILURE() << "LoadLibrary " << KELVARO_DLL_PATH << " failed, error " << GetLastError();
    return module;
}

const KelvaroExports& kelvaro_exports()
{
    static KelvaroExports exports = [] {
        KelvaroExports e{};
        HMODULE module = kelvaro_module();
        if (module == nullptr)
            return e;
        find_export(module, "has_interface", &e.has_interface);
        find_export(module, "get_id", &e.get_id);
        find_export(module, "get_name", &e.get_name);
        find_export(module, "_is_resident@12", &e.is_resident);
        find_export(module, "create_interface", &e.create_interface);
        find_export(module, "_get_info@12", &e.get_info);
        find_export(module, "get_interface_version", &e.get_interface_version);
        find_export(module, "_get_text_encoding@8", &e.get_text_encoding);
        find_export(module, "_get_exception@8", &e.get_exception);
        find_export(module, "_has_separate_interfaces@4", &e.has_separate_interfaces);
        return e;
    }();
    return exports;
}

ComponentObject* create_component(const GUID& kind, int32_t index)
{
    void* object = nullptr;
    kelvaro_exports().create_interface(&kind, index, &object, 0, 0);
    return static_cast<ComponentObject*>(object);
}
