#pragma once
// Counting a module's heap calls by rewriting its import address table: every
// call the module makes to an allocator it imports (HeapAlloc from KERNEL32,
// malloc, calloc and realloc from msvcrt) goes through a counter first.
// Allocations that the system DLLs make on their own account are not counted:
// only the module's own calls pass through its table.
#include <windows.h>
#include <string>
#include <vector>

struct AllocationCounts {
    long heap_alloc = 0;
    long malloc_calls = 0;
    long calloc_calls = 0;
    long realloc_calls = 0;
    long total() const { return heap_alloc + malloc_calls + calloc_calls + realloc_calls; }
};

// Installs the counters into the module's table; answers the imports it
// rewrote, as "msvcrt.dll!malloc".
std::vector<std::string> hook_allocations(HMODULE module);

const AllocationCounts& allocation_counts();
void reset_allocation_counts();
