#pragma once

#include "animation/GxNcVector4Key.h"

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
        int32_t hi = n - 1;
        if (t >= keys[hi].m_Time)
            return hi;
        if (lo > hi || lo < 0)
            return 0;
        int32_t mid = 0;
        for (;;)
        {
            mid = lo + (hi - lo) / 2;
            if (t >= keys[mid].m_Time)
            {
                // mid < n - 1 here: key n - 1 lies after t.
                if (t <= keys[mid + 1].m_Time)
                    break;
                lo = mid + 1;
            }
            else
            {
                hi = mid - 1;
            }
            if (lo > hi)
                return 0;
        }
        while (mid + 1 < n && keys[mid + 1].m_Time == t)
            ++mid;
        return mid;
    }

    // The four-float variant searches from the first key and answers 0 at once for a time at or before it.
    static int32_t FindKeyIndex(const GxNcVector4Key* keys, int32_t n, int32_t t)
    {
        if (t <= keys[0].m_Time)
            return 0;
        return FindKeyIndex<GxNcVector4Key>(0, keys, n, t);
    }

    // Key i modulo n (a negative remainder has n added): the key after the last one is the first one.
    template <typename Key> static const Key& FetchKeyModulo(const Key* keys, int32_t n, int32_t i)
    {
        int32_t r = i % n;
        if (r < 0)
            r += n;
        return keys[r];
    }
};
