// Counting replacements of the C allocator and of the global operator new.
// malloc and friends forward to glibc's own entry points; operator new goes
// straight to them too, so each allocation is counted once.
#include "allocation_counter.h"

#include <atomic>
#include <cstddef>
#include <new>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<uint64_t> allocation_count{0};

void count() { allocation_count.fetch_add(1, std::memory_order_relaxed); }

void* allocate(size_t size)
{
    count();
    if (void* block = __libc_malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void* allocate_aligned(size_t size, std::align_val_t alignment)
{
    count();
    if (void* block = __libc_memalign(static_cast<size_t>(alignment), size ? size : 1))
        return block;
    throw std::bad_alloc();
}

}  // namespace

uint64_t heap_allocations() { return allocation_count.load(std::memory_order_relaxed); }

extern "C" {
void* malloc(size_t size)
{
    count();
    return __libc_malloc(size);
}
void* calloc(size_t count_, size_t size)
{
    count();
    return __libc_calloc(count_, size);
}
void* realloc(void* block, size_t size)
{
    count();
    return __libc_realloc(block, size);
}
void free(void* block) { __libc_free(block); }
}

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    count();
    return __libc_malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    count();
    return __libc_malloc(size ? size : 1);
}
void* operator new(size_t size, std::align_val_t alignment) { return allocate_aligned(size, alignment); }
void* operator new[](size_t size, std::align_val_t alignment) { return allocate_aligned(size, alignment); }

void operator delete(void* block) noexcept { __libc_free(block); }
void operator delete[](void* block) noexcept { __libc_free(block); }
void operator delete(void* block, size_t) noexcept { __libc_free(block); }
void operator delete[](void* block, size_t) noexcept { __libc_free(block); }
void operator delete(void* block, std::align_val_t) noexcept { __libc_free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { __libc_free(block); }
void operator delete(void* block, size_t, std::align_val_t) noexcept { __libc_free(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { __libc_free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { __libc_free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { __libc_free(block); }
