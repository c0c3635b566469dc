#include "core/GxCore.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
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
    // FIXME: display defaults (1024 x 768 window and back buffer, arrow cursor, windowed, VSync 1,
    // 32-bit colour, 24-bit depth, 60 Hz, flip) once the graphics device holds the display settings.
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
