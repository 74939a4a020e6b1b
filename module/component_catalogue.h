#pragma once
// The module's two components and how the host names them: an interface kind
// (a 16-byte GUID defined by the host) and an index within that kind.
#include <cstdint>
#include <windows.h>

// The two kinds differ only in their first byte.
extern const GUID IID_plugin_interface;     // {50E47D69-8922-11D1-9A00-00C04FCC9C26}
extern const GUID IID_attribute_interface;  // {50E47D67-8922-11D1-9A00-00C04FCC9C26}

enum class CatalogueEntry {
    none,
    panel,      // IID_plugin_interface, index 0: plugin_component
    attribute,  // IID_attribute_interface, any index: attribute_component
};

// Which component a kind and an index name. Only an exact match of all 16
// bytes is a kind, the plug-in kind is tried first, and the attribute kind's
// index is not looked at. No kind at all names nothing.
CatalogueEntry catalogue_entry(const GUID* kind, int32_t index);

// True for the two kinds this module serves.
bool served_kind(const GUID* kind);

// Display names, NUL-terminated, in code page 932; static.
const char* component_name(CatalogueEntry entry, bool japanese);
