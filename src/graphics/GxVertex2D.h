#pragma once

#include <cstdint>

// A pre-transformed vertex of the 2D drawers: screen position and depth, rhw 1, packed ARGB diffuse and
// specular colours and one pair of texture coordinates. 32 bytes, vertex format GXFVF_2D.
struct GxVertex2D
{
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
static_assert(sizeof(GxVertex2D) == 32);

// D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1
constexpr uint32_t GXFVF_2D = 0x1C4;
