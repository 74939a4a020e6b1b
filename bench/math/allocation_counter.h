#pragma once
#include <cstdint>

// Heap allocations made by this process since it started: every malloc,
// calloc, realloc and every global operator new, counted by replacements of
// those functions linked into the benchmark program.
uint64_t heap_allocations();
