#pragma once

// A colour of four float channels, each nominally 0 to 1, in Direct3D's order r, g, b, a; white unless set,
// which is also what a failed content read gives.
struct GxFColor
{
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;

    bool operator==(const GxFColor&) const = default;
};
