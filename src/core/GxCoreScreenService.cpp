#include "core/GxCoreScreenService.h"

#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxFRect.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTexture.h"
#include "platform/GxWindowMessage.h"
#include "platform/PfWindow.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

// The blend preset the captured picture is drawn with: alpha blending by the colour's alpha.
static constexpr uint32_t kCaptureBlend = 2;

GxCoreScreenService::GxCoreScreenService(GxCore* core) : m_Core(core) {}

GxCoreScreenService::~GxCoreScreenService()
{
    ReleaseCapture();
}

void GxCoreScreenService::ClearScreen()
{
    const uint32_t color = m_Core->m_SystemConfig ? m_Core->m_SystemConfig->m_ScreenFillColor : 0xFF000000u;
    GxGraphics::Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, color, 1.0f, 0);
}

void GxCoreScreenService::CaptureScreen()
{
    if (!GxGraphics::IsInitialized())
        return;
    if (!g_GlobalRenderTargets.m_RenderTexture[0].GetD3DResource())
    {
        if (!CreateGlobalRenderTargets())
        {
            ReleaseGlobalRenderTargets();
            return;
        }
        m_MadeTargets = true;
    }
    m_Core->CaptureScreen();
}

GxTexture* GxCoreScreenService::GetCaptureTexture() const
{
    GxTexture* capture = &g_GlobalRenderTargets.m_RenderTexture[0];
    return capture->GetD3DResource() ? capture : nullptr;
}

void GxCoreScreenService::DrawCapturedScreen(uint32_t argb)
{
    GxTexture* capture = GetCaptureTexture();
    if (!capture)
        return;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    const GxFRect source = {0.0f, 0.0f, static_cast<float>(GxCore::kVirtualWidth),
                            static_cast<float>(GxCore::kVirtualHeight)};
    GxGraphics::DrawSprite(capture, 0.0f, 0.0f, source, GxVector2(1.0f, 1.0f), GxVector3(0.0f, 0.0f, 0.0f),
                           GxVector2(0.0f, 0.0f), GxVector2(0.0f, 0.0f), argb, 0, kCaptureBlend);
    GxGraphics::EndScene();
}

int32_t GxCoreScreenService::GetTransitTime()
{
    return m_Core->m_SystemConfig ? m_Core->m_SystemConfig->m_SequenceLeaveTime : 400;
}

void GxCoreScreenService::RequestClose()
{
    // Posted, so the close request (which the listeners may veto) is handled at the next message pump.
    if (m_Core->m_MainWindow && m_Core->m_MainWindow->Exists())
        m_Core->m_MainWindow->PostMessage(WM_CLOSE, 0, 0);
    else
        m_Core->Quit();
}

void GxCoreScreenService::SetDialogResult(int32_t result)
{
    if (m_Core->m_UserData)
        m_Core->m_UserData->m_LastDialogResult = result;
}

void GxCoreScreenService::ReleaseCapture()
{
    if (m_MadeTargets)
        ReleaseGlobalRenderTargets();
    m_MadeTargets = false;
}

void GxCoreScreenService::GetCursorPos(int32_t& x, int32_t& y)
{
    int cx = 0;
    int cy = 0;
    m_Core->GetCursorPos(cx, cy);
    x = cx;
    y = cy;
}
