#pragma once
// The component objects that the host drives: reference-counted objects whose
// first word points at an operation table of the host's fixed layout
// (module/operation_table.h), followed by the reference count. Nothing else.
//
//   unknown_interface    positions 0-2 IUnknown's (QueryInterface, AddRef,
//                        Release), 3 the destructor, 4 answers true;
//                        the field reference_count
//   plugin_interface     positions 5-204, the host's panel interface
//   plugin_component     the joint panel: 3, 5, 28-32 its own
//   attribute_interface  positions 205-404, the host's command interface
//   attribute_component  the clear command: 3, 5, 78, 205, 208 its own
//
// The classes declare no C++ virtual functions: their tables are built from
// data, and this compiler's virtual destructor would take two positions where
// the host expects one.
#include <cstddef>
#include <cstdint>
#include <windows.h>
#include "module/operation_table.h"

struct unknown_interface {
    const table_entry* table;
    int32_t reference_count;
};

struct plugin_interface : unknown_interface {};
struct attribute_interface : plugin_interface {};

struct plugin_component : plugin_interface {
    plugin_component();
};

struct attribute_component : attribute_interface {
    attribute_component();
};

static_assert(sizeof(plugin_component) == 8 && sizeof(attribute_component) == 8,
              "a component object is its table pointer and its count");
static_assert(offsetof(unknown_interface, reference_count) == 4, "the count follows the table pointer");

// A new object with count 0, or none when there is no memory.
plugin_component* new_plugin_component();
attribute_component* new_attribute_component();

// Positions 0 to 2, the same in every component.
long __stdcall component_query_interface(unknown_interface* object, const GUID* iid, void** out);
unsigned long __stdcall component_add_ref(unknown_interface* object);
unsigned long __stdcall component_release(unknown_interface* object);

// Position 3 of each component: releases nothing (the object owns nothing);
// frees the object when bit 0 of the flags is set. Returns the object.
void* __attribute__((thiscall)) destroy_plugin_component(plugin_component* object, host_word flags);
void* __attribute__((thiscall)) destroy_attribute_component(attribute_component* object, host_word flags);

// The memory of component objects.
void* allocate_component(std::size_t size);
void free_component(void* memory);

// What stands at positions 0 to 2 of every component.
template <std::size_t Position>
constexpr auto unknown_function()
{
    static_assert(Position < 3, "IUnknown has three positions");
    if constexpr (Position == 0)
        return &component_query_interface;
    else if constexpr (Position == 1)
        return &component_add_ref;
    else
        return &component_release;
}
