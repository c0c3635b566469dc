#include "graphics/GxSurfaceBase.h"

#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"

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

void GxSurfaceBase::StretchNearest(uint8_t* to, uint32_t pitch, const PfRect& d, const uint8_t* from,
                                   uint32_t fromPitch, const PfRect& s, uint32_t bytes)
{
    // FIXME: every filter samples the nearest texel; linear filtering of stretched copies is missing.
    const uint32_t dw = (uint32_t)(d.right - d.left), dh = (uint32_t)(d.bottom - d.top);
    const uint32_t sw = (uint32_t)(s.right - s.left), sh = (uint32_t)(s.bottom - s.top);
    for (uint32_t y = 0; y < dh; ++y)
    {
        const uint32_t sy = (uint32_t)s.top + (uint32_t)((uint64_t)y * sh / dh);
        for (uint32_t x = 0; x < dw; ++x)
        {
            const uint32_t sx = (uint32_t)s.left + (uint32_t)((uint64_t)x * sw / dw);
            std::memcpy(to + (size_t)y * pitch + (size_t)x * bytes, from + (size_t)sy * fromPitch + (size_t)sx * bytes,
                        bytes);
        }
    }
}
