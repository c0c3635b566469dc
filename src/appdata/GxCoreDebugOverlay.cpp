// The developer's overlay of the core, drawn by the system screen while the debug console is switched on.
#include "core/GxCore.h"

#include "appdata/GxDebugConsoleOutputEx.h"
#include "appdata/GxDebugOverlay.h"
#include "core/GxLog.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxGDIFontMap.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"

void GxCore::DrawDebugOverlay(float x, float y)
{
    GxDebugOverlayState state;
    state.m_ErrorCount = GxLog::GetErrorCount();
    state.m_ResourceBytes = GxD3DResourceManage::GetInstance().GetTotalSize();
    // FIXME: the user data's hold values (m_Hold_WaitClick .. m_Hold_EndOfVoice and the layer name) join
    // the status line once the user data holds them; until then every hold shows as 0.
    state.m_Worker = g_MoaMainWorker;
    state.m_ErrorStop = g_MoaInstance && g_MoaInstance->m_ErrorStop != 0;
    state.m_ConsoleLines = GxDebugConsoleOutputEx::GetInstance().GetLines();
    GxGDIFontMap& map = g_GDIFontMaps[1];
    GxDebugOverlay::Draw(GxDebugOverlay::BuildLines(state, map.GetSize()), x, y, &map);
}
