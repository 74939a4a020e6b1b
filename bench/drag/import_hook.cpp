#include "bench/drag/import_hook.h"

#include <cstdlib>
#include <cstring>

namespace {

AllocationCounts counts;

using HeapAllocFunction = LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T);
using MallocFunction = void*(__cdecl*)(size_t);
using CallocFunction = void*(__cdecl*)(size_t, size_t);
using ReallocFunction = void*(__cdecl*)(void*, size_t);

HeapAllocFunction original_heap_alloc;
MallocFunction original_malloc;
CallocFunction original_calloc;
ReallocFunction original_realloc;

LPVOID WINAPI counting_heap_alloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    ++counts.heap_alloc;
    return original_heap_alloc(heap, flags, size);
}

void* __cdecl counting_malloc(size_t size)
{
    ++counts.malloc_calls;
    return original_malloc(size);
}

void* __cdecl counting_calloc(size_t count, size_t size)
{
    ++counts.calloc_calls;
    return original_calloc(count, size);
}

void* __cdecl counting_realloc(void* block, size_t size)
{
    ++counts.realloc_calls;
    return original_realloc(block, size);
}

// The counter for an import, and where to keep the function it replaces.
bool replacement_for(const char* dll, const char* name, void** replacement, void*** original)
{
    if (_stricmp(dll, "kernel32.dll") == 0 && std::strcmp(name, "HeapAlloc") == 0) {
        *replacement = reinterpret_cast<void*>(&counting_heap_alloc);
        *original = reinterpret_cast<void**>(&original_heap_alloc);
        return true;
    }
    if (_stricmp(dll, "msvcrt.dll") != 0)
        return false;
    if (std::strcmp(name, "malloc") == 0) {
        *replacement = reinterpret_cast<void*>(&counting_malloc);
        *original = reinterpret_cast<void**>(&original_malloc);
        return true;
    }
    if (std::strcmp(name, "calloc") == 0) {
        *replacement = reinterpret_cast<void*>(&counting_calloc);
        *original = reinterpret_cast<void**>(&original_calloc);
        return true;
    }
    if (std::strcmp(name, "realloc") == 0) {
        *replacement = reinterpret_cast<void*>(&counting_realloc);
        *original = reinterpret_cast<void**>(&original_realloc);
        return true;
    }
    return false;
}

void write_slot(void** slot, void* value)
{
    DWORD old_protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old_protection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old_protection, &old_protection);
}

}  // namespace

std::vector<std::string> hook_allocations(HMODULE module)
{
    std::vector<std::string> hooked;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return hooked;
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        const char* dll = reinterpret_cast<const char*>(base + import->Name);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* name = reinterpret_cast<const char*>(by_name->Name);
            void* replacement = nullptr;
            void** original = nullptr;
            if (!replacement_for(dll, name, &replacement, &original))
                continue;
            void** slot = reinterpret_cast<void**>(&slots->u1.Function);
            *original = *slot;
            write_slot(slot, replacement);
            hooked.push_back(std::string(dll) + "!" + name);
        }
    }
    return hooked;
}

const AllocationCounts& allocation_counts()
{
    return counts;
}

void reset_allocation_counts()
{
    counts = AllocationCounts{};
}
