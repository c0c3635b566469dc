#include "support/KvHeapPeak.h"

#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KV_HEAP_COUNT_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_HEAP_COUNT_HOOKS 1
#endif
#endif

#ifdef KV_HEAP_COUNT_HOOKS
// The sanitizer runtime's own interface (sanitizer/allocator_interface.h), declared here because GCC's
// packages do not install that header.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                                         void (*freeHook)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void* block);
#endif

namespace
{

struct Counters
{
    std::atomic<bool> m_Armed{false};
    std::atomic<int64_t> m_Current{0};
    std::atomic<int64_t> m_Peak{0};
    std::atomic<uint64_t> m_Allocated{0};
};

// Constant-initialised, so it is there for the first allocation of the process.
constinit Counters s_Counters;

void CountAllocation(size_t size)
{
    if (!s_Counters.m_Armed.load(std::memory_order_relaxed))
        return;
    s_Counters.m_Allocated.fetch_add(size, std::memory_order_relaxed);
    const int64_t now = s_Counters.m_Current.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
    int64_t peak = s_Counters.m_Peak.load();
    while (now > peak && !s_Counters.m_Peak.compare_exchange_weak(peak, now))
    {
    }
}

void CountFree(size_t size)
{
    if (s_Counters.m_Armed.load(std::memory_order_relaxed))
        s_Counters.m_Current.fetch_sub(static_cast<int64_t>(size));
}

#ifdef KV_HEAP_COUNT_HOOKS
void OnMalloc(const volatile void*, size_t size)
{
    CountAllocation(size);
}
// Called before the block is given back, so its size can still be asked.
void OnFree(const volatile void* block)
{
    if (block)
        CountFree(__sanitizer_get_allocated_size(block));
}
#else
// Both sides count the block's usable size, so a free takes back exactly what its allocation added.
void* Allocate(size_t size, size_t alignment)
{
    void* block = nullptr;
    if (alignment <= alignof(std::max_align_t))
        block = std::malloc(size ? size : 1);
    else if (posix_memalign(&block, alignment, size ? size : 1) != 0)
        block = nullptr;
    if (block)
        CountAllocation(malloc_usable_size(block));
    return block;
}
void Release(void* block)
{
    if (!block)
        return;
    CountFree(malloc_usable_size(block));
    std::free(block);
}
void* AllocateOrThrow(size_t size, size_t alignment)
{
    if (void* block = Allocate(size, alignment))
        return block;
    throw std::bad_alloc();
}
#endif

} // namespace

namespace kvtest
{

void HeapCountStart()
{
#ifdef KV_HEAP_COUNT_HOOKS
    // The runtime takes a few hook pairs and none can be removed: one pair per process, armed by a meter.
    static const int s_Installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree);
    (void)s_Installed;
#endif
    s_Counters.m_Armed = false;
    s_Counters.m_Current = 0;
    s_Counters.m_Peak = 0;
    s_Counters.m_Allocated = 0;
    s_Counters.m_Armed = true;
}

void HeapCountStop()
{
    s_Counters.m_Armed = false;
}

uint64_t HeapCountPeak()
{
    return static_cast<uint64_t>(s_Counters.m_Peak.load());
}

uint64_t HeapCountAllocated()
{
    return s_Counters.m_Allocated.load();
}

} // namespace kvtest

#ifndef KV_HEAP_COUNT_HOOKS
// The test programs' operator new and delete, every form, over malloc. Defined in this file, which every
// test program links (the library member that defines them is pulled in by any program using new), so
// all the C++ allocations of a case pass the counters.
void* operator new(size_t size)
{
    return AllocateOrThrow(size, 0);
}
void* operator new[](size_t size)
{
    return AllocateOrThrow(size, 0);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size, 0);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size, 0);
}
void* operator new(size_t size, std::align_val_t alignment)
{
    return AllocateOrThrow(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment)
{
    return AllocateOrThrow(size, static_cast<size_t>(alignment));
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<size_t>(alignment));
}
void operator delete(void* block) noexcept
{
    Release(block);
}
void operator delete[](void* block) noexcept
{
    Release(block);
}
void operator delete(void* block, size_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, size_t) noexcept
{
    Release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Release(block);
}
void operator delete(void* block, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete(void* block, size_t, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, size_t, std::align_val_t) noexcept
{
    Release(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept
{
    Release(block);
}
#endif
