#include "module/component_catalogue.h"
#include <cstring>

const GUID IID_plugin_interface = {0x50E47D69, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
const GUID IID_attribute_interface = {0x50E47D67, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};

namespace {

// The host's kind IDs are compared as four 32-bit words.
bool same_kind(const GUID* kind, const GUID& known)
{
    uint32_t a[4], b[4];
    std::memcpy(a, kind, sizeof a);
    std::memcpy(b, &known, sizeof b);
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

// Code page 932 bytes; the text each stands for is beside it.
const char panel_name_english[] = "Kelvaro...";
const char panel_name_japanese[] = "Kelvaro\x91\x80\x8d\xec...";  // Kelvaro操作...
const char attribute_name_english[] = "Clear Kelvaro Attribute";
const char attribute_name_japanese[] = "Kelvaro\x91\xae\x90\xab\x83N\x83\x8a\x83" "A";  // Kelvaro属性クリア

}  // namespace

bool served_kind(const GUID* kind)
{
    return kind != nullptr && (same_kind(kind, IID_plugin_interface) || same_kind(kind, IID_attribute_interface));
}

CatalogueEntry catalogue_entry(const GUID* kind, int32_t index)
{
    if (kind == nullptr)
        return CatalogueEntry::none;
    if (same_kind(kind, IID_plugin_interface))
        return index == 0 ? CatalogueEntry::panel : CatalogueEntry::none;
    if (same_kind(kind, IID_attribute_interface))
        return CatalogueEntry::attribute;
    return CatalogueEntry::none;
}

const char* component_name(CatalogueEntry entry, bool japanese)
{
    switch (entry) {
    case CatalogueEntry::panel:
        return japanese ? panel_name_japanese : panel_name_english;
    case CatalogueEntry::attribute:
        return japanese ? attribute_name_japanese : attribute_name_english;
    case CatalogueEntry::none:
        break;
    }
    return nullptr;
}
