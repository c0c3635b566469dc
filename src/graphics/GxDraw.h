#pragma once

#include "core/GxFRect.h"

#include <cstdint>

class GxSurfaceBase;
class GxVector2;
class GxVector3;

// A region of a texture in whole texels.
struct GxImageRect
{
    GxSurfaceBase* m_pTexture = nullptr;
    int32_t m_Left = 0;
    int32_t m_Top = 0;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
};

// Shortcuts over the 2D drawers of GxGraphics.
class GxDraw
{
public:
    // The region at (x, y) as a sprite.
    static void DrawImageRect(const GxImageRect& image, float x, float y, const GxVector2& scale,
                              const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse, uint32_t specular,
                              uint32_t blend);
    // The region four times, at (x - d, y - d), (x + d, y + d), (x + d, y - d) and (x - d, y + d): the
    // outline pass under text.
    static void DrawImageRectEdge(const GxImageRect& image, float x, float y, float d, const GxVector2& scale,
                                  const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse,
                                  uint32_t specular, uint32_t blend);
    // One colour for all five points of the filled rectangle.
    static void FillRect(const GxFRect& rect, uint32_t diffuse, uint32_t specular, uint32_t blend);
};
