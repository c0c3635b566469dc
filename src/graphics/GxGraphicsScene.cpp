// Scene bracketing, render-target stacks, swap-chain selection and present.
#include "graphics/GxGraphics.h"

#include "core/GxLog.h"
#include "graphics/GxGraphicsState.h"
#include "graphics/GxSurfaceBase.h"
#include "graphics/GxSwapChain.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfGLTexture.h"

bool GxGraphics::BeginScene()
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    // Scenes do not nest: a scene already open stays as it is.
    if (s.m_SceneCount != 0)
        return true;
    s.m_SceneCount = 1;
    return PfSucceeded(device->BeginScene());
}

bool GxGraphics::EndScene()
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    // An EndScene without its BeginScene leaves the count at 0: below it, every later Present would be
    // refused and the screen would stay black for good.
    if (s.m_SceneCount <= 0)
    {
        s.m_SceneCount = 0;
        GxLog::Error(L"GxGraphics::EndScene/BeginSceneが呼ばれていないのにEndSceneが呼ばれました\n");
        return false;
    }
    if (--s.m_SceneCount == 0)
        return PfSucceeded(device->EndScene());
    return true;
}

int32_t GxGraphics::GetSceneCount()
{
    return GxGraphicsGetState().m_SceneCount;
}

bool GxGraphics::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil, const PfRect* rect)
{
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    return PfSucceeded(device->Clear(rect ? 1 : 0, rect, flags, color, z, stencil));
}

uint32_t GxGraphics::GetRenderTargetStackCount()
{
    return (uint32_t)GxGraphicsGetState().m_RenderTargetStacks.size();
}

size_t GxGraphics::GetRenderTargetStackDepth(uint32_t index)
{
    const GxGraphicsState& s = GxGraphicsGetState();
    return index < s.m_RenderTargetStacks.size() ? s.m_RenderTargetStacks[index].size() : 0;
}

bool GxGraphics::PushRenderTarget(uint32_t index, GxSurfaceBase* color, GxSurfaceBase* depth, const PfRect* viewport)
{
    GxGraphicsState& s = GxGraphicsGetState();
    GxRenderTargetEntry entry;
    entry.m_pColor = color;
    entry.m_pDepth = depth;
    if (viewport)
    {
        entry.m_Left = viewport->left;
        entry.m_Top = viewport->top;
        entry.m_Right = viewport->right;
        entry.m_Bottom = viewport->bottom;
    }
    // A target the device does not have is refused without touching any stack.
    if (index >= s.m_RenderTargetStacks.size())
    {
        GxLog::Error(L"GxGraphics::PushRenderTarget/Index %u is out of range\n", index);
        return false;
    }
    s.m_RenderTargetStacks[index].push_back(entry);
    const GxRenderTargetEntry& top = s.m_RenderTargetStacks[index].back();
    const bool target = SetRenderTarget(index, &top);
    const bool depthResult = SetDepthStencil(&top);
    return target && depthResult;
}

bool GxGraphics::PopRenderTarget(uint32_t index)
{
    GxGraphicsState& s = GxGraphicsGetState();
    if (index >= s.m_RenderTargetStacks.size())
    {
        GxLog::Error(L"GxGraphics::PopRenderTarget/Index %u is out of range\n", index);
        return false;
    }
    auto& stack = s.m_RenderTargetStacks[index];
    if (!stack.empty())
        stack.pop_back();
    const GxRenderTargetEntry* top = stack.empty() ? nullptr : &stack.back();
    const bool target = SetRenderTarget(index, top);
    const bool depth = SetDepthStencil(top);
    return target && depth;
}

bool GxGraphics::SetRenderTarget(uint32_t index, const GxRenderTargetEntry* entry)
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    if (entry && entry->m_pColor)
    {
        if (!entry->m_pColor->SetRenderTarget(index))
        {
            GxLog::Error(L"SetRenderTarget/Can't set RenderTarget %d\n", (int)index);
            return false;
        }
        if (index != 0)
            return true;
        if (entry->m_Left || entry->m_Top || entry->m_Right || entry->m_Bottom)
        {
            const PfRect rect = {entry->m_Left, entry->m_Top, entry->m_Right, entry->m_Bottom};
            SetViewport(&rect);
        }
        else
        {
            const PfRect rect = {0, 0, (int32_t)entry->m_pColor->GetWidth(), (int32_t)entry->m_pColor->GetHeight()};
            SetViewport(&rect);
        }
        return true;
    }
    if (index != 0)
    {
        if (PfFailed(device->SetRenderTarget(index, nullptr)))
        {
            GxLog::Error(L"SetRenderTarget/Can't set NULL Buffer %d\n", (int)index);
            return false;
        }
        return true;
    }
    GxSwapChain* chain = s.m_pSwapChain;
    PfGLSwapChain* d3dChain = chain ? chain->GetD3DSwapChain() : nullptr;
    PfGLTexture* backBuffer = d3dChain ? d3dChain->GetBackBuffer() : nullptr;
    if (!backBuffer || PfFailed(device->SetRenderTarget(0, backBuffer)))
    {
        GxLog::Error(L"GxGraphics::SetRenderTarget/Can't set Default BackBuffer\n");
        return false;
    }
    const PfRect& inset = chain->GetInset();
    const PfRect rect = {inset.left, inset.top, (int32_t)backBuffer->GetWidth() - inset.right,
                         (int32_t)backBuffer->GetHeight() - inset.bottom};
    SetViewport(&rect);
    return true;
}

bool GxGraphics::SetDepthStencil(const GxRenderTargetEntry* entry)
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    if (entry && entry->m_pDepth && entry->m_pDepth->GetD3DResource())
    {
        if (PfFailed(device->SetDepthStencilSurface(entry->m_pDepth->GetD3DResource())))
        {
            GxLog::Error(L"SetRenderTarget/Can't set RenderTarget\n");
            return false;
        }
        return true;
    }
    PfGLTexture* depth = s.m_pSwapChain ? s.m_pSwapChain->GetDepthStencilSurface() : nullptr;
    if (PfFailed(device->SetDepthStencilSurface(depth)))
    {
        GxLog::Error(L"SetDepthStencil/Can't set Default DepthStencil\n");
        return false;
    }
    return true;
}

void GxGraphics::RestoreRenderTargets()
{
    GxGraphicsState& s = GxGraphicsGetState();
    if (s.m_RenderTargetStacks.empty())
        return;
    const auto& first = s.m_RenderTargetStacks[0];
    const GxRenderTargetEntry* top = first.empty() ? nullptr : &first.back();
    SetRenderTarget(0, top);
    SetDepthStencil(top);
    for (uint32_t i = 1; i < s.m_RenderTargetStacks.size(); ++i)
    {
        const auto& stack = s.m_RenderTargetStacks[i];
        SetRenderTarget(i, stack.empty() ? nullptr : &stack.back());
    }
}

bool GxGraphics::SetSwapChain(GxSwapChain* chain, const PfRect* viewport)
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!chain)
        chain = &GetDefaultSwapChain();
    s.m_pSwapChain = chain;
    for (auto& stack : s.m_RenderTargetStacks)
        stack.clear();
    PfGLSwapChain* d3dChain = chain->GetD3DSwapChain();
    PfGLTexture* backBuffer = d3dChain ? d3dChain->GetBackBuffer() : nullptr;
    if (!device || !backBuffer || PfFailed(device->SetRenderTarget(0, backBuffer)))
    {
        GxLog::Error(L"SetSwapChain/Can't set BackBuffer\n");
        return false;
    }
    SetViewport(viewport ? viewport : &chain->GetViewportRect());
    if (PfFailed(device->SetDepthStencilSurface(chain->GetDepthStencilSurface())))
    {
        GxLog::Error(L"SetSwapChain/Can't set DepthStencil\n");
        return false;
    }
    return true;
}

GxSwapChain* GxGraphics::GetSwapChain()
{
    return GxGraphicsGetState().m_pSwapChain;
}

bool GxGraphics::DiscardFrame()
{
    PfGLDevice* device = GetDevice();
    return device && GxGraphicsGetState().m_SceneCount == 0 && device->DiscardFrame() == D3D_OK;
}

void GxGraphics::DropFrame()
{
    if (PfGLDevice* device = GetDevice())
        device->DropFrame();
}

bool GxGraphics::Present(const PfRect* source, const PfRect* dest, PfWindowHandle window)
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    if (s.m_SceneCount != 0)
    {
        GxLog::Error(L"BeginScene～EndSceneが完了していないのにPresentが呼ばれました\n");
        return false;
    }
    if (!s.m_RenderTargetStacks.empty() && !s.m_RenderTargetStacks[0].empty())
        GxLog::Error(L"RenderTarget Stack is't empty\n");
    PfGLSwapChain* chain = s.m_pSwapChain ? s.m_pSwapChain->GetD3DSwapChain() : nullptr;
    const PfResult hr = device->Present(chain, source, dest, window);
    if (hr == D3DERR_DRIVERINTERNALERROR)
    {
        // The run ends in order (settings and progress saved, a failure exit) rather than at once.
        GxLog::Error(L"PresentでD3DERR_DRIVERINTERNALERRORが発生しました\n");
        if (s.m_QuitRequest)
            s.m_QuitRequest();
        return false;
    }
    if (hr == D3DERR_DEVICELOST)
    {
        const PfResult level = device->TestCooperativeLevel();
        if (level == D3DERR_DEVICENOTRESET)
        {
            const uint32_t mode = GxDisplaySettings::Get().m_ScreenMode;
            Reset(false, mode, mode);
        }
        return true;
    }
    return true;
}
