#pragma once

// What a stretch of test code allocated, for the cases that hold a reader to a cost in proportion to its
// input:
//
//     KvHeapPeak peak;
//     set.Load(path);
//     EXPECT_LT(peak.Bytes(), limit);
//
// Every allocation and free made while a meter lives is counted, on any thread, so a case measures only
// what it did itself, whatever ran before it in the same process. Bytes() is the most the stretch held at
// once above what was held when the meter was made (blocks made before it and freed while it lives count
// against it, so the figure never overstates); Allocated() is the sum of every block asked for.
//
// Under AddressSanitizer the allocator's hooks see every malloc and operator new. In other builds the test
// programs' own operator new and delete (KvHeapPeak.cpp) count, which see what C++ code allocates but not
// the malloc calls of C libraries. One meter at a time.

#include <cstdint>

namespace kvtest
{
// The counters behind KvHeapPeak (KvHeapPeak.cpp).
void HeapCountStart();
void HeapCountStop();
uint64_t HeapCountPeak();
uint64_t HeapCountAllocated();
} // namespace kvtest

class KvHeapPeak
{
public:
    KvHeapPeak() { kvtest::HeapCountStart(); }
    ~KvHeapPeak() { kvtest::HeapCountStop(); }
    KvHeapPeak(const KvHeapPeak&) = delete;
    KvHeapPeak& operator=(const KvHeapPeak&) = delete;

    // The peak so far, in bytes, above what was held when the meter was made.
    uint64_t Bytes() const { return kvtest::HeapCountPeak(); }
    // Every byte allocated so far, freed or not.
    uint64_t Allocated() const { return kvtest::HeapCountAllocated(); }
};
