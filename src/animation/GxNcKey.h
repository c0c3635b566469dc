#pragma once

#include "animation/GxNcVector4Key.h"

#include <algorithm>
#include <cstdint>

// The key search shared by every track, sound and event list: keys are held in ascending m_Time (file
// order) and never sorted here.
class GxNcKey
{
public:
    // The index of the last key whose time is at or before t, searched from index lo; 0 when t lies before
    // the first key. n is at least 1 (nobody searches an empty list). Among keys of equal time the last
    // one is returned, so a step to a new value at a time shared with the old key shows the new value.
    template <typename Key> static int32_t FindKeyIndex(int32_t lo, const Key* keys, int32_t n, int32_t t)
    {
        const int32_t hi = n - 1;
        if (t >= keys[hi].m_Time)
            return hi;
        if (lo > hi || lo < 0)
            return 0;
        // The first key after t, searched from lo; the one before it is the answer. A time before key lo
        // (nothing at or before it in the searched part) gives 0.
        const Key* after =
            std::upper_bound(keys + lo, keys + n, t, [](int32_t v, const Key& k) { return v < k.m_Time; });
        const int32_t index = static_cast<int32_t>(after - keys) - 1;
        return index < lo ? 0 : index;
    }

    // The four-float variant searches from the first key and answers 0 at once for a time at or before it.
    static int32_t FindKeyIndex(const GxNcVector4Key* keys, int32_t n, int32_t t)
    {
        if (t <= keys[0].m_Time)
            return 0;
        return FindKeyIndex<GxNcVector4Key>(0, keys, n, t);
    }
};
