#pragma once

#include "graphics/GxSurfaceBase.h"

// The common level of every texture (plain, render target, movie): texture coordinates from texel
// positions over the power-of-two device size.
class GxTextureBase : public GxSurfaceBase
{
public:
    GxTextureBase() = default;
    ~GxTextureBase() override = default;

    virtual float GetTexCoordU(float x) const { return m_Width ? x / (float)m_Width : 0.0f; }
    virtual float GetTexCoordV(float y) const { return m_Height ? y / (float)m_Height : 0.0f; }

    // The size rule of every texture: the smallest power of two not below each side (1 for 0 or 1);
    // both sides the larger one when square textures are asked for or the device can hold no other.
    static void GetTextureSize(uint32_t imageWidth, uint32_t imageHeight, uint32_t& width, uint32_t& height);
    static uint32_t NextPowerOfTwo(uint32_t n);
};
