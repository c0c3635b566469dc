#include "core/GxCoreScreenService.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxFRect.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "core/GxWindowMessage.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxSurface.h"
#include "graphics/GxTexture.h"
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

bool GxCoreScreenService::MakeCapture()
{
    if (m_Capture && m_Capture->GetD3DResource())
        return true;
    m_Capture = std::make_unique<GxTexture>();
    m_CaptureDepth = std::make_unique<GxSurface>();
    if (!m_Capture->CreateRenderTarget(L"GlobalRenderTexture", GxCore::kVirtualWidth, GxCore::kVirtualHeight,
                                       D3DFMT_UNKNOWN) ||
        !m_CaptureDepth->CreateDepthStencil(L"GlobalDepthStencil", GxCore::kVirtualWidth, GxCore::kVirtualHeight,
                                            D3DFMT_UNKNOWN, D3DMULTISAMPLE_NONE, 0))
    {
        ReleaseCapture();
        return false;
    }
    return true;
}

void GxCoreScreenService::CaptureScreen()
{
    GxTaskManage* manage = m_Core->m_TaskManage;
    if (!manage || !GxGraphics::IsInitialized() || !MakeCapture())
        return;
    // The old sequence and the system sequence register their draws into bank 1, so the frame's own lists
    // in bank 0 stay as they are, and are drawn into the capture picture.
    if (!GxGraphics::PushRenderTarget(0, m_Capture.get(), m_CaptureDepth.get()))
    {
        GxGraphics::PopRenderTarget(0);
        return;
    }
    m_Core->m_RenderBank = 1;
    m_Core->ClearRenderLayers();
    manage->WalkRegisterDraw(manage->GetCurrentSequence(), 0, 0);
    if (GxSeqBase* system = manage->GetSystemSequence())
        manage->WalkRegisterDraw(system, 0, 0);
    m_Core->DrawRenderLayers();
    m_Core->ClearRenderLayers();
    m_Core->m_RenderBank = 0;
    GxGraphics::PopRenderTarget(0);
}

void GxCoreScreenService::DrawCapturedScreen(uint32_t argb)
{
    if (!m_Capture || !m_Capture->GetD3DResource())
        return;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    const GxFRect source = {0.0f, 0.0f, static_cast<float>(GxCore::kVirtualWidth),
                            static_cast<float>(GxCore::kVirtualHeight)};
    GxGraphics::DrawSprite(m_Capture.get(), 0.0f, 0.0f, source, GxVector2(1.0f, 1.0f), GxVector3(0.0f, 0.0f, 0.0f),
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
        m_Core->m_UserData->m_DialogResult = result;
}

void GxCoreScreenService::ReleaseCapture()
{
    if (m_Capture)
        m_Capture->ReleaseAll();
    if (m_CaptureDepth)
        m_CaptureDepth->ReleaseAll();
    m_Capture.reset();
    m_CaptureDepth.reset();
}
