#include "core/GxCore.h"

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
    GxDisplaySettings& display = GxDisplaySettings::Get();
    display.m_WindowWidth = 1024;
    display.m_WindowHeight = 768;
    display.m_BackBufferWidth = 1024;
    display.m_BackBufferHeight = 768;
    display.m_CursorMode = 1;
    display.m_ScreenMode = SCRMODE_WINDOW;
    display.m_RequestScreenMode = SCRMODE_WINDOW;
    display.m_VSyncInterval = 1;
    display.m_LockableBackBuffer = false;
    display.m_TextureBits = 32;
    display.m_BackBufferBits = 32;
    display.m_DepthStencilBits = 24;
    display.m_RefreshRate = 60;
    display.m_SquareTextures = false;
    display.m_MultiSampleMode = 0;
    display.m_SwapEffect = 2;
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

    // Last: nothing loaded during start-up goes through the cache.
    GxFile::SetCacheEnabled(true);
    return true;
}

bool GxCore::OnGameTerm()
{
    g_BGMRestrainFactor = 100;
    // FIXME: release the fonts, script runtime, pools, render targets and game core as they arrive.
    return true;
}
