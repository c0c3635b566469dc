#pragma once

#include "graphics/GxD3DResourceBase.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>

class PfGLTexture;

// The common interface of textures and surfaces: the device texture (a surface keeps its device object in
// the first pointer and leaves the second null), a processor-side copy for render-target textures, the
// format and pool, the device size and the size asked for. The operations read the fields; a class that
// keeps its device object elsewhere overrides them.
class GxSurfaceBase : public GxD3DResourceBase
{
public:
    GxSurfaceBase() = default;
    ~GxSurfaceBase() override = default;

    // Sets the device texture as render target `index` of the device; false without one.
    virtual bool SetRenderTarget(uint32_t index);
    virtual D3DFORMAT GetFormat() const { return m_Format; }
    virtual D3DPOOL GetPool() const { return m_Pool; }
    virtual uint32_t GetWidth() const { return m_Width; }
    virtual uint32_t GetHeight() const { return m_Height; }
    virtual uint32_t GetImageWidth() const { return m_ImageWidth; }
    virtual uint32_t GetImageHeight() const { return m_ImageHeight; }
    virtual bool IsLocked() const { return false; }
    // The device texture, no reference added.
    virtual PfGLTexture* GetD3DResource() const { return m_pTexture; }

protected:
    // Back to the empty state of the fields held here: no format, scratch pool, sizes 0, no object type
    // and no name. The device textures are the caller's to free: their owners differ.
    void ResetSurfaceFields();
    // The body of a texture's LockRect on one device texture: refused while `locked` is set; on success sets
    // it and fills the out fields that are not null (a null rectangle is the whole texture). Failures are
    // logged through `log`.
    using LogFunction = void (*)(const wchar_t* format, ...);
    bool LockDeviceTexture(PfGLTexture& texture, bool& locked, LogFunction log, const PfRect* rect, void** bits,
                           uint32_t* pitch, uint32_t* width, uint32_t* height, D3DFORMAT* format, bool readOnly);
    // Whether StretchTexels converts from one format to the other: any format to itself, and between
    // A8R8G8B8, X8R8G8B8, A4R4G4B4 and X4R4G4B4.
    static bool CanStretchBetween(D3DFORMAT to, D3DFORMAT from);
    // Fills destination rectangle d, locked at `to` in toFormat, from source rectangle s of the rows at
    // `from` in fromFormat, converting through ARGB where they differ (a source without alpha is opaque):
    // D3DTEXF_LINEAR blends the four source texels around each destination texel, every other filter takes
    // one source texel.
    static void StretchTexels(uint8_t* to, uint32_t pitch, const PfRect& d, D3DFORMAT toFormat, const uint8_t* from,
                              uint32_t fromPitch, const PfRect& s, D3DFORMAT fromFormat, uint32_t filter);

    PfGLTexture* m_pTexture = nullptr;
    PfGLTexture* m_pMemoryTexture = nullptr;
    D3DFORMAT m_Format = D3DFMT_UNKNOWN;
    D3DPOOL m_Pool = D3DPOOL_SCRATCH;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_ImageWidth = 0;
    uint32_t m_ImageHeight = 0;
};
