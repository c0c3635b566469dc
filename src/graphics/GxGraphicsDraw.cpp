// The 2D drawers and the transforms of the 3D views.
//
// Sections: shared state, submission, culling and transforms, drawers, transforms of the views.
#include "graphics/GxGraphics.h"

#include "core/GxMatrix.h"
#include "core/GxString.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "core/GxVector4.h"
#include "graphics/GxDraw.h"
#include "graphics/GxDrawRecorder.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphicsState.h"
#include "graphics/GxSurfaceBase.h"
#include "graphics/GxTextureFlex.h"
#include "graphics/GxVertex2D.h"
#include "platform/PfGLDevice.h"

#include <cmath>
#include <cstring>
#include <vector>

// [SECTION] shared state

namespace
{

// The screen matrix stays the identity for the whole run.
const GxMatrix s_ScreenMatrix;
GxMatrix s_WorldMatrix;
GxMatrix s_ViewMatrix;
GxMatrix s_ProjectionMatrix;
GxDrawRecorder* s_pRecorder = nullptr;
// The tile grid of DrawTiles, kept from call to call.
std::vector<GxVector3> s_Grid;

inline void Transform(const GxMatrix& m, float x, float y, float z, GxVertex2D& v)
{
    v.x = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    v.y = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    v.z = x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2];
    v.rhw = 1.0f;
}

// The corners of an upright rectangle through m, in the fan order top-left, bottom-left, bottom-right,
// top-right, in one colour pair, with the texture rectangle's coordinates at the same corners.
void RectangleFan(const GxMatrix& m, const GxFRect& rect, const GxFRect& uv, uint32_t diffuse, uint32_t specular,
                  GxVertex2D v[4])
{
    const float lx[4] = {rect.left, rect.left, rect.right, rect.right};
    const float ly[4] = {rect.top, rect.bottom, rect.bottom, rect.top};
    const float u[4] = {uv.left, uv.left, uv.right, uv.right};
    const float t[4] = {uv.top, uv.bottom, uv.bottom, uv.top};
    for (int i = 0; i < 4; ++i)
    {
        Transform(m, lx[i], ly[i], 0.0f, v[i]);
        v[i].diffuse = diffuse;
        v[i].specular = specular;
        v[i].u = u[i];
        v[i].v = t[i];
    }
}

// The screen matrix with the textured drawers' half-pixel offset.
GxMatrix OffsetScreenMatrix()
{
    GxMatrix m = s_ScreenMatrix;
    m.m[3][0] -= 0.5f;
    m.m[3][1] -= 0.5f;
    return m;
}

D3DMATRIX ToD3D(const GxMatrix& m)
{
    D3DMATRIX d;
    std::memcpy(d.m, m.m, sizeof(d.m));
    return d;
}

// [SECTION] submission

// Sets the states of the drawing tail once per primitive group; unchanged states cost no device call.
void SetStates(PfGLTexture* texture, uint32_t blend)
{
    GxGraphics::SetBlendMode(0, blend);
    GxGraphics::SetTexture(0, texture);
    GxGraphics::SelectVertexProcessing(0, 0);
    if (PfGLDevice* device = GxGraphics::GetDevice())
        device->SetFVF(GXFVF_2D);
}

// One fan of four vertices, queued as a quad (its two triangles are those of the fan).
void SubmitFan(PfGLTexture* texture, uint32_t blend, const GxVertex2D* v)
{
    if (s_pRecorder)
        s_pRecorder->Record(D3DPT_TRIANGLEFAN, texture, blend, v, 4);
    if (PfGLDevice* device = GxGraphics::GetDevice())
        device->QueueQuadsUP(1, v, sizeof(GxVertex2D));
}

PfGLTexture* DeviceTexture(GxSurfaceBase* texture)
{
    return texture ? texture->GetD3DResource() : nullptr;
}

} // namespace

void GxGraphics::SetDrawRecorder(GxDrawRecorder* recorder)
{
    s_pRecorder = recorder;
}

void GxGraphics::FlushDraws()
{
    if (PfGLDevice* device = GetDevice())
        device->FlushQuads();
}

// [SECTION] culling and transforms

const GxMatrix* GxGraphics::GetScreenMatrix()
{
    return &s_ScreenMatrix;
}

GxRect GxGraphics::GetViewportRect()
{
    const D3DVIEWPORT9& vp = GetViewport();
    GxRect r;
    r.left = (int32_t)vp.X;
    r.top = (int32_t)vp.Y;
    r.right = (int32_t)(vp.X + vp.Width);
    r.bottom = (int32_t)(vp.Y + vp.Height);
    return r;
}

bool GxGraphics::IsCulled(const GxVertex2D* v, uint32_t count)
{
    const GxRect r = GetViewportRect();
    bool left = true, right = true, above = true, below = true;
    for (uint32_t i = 0; i < count; ++i)
    {
        left = left && v[i].x < (float)r.left;
        right = right && v[i].x > (float)r.right;
        above = above && v[i].y < (float)r.top;
        below = below && v[i].y > (float)r.bottom;
    }
    return left || right || above || below;
}

void GxGraphics::MakeSpriteMatrix(GxMatrix& out, float w, float h, float x, float y, const GxVector2& scale,
                                  const GxVector3& rotation, const GxVector2& centre)
{
    const GxVector3 pivot(centre.x * w, centre.y * h, 0.0f);
    out.ComposeSprite(GxVector3(x, y, 0.0f), rotation, GxVector3(scale.x, scale.y, 1.0f), pivot);
    out.AddTranslation(-pivot.x, -pivot.y, -pivot.z);
    out.MultiplyInPlace(s_ScreenMatrix);
    out.m[3][0] -= 0.5f;
    out.m[3][1] -= 0.5f;
}

// [SECTION] drawers

void GxGraphics::DrawQuad(GxSurfaceBase* texture, const GxVector2 corners[4], const GxFRect& uv,
                          const uint32_t diffuse[4], const uint32_t specular[4], uint32_t blend)
{
    const GxMatrix m = OffsetScreenMatrix();
    const float u[4] = {uv.left, uv.left, uv.right, uv.right};
    const float t[4] = {uv.top, uv.bottom, uv.bottom, uv.top};
    GxVertex2D v[4];
    for (int i = 0; i < 4; ++i)
    {
        Transform(m, corners[i].x, corners[i].y, 0.0f, v[i]);
        v[i].diffuse = diffuse[i];
        v[i].specular = specular[i];
        v[i].u = u[i];
        v[i].v = t[i];
    }
    if (IsCulled(v, 4))
        return;
    PfGLTexture* device = DeviceTexture(texture);
    SetStates(device, blend);
    SubmitFan(device, blend, v);
}

void GxGraphics::DrawSprite(GxSurfaceBase* texture, float x, float y, const GxFRect& source, const GxVector2& scale,
                            const GxVector3& rotation, const GxVector2& centre, const GxVector2& uvOffset,
                            uint32_t diffuse, uint32_t specular, uint32_t blend)
{
    // A picture that failed to load has no size: it draws nothing rather than a white box.
    if (!texture || texture->GetWidth() == 0 || texture->GetHeight() == 0)
        return;
    const float w = std::fabs(source.right - source.left);
    const float h = std::fabs(source.bottom - source.top);
    GxMatrix m;
    MakeSpriteMatrix(m, w, h, x, y, scale, rotation, centre);
    const float tw = (float)texture->GetWidth();
    const float th = (float)texture->GetHeight();
    const GxFRect uv = {source.left / tw + uvOffset.x, source.top / th + uvOffset.y, source.right / tw + uvOffset.x,
                        source.bottom / th + uvOffset.y};
    GxVertex2D v[4];
    RectangleFan(m, GxFRect{0.0f, 0.0f, w, h}, uv, diffuse, specular, v);
    if (IsCulled(v, 4))
        return;
    PfGLTexture* device = DeviceTexture(texture);
    SetStates(device, blend);
    SubmitFan(device, blend, v);
}

void GxGraphics::FillRect(const GxFRect& rect, const uint32_t diffuse[5], const uint32_t specular[5], uint32_t blend)
{
    const float cx = (rect.left + rect.right) * 0.5f;
    const float cy = (rect.top + rect.bottom) * 0.5f;
    // Points 0 top-left, 1 bottom-left, 2 bottom-right, 3 top-right, 4 centre.
    const float px[5] = {rect.left, rect.left, rect.right, rect.right, cx};
    const float py[5] = {rect.top, rect.bottom, rect.bottom, rect.top, cy};
    GxVertex2D p[5];
    for (int i = 0; i < 5; ++i)
    {
        Transform(s_ScreenMatrix, px[i], py[i], 0.0f, p[i]);
        p[i].diffuse = diffuse[i];
        p[i].specular = specular[i];
        p[i].u = p[i].v = 0.0f;
    }
    SetStates(nullptr, blend);
    const GxVertex2D first[4] = {p[0], p[1], p[4], p[3]};
    const GxVertex2D second[4] = {p[4], p[1], p[2], p[3]};
    SubmitFan(nullptr, blend, first);
    SubmitFan(nullptr, blend, second);
}

void GxGraphics::DrawRectFrame(const GxFRect& rect, uint32_t diffuse, uint32_t specular, uint32_t blend)
{
    GxVertex2D v[5];
    RectangleFan(s_ScreenMatrix, rect, GxFRect{}, diffuse, specular, v);
    v[4] = v[0];
    if (IsCulled(v, 4))
        return;
    SetStates(nullptr, blend);
    if (s_pRecorder)
        s_pRecorder->Record(D3DPT_LINESTRIP, nullptr, blend, v, 5);
    if (PfGLDevice* device = GetDevice())
        device->DrawPrimitiveUP(D3DPT_LINESTRIP, 4, v, sizeof(GxVertex2D));
}

void GxGraphics::DrawTransformedQuads(GxSurfaceBase* texture, const GxVector4 points[5], const GxVector2 uv[5],
                                      const uint32_t* diffuse, const uint32_t* specular, const GxVector2& uvOffset,
                                      uint32_t blend)
{
    const GxMatrix m = OffsetScreenMatrix();
    GxVertex2D p[5];
    for (int i = 0; i < 5; ++i)
    {
        Transform(m, points[i].x, points[i].y, points[i].z, p[i]);
        p[i].diffuse = diffuse ? diffuse[i] : 0xFFFFFFFF;
        p[i].specular = specular ? specular[i] : 0;
        p[i].u = uv[i].x + uvOffset.x;
        p[i].v = uv[i].y + uvOffset.y;
    }
    if (IsCulled(p, 5))
        return;
    PfGLTexture* device = DeviceTexture(texture);
    SetStates(device, blend);
    const GxVertex2D first[4] = {p[0], p[1], p[4], p[3]};
    const GxVertex2D second[4] = {p[4], p[1], p[2], p[3]};
    SubmitFan(device, blend, first);
    SubmitFan(device, blend, second);
}

void GxGraphics::DrawTiles(PfGLTexture* const* tiles, uint32_t across, uint32_t down, uint32_t tileWidth,
                           uint32_t tileHeight, uint32_t imageWidth, uint32_t imageHeight, float x, float y,
                           const GxVector2& scale, const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse,
                           uint32_t specular, uint32_t blend)
{
    if (!tiles || across == 0 || down == 0)
        return;
    GxMatrix m;
    MakeSpriteMatrix(m, (float)imageWidth, (float)imageHeight, x, y, scale, rotation, centre);
    s_Grid.resize((size_t)(across + 1) * (down + 1));
    for (uint32_t j = 0; j <= down; ++j)
        for (uint32_t i = 0; i <= across; ++i)
        {
            GxVertex2D v;
            Transform(m, (float)(i * tileWidth), (float)(j * tileHeight), 0.0f, v);
            s_Grid[(size_t)j * (across + 1) + i] = GxVector3(v.x, v.y, v.z);
        }
    SetBlendMode(0, blend);
    SelectVertexProcessing(0, 0);
    if (PfGLDevice* device = GetDevice())
        device->SetFVF(GXFVF_2D);
    static const float s_U[4] = {0, 0, 1, 1};
    static const float s_V[4] = {0, 1, 1, 0};
    for (uint32_t j = 0; j < down; ++j)
        for (uint32_t i = 0; i < across; ++i)
        {
            const uint32_t gi[4] = {i, i, i + 1, i + 1};
            const uint32_t gj[4] = {j, j + 1, j + 1, j};
            GxVertex2D v[4];
            for (int k = 0; k < 4; ++k)
            {
                const GxVector3& g = s_Grid[(size_t)gj[k] * (across + 1) + gi[k]];
                v[k] = {g.x, g.y, g.z, 1.0f, diffuse, specular, s_U[k], s_V[k]};
            }
            if (IsCulled(v, 4))
                continue;
            PfGLTexture* tile = tiles[(size_t)j * across + i];
            SetTexture(0, tile);
            SubmitFan(tile, blend, v);
        }
}

// [SECTION] transforms of the views

void GxGraphics::SetWorldMatrix(const GxMatrix& m)
{
    s_WorldMatrix = m;
    if (PfGLDevice* device = GetDevice())
        device->SetTransform(D3DTS_WORLD, ToD3D(m));
}

void GxGraphics::SetViewMatrix(const GxMatrix& m)
{
    s_ViewMatrix = m;
    if (PfGLDevice* device = GetDevice())
        device->SetTransform(D3DTS_VIEW, ToD3D(m));
}

void GxGraphics::SetProjectionMatrix(const GxMatrix& m)
{
    s_ProjectionMatrix = m;
    if (PfGLDevice* device = GetDevice())
        device->SetTransform(D3DTS_PROJECTION, ToD3D(m));
}

const GxMatrix& GxGraphics::GetViewMatrix()
{
    return s_ViewMatrix;
}

const GxMatrix& GxGraphics::GetProjectionMatrix()
{
    return s_ProjectionMatrix;
}

void GxGraphics::SetView(const GxVector3& eye, const GxVector3& target, const GxVector3& up)
{
    GxMatrix m;
    m.LookAt(eye, target, up);
    SetViewMatrix(m);
}

void GxGraphics::SetProjection(float width, float height, float nearZ, float farZ, float offsetX, float offsetY)
{
    GxMatrix m;
    m.Ortho(width, height, nearZ, farZ);
    m.m[3][0] += offsetX;
    m.m[3][1] += offsetY;
    SetProjectionDepth(nearZ, farZ);
    SetProjectionMatrix(m);
}

// [SECTION] tiled pictures and text

void GxGraphics::DrawTextureFlex(GxTextureFlex* texture, float x, float y, const GxVector2& scale,
                                 const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse,
                                 uint32_t specular, uint32_t blend)
{
    if (!texture)
        return;
    DrawTiles(texture->GetTileTextures(), texture->GetTileCountX(), texture->GetTileCountY(), texture->GetTileWidth(),
              texture->GetTileHeight(), texture->GetImageWidth(), texture->GetImageHeight(), x, y, scale, rotation,
              centre, diffuse, specular, blend);
}

void GxGraphics::DrawFontText(const wchar_t* text, GxFontData* font, float x, float y, const GxVector2& scale,
                              const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse, uint32_t specular,
                              uint32_t blend)
{
    if (!font || !text)
        return;
    const float w = (float)font->GetStringWidth(text);
    const float h = (float)font->GetCellHeight();
    GxMatrix m;
    MakeSpriteMatrix(m, w, h, x, y, scale, rotation, centre);
    PfGLTexture* texture = font->GetD3DTexture();
    SetStates(texture, blend);
    float pen = 0.0f;
    for (const wchar_t* c = text; *c; ++c)
    {
        const float g = (float)font->GetCharWidth((uint32_t)*c);
        float uv[4];
        font->GetGlyphUV(uv, (uint32_t)*c);
        GxVertex2D v[4];
        RectangleFan(m, GxFRect{pen, 0.0f, pen + g, h}, GxFRect{uv[0], uv[1], uv[2], uv[3]}, diffuse, specular, v);
        pen += g;
        if (IsCulled(v, 4))
            continue;
        SetTexture(0, texture);
        SubmitFan(texture, blend, v);
    }
}

void GxGraphics::DrawText(GxGDIFontMap* map, const wchar_t* text, float x, float y, const GxVector2& scale,
                          uint32_t diffuse, uint32_t specular, uint32_t blend)
{
    if (!map || !text)
        return;
    const int32_t size = map->GetSize();
    int32_t px = 0, py = 0;
    for (const wchar_t* c = text; *c; ++c)
    {
        const GxGDIFontGlyph glyph = map->GetGlyph((uint32_t)*c);
        if (glyph.m_pTexture)
        {
            GxImageRect image;
            image.m_pTexture = glyph.m_pTexture;
            image.m_Left = (int32_t)glyph.m_X;
            image.m_Top = (int32_t)glyph.m_Y;
            image.m_Width = (int32_t)glyph.m_Width;
            image.m_Height = (int32_t)glyph.m_Height;
            GxDraw::DrawImageRect(image, x + scale.x * (float)px, y + scale.y * (float)py, scale, GxVector3(0, 0, 0),
                                  GxVector2(0, 0), diffuse, specular, blend);
        }
        px += GxString::GetCharWidthUnits(*c) * size / 2;
        if (*c == L'\n')
        {
            px = 0;
            py += size;
        }
    }
}
