#include "core/GxCore.h"

#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "media/GxSound.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorUserData.h"

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
    // FIXME: tables, fonts, image sets, script, screens, the switch to the boot screen and the random
    // seeds belong here as their subsystems arrive.

    if (GxGraphics::IsInitialized())
        CreateGlobalRenderTargets();

    // Strategy game: the core (it owns the state), the dungeon maps, a defined state, the unit pool.
    ZorCore::Create(this, m_TaskManage);
    ZorMapData::LoadAllMaps();
    ZorCore::GetInstance()->GetUserData()->InitNewGame();
    ZorNcPoolUnit::Initialize();

    // The player's progress and options, so the saves at shut-down write back what was read, never
    // defaults over the player's files. A missing file is a first run; a damaged one has been logged
    // (and the progress kept aside) and the defaults stand.
    if (!m_SavePath.empty())
    {
        m_UserDataPerman->Load(m_SavePath + L"permanent.dat");
        m_UserConfig->Load(m_SavePath + L"userconf.dat");
    }

    // Last: nothing loaded during start-up goes through the cache.
    GxFile::SetCacheEnabled(true);
    return true;
}

bool GxCore::OnGameTerm()
{
    g_BGMRestrainFactor = 100;
    ReleaseGlobalFonts();
    // FIXME: release the script runtime and the image-set and effect pools as they arrive.
    ReleaseGlobalRenderTargets();
    ZorNcPoolUnit::ReleaseAll();
    ZorMapModelPool::ReleaseAll();
    ZorCore::Destroy();
    return true;
}
