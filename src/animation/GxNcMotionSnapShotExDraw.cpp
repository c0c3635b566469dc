// The two draws of a motion snapshot: screen space through a 2D matrix (one transformed quad per layer,
// batched by the device when neighbouring layers share page and preset), and world space through the
// device's world transform. Layers are visited last to first, so the first layer ends on top.
#include "animation/GxNcCallbackBase.h"
#include "animation/GxNcColor.h"
#include "animation/GxNcCrammedImage.h"
#include "animation/GxNcLayer.h"
#include "animation/GxNcMotionSnapShotEx.h"
#include "animation/GxNcOriginImage.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureBase.h"
#include "platform/PfD3DTypes.h"

namespace
{

// D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1
constexpr uint32_t kWorldFVF = 0x1C2;

struct WorldVertex
{
    float x, y, z;
    uint32_t diffuse, specular;
    float u, v;
};
static_assert(sizeof(WorldVertex) == 28);

// Whether the layer takes part in drawing at all (before its nested motion or its pattern is looked at).
bool IsShown(const GxNcLayerSnapShotEx& s)
{
    const GxNcLayer* layer = s.m_pLayer;
    if (!layer || layer->m_EditVisible == 0 || layer->m_LayerType == 1 || layer->m_LayerType == 2)
        return false;
    if (s.m_ImageKey.m_ImageSetName.empty() && s.m_ImageKey.m_MotionGroupName.empty())
        return false;
    return s.m_VisibilityKey.m_Value != 0;
}

// The page texture of the layer's pattern, or null when the layer has no drawable pattern: no resolved
// image, a pattern outside it, a pattern without page, or a page without texture.
GxTextureBase* PatternTexture(const GxNcLayerSnapShotEx& s)
{
    const GxNcOriginImage* image = s.m_ImageKey.m_pOriginImage;
    if (!image || !image->HasPattern(s.m_ImageKey.m_PatternIndex))
        return nullptr;
    const GxNcCrammedImage* page = image->m_Patterns[s.m_ImageKey.m_PatternIndex].m_pCrammedImage;
    return page ? page->m_pTexture : nullptr;
}

void PackColours(const GxNcLayerSnapShotEx& s, float alpha, const GxVector4& colour, const GxVector4& specular,
                 uint32_t diffuse[5], uint32_t& second)
{
    const GxVector4 tint(colour.x, colour.y, colour.z, colour.w * alpha);
    for (int k = 0; k < 5; ++k)
    {
        GxVector4 c = s.m_Colors[k];
        diffuse[k] = GxNcColor::ToARGB(c.Modulate(tint));
    }
    second = GxNcColor::ToARGB(specular);
}

} // namespace

void GxNcMotionSnapShotEx::Draw(const GxNcMotionSnapShotEx& snapshot, const GxMatrix& matrix, float alpha,
                                const GxVector4& colour, const GxVector4& specular, uint32_t blendOverride,
                                uint32_t filterOverride, GxNcCallbackBase* hook)
{
    for (int32_t i = snapshot.GetLayerCount() - 1; i >= 0; --i)
    {
        const GxNcLayerSnapShotEx& s = snapshot.m_Layers[i];
        if (hook && hook->OnDrawLayer(snapshot, s, matrix, alpha, colour, specular, blendOverride))
            continue;
        if (!IsShown(s))
            continue;
        if (s.m_pNested)
        {
            Draw(*s.m_pNested, matrix, alpha, colour, specular, blendOverride, 0, nullptr);
            continue;
        }
        GxTextureBase* texture = PatternTexture(s);
        if (!texture)
            continue;
        GxVector4 points[5];
        for (int k = 0; k < 5; ++k)
        {
            GxVector3 v(s.m_Positions[k].x, s.m_Positions[k].y, s.m_Positions[k].z);
            v.TransformCoord(matrix);
            points[k] = GxVector4(v.x, v.y, v.z, 0.0f);
        }
        uint32_t diffuse[5];
        uint32_t second;
        PackColours(s, alpha, colour, specular, diffuse, second);
        const uint32_t seconds[5] = {second, second, second, second, second};
        GxGraphics::SetTextureFilter(filterOverride != 0 ? filterOverride : s.m_pLayer->m_FilterMode);
        GxGraphics::SetCullMode(D3DCULL_NONE);
        GxGraphics::DrawTransformedQuads(texture, points, s.m_TexCoords, diffuse, seconds, GxVector2(),
                                         blendOverride != 0 ? blendOverride : s.m_BlendMode);
    }
}

void GxNcMotionSnapShotEx::DrawWorld(const GxNcMotionSnapShotEx& snapshot, const GxVector4& position, float alpha,
                                     const GxVector4& colour, const GxVector4& specular, uint32_t blendOverride,
                                     uint32_t filterOverride)
{
    for (int32_t i = snapshot.GetLayerCount() - 1; i >= 0; --i)
    {
        const GxNcLayerSnapShotEx& s = snapshot.m_Layers[i];
        if (!IsShown(s))
            continue;
        if (s.m_pNested)
        {
            DrawWorld(*s.m_pNested, position, alpha, colour, specular, blendOverride, 0);
            continue;
        }
        GxTextureBase* texture = PatternTexture(s);
        if (!texture)
            continue;
        uint32_t diffuse[5];
        uint32_t second;
        PackColours(s, alpha, colour, specular, diffuse, second);
        WorldVertex v[5];
        for (int k = 0; k < 5; ++k)
        {
            const GxVector4& p = s.m_Positions[k];
            v[k] = {p.x + position.x, p.y + position.y,   p.z + position.z,  diffuse[k],
                    second,           s.m_TexCoords[k].x, s.m_TexCoords[k].y};
        }
        // The four triangles around the centre as two fans of two.
        const WorldVertex fans[8] = {v[0], v[1], v[4], v[3], v[4], v[1], v[2], v[3]};
        GxGraphics::SetTextureFilter(filterOverride != 0 ? filterOverride : s.m_pLayer->m_FilterMode);
        GxGraphics::SetCullMode(D3DCULL_NONE);
        GxGraphics::SetBlendMode(0, blendOverride != 0 ? blendOverride : s.m_BlendMode);
        GxGraphics::SetTexture(0, texture->GetD3DResource());
        GxGraphics::SelectVertexProcessing(0, 0);
        GxGraphics::DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, fans, sizeof(WorldVertex), kWorldFVF);
        GxGraphics::DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, fans + 4, sizeof(WorldVertex), kWorldFVF);
    }
}
