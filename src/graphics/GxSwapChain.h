#pragma once

#include "graphics/GxD3DResourceBase.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class PfGLSwapChain;
class PfGLTexture;

// A swap chain resource: the device's implicit chain (the default one, a static object made at device
// start-up) or an additional chain with its own window, size and present parameters. Each owns a
// depth-stencil surface of its size and an inset that shrinks its default viewport.
class GxSwapChain : public GxD3DResourceBase
{
public:
    GxSwapChain();
    ~GxSwapChain() override;

    uint32_t Release() override;
    void OnLostDevice() override;
    void OnResetDevice() override;
    uint32_t GetMemorySize() const override;

    PfGLSwapChain* GetD3DSwapChain() const { return m_pSwapChain; }
    PfGLTexture* GetDepthStencilSurface() const { return m_pDepthStencil.get(); }
    const D3DPRESENT_PARAMETERS& GetPresentParameters() const { return m_PresentParameters; }
    D3DFORMAT GetBackBufferFormat() const { return m_PresentParameters.BackBufferFormat; }
    D3DFORMAT GetDepthStencilFormat() const { return m_PresentParameters.AutoDepthStencilFormat; }
    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    bool IsDefault() const { return m_Default; }
    const PfRect& GetInset() const { return m_Inset; }
    const PfRect& GetViewportRect() const { return m_ViewportRect; }

    bool CreateDefault(const PfRect* inset);
    bool Create(const std::wstring& name, PfWindowHandle window, uint32_t width, uint32_t height, const PfRect* inset);
    bool Create(const std::wstring& name, const D3DPRESENT_PARAMETERS& params, const PfRect* inset);
    bool Create(const char* name, const D3DPRESENT_PARAMETERS& params);
    void SetViewportRect(const PfRect* rect);

private:
    void CreateDepthStencil();
    void ReleaseDeviceObjects();

    PfGLSwapChain* m_pSwapChain = nullptr;
    // An additional chain's own device chain; the default one belongs to the device.
    std::unique_ptr<PfGLSwapChain> m_pOwnedSwapChain;
    std::unique_ptr<PfGLTexture> m_pDepthStencil;
    D3DPRESENT_PARAMETERS m_PresentParameters = {};
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    bool m_Default = false;
    PfRect m_Inset = {};
    PfRect m_ViewportRect = {};
};
