#include "graphics/GxSwapChain.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfGLTexture.h"

GxSwapChain::GxSwapChain() = default;

GxSwapChain::~GxSwapChain()
{
    ReleaseAll();
}

void GxSwapChain::ReleaseDeviceObjects()
{
    m_pDepthStencil.reset();
    m_pOwnedSwapChain.reset();
    m_pSwapChain = nullptr;
}

uint32_t GxSwapChain::Release()
{
    return ReleaseRegistered(
        [this]
        {
            ReleaseDeviceObjects();
            m_Width = m_Height = 0;
            m_Default = false;
            m_ObjectType = OBJTYPE_NONE;
            m_Name.clear();
        });
}

void GxSwapChain::OnLostDevice()
{
    if (!m_Default && m_pSwapChain)
        m_PresentParameters = m_pSwapChain->GetPresentParameters();
    ReleaseDeviceObjects();
}

void GxSwapChain::OnResetDevice()
{
    PfGLDevice* device = GxGraphics::GetDevice();
    if (!device)
        return;
    if (!m_Default)
    {
        PfResult hr = device->CreateAdditionalSwapChain(m_PresentParameters, m_pOwnedSwapChain);
        if (PfFailed(hr))
        {
            GxLog::Error(L"Error/GxSwapChain OnReset Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(), (int)m_Width,
                         (int)m_Height, GxGraphics::GetErrorText(hr).c_str());
            return;
        }
        m_pSwapChain = m_pOwnedSwapChain.get();
    }
    else
    {
        m_pSwapChain = device->GetSwapChain(0);
        if (!m_pSwapChain)
        {
            GxLog::Error(L"Error/GxSwapChain OnReset Failed(DefaultChain Size:%d,%d %s)\n", (int)m_Width, (int)m_Height,
                         GxGraphics::GetErrorText(D3DERR_INVALIDCALL).c_str());
            return;
        }
        m_PresentParameters = m_pSwapChain->GetPresentParameters();
    }
    // The size, inset and viewport stay as they were at creation.
    CreateDepthStencil();
}

uint32_t GxSwapChain::GetMemorySize() const
{
    return 0;
}

void GxSwapChain::CreateDepthStencil()
{
    // A failed depth-stencil creation is not reported: the chain then has none when selected.
    auto depth = std::make_unique<PfGLTexture>();
    // The chain's multisampling, so the two go together in one frame buffer.
    if (PfSucceeded(depth->Create(m_Width, m_Height, 1, D3DUSAGE_DEPTHSTENCIL, GxGraphics::GetDepthStencilFormat(),
                                  (uint32_t)m_PresentParameters.MultiSampleType)))
        m_pDepthStencil = std::move(depth);
    else
        m_pDepthStencil.reset();
}

bool GxSwapChain::CreateDefault(const PfRect* inset)
{
    ReleaseAll();
    PfGLDevice* device = GxGraphics::GetDevice();
    if (!device)
        return false;
    m_pSwapChain = device->GetSwapChain(0);
    m_PresentParameters = {};
    if (!m_pSwapChain)
        return false;
    m_PresentParameters = m_pSwapChain->GetPresentParameters();
    m_Width = m_PresentParameters.BackBufferWidth;
    m_Height = m_PresentParameters.BackBufferHeight;
    m_Default = true;
    m_Inset = inset ? *inset : PfRect{};
    SetViewportRect(nullptr);
    m_ObjectType = OBJTYPE_SWAPCHAIN;
    m_Name.clear();
    CreateDepthStencil();
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

bool GxSwapChain::Create(const std::wstring& name, const D3DPRESENT_PARAMETERS& params, const PfRect* inset)
{
    ReleaseAll();
    m_pSwapChain = nullptr;
    m_PresentParameters = params;
    m_Width = params.BackBufferWidth;
    m_Height = params.BackBufferHeight;
    m_Default = false;
    m_Inset = inset ? *inset : PfRect{};
    SetViewportRect(nullptr);
    m_ObjectType = OBJTYPE_SWAPCHAIN;
    SetName(name);
    PfGLDevice* device = GxGraphics::GetDevice();
    if (!device)
        return false;
    PfResult hr = device->CreateAdditionalSwapChain(m_PresentParameters, m_pOwnedSwapChain);
    if (PfFailed(hr))
    {
        GxLog::Error(L"Error/GxSwapChain CreateAdditionalSwapChain Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(),
                     (int)m_Width, (int)m_Height, GxGraphics::GetErrorText(hr).c_str());
        return false;
    }
    m_pSwapChain = m_pOwnedSwapChain.get();
    CreateDepthStencil();
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

bool GxSwapChain::Create(const std::wstring& name, PfWindowHandle window, uint32_t width, uint32_t height,
                         const PfRect* inset)
{
    D3DPRESENT_PARAMETERS params = GxGraphics::GetPresentParameters(GxDisplaySettings::Get().m_ScreenMode);
    params.BackBufferWidth = width;
    params.BackBufferHeight = height;
    params.Windowed = 1;
    if (window)
        params.hDeviceWindow = window;
    return Create(name, params, inset);
}

bool GxSwapChain::Create(const char* name, const D3DPRESENT_PARAMETERS& params)
{
    return Create(GxString::ToWide(name ? name : ""), params, nullptr);
}

void GxSwapChain::SetViewportRect(const PfRect* rect)
{
    if (rect)
        m_ViewportRect = *rect;
    else
        m_ViewportRect = {m_Inset.left, m_Inset.top, (int32_t)m_Width - m_Inset.right,
                          (int32_t)m_Height - m_Inset.bottom};
}
