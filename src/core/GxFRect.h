#pragma once

// A rectangle in float coordinates, fields in the same order as GxRect.
struct GxFRect
{
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    bool operator==(const GxFRect&) const = default;
};
