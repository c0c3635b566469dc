// The direct pattern draws of GxNcCrammedImageSet: one quad per pattern through the 2D quad drawer.
#include "animation/GxNcColor.h"
#include "animation/GxNcCrammedImageSet.h"

#include "core/GxMatrix.h"
#include "core/GxVector2.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureBase.h"

namespace
{

// The pattern's page texture, or null when the pattern has no page or its set was read without textures
// (such a pattern is skipped: there is nothing to convert its pixels with).
GxTextureBase* PageTexture(const GxNcOriginImage* image, int32_t index)
{
    if (!image || !image->HasPattern(index))
        return nullptr;
    const GxNcCrammedImage* page = image->m_Patterns[index].m_pCrammedImage;
    return page ? page->m_pTexture : nullptr;
}

void DrawPiece(GxTextureBase* texture, const GxNcPattern& p, int32_t sx, int32_t sy, int32_t w, int32_t h,
               const GxMatrix& m, float alpha, const GxVector4& colour, const GxVector4& specular, uint32_t blend)
{
    const GxFRect uv = {texture->GetTexCoordU((float)(p.m_CrammedLeft + sx)),
                        texture->GetTexCoordV((float)(p.m_CrammedTop + sy)),
                        texture->GetTexCoordU((float)(p.m_CrammedLeft + sx + w)),
                        texture->GetTexCoordV((float)(p.m_CrammedTop + sy + h))};
    const float ox = (float)p.m_CrammedOffsetLeft;
    const float oy = (float)p.m_CrammedOffsetTop;
    const float local[4][2] = {{ox, oy}, {ox, oy + h}, {ox + w, oy + h}, {ox + w, oy}};
    GxVector2 corners[4];
    for (int i = 0; i < 4; ++i)
    {
        const float x = local[i][0];
        const float y = local[i][1];
        corners[i] = GxVector2(x * m.m[0][0] + y * m.m[1][0] + m.m[3][0], x * m.m[0][1] + y * m.m[1][1] + m.m[3][1]);
    }
    GxVector4 c = colour;
    c.w *= alpha;
    const uint32_t d = GxNcColor::ToARGB(c);
    const uint32_t s = GxNcColor::ToARGB(specular);
    const uint32_t diffuse[4] = {d, d, d, d};
    const uint32_t second[4] = {s, s, s, s};
    GxGraphics::DrawQuad(texture, corners, uv, diffuse, second, blend);
}

} // namespace

void GxNcCrammedImageSet::DrawPattern(const GxNcOriginImage* image, int32_t index, const GxMatrix& matrix, float alpha,
                                      const GxVector4& colour, const GxVector4& specular, uint32_t blend)
{
    GxTextureBase* texture = PageTexture(image, index);
    if (!texture)
        return;
    const GxNcPattern& p = image->m_Patterns[index];
    DrawPiece(texture, p, 0, 0, p.m_CrammedWidth, p.m_CrammedHeight, matrix, alpha, colour, specular, blend);
}

void GxNcCrammedImageSet::DrawPatternEx(const GxNcOriginImage* image, int32_t index, const GxMatrix& matrix,
                                        int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom,
                                        float alpha, const GxVector4& colour, const GxVector4& specular, uint32_t blend)
{
    GxTextureBase* texture = PageTexture(image, index);
    if (!texture)
        return;
    const GxNcPattern& p = image->m_Patterns[index];
    // In 64 bits: clip rectangles come from callers' arithmetic and may lie anywhere.
    auto cut = [](int64_t clipStart, int64_t clipEnd, int64_t offset, int64_t size, int32_t& skip)
    {
        int64_t kept = size;
        skip = 0;
        if (clipStart >= offset)
        {
            skip = (int32_t)(clipStart - offset);
            kept = size - (clipStart - offset);
        }
        return kept < clipEnd - clipStart ? kept : clipEnd - clipStart;
    };
    int32_t sx = 0;
    int32_t sy = 0;
    const int64_t w = cut(clipLeft, clipRight, p.m_CrammedOffsetLeft, p.m_CrammedWidth, sx);
    const int64_t h = cut(clipTop, clipBottom, p.m_CrammedOffsetTop, p.m_CrammedHeight, sy);
    // A clip beyond the pattern (or an inverted one) would give a negative size: a mirrored piece of the
    // page. Nothing of the pattern lies inside it.
    if (w < 0 || h < 0)
        return;
    DrawPiece(texture, p, sx, sy, (int32_t)w, (int32_t)h, matrix, alpha, colour, specular, blend);
}
