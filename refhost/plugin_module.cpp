#include "refhost/plugin_module.h"

#include "simhost/component_calls.h"

const GUID refhost_plugin_kind = {0x50E47D69, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
const GUID refhost_attribute_kind = {0x50E47D67, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};

namespace {

template <typename Function>
bool find_export(HMODULE module, const char* name, Function* out, std::string* missing)
{
    *out = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (*out == nullptr) {
        if (!missing->empty())
            *missing += ", ";
        *missing += name;
    }
    return *out != nullptr;
}

}  // namespace

bool PluginModule::load(const std::string& path)
{
    unload();
    module_ = LoadLibraryA(path.c_str());
    if (module_ == nullptr) {
        error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    std::string missing;
    find_export(module_, "has_interface", &exports_.has_interface, &missing);
    find_export(module_, "get_id", &exports_.get_id, &missing);
    find_export(module_, "get_name", &exports_.get_name, &missing);
    find_export(module_, "_is_resident@12", &exports_.is_resident, &missing);
    find_export(module_, "create_interface", &exports_.create_interface, &missing);
    find_export(module_, "_get_info@12", &exports_.get_info, &missing);
    find_export(module_, "get_interface_version", &exports_.get_interface_version, &missing);
    find_export(module_, "_get_text_encoding@8", &exports_.get_text_encoding, &missing);
    find_export(module_, "_get_exception@8", &exports_.get_exception, &missing);
    find_export(module_, "_has_separate_interfaces@4", &exports_.has_separate_interfaces, &missing);
    if (!missing.empty()) {
        error_ = path + " lacks the exports " + missing;
        FreeLibrary(module_);
        module_ = nullptr;
        exports_ = PluginExports();
        return false;
    }
    error_.clear();
    return true;
}

void PluginModule::enumerate(HostApplication* host)
{
    if (!loaded())
        return;
    for (const GUID* kind : {&refhost_plugin_kind, &refhost_attribute_kind}) {
        const int32_t count = exports_.has_interface(kind, 0);
        for (int32_t index = 0; index < count; ++index) {
            PluginComponent component;
            component.kind = *kind;
            component.index = index;
            component.id = exports_.get_id(kind, index, 0);
            const char* name = exports_.get_name(kind, index, host, 0);
            component.name = name != nullptr ? name : "";
            component.resident = exports_.is_resident(kind, index, 0) != 0;
            if (component.resident)
                component.object = create(*kind, index);
            components_.push_back(component);
        }
    }
}

void PluginModule::refresh_names(HostApplication* host)
{
    for (PluginComponent& component : components_) {
        const char* name = exports_.get_name(&component.kind, component.index, host, 0);
        component.name = name != nullptr ? name : "";
    }
}

void PluginModule::unload()
{
    for (PluginComponent& component : components_) {
        if (component.object != nullptr)
            component_release(component.object);
    }
    components_.clear();
    if (module_ != nullptr)
        FreeLibrary(module_);
    module_ = nullptr;
    exports_ = PluginExports();
}

PluginComponent* PluginModule::find(const GUID& kind)
{
    for (PluginComponent& component : components_) {
        if (IsEqualGUID(component.kind, kind))
            return &component;
    }
    return nullptr;
}

void* PluginModule::create(const GUID& kind, int32_t index) const
{
    if (!loaded())
        return nullptr;
    void* object = nullptr;
    exports_.create_interface(&kind, index, &object, 0, 0);
    return object;
}
