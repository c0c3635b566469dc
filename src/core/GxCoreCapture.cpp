#include "core/GxCore.h"

#include "appdata/GxGlobalRenderTargets.h"
#include "graphics/GxGraphics.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

// Draws the scene into the first global render texture through render bank 1, so the lists of the frame
// being built in bank 0 stay as they are: the current sequence, then the system sequence, as a frame
// registers them.
bool GxCore::CaptureScreen()
{
    GxGlobalRenderTargets& targets = g_GlobalRenderTargets;
    targets.m_Capturing = true;
    GxGraphics::PushRenderTarget(0, &targets.m_RenderTexture[0], &targets.m_DepthStencil);
    const int32_t bank = m_RenderBank;
    m_RenderBank = 1;
    ClearRenderLayers();
    if (m_TaskManage)
    {
        if (GxTaskBase* current = m_TaskManage->GetCurrentSequence())
            m_TaskManage->WalkRegisterDraw(current, 0, 0);
        if (GxTaskBase* system = m_TaskManage->GetSystemSequence())
            m_TaskManage->WalkRegisterDraw(system, 0, 0);
    }
    DrawRenderLayers();
    ClearRenderLayers();
    m_RenderBank = bank;
    const bool popped = GxGraphics::PopRenderTarget(0);
    targets.m_Capturing = false;
    return popped;
}
