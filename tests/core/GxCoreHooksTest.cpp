// The game's start-up and shut-down hooks on a generated game folder (tools/samplegen) and on an empty
// one, with a real device on a hidden window.
#include "adventure/AvgSharedState.h"
#include "animation/GxNcEffectPool.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBTestSupport.h"
#include "appdata/GxDebugConsoleOutputEx.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxCrtRandom.h"
#include "core/GxFile.h"
#include "core/GxFileCache.h"
#include "core/GxRandom.h"
#include "core/GxTimeSource.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "platform/PfInputScript.h"
#include "platform/PfSignal.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "strategy/ZorCore.h"
#include "support/SampleGameCache.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

namespace
{

void ResetAllTables()
{
    dbtest::ResetTables(g_DBAvgChar, g_DBBGMMode, g_DBCGMode, g_DBRPMode, g_DBUIModule, g_DBUILayout, g_DBEffect,
                        g_DBZorEnemy, g_DBZorSkill, g_DBZorStruct, g_DBZorUnit, g_DBZorVoice, g_DBZorTown,
                        g_DBZorCommand);
}

size_t Resources()
{
    return GxD3DResourceManage::GetInstance().GetCount();
}

} // namespace

class GxCoreHooks : public KvGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvGraphicsFixture::SetUp();
        ResetAllTables();
        m_Game = Path("game");
        std::filesystem::create_directories(m_Game);
        m_OldDir = std::filesystem::current_path();
        GxLog::ResetErrorCount();
    }
    void TearDown() override
    {
        Stop();
        GxLog::SetConsole(nullptr);
        GxFile::SetCacheEnabled(false);
        ResetAllTables();
        KvGraphicsFixture::TearDown();
    }
    // The core as its start-up leaves it just before the game's hook: configuration read in the game
    // folder, user data, task manager and device present.
    void Start()
    {
        std::filesystem::current_path(m_Game);
        m_Core = std::make_unique<GxCore>();
        m_Core->m_SystemConfig = new GxSystemConfig();
        m_Core->m_SystemConfig->LoadSysConf();
        m_Core->m_SystemConfig->LoadSetting();
        m_Core->m_UserConfig = new GxUserConfig();
        m_Core->m_UserDataPerman = new GxUserDataPerman(m_Core.get());
        m_Core->m_SavePath = Folder();
        m_Core->m_TaskManage = new GxTaskManage(m_Core.get());
        m_Core->m_StartUpProbe = m_Probe;
        m_ResourcesBefore = Resources();
        EXPECT_TRUE(m_Core->OnGameInit());
    }
    // The task manager goes before the hook, as at shut-down; the core then deletes its configuration.
    void Stop()
    {
        if (!m_Core)
            return;
        delete m_Core->m_TaskManage;
        m_Core->m_TaskManage = nullptr;
        EXPECT_TRUE(m_Core->OnGameTerm());
        m_Core.reset();
        std::filesystem::current_path(m_OldDir);
    }

    std::unique_ptr<GxCore> m_Core;
    // Handed to the core as its start-up probe.
    std::function<void(const wchar_t*)> m_Probe;
    std::string m_Game;
    std::filesystem::path m_OldDir;
    size_t m_ResourcesBefore = 0;
};

TEST_F(GxCoreHooks, PreInitRecreatesTheDeviceLogAndKeepsTheErrorLogUnlessCleaned)
{
    for (bool clean : {false, true})
    {
        SCOPED_TRACE(clean ? "CleanErrorLog on" : "CleanErrorLog off");
        GxLog::AppendText(GxLog::GetDeviceLogPath(), L"old device line\n");
        GxLog::AppendText(GxLog::GetErrorLogPath(), L"old error line\n");
        GxSystemConfig config;
        config.m_CleanErrorLog = clean;
        GxCore core;
        core.m_SystemConfig = &config;
        core.m_FrameTimer.m_TargetRate = core.m_FrameTimer.m_UpdateRate = 10;
        GxDisplaySettings::Get().m_ScreenMode = SCRMODE_FULLSCREEN;
        EXPECT_TRUE(core.OnPreInit());
        core.m_SystemConfig = nullptr;
        GxLog::Error(L"new error line\n");

        EXPECT_FALSE(Logged(L"old device line", "device.log"));
        EXPECT_EQ(Logged(L"old error line"), !clean);
        EXPECT_TRUE(Logged(L"new error line"));
        const GxDisplaySettings& ds = GxDisplaySettings::Get();
        EXPECT_EQ(std::vector<uint32_t>({ds.m_BackBufferWidth, ds.m_WindowHeight, ds.m_ScreenMode, ds.m_CursorMode,
                                         ds.m_DepthStencilBits, ds.m_SwapEffect}),
                  std::vector<uint32_t>({1024, 768, SCRMODE_WINDOW, 1, 24, 2}));
        EXPECT_EQ(core.m_FrameTimer.m_TargetRate + core.m_FrameTimer.m_UpdateRate, 120);
    }
}

TEST_F(GxCoreHooks, GameInitLoadsTheSampleGameAndTermGivesEverythingBack)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Game));
    g_SkipMode = 1;
    g_AutoWaitLeft = 500;
    GxSeqBase::SetOpenDialogCount(3);
    Start();

    EXPECT_EQ(GxLog::GetErrorCount(), 0u);
    EXPECT_EQ(GxLog::GetConsole(), &GxDebugConsoleOutputEx::GetInstance());
    EXPECT_EQ(g_SkipMode + g_AutoWaitLeft + GxSeqBase::GetOpenDialogCount(), 0);
    // Tables, the strategy game's UI rows in the same tables as the front end's.
    EXPECT_EQ(g_DBUIModule.GetRow(1)->m_ModuleName, L"btn_title_start");
    EXPECT_EQ(g_DBUIModule.GetRow(128)->m_ModuleName, L"lbox_command");
    EXPECT_EQ(g_DBUILayout.GetRow(256)->m_ParentName, L"$ZORCOMMAND:SeqZorCommand");
    for (const GxDBBase* table : std::initializer_list<const GxDBBase*>{
             &g_DBAvgChar, &g_DBBGMMode, &g_DBCGMode, &g_DBRPMode, &g_DBEffect, &g_DBZorEnemy, &g_DBZorSkill,
             &g_DBZorStruct, &g_DBZorUnit, &g_DBZorVoice, &g_DBZorTown, &g_DBZorCommand})
        EXPECT_GT(table->GetMaxID(), 0) << table->GetClassName();
    // Six bitmap fonts with their pictures, six font maps at the configured sizes.
    const uint32_t cellHeights[6] = {16, 16, 16, 16, 36, 16};
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(g_FontDataTable[i].GetCellHeight(), cellHeights[i]) << i;
        EXPECT_GT(g_FontDataTable[i].GetTexture()->GetWidth(), 0u) << i;
        EXPECT_EQ(g_GDIFontMaps[i].GetSize(), m_Core->m_SystemConfig->m_FontSize[i]) << i;
    }
    EXPECT_GT(Resources(), m_ResourcesBefore);
    ASSERT_NE(g_MoaInstance, nullptr);
    EXPECT_NE(g_MoaInstance->FindLabel(L"MAIN"), nullptr);
    // The three common sets pooled, the icons indexed, the effects loaded, the strategy core made.
    for (const wchar_t* set : {L"uigis/ui_common.gis", L"uigis/ui_avgmain.gis", L"uigis/ui_iconpool.gis"})
        EXPECT_NE(GxNcImageSetPool::Find(set), nullptr) << GxString::ToUtf8(set);
    EXPECT_NE(GxNcIconPool::Find(L"icon_gold"), nullptr);
    EXPECT_GT(GxNcEffectPool::GetCount(), 0u);
    EXPECT_NE(ZorCore::GetInstance(), nullptr);

    // The system sequence first, then the others under the root in their order; "+" marks the screens that
    // build a subtree of their own (folders, layers, widgets).
    GxTaskManage* manage = m_Core->m_TaskManage;
    std::wstring names;
    for (GxTaskBase* t = manage->GetRootTask()->GetFirstChild(); t; t = t->GetNextSibling())
        names += t->GetTaskName() + (t->GetFirstChild() ? L"+ " : L" ");
    EXPECT_EQ(names, L"SeqSystem+ SeqBoot SeqTitle+ SeqOpening+ SeqAvgMain+ SeqAvgLog+ SeqConfig+ SeqSave+ SeqLoad+ "
                     L"SeqQuickLoad+ SeqCGMode+ SeqCGModeView+ SeqRPMode+ SeqBGMMode+ SeqZorLoader+ SeqZorReleaser+ "
                     L"SeqZorMain+ SeqZorCommand+ SeqZorStrategy+ SeqZorInvLoader+ SeqZorInvReleaser+ SeqZorInvMain+ "
                     L"SeqZorTakeOver+ ");
    EXPECT_EQ(manage->GetSystemSequence(), manage->FindTaskByName(L"SeqSystem"));
    EXPECT_TRUE(manage->IsChangeSequencePending());
    EXPECT_EQ(manage->GetPendingSequence(), manage->FindTaskByName(L"SeqBoot"));
    // The cache is on, but nothing start-up loaded went into it.
    EXPECT_EQ(GxFile::GetCache().GetEntryCount(), 0u);

    Stop();
    EXPECT_EQ(GxNcImageSetPool::Find(L"uigis/ui_common.gis"), nullptr);
    EXPECT_EQ(GxNcIconPool::Find(L"icon_gold"), nullptr);
    EXPECT_EQ(GxNcEffectPool::GetCount() + (ZorCore::GetInstance() ? 1 : 0), 0u);
    EXPECT_EQ(g_MoaInstance, nullptr);
    EXPECT_EQ(g_FontDataTable[0].GetCellHeight(), 0u);
    EXPECT_EQ(g_GDIFontMaps[1].GetPageCount(), 0u);
    EXPECT_EQ(Resources(), m_ResourcesBefore);
    EXPECT_EQ(ReadLog("error.log"), L"");
}

// A termination signal during the game's start-up stops it at the next step, before the screens are built;
// the player's files are written back at shut-down only once they have been read, so a stop before them
// leaves the player's options and progress as they were.
TEST_F(GxCoreHooks, ASignalDuringGameInitStopsAtTheNextStepAndWritesBackOnlyWhatWasRead)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Game));
    GxUserConfig options;
    options.m_Volume_BGM = 35;
    ASSERT_TRUE(options.Save(Folder() + L"userconf.dat"));
    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(40, L"main");
    ASSERT_TRUE(progress.Save(Folder() + L"permanent.dat", true));
    PfSignal::Install();
    for (auto [cutAt, read] : {std::pair{L"player's files", false}, {L"screens", true}})
    {
        SCOPED_TRACE(GxString::ToUtf8(cutAt));
        PfSignal::ClearQuitRequest();
        m_Probe = [cutAt = std::wstring(cutAt)](const wchar_t* step)
        {
            if (step == cutAt)
                std::raise(SIGTERM);
        };
        Start();
        EXPECT_TRUE(m_Core->m_Quit);
        EXPECT_EQ(m_Core->m_TaskManage->GetRootTask(), nullptr);
        EXPECT_FALSE(m_Core->m_TaskManage->IsChangeSequencePending());
        EXPECT_EQ(m_Core->m_UserConfig->m_Volume_BGM, read ? 35 : 80);
        EXPECT_EQ(m_Core->m_UserDataPerman->IsReadedMessage(L"main", 40), read);
        EXPECT_TRUE(m_Core->SaveAtExit());
        Stop();
        GxUserConfig kept;
        ASSERT_TRUE(kept.Load(Folder() + L"userconf.dat"));
        EXPECT_EQ(kept.m_Volume_BGM, 35);
        GxUserDataPerman keptProgress(nullptr);
        ASSERT_TRUE(keptProgress.Load(Folder() + L"permanent.dat"));
        EXPECT_TRUE(keptProgress.IsReadedMessage(L"main", 40));
    }
    m_Probe = nullptr;
    PfSignal::ClearQuitRequest();
    std::signal(SIGTERM, SIG_DFL);
}

TEST_F(GxCoreHooks, EmptyFolderLogsEachMissingFileAndStillStarts)
{
    Start();
    const std::wstring log = ReadLog("error.log");
    for (const wchar_t* file :
         {L"db_avgchar.txt", L"db_uimodule.txt", L"db_uimodule_zor.txt", L"db_uilayout_zor.txt", L"db_zorcommand.txt",
          L"FONT16SYS.png", L"FONT16COND.png", L"moacode.mwb", L"ui_iconpool.gis"})
        EXPECT_NE(log.find(file), std::wstring::npos) << GxString::ToUtf8(file);
    EXPECT_EQ(GxNcIconPool::Find(L"icon_gold"), nullptr); // no icon set, no icons
    EXPECT_NE(m_Core->m_TaskManage->GetSystemSequence(), nullptr);
    EXPECT_EQ(m_Core->m_TaskManage->GetPendingSequenceName(), L"SeqBoot");
    Stop();
    EXPECT_EQ(Resources(), m_ResourcesBefore);
}

TEST_F(GxCoreHooks, FullScreenOptionStartsInFullScreenAndARefusedSwitchStoresWindowed)
{
    for (bool device : {true, false})
    {
        SCOPED_TRACE(device ? "device" : "no device");
        if (!device)
            GxGraphics::Finalize(); // a device that is gone refuses every switch
        GxDisplaySettings::Get().m_ScreenMode = SCRMODE_WINDOW;
        GxUserConfig options;
        options.m_ScreenMode = 1;
        ASSERT_TRUE(options.Save(Folder() + L"userconf.dat"));
        Start();
        EXPECT_EQ(m_Core->m_UserConfig->m_ScreenMode, device ? 1 : 0);
        EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, device ? (uint32_t)SCRMODE_FULLSCREEN : SCRMODE_WINDOW);
        Stop();
    }
    ASSERT_TRUE(GxGraphics::Initialize(m_Window.GetSDLWindow(), nullptr, nullptr, nullptr));
}

TEST_F(GxCoreHooks, SeedsTakenWithinOneSecondDiffer)
{
    struct StepClock : GxTimeSource
    {
        uint64_t GetTimeMs() override { return m_Now++; }
        void Sleep(uint32_t) override {}
        uint64_t m_Now = 1000;
    } clock;
    GxCore core;
    core.m_SeedClock = &clock;
    core.SeedRandomSources();
    const uint32_t first = GxRandom::NextU32();
    const int32_t firstCrt = GxCrtRandom::Next();
    core.SeedRandomSources();
    EXPECT_NE(GxRandom::NextU32(), first);
    EXPECT_NE(GxCrtRandom::Next(), firstCrt);
    EXPECT_EQ(clock.m_Now, 1004u); // each source reads the clock once per seeding
}

// A scripted run replays: seeding at the same virtual time gives the same draws, whatever the wall clock.
TEST_F(GxCoreHooks, ScriptedRunSeedsFromItsVirtualClock)
{
    const std::string path = (std::filesystem::temp_directory_path() / "kv_seed_script.txt").string();
    std::ofstream(path) << "10 key X\n";
    setenv("KV_INPUT_SCRIPT", path.c_str(), 1);
    ASSERT_TRUE(PfInputScript::StartFromEnvironment());
    GxCore core;
    core.SeedRandomSources();
    const uint32_t first = GxRandom::NextU32();
    const int32_t firstCrt = GxCrtRandom::Next();
    usleep(2000); // the wall clock has moved on by a few milliseconds
    core.SeedRandomSources();
    EXPECT_EQ(GxRandom::NextU32(), first);
    EXPECT_EQ(GxCrtRandom::Next(), firstCrt);
    PfInputScript::Stop();
    unsetenv("KV_INPUT_SCRIPT");
    std::filesystem::remove(path);
}
