#pragma once

// A pair of floats: screen positions, sizes and texture coordinates.
class GxVector2
{
public:
    GxVector2() : x(0.0f), y(0.0f) {}
    GxVector2(float ax, float ay) : x(ax), y(ay) {}

    float x;
    float y;
};
