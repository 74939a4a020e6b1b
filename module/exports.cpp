// The ten functions the host looks up by name. All are __stdcall; Kelvaro.def
// gives each its exported name, five plain and five decorated. Ignored
// arguments are still taken from the stack by the callee.
#include <cstdint>
#include "joint/host.h"
#include "joint/joint_link.h"
#include "module/component_catalogue.h"
#include "module/component_objects.h"
#include "module/operation_table.h"
#include "module/plugin_info.h"

namespace {

constexpr int32_t interface_version = 25;
constexpr int32_t text_code_page = 932;
constexpr int32_t exception_answer = 2;

unknown_interface* new_component(CatalogueEntry entry)
{
    switch (entry) {
    case CatalogueEntry::panel:
        return new_plugin_component();
    case CatalogueEntry::attribute:
        return new_attribute_component();
    case CatalogueEntry::none:
        break;
    }
    return nullptr;
}

}  // namespace

extern "C" {

int32_t __stdcall has_interface(const GUID* kind, host_word)
{
    return served_kind(kind) ? 1 : 0;
}

int32_t __stdcall get_id(const GUID* kind, int32_t index, host_word)
{
    switch (catalogue_entry(kind, index)) {
    case CatalogueEntry::panel:
        return panel_component_id;
    case CatalogueEntry::attribute:
        return attribute_component_id;
    case CatalogueEntry::none:
        break;
    }
    return 0;
}

// The host is asked only for a component that exists, once, with 0. Without a
// host application the English name is the answer.
const char* __stdcall get_name(const GUID* kind, int32_t index, HostApplication* host, host_word)
{
    const CatalogueEntry entry = catalogue_entry(kind, index);
    if (entry == CatalogueEntry::none)
        return nullptr;
    const bool japanese = host != nullptr && (host->host_uses_japanese(0) & 0xff) != 0;
    return component_name(entry, japanese);
}

host_bool __stdcall is_resident(const GUID* kind, int32_t index, host_word)
{
    return catalogue_entry(kind, index) == CatalogueEntry::panel;
}

// A fresh object for every call, handed over with one reference. Nothing is
// made for an unknown kind or index, without memory, or without an out pointer.
void __stdcall create_interface(const GUID* kind, int32_t index, void** out, host_word, host_word)
{
    if (out == nullptr)
        return;
    unknown_interface* object = new_component(catalogue_entry(kind, index));
    if (object == nullptr)
        return;
    component_add_ref(object);
    *out = object;
}

// The record is the host's return slot; without one there is nothing to fill.
plugin_info* __stdcall get_info(plugin_info* info, host_word, host_word)
{
    if (info != nullptr)
        fill_plugin_info(info);
    return info;
}

int32_t __stdcall get_interface_version(host_word)
{
    return interface_version;
}

int32_t __stdcall get_text_encoding(host_word, host_word)
{
    return text_code_page;
}

int32_t __stdcall get_exception(host_word, host_word)
{
    return exception_answer;
}

host_bool __stdcall has_separate_interfaces(host_word)
{
    return false;
}

}  // extern "C"
