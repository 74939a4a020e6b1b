#include "bench/drag/import_hook.h"

#include "simhost/import_patch.h"

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

// Each counter, the import it stands in for, and where it keeps the function
// it replaces.
struct CountedImport {
    const char* dll;
    const char* function;
    void* counter;
    void** original;
};

const CountedImport counted_imports[] = {
    {"KERNEL32.dll", "HeapAlloc", reinterpret_cast<void*>(&counting_heap_alloc),
     reinterpret_cast<void**>(&original_heap_alloc)},
    {"msvcrt.dll", "malloc", reinterpret_cast<void*>(&counting_malloc), reinterpret_cast<void**>(&original_malloc)},
    {"msvcrt.dll", "calloc", reinterpret_cast<void*>(&counting_calloc), reinterpret_cast<void**>(&original_calloc)},
    {"msvcrt.dll", "realloc", reinterpret_cast<void*>(&counting_realloc),
     reinterpret_cast<void**>(&original_realloc)},
};

}  // namespace

std::vector<std::string> hook_allocations(HMODULE module)
{
    std::vector<std::string> hooked;
    for (const CountedImport& import : counted_imports) {
        if (void* original = replace_import(module, import.dll, import.function, import.counter)) {
            *import.original = original;
            hooked.push_back(std::string(import.dll) + "!" + import.function);
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
