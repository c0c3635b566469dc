// A surface resource: an off-screen plain surface (default, scratch or system-memory pool), a depth
// stencil, a render target, or a scratch surface holding a decoded image file. Surfaces keep the size
// asked for (no power-of-two rule). Surfaces outside the scratch pool do not survive a device reset: they
// are released before it and come back empty after it.
#pragma once

#include "graphics/GxSurfaceBase.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <string>

class GxSurface : public GxSurfaceBase
{
public:
    GxSurface() = default;
    ~GxSurface() override;

    uint32_t Release() override;
    void OnLostDevice() override;
    void OnResetDevice() override;

    virtual bool CreateSurface(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format);
    bool CreateSurfaceA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format);
    virtual bool CreateScratch(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format);
    bool CreateScratchA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format);
    virtual bool CreateSystemMemory(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format);
    bool CreateSystemMemoryA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format);
    virtual bool CreateDepthStencil(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                                    D3DMULTISAMPLE_TYPE multiSample, uint32_t quality);
    bool CreateDepthStencilA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format,
                             D3DMULTISAMPLE_TYPE multiSample, uint32_t quality);
    virtual bool CreateRenderTarget(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                                    D3DMULTISAMPLE_TYPE multiSample, uint32_t quality);
    bool CreateRenderTargetA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format,
                             D3DMULTISAMPLE_TYPE multiSample, uint32_t quality);
    virtual bool CreateFromFile(const std::wstring& fileName, D3DFORMAT format, uint32_t colourKey);
    bool CreateFromFileA(const char* fileName, D3DFORMAT format, uint32_t colourKey);
    // Null rectangles mean the whole surface. Nearest-texel scaling; both surfaces of one format.
    virtual bool StretchFrom(const PfRect* destRect, GxSurface* source, const PfRect* sourceRect, uint32_t filter);
    virtual PfGLTexture* GetD3DSurface() const { return m_pTexture; }
    // Always PNG, whatever the extension.
    virtual bool SaveToFile(const std::wstring& fileName);
    bool SaveToFileA(const char* fileName);

private:
    bool Create(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format, D3DPOOL pool,
                uint32_t objectType, uint32_t usage, const wchar_t* failureFormat, uint32_t samples = 0);
    void ResetFields();

    uint32_t m_Usage = 0;
};
