#include "graphics/GxDraw.h"

#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxGraphics.h"

void GxDraw::DrawImageRect(const GxImageRect& image, float x, float y, const GxVector2& scale,
                           const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse, uint32_t specular,
                           uint32_t blend)
{
    const GxFRect source{(float)image.m_Left, (float)image.m_Top, (float)(image.m_Left + image.m_Width),
                         (float)(image.m_Top + image.m_Height)};
    GxGraphics::DrawSprite(image.m_pTexture, x, y, source, scale, rotation, centre, GxVector2(0, 0), diffuse,
                           specular, blend);
}

void GxDraw::DrawImageRectEdge(const GxImageRect& image, float x, float y, float d, const GxVector2& scale,
                               const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse,
                               uint32_t specular, uint32_t blend)
{
    DrawImageRect(image, x - d, y - d, scale, rotation, centre, diffuse, specular, blend);
    DrawImageRect(image, x + d, y + d, scale, rotation, centre, diffuse, specular, blend);
    DrawImageRect(image, x + d, y - d, scale, rotation, centre, diffuse, specular, blend);
    DrawImageRect(image, x - d, y + d, scale, rotation, centre, diffuse, specular, blend);
}

void GxDraw::FillRect(const GxFRect& rect, uint32_t diffuse, uint32_t specular, uint32_t blend)
{
    const uint32_t d[5] = {diffuse, diffuse, diffuse, diffuse, diffuse};
    const uint32_t s[5] = {specular, specular, specular, specular, specular};
    GxGraphics::FillRect(rect, d, s, blend);
}
