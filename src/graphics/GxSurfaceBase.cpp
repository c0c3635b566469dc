#include "graphics/GxSurfaceBase.h"

#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"

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
