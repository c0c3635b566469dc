#pragma once

#include <cstdint>

// A rectangle in integer pixels, in the field order of the Windows RECT that records store.
struct GxRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const GxRect&) const = default;
};
