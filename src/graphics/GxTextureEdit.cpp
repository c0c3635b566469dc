// GxTexture: locking and the processor-side edits (fill, scroll, blend, copy, stretch, pixel read, save).
// Edits write the platform texture's processor copy under its lock; its unlock uploads the rows.
#include "graphics/GxTexture.h"

#include "core/GxColor.h"
#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxImage.h"
#include "graphics/GxPixelFormat.h"
#include "platform/PfGLTexture.h"
#include "platform/PfImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

void Store16(uint8_t* p, uint16_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

uint16_t Load16(const uint8_t* p)
{
    return (uint16_t)(p[0] | (p[1] << 8));
}

// Fills w pixels of a row with a colour in a 32-bit or 16-bit format.
void FillRow(uint8_t* row, uint32_t w, bool wide, uint32_t colour)
{
    if (wide)
        for (uint32_t x = 0; x < w; ++x)
            std::memcpy(row + 4 * x, &colour, 4);
    else
    {
        const uint16_t v = GxColor::ToA4R4G4B4(colour);
        for (uint32_t x = 0; x < w; ++x)
            Store16(row + 2 * x, v);
    }
}

} // namespace

bool GxTexture::LockRect(const PfRect* rect, void** bits, uint32_t* pitch, uint32_t* width, uint32_t* height,
                         D3DFORMAT* format, bool readOnly)
{
    if (!m_pTexture || !GxGraphics::GetDevice())
        return false;
    return LockDeviceTexture(*m_pTexture, m_Locked, &GxLog::SlightError, rect, bits, pitch, width, height, format,
                             readOnly);
}

bool GxTexture::UnlockRect()
{
    if (!m_pTexture || !GxGraphics::GetDevice() || !m_Locked)
        return false;
    m_pTexture->UnlockRect();
    m_Locked = false;
    return true;
}

bool GxTexture::TransferRenderTargetToMemory()
{
    if (m_ObjectType != OBJTYPE_RENDERTARGET || !GxGraphics::GetDevice() || !m_pTexture)
        return false;
    const PfResult hr = m_pTexture->ReadBack();
    if (PfFailed(hr))
    {
        GxLog::SlightError(
            L"Error/Texture TransferRenderTargetToMemory GetRenderTargetData Failed(Type:m_pMemoryTexture "
            L"Name:\"%s\" Size:%d,%d %s)\n",
            m_Name.c_str(), m_Width, m_Height, GxGraphics::GetErrorText(hr).c_str());
        return false;
    }
    return true;
}

bool GxTexture::UpdateTexture()
{
    // Only render targets keep a copy apart from what is drawn; managed textures upload at unlock.
    if (m_ObjectType != OBJTYPE_RENDERTARGET || !GxGraphics::GetDevice() || !m_pTexture)
        return false;
    const PfResult hr = m_pTexture->Upload();
    if (PfFailed(hr))
    {
        GxLog::SlightError(L"Error/Texture UpdateTexture Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(), m_Width,
                           m_Height, GxGraphics::GetErrorText(hr).c_str());
        return false;
    }
    return true;
}

bool GxTexture::Fill(uint32_t colour)
{
    return FillRect(nullptr, colour);
}

bool GxTexture::FillRect(const PfRect* rect, uint32_t colour)
{
    if (!GxGraphics::GetDevice() || !m_pTexture)
        return false;
    const bool wide = GxPixelFormat::Is32Bit(m_Format);
    // Only 32-bit and 16-bit formats are written; anything else would be written past its rows.
    if (!wide && PfGLTexture::GetBytesPerPixel(m_Format) != 2)
        return false;
    PfRect r = {0, 0, (int32_t)m_Width, (int32_t)m_Height};
    if (rect)
    {
        r.left = std::clamp(rect->left, 0, (int32_t)m_Width);
        r.right = std::clamp(rect->right, 0, (int32_t)m_Width);
        r.top = std::clamp(rect->top, 0, (int32_t)m_Height);
        r.bottom = std::clamp(rect->bottom, 0, (int32_t)m_Height);
        if (r.left >= r.right || r.top >= r.bottom)
            return false;
    }
    void* bits = nullptr;
    uint32_t pitch = 0, w = 0, h = 0;
    if (!LockRect(&r, &bits, &pitch, &w, &h, nullptr, false))
        return false;
    for (uint32_t y = 0; y < h; ++y)
        FillRow(static_cast<uint8_t*>(bits) + (size_t)y * pitch, w, wide, colour);
    UnlockRect();
    UpdateTexture();
    return true;
}

bool GxTexture::FillRectScaled(const PfRect& rect, uint32_t colour)
{
    PfRect r;
    r.left = (int32_t)(GetTexCoordU((float)rect.left) * (float)m_Width);
    r.right = (int32_t)(GetTexCoordU((float)rect.right) * (float)m_Width);
    r.top = (int32_t)(GetTexCoordV((float)rect.top) * (float)m_Height);
    r.bottom = (int32_t)(GetTexCoordV((float)rect.bottom) * (float)m_Height);
    return FillRect(&r, colour);
}

bool GxTexture::ScrollVertical(int32_t rows, uint32_t colour)
{
    if (!GxGraphics::GetDevice() || !m_pTexture)
        return false;
    const bool wide = GxPixelFormat::Is32Bit(m_Format);
    if (!wide && PfGLTexture::GetBytesPerPixel(m_Format) != 2)
        return false;
    void* bits = nullptr;
    uint32_t pitch = 0, w = 0, h = 0;
    if (!LockRect(nullptr, &bits, &pitch, &w, &h, nullptr, false))
        return false;
    uint8_t* base = static_cast<uint8_t*>(bits);
    const size_t rowBytes = (size_t)w * (wide ? 4 : 2);
    const int64_t H = h;
    const int64_t n = rows;
    if (n >= H || -n >= H)
    {
        for (uint32_t y = 0; y < h; ++y)
            FillRow(base + (size_t)y * pitch, w, wide, colour);
    }
    else if (n > 0)
    {
        for (int64_t r = H - n - 1; r >= 0; --r)
            std::memcpy(base + (size_t)(r + n) * pitch, base + (size_t)r * pitch, rowBytes);
        for (int64_t r = 0; r < n; ++r)
            FillRow(base + (size_t)r * pitch, w, wide, colour);
    }
    else if (n < 0)
    {
        const int64_t m = -n;
        for (int64_t r = m; r < H; ++r)
            std::memcpy(base + (size_t)(r - m) * pitch, base + (size_t)r * pitch, rowBytes);
        for (int64_t r = H - m; r < H; ++r)
            FillRow(base + (size_t)r * pitch, w, wide, colour);
    }
    UnlockRect();
    UpdateTexture();
    return true;
}

bool GxTexture::BlendImageFromFile(const std::wstring& fileName, int32_t x, int32_t y, uint32_t colourKey)
{
    if (!m_pTexture)
        return CreateFromFile(fileName, D3DFMT_UNKNOWN, 1, 0, true);
    PfImage image;
    if (!GxImage::CreateScratchSurfaceFromFile(fileName, image, m_Format, nullptr, colourKey))
        return false;
    // Only these two formats are blended; any other is reported as a failure rather than left untouched.
    const bool wide = m_Format == D3DFMT_A8R8G8B8;
    if (!wide && m_Format != D3DFMT_A4R4G4B4)
        return false;
    uint32_t pitch = 0;
    uint8_t* base = static_cast<uint8_t*>(m_pTexture->LockRect(nullptr, 0, &pitch));
    if (!base)
    {
        GxLog::SlightError(L"Error/Texture LockRect Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(), m_Width,
                           m_Height, GxGraphics::GetErrorText(D3DERR_INVALIDCALL).c_str());
        return false;
    }
    const uint32_t M = wide ? 255 : 15;
    for (uint32_t j = 0; j < image.GetHeight(); ++j)
    {
        const int64_t dy = (int64_t)y + j;
        if (dy < 0)
            continue;
        if (dy >= (int64_t)m_Height)
            break;
        uint8_t* row = base + (size_t)dy * pitch;
        for (uint32_t i = 0; i < image.GetWidth(); ++i)
        {
            const int64_t dx = (int64_t)x + i;
            if (dx < 0)
                continue;
            if (dx >= (int64_t)m_Width)
                break;
            uint32_t s = image.GetPixel(i, j);
            uint32_t d;
            if (wide)
                std::memcpy(&d, row + dx * 4, 4);
            else
            {
                // Both pixels as four 4-bit channels in the low nibbles of each byte.
                const uint32_t s16 = GxColor::ToA4R4G4B4(s);
                const uint32_t d16 = Load16(row + dx * 2);
                s = ((s16 & 0xF000) << 12) | ((s16 & 0x0F00) << 8) | ((s16 & 0x00F0) << 4) | (s16 & 0x000F);
                d = ((d16 & 0xF000) << 12) | ((d16 & 0x0F00) << 8) | ((d16 & 0x00F0) << 4) | (d16 & 0x000F);
            }
            const uint32_t sa = s >> 24, da = d >> 24;
            uint32_t out = std::min(M, sa + da) << 24;
            for (uint32_t c = 0; c < 3; ++c)
            {
                const uint32_t bit = c * 8;
                const uint32_t sc = (s >> bit) & 0xFF, dc = (d >> bit) & 0xFF;
                const uint32_t v = (((M - sa) * dc * da) / M + sc * sa) / M;
                out |= (v & M) << bit;
            }
            if (wide)
                std::memcpy(row + dx * 4, &out, 4);
            else
            {
                const uint16_t v = (uint16_t)(((out >> 24) & 15) << 12 | ((out >> 16) & 15) << 8 |
                                              ((out >> 8) & 15) << 4 | (out & 15));
                Store16(row + dx * 2, v);
            }
        }
    }
    m_pTexture->UnlockRect();
    return true;
}

bool GxTexture::StretchFrom(const PfRect& destRect, GxTexture* source, const PfRect& sourceRect, uint32_t filter)
{
    if (!source || !m_pTexture || !source->m_pTexture || source == this)
        return false;
    const PfRect& d = destRect;
    const PfRect& s = sourceRect;
    if (d.left < 0 || d.top < 0 || d.right > (int32_t)m_Width || d.bottom > (int32_t)m_Height || d.left >= d.right ||
        d.top >= d.bottom || s.left < 0 || s.top < 0 || s.right > (int32_t)source->m_Width ||
        s.bottom > (int32_t)source->m_Height || s.left >= s.right || s.top >= s.bottom)
        return false;
    if (!CanStretchBetween(m_Format, source->m_Format))
        return false;
    if (source->m_ObjectType == OBJTYPE_RENDERTARGET)
        source->m_pTexture->ReadBack();
    const uint8_t* from = source->m_pTexture->GetData();
    const uint32_t fromPitch = source->m_pTexture->GetPitch();
    uint32_t pitch = 0;
    uint8_t* to = static_cast<uint8_t*>(m_pTexture->LockRect(&d, 0, &pitch));
    if (!to)
        return false;
    StretchTexels(to, pitch, d, m_Format, from, fromPitch, s, source->m_Format, filter);
    m_pTexture->UnlockRect();
    return true;
}

bool GxTexture::SaveToFile(const std::wstring& fileName)
{
    if (!GxGraphics::GetDevice() || !m_pTexture)
        return false;
    TransferRenderTargetToMemory();
    const uint32_t bytes = GxPixelFormat::GetBytes(m_Format);
    bool ok = bytes != 0;
    if (ok)
    {
        std::vector<uint8_t> pixels((size_t)m_Width * m_Height * 4);
        const uint8_t* data = m_pTexture->GetData();
        const uint32_t pitch = m_pTexture->GetPitch();
        for (uint32_t y = 0; y < m_Height; ++y)
            for (uint32_t x = 0; x < m_Width; ++x)
            {
                uint32_t argb = GxPixelFormat::ToArgb(data + (size_t)y * pitch + (size_t)x * bytes, m_Format);
                if (m_Format == D3DFMT_X8R8G8B8 || m_Format == D3DFMT_X4R4G4B4)
                    argb |= 0xFF000000u;
                std::memcpy(&pixels[((size_t)y * m_Width + x) * 4], &argb, 4);
            }
        ok = GxImage::SaveToPNG(fileName, m_Width, m_Height, pixels.data()) != 0;
    }
    if (!ok)
    {
        GxLog::Error(L"Error/Texture SaveToFile Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(), m_Width, m_Height,
                     GxGraphics::GetErrorText(E_FAIL).c_str());
        return false;
    }
    return true;
}

uint32_t GxTexture::GetPixel(uint32_t x, uint32_t y)
{
    if (!GxGraphics::GetDevice() || !m_pTexture || x >= m_Width || y >= m_Height)
        return 0;
    TransferRenderTargetToMemory();
    const uint32_t bytes = PfGLTexture::GetBytesPerPixel(m_Format);
    const uint8_t* p = m_pTexture->GetData() + (size_t)y * m_pTexture->GetPitch() + (size_t)x * bytes;
    if (GxPixelFormat::Is32Bit(m_Format) || GxPixelFormat::Is4444(m_Format))
        return GxPixelFormat::ToArgb(p, m_Format);
    return 0;
}

bool GxTexture::CopyFrom(GxTexture* source, const PfRect* sourceRect, int32_t x, int32_t y)
{
    if (!source || !m_pTexture || !source->m_pTexture)
        return false;
    int64_t left = 0, top = 0, right = source->m_Width, bottom = source->m_Height;
    if (sourceRect)
    {
        left = sourceRect->left;
        top = sourceRect->top;
        right = std::min<int64_t>(sourceRect->right, source->m_Width);
        bottom = std::min<int64_t>(sourceRect->bottom, source->m_Height);
    }
    int64_t dx = x, dy = y;
    // Clip on all four sides: a negative source corner or destination position moves both together.
    if (left < 0)
    {
        dx -= left;
        left = 0;
    }
    if (top < 0)
    {
        dy -= top;
        top = 0;
    }
    if (dx < 0)
    {
        left -= dx;
        dx = 0;
    }
    if (dy < 0)
    {
        top -= dy;
        dy = 0;
    }
    int64_t w = right - left, h = bottom - top;
    w = std::min<int64_t>(w, (int64_t)m_Width - dx);
    h = std::min<int64_t>(h, (int64_t)m_Height - dy);
    if (w <= 0 || h <= 0)
        return false;
    const PfRect r = {(int32_t)left, (int32_t)top, (int32_t)(left + w), (int32_t)(top + h)};
    const bool dest32 = GxPixelFormat::Is32Bit(m_Format), dest16 = GxPixelFormat::Is4444(m_Format);
    const bool src32 = GxPixelFormat::Is32Bit(source->m_Format), src16 = GxPixelFormat::Is4444(source->m_Format);
    if (dest32 && src32)
        return CopyRect32To32(source, r, (int32_t)dx, (int32_t)dy);
    if (dest32 && src16)
        return CopyRect16To32(source, r, (int32_t)dx, (int32_t)dy);
    if (dest16 && src32)
        return CopyRect32To16(source, r, (int32_t)dx, (int32_t)dy);
    if (dest16 && src16)
        return CopyRect16To16(source, r, (int32_t)dx, (int32_t)dy);
    return false;
}

bool GxTexture::CopyRect32To32(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y)
{
    return CopyRect(source, sourceRect, x, y);
}

bool GxTexture::CopyRect16To16(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y)
{
    return CopyRect(source, sourceRect, x, y);
}

bool GxTexture::CopyRect32To16(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y)
{
    return CopyRect(source, sourceRect, x, y);
}

bool GxTexture::CopyRect16To32(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y)
{
    return CopyRect(source, sourceRect, x, y);
}

// The four copies differ only in the per-pixel conversion, chosen here from the two formats. The source
// rows are read from its processor copy (a render target is read back first), so a texture may copy
// from itself as long as the rectangles do not overlap.
bool GxTexture::CopyRect(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y)
{
    if (!source || !m_pTexture || !source->m_pTexture)
        return false;
    const PfRect& s = sourceRect;
    if (s.left < 0 || s.top < 0 || s.right > (int32_t)source->m_Width || s.bottom > (int32_t)source->m_Height ||
        s.left >= s.right || s.top >= s.bottom)
        return false;
    const PfRect d = {x, y, x + (s.right - s.left), y + (s.bottom - s.top)};
    if (x < 0 || y < 0 || d.right > (int32_t)m_Width || d.bottom > (int32_t)m_Height)
        return false;
    const bool dest32 = GxPixelFormat::Is32Bit(m_Format);
    const bool src32 = GxPixelFormat::Is32Bit(source->m_Format);
    if (!(dest32 || GxPixelFormat::Is4444(m_Format)) || !(src32 || GxPixelFormat::Is4444(source->m_Format)))
        return false;
    if (source->m_ObjectType == OBJTYPE_RENDERTARGET && PfFailed(source->m_pTexture->ReadBack()))
        return false;
    const uint32_t w = (uint32_t)(s.right - s.left), h = (uint32_t)(s.bottom - s.top);
    const uint32_t sb = src32 ? 4 : 2;
    const uint32_t srcPitch = source->m_pTexture->GetPitch();
    // Rows are staged so that a copy within one texture reads the rows before they are overwritten.
    std::vector<uint8_t> staged((size_t)w * h * sb);
    for (uint32_t j = 0; j < h; ++j)
        std::memcpy(&staged[(size_t)j * w * sb],
                    source->m_pTexture->GetData() + (size_t)(s.top + j) * srcPitch + (size_t)s.left * sb,
                    (size_t)w * sb);
    uint32_t pitch = 0;
    uint8_t* to = static_cast<uint8_t*>(m_pTexture->LockRect(&d, 0, &pitch));
    if (!to)
    {
        GxLog::SlightError(L"Error/Texture LockRect Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(), m_Width,
                           m_Height, GxGraphics::GetErrorText(D3DERR_INVALIDCALL).c_str());
        return false;
    }
    for (uint32_t j = 0; j < h; ++j)
    {
        const uint8_t* from = &staged[(size_t)j * w * sb];
        uint8_t* row = to + (size_t)j * pitch;
        if (dest32 == src32)
        {
            std::memcpy(row, from, (size_t)w * sb);
            continue;
        }
        for (uint32_t i = 0; i < w; ++i)
        {
            if (dest32)
            {
                const uint32_t v = GxColor::FromA4R4G4B4(Load16(from + 2 * i));
                std::memcpy(row + 4 * i, &v, 4);
            }
            else
            {
                uint32_t v;
                std::memcpy(&v, from + 4 * i, 4);
                Store16(row + 2 * i, GxColor::ToA4R4G4B4(v));
            }
        }
    }
    m_pTexture->UnlockRect();
    return true;
}
