// The developer's overlay of the core, drawn by the system screen while the debug console is switched on.
#include "core/GxCore.h"

#include "appdata/GxDebugConsoleOutputEx.h"
#include "appdata/GxDebugOverlay.h"
#include "appdata/GxUserData.h"
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
    if (const GxUserData* data = m_UserData)
    {
        GxDebugOverlayHolds& h = state.m_Holds;
        h.m_WaitClick = data->m_Hold_WaitClick;
        h.m_WaitTime = data->m_Hold_WaitTime;
        h.m_EndOfMovie = data->m_Hold_EndOfMovie;
        h.m_EndOfLayerActionAll = data->m_Hold_EndOfLayerActionAll;
        h.m_EndOfLayerActionSeparate = data->m_Hold_EndOfLayerActionSeparate;
        h.m_LayerName = data->m_Hold_EndOfLayerActionSeparate_LayerName;
        h.m_EndOfBGM = data->m_Hold_EndOfBGM;
        h.m_EndOfBGV = data->m_Hold_EndOfBGV;
        h.m_EndOfSE = data->m_Hold_EndOfSE;
        h.m_EndOfVoice = data->m_Hold_EndOfVoice;
    }
    state.m_Worker = g_MoaMainWorker;
    state.m_ErrorStop = g_MoaInstance && g_MoaInstance->m_ErrorStop != 0;
    state.m_ConsoleLines = GxDebugConsoleOutputEx::GetInstance().GetLines();
    GxGDIFontMap& map = g_GDIFontMaps[1];
    GxDebugOverlay::Draw(GxDebugOverlay::BuildLines(state, map.GetSize()), x, y, &map);
}
