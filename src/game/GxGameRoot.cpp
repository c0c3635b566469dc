#include "game/GxGameRoot.h"

#include "adventure/AvgSharedState.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "adventure/SeqAvgLog.h"
#include "adventure/SeqAvgMain.h"
#include "adventure/SeqBGMMode.h"
#include "adventure/SeqBoot.h"
#include "adventure/SeqCGMode.h"
#include "adventure/SeqCGModeView.h"
#include "adventure/SeqConfig.h"
#include "adventure/SeqLoad.h"
#include "adventure/SeqOpening.h"
#include "adventure/SeqQuickLoad.h"
#include "adventure/SeqRPMode.h"
#include "adventure/SeqSave.h"
#include "adventure/SeqSystem.h"
#include "adventure/SeqTitle.h"
#include "animation/GxNcAnimationPools.h"
#include "animation/GxNcCallbackSystemSound.h"
#include "animation/GxNcEffectPool.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBAvgChar.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBEffect.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"
#include "appdata/GxDebugConsoleOutputEx.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "media/GxSound.h"
#include "script/GxMoaHost.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/ZorScriptBuiltins.h"
#include "strategy/ZorStrategyGame.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorCommand.h"
#include "strategy/screens/SeqZorInvLoader.h"
#include "strategy/screens/SeqZorInvMain.h"
#include "strategy/screens/SeqZorInvReleaser.h"
#include "strategy/screens/SeqZorLoader.h"
#include "strategy/screens/SeqZorMain.h"
#include "strategy/screens/SeqZorReleaser.h"
#include "strategy/screens/SeqZorStrategy.h"
#include "strategy/screens/SeqZorTakeOver.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

namespace
{

// The six bitmap fonts of the interface: slot, image name (font folder + name + ".png"), code range,
// cell size and cells per row of the picture.
struct BitmapFontSpec
{
    const wchar_t* m_Name;
    uint32_t m_First;
    uint32_t m_Last;
    uint32_t m_CellWidth;
    uint32_t m_CellHeight;
    uint32_t m_Columns;
};

const BitmapFontSpec s_BitmapFonts[] = {
    {L"FONT16SYS", 32, 126, 8, 16, 16}, {L"FONT8NUM", 32, 57, 8, 16, 7},   {L"FONT16NUM", 32, 57, 12, 16, 8},
    {L"FONT16ANSI", 32, 90, 14, 16, 8}, {L"FONT24NUM", 47, 57, 24, 36, 5}, {L"FONT16COND", 47, 57, 16, 16, 8},
};

// The sound keys of played effects: once, at the player's sound-effect volume.
void PlayEffectSound(const std::wstring& path)
{
    const int32_t volume = (g_Core && g_Core->m_UserConfig) ? g_Core->m_UserConfig->GetSoundVolume() : 0;
    GxSound::PlayOneShot(nullptr, path, 0, 0, 0, volume, 0);
}

} // namespace

GxGameRoot& GxGameRoot::Get()
{
    static GxGameRoot s_Root;
    return s_Root;
}

void GxGameRoot::Install()
{
    GxCore::SetGameHooks(&Get());
    // The front end reaches the strategy game (saves, resets, "zor_" builtins) through its interface.
    GxStrategyGame::Register(&ZorStrategyGame::Get());
    GxNcCallbackSystemSound::SetSoundPlayer(&PlayEffectSound);
}

// Start-up after every device exists. No failure stops it: each loader logs its own failures and the game
// runs with what could be loaded. A termination signal does, at the next step (GxCore::IsStartUpCut): the
// shut-down then follows, and writes back only the player's files that were read.
bool GxGameRoot::OnGameInit(GxCore& core)
{
    if (core.m_SystemConfig->m_SkipSlightError)
        GxLog::SetSkipSlightError(true);
    GxLog::SetConsole(&GxDebugConsoleOutputEx::GetInstance());

    if (core.m_SystemConfig->m_AutoCompile)
        CompileScripts();
    if (core.IsStartUpCut(L"tables"))
        return true;

    GxDisplaySettings::Get().m_CursorMode = 1;
    core.OnSetCursor();
    ResetAvgSharedState();

    GxNcAnimationPools::EmptyImageSets();
    // Without a device there is nothing to make them from; the capture then has no target.
    if (GxGraphics::IsInitialized())
        CreateGlobalRenderTargets();

    g_BGMRestrainFactor = 100;

    g_DBAvgChar.Load(L"data/db_avgchar.txt");
    g_DBBGMMode.Load(L"data/db_bgmmode.txt");
    g_DBCGMode.Load(L"data/db_cgmode.txt");
    g_DBRPMode.Load(L"data/db_rpmode.txt");
    g_DBUIModule.Load(L"data/db_uimodule.txt");
    g_DBUILayout.Load(L"data/db_uilayout.txt");
    g_DBEffect.Load(L"data/db_effect.txt");

    ZorCore::Create(&core, core.m_TaskManage);

    // The strategy game's UI rows go into the same two tables as the front end's (their IDs lie above).
    g_DBUIModule.Load(L"data/db_uimodule_zor.txt");
    g_DBUILayout.Load(L"data/db_uilayout_zor.txt");
    g_DBZorEnemy.Load(L"data/db_zorenemy.txt");
    g_DBZorSkill.Load(L"data/db_zorskill.txt");
    g_DBZorStruct.Load(L"data/db_zorstruct.txt");
    g_DBZorUnit.Load(L"data/db_zorunit.txt");
    g_DBZorVoice.Load(L"data/db_zorvoice.txt");
    g_DBZorTown.Load(L"data/db_zortown.txt");
    g_DBZorCommand.Load(L"data/db_zorcommand.txt");

    if (core.IsStartUpCut(L"maps"))
        return true;
    ZorMapData::LoadAllMaps();
    ZorCore::GetInstance()->GetUserData()->InitNewGame();
    // Nothing is loaded yet; this puts the stage loader back at the pool's first entry.
    ZorMapModelPool::ReleaseAll();
    static ZorNcProjectFactorySource s_UnitProjects;
    ZorNcPoolUnit::SetProjectSource(&s_UnitProjects);
    ZorNcPoolUnit::Initialize();
    ZorScriptBuiltins::SetSaveFolder(core.m_SavePath);
    ZorScriptBuiltins::SetExtraOption(&core.m_UserDataPerman->m_ExtraOption);

    if (core.IsStartUpCut(L"fonts"))
        return true;
    ReleaseGlobalFonts();
    const std::wstring& fontDir = core.m_SystemConfig->GetFontDir();
    for (size_t i = 0; i < std::size(s_BitmapFonts); ++i)
    {
        const BitmapFontSpec& f = s_BitmapFonts[i];
        g_FontDataTable[i].Create(f.m_Name, fontDir + f.m_Name + L".png", f.m_First, f.m_Last, f.m_CellWidth,
                                  f.m_CellHeight, f.m_Columns);
    }
    for (int i = 0; i < GxSystemConfig::kFontSizes; ++i)
        g_GDIFontMaps[i].SetFont(core.m_SystemConfig->m_FontSize[i], nullptr);

    if (core.IsStartUpCut(L"script program"))
        return true;
    GxMoaBuiltinEx::Install();
    CreateMoa(&core);
    LoadMoaCode();

    if (core.IsStartUpCut(L"image sets"))
        return true;
    // The common sets live in the UI image-set folder ("uigis/").
    const std::wstring& uiSets = core.m_SystemConfig->GetString(SYSSTR_UIGIS_DIR);
    GxNcImageSetPool::Add(uiSets + L"ui_common.gis");
    GxNcImageSetPool::Add(uiSets + L"ui_avgmain.gis");
    GxNcImageSetPool::Add(uiSets + L"ui_iconpool.gis");
    // Null when the icon set failed to load: the icon pool then stays empty.
    GxNcIconPool::Build(GxNcImageSetPool::Find(uiSets + L"ui_iconpool.gis"));
    if (core.IsStartUpCut(L"effects"))
        return true;
    GxNcEffectPool::LoadAllEffect(core.m_SystemConfig->GetGncDir(), core.m_SystemConfig->GetGisDir());
    if (core.IsStartUpCut(L"player's files"))
        return true;

    // Progress first, then the options, so the saves at shut-down write back what was read, never
    // defaults over the player's files. A missing file is a first run; a damaged one has been logged and
    // kept aside, and the defaults stand. Both are read from where shut-down writes them: without a save
    // folder (it could not be made) that is the game folder itself.
    core.m_UserDataPerman->Load(core.m_SavePath + L"permanent.dat");
    core.m_UserConfig->Load(core.m_SavePath + L"userconf.dat");

    // A player who left in full screen comes back to it; a screen that refuses it leaves the options
    // saying windowed, so the next run does not try again.
    if (core.m_UserConfig->m_ScreenMode == 1 && GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN))
        core.m_UserConfig->m_ScreenMode = 1;
    else
        core.m_UserConfig->m_ScreenMode = 0;

    if (core.IsStartUpCut(L"screens"))
        return true;
    // The root, then the system sequence, which every screen relies on, then the screens in a fixed order.
    GxTaskBase* root = new GxTaskBase(core.m_TaskManage);
    new SeqSystem(root);
    GxTaskBase* system = core.m_TaskManage->FindTaskByName(L"SeqSystem");
    if (system && (system->GetTaskKind() & GX_TASKKIND_SEQUENCE))
        core.m_TaskManage->SetSystemSequence(static_cast<GxSeqBase*>(system));
    new SeqBoot(root);
    new SeqTitle(root);
    new SeqOpening(root);
    new SeqAvgMain(root);
    new SeqAvgLog(root);
    new SeqConfig(root);
    new SeqSave(root);
    new SeqLoad(root);
    new SeqQuickLoad(root);
    new SeqCGMode(root);
    new SeqCGModeView(root);
    new SeqRPMode(root);
    new SeqBGMMode(root);
    new SeqZorLoader(root);
    new SeqZorReleaser(root);
    new SeqZorMain(root);
    new SeqZorCommand(root);
    new SeqZorStrategy(root);
    new SeqZorInvLoader(root);
    new SeqZorInvReleaser(root);
    new SeqZorInvMain(root);
    new SeqZorTakeOver(root);

    if (GxTaskBase* boot = core.m_TaskManage->FindTaskByName(L"SeqBoot"))
        core.m_TaskManage->ChangeSequence(boot, 0, 0);
    else
        GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", L"SeqBoot");

    core.SeedRandomSources();

    // Last: nothing loaded during start-up goes through the cache.
    GxFile::SetCacheEnabled(true);
    return true;
}

// Shut-down after the task manager, and with it every sequence, has gone: nothing references the pools.
bool GxGameRoot::OnGameTerm(GxCore&)
{
    ReleaseGlobalFonts();
    DestroyMoa();
    GxNcAnimationPools::EmptyImageSets();
    ReleaseGlobalRenderTargets();
    g_BGMRestrainFactor = 100;
    GxNcAnimationPools::EmptyEffects();
    ZorNcPoolUnit::ReleaseAll();
    ZorMapModelPool::ReleaseAll();
    ZorCore::Destroy();
    return true;
}
