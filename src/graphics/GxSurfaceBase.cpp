#include "graphics/GxSurfaceBase.h"

#include "graphics/GxGraphics.h"
#include "graphics/GxPixelFormat.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

bool GxSurfaceBase::SetRenderTarget(uint32_t index)
{
    PfGLDevice* device = GxGraphics::GetDevice();
    PfGLTexture* texture = GetD3DResource();
    if (!device || !texture)
        return false;
    return PfSucceeded(device->SetRenderTarget(index, texture));
}

void GxSurfaceBase::ResetSurfaceFields()
{
    m_Format = D3DFMT_UNKNOWN;
    m_Pool = D3DPOOL_SCRATCH;
    m_Width = m_Height = m_ImageWidth = m_ImageHeight = 0;
    m_ObjectType = OBJTYPE_NONE;
    m_Name.clear();
}

bool GxSurfaceBase::LockDeviceTexture(PfGLTexture& texture, bool& locked, LogFunction log, const PfRect* rect,
                                      void** bits, uint32_t* pitch, uint32_t* width, uint32_t* height,
                                      D3DFORMAT* format, bool readOnly)
{
    if (locked)
    {
        log(L"Error/Texture LockRect Failed(Name:\"%s\" Size:%d,%d Texture Already Locked)\n", m_Name.c_str(), m_Width,
            m_Height);
        return false;
    }
    // A render target reads its frame-buffer content back into the copy as it is locked.
    uint32_t lockPitch = 0;
    void* data = texture.LockRect(rect, readOnly ? (uint32_t)D3DLOCK_READONLY : 0u, &lockPitch);
    if (!data)
    {
        log(L"Error/Texture LockRect Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(), m_Width, m_Height,
            GxGraphics::GetErrorText(D3DERR_INVALIDCALL).c_str());
        return false;
    }
    locked = true;
    if (format)
        *format = m_Format;
    if (width)
        *width = rect ? (uint32_t)(rect->right - rect->left) : m_Width;
    if (height)
        *height = rect ? (uint32_t)(rect->bottom - rect->top) : m_Height;
    if (bits)
        *bits = data;
    if (pitch)
        *pitch = lockPitch;
    return true;
}

bool GxSurfaceBase::CanStretchBetween(D3DFORMAT to, D3DFORMAT from)
{
    auto convertible = [](D3DFORMAT f) { return GxPixelFormat::Is32Bit(f) || GxPixelFormat::Is4444(f); };
    return to == from ? GxPixelFormat::GetBytes(to) != 0 : convertible(to) && convertible(from);
}

void GxSurfaceBase::StretchTexels(uint8_t* to, uint32_t pitch, const PfRect& d, D3DFORMAT toFormat, const uint8_t* from,
                                  uint32_t fromPitch, const PfRect& s, D3DFORMAT fromFormat, uint32_t filter)
{
    const uint32_t bytes = GxPixelFormat::GetBytes(toFormat);
    const uint32_t fromBytes = GxPixelFormat::GetBytes(fromFormat);
    const uint32_t dw = (uint32_t)(d.right - d.left), dh = (uint32_t)(d.bottom - d.top);
    const uint32_t sw = (uint32_t)(s.right - s.left), sh = (uint32_t)(s.bottom - s.top);
    // A source without alpha counts as opaque once its texels go through ARGB.
    const uint32_t opaque = fromFormat == D3DFMT_X8R8G8B8 || fromFormat == D3DFMT_X4R4G4B4 ? 0xFF000000u : 0u;
    auto texel = [&](int32_t x, int32_t y)
    { return GxPixelFormat::ToArgb(from + (size_t)y * fromPitch + (size_t)x * fromBytes, fromFormat) | opaque; };
    auto put = [&](uint32_t x, uint32_t y, uint32_t argb)
    {
        const uint8_t parts[4] = {(uint8_t)argb, (uint8_t)(argb >> 8), (uint8_t)(argb >> 16), (uint8_t)(argb >> 24)};
        GxPixelFormat::FromArgbRow(to + (size_t)y * pitch + (size_t)x * bytes, toFormat, parts, 1);
    };
    if (filter != D3DTEXF_LINEAR)
    {
        // Point and no filtering take the texel under the destination texel's top-left corner; between
        // equal formats its bytes are copied as they are.
        for (uint32_t y = 0; y < dh; ++y)
        {
            const uint32_t sy = (uint32_t)s.top + (uint32_t)((uint64_t)y * sh / dh);
            for (uint32_t x = 0; x < dw; ++x)
            {
                const uint32_t sx = (uint32_t)s.left + (uint32_t)((uint64_t)x * sw / dw);
                if (toFormat == fromFormat)
                    std::memcpy(to + (size_t)y * pitch + (size_t)x * bytes,
                                from + (size_t)sy * fromPitch + (size_t)sx * bytes, bytes);
                else
                    put(x, y, texel((int32_t)sx, (int32_t)sy));
            }
        }
        return;
    }
    // Linear: each destination texel's centre mapped into the source rectangle, the four source texels
    // around it weighted by distance, per ARGB channel. Samples beyond the rectangle's edge clamp to it,
    // so nothing outside the source rectangle bleeds in. A copy at the same size reproduces the source.
    auto axis = [](uint32_t i, uint32_t out, uint32_t in, int32_t first, int32_t& a, int32_t& b, float& t)
    {
        const float c = std::max(((float)i + 0.5f) * (float)in / (float)out - 0.5f, 0.0f);
        const int32_t base = std::min((int32_t)c, (int32_t)in - 1);
        t = std::min(c - (float)base, 1.0f);
        a = first + base;
        b = first + std::min(base + 1, (int32_t)in - 1);
    };
    for (uint32_t y = 0; y < dh; ++y)
    {
        int32_t y0 = 0, y1 = 0;
        float ty = 0.0f;
        axis(y, dh, sh, s.top, y0, y1, ty);
        for (uint32_t x = 0; x < dw; ++x)
        {
            int32_t x0 = 0, x1 = 0;
            float tx = 0.0f;
            axis(x, dw, sw, s.left, x0, x1, tx);
            const uint32_t c00 = texel(x0, y0), c10 = texel(x1, y0), c01 = texel(x0, y1), c11 = texel(x1, y1);
            uint32_t argb = 0;
            for (int32_t k = 0; k < 4; ++k)
            {
                const int32_t shift = 8 * k;
                auto channel = [shift](uint32_t c) { return (float)((c >> shift) & 0xFF); };
                const float top = channel(c00) + (channel(c10) - channel(c00)) * tx;
                const float bottom = channel(c01) + (channel(c11) - channel(c01)) * tx;
                argb |= (uint32_t)std::lround(std::clamp(top + (bottom - top) * ty, 0.0f, 255.0f)) << shift;
            }
            put(x, y, argb);
        }
    }
}
