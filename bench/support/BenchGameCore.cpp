#include "support/BenchGameCore.h"

#include "support/BenchSampleGame.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCoreScreenService.h"
#include "core/GxString.h"
#include "task/GxTaskManage.h"

#include <cstdlib>
#include <filesystem>

BenchGameCore::~BenchGameCore()
{
    m_Core.reset();
    std::error_code ignored;
    if (!m_SaveFolder.empty())
        std::filesystem::remove_all(m_SaveFolder, ignored);
}

bool BenchGameCore::Start()
{
    std::filesystem::current_path(BenchSampleGame::Folder());
    char pattern[] = "/tmp/kv_bench_saveXXXXXX";
    if (!mkdtemp(pattern))
        return false;
    m_SaveFolder = pattern;
    m_Core = std::make_unique<GxCore>();
    GxCore* core = m_Core.get();
    g_Core = core;
    core->m_SystemConfig = new GxSystemConfig();
    core->m_SystemConfig->LoadSysConf();
    core->m_SystemConfig->LoadSetting();
    core->m_UserConfig = new GxUserConfig();
    core->m_UserData = new GxUserData(core);
    core->m_UserDataPerman = new GxUserDataPerman(core);
    core->m_SavePath = GxString::FromUtf8(m_SaveFolder) + L"/";
    core->m_TaskManage = new GxTaskManage(core);
    core->m_TaskManage->SetRenderLists(core->m_RenderManage, &core->m_RenderBank);
    core->m_TaskManage->SetScreenService(core->GetScreenService());
    return core->OnGameInit();
}
