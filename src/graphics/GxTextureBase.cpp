#include "graphics/GxTextureBase.h"

#include "graphics/GxGraphics.h"

uint32_t GxTextureBase::NextPowerOfTwo(uint32_t n)
{
    uint32_t p = 1;
    while (p < n && p < 0x80000000u)
        p <<= 1;
    return p;
}

void GxTextureBase::GetTextureSize(uint32_t imageWidth, uint32_t imageHeight, uint32_t& width, uint32_t& height)
{
    width = NextPowerOfTwo(imageWidth);
    height = NextPowerOfTwo(imageHeight);
    if (GxGraphics::IsSquareTextures() || GxGraphics::GetDeviceCaps().SquareOnly)
        width = height = width > height ? width : height;
}
