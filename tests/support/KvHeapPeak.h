#pragma once

// The most heap a stretch of test code held at once, for the cases that hold a reader to a cost in
// proportion to its input:
//
//     KvHeapPeak peak;
//     set.Load(path);
//     EXPECT_LT(peak.Bytes(), limit);
//
// Under the sanitizers the allocator's hooks count every allocation and free made while a meter lives
// (blocks freed then that were made before it count against it, so the figure never overstates). In a
// build without them the growth of the process's peak resident size stands in: coarser, and blind to
// memory reserved and never touched.

#include <sys/resource.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define KV_HEAP_PEAK_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_HEAP_PEAK_HOOKS 1
#endif
#endif

#ifdef KV_HEAP_PEAK_HOOKS
// The sanitizer runtime's own interface (sanitizer/allocator_interface.h), declared here because GCC's
// packages do not install that header.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                                         void (*freeHook)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void* block);
#endif

class KvHeapPeak
{
public:
    KvHeapPeak()
    {
#ifdef KV_HEAP_PEAK_HOOKS
        // The runtime takes a few hook pairs and none can be removed: one pair per process, armed by a meter.
        static const int s_Installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree);
        (void)s_Installed;
        State().m_Current = 0;
        State().m_Peak = 0;
        State().m_Armed = true;
#else
        m_StartKiB = PeakResidentKiB();
#endif
    }
    ~KvHeapPeak()
    {
#ifdef KV_HEAP_PEAK_HOOKS
        State().m_Armed = false;
#endif
    }
    KvHeapPeak(const KvHeapPeak&) = delete;
    KvHeapPeak& operator=(const KvHeapPeak&) = delete;

    // The peak so far, in bytes, above what was held when the meter was made.
    uint64_t Bytes() const
    {
#ifdef KV_HEAP_PEAK_HOOKS
        return static_cast<uint64_t>(State().m_Peak.load());
#else
        return (PeakResidentKiB() - m_StartKiB) * 1024;
#endif
    }

private:
#ifdef KV_HEAP_PEAK_HOOKS
    struct Counters
    {
        std::atomic<bool> m_Armed{false};
        std::atomic<int64_t> m_Current{0};
        std::atomic<int64_t> m_Peak{0};
    };
    static Counters& State()
    {
        static Counters s_Counters;
        return s_Counters;
    }
    static void OnMalloc(const volatile void*, size_t size)
    {
        Counters& c = State();
        if (!c.m_Armed.load(std::memory_order_relaxed))
            return;
        const int64_t now = c.m_Current.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
        int64_t peak = c.m_Peak.load();
        while (now > peak && !c.m_Peak.compare_exchange_weak(peak, now))
        {
        }
    }
    // Called before the block is given back, so its size can still be asked.
    static void OnFree(const volatile void* block)
    {
        Counters& c = State();
        if (!c.m_Armed.load(std::memory_order_relaxed) || !block)
            return;
        c.m_Current.fetch_sub(static_cast<int64_t>(__sanitizer_get_allocated_size(block)));
    }
#else
    static uint64_t PeakResidentKiB()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return static_cast<uint64_t>(usage.ru_maxrss);
    }
    uint64_t m_StartKiB = 0;
#endif
};
