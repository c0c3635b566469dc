#include "core/GxCore.h"

#include "animation/GxNcAnimationPools.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "graphics/GxDisplaySettings.h"
#include "media/GxSound.h"

bool GxCore::OnPreInit()
{
    // The device log starts afresh on every run; the other two grow across runs unless asked not to.
    GxLog::DeleteDeviceLog();
    if (m_SystemConfig->m_CleanErrorLog)
    {
        GxLog::DeleteDebugLog();
        GxLog::DeleteErrorLog();
    }
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    ds.m_WindowWidth = kVirtualWidth;
    ds.m_WindowHeight = kVirtualHeight;
    ds.m_BackBufferWidth = kVirtualWidth;
    ds.m_BackBufferHeight = kVirtualHeight;
    ds.m_CursorMode = 1;
    ds.m_ScreenMode = SCRMODE_WINDOW;
    ds.m_RequestScreenMode = SCRMODE_WINDOW;
    ds.m_VSyncInterval = 1;
    ds.m_LockableBackBuffer = false;
    ds.m_TextureBits = 32;
    ds.m_BackBufferBits = 32;
    ds.m_DepthStencilBits = 24;
    ds.m_RefreshRate = 60;
    ds.m_SquareTextures = false;
    ds.m_MultiSampleMode = 0;
    ds.m_SwapEffect = 2;
    m_FrameTimer.m_TargetRate = 60;
    m_FrameTimer.m_UpdateRate = 60;
    return true;
}

bool GxCore::OnGameInit()
{
    if (m_SystemConfig->m_SkipSlightError)
        GxLog::SetSkipSlightError(true);
    g_BGMRestrainFactor = 100;
    // FIXME: tables, fonts, image sets, user settings, progress, script, screens, game core, the switch
    // to the boot screen and the random seeds belong here as their subsystems arrive.

    GxNcAnimationPools::Fill(*m_SystemConfig);

    // Last: nothing loaded during start-up goes through the cache.
    GxFile::SetCacheEnabled(true);
    return true;
}

bool GxCore::OnGameTerm()
{
    g_BGMRestrainFactor = 100;
    GxNcAnimationPools::Empty();
    // FIXME: release the fonts, script runtime, pools, render targets and game core as they arrive.
    return true;
}
