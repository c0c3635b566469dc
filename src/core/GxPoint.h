#pragma once

#include <cstdint>

// Integer points of two, three and four components (map cells, grid positions).
struct GxPoint2
{
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const GxPoint2&) const = default;
};

struct GxPoint3
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;

    bool operator==(const GxPoint3&) const = default;
};

struct GxPoint4
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int32_t w = 0;

    bool operator==(const GxPoint4&) const = default;
};
