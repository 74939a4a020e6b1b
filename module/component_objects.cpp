#include "module/component_objects.h"
#include "joint/host_exception.h"

// The host reaches components only through create_interface; no interface is
// ever handed out here, not even IUnknown, and the out pointer stays as it was.
long __stdcall component_query_interface(unknown_interface*, const GUID*, void**)
{
    return E_NOINTERFACE;
}

// Plain counts: everything runs on the host's user-interface thread.
unsigned long __stdcall component_add_ref(unknown_interface* object)
{
    return static_cast<unsigned long>(++object->reference_count);
}

using destructor_operation = void* (__attribute__((thiscall)) *)(unknown_interface*, host_word);
constexpr host_word free_memory_flag = 1;

unsigned long __stdcall component_release(unknown_interface* object)
{
    const int32_t count = --object->reference_count;
    if (count != 0)
        return static_cast<unsigned long>(count);
    // The last reference: the object ends itself through its own position 3,
    // as the host would.
    reinterpret_cast<destructor_operation>(object->table[3])(object, free_memory_flag);
    return 0;
}

void* allocate_component(std::size_t size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void free_component(void* memory)
{
    HeapFree(GetProcessHeap(), 0, memory);
}

void behaviour_of<DefaultBehaviour::reserved>::run(const host_word*)
{
    raise_host_int_exception(0);
}
