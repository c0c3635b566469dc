// fuzz_seeds: writes the small player files the fuzz targets start from into fuzz/corpus/<target>/.
//
//   fuzz_seeds <corpus folder>
//
// The sound and movie seeds are made by soundgen and moviegen (see fuzz/make-corpus.sh); this program
// makes the files only the engine itself writes: an adventure slot in both forms, "permanent.dat",
// "userconf.dat", a strategy slot and a round file.
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    GxLog::SetErrorLogPath(L"/dev/null");
    GxLog::SetDebugLogPath(L"/dev/null");
    GxLog::SetDeviceLogPath(L"/dev/null");
    const std::filesystem::path root = argv[1];
    auto folder = [&](const char* target)
    {
        std::filesystem::create_directories(root / target);
        return root / target;
    };
    auto wide = [](const std::filesystem::path& p) { return GxString::FromUtf8(p.string()); };
    bool ok = true;

    // The adventure screen's named tasks, as folders without records of their own.
    GxCore adventure;
    GxTaskManage scene(&adventure);
    adventure.m_TaskManage = &scene;
    auto* top = new GxTaskBase(&scene);
    for (const wchar_t* name :
         {L"$VISUAL:SeqAvgMain", L"$BGLAYER:SeqAvgMain", L"$BGWLAYER:SeqAvgMain", L"$MOVIELAYER:SeqAvgMain",
          L"$GLOBALFLASH:SeqAvgMain", L"$GLOBALFADE:SeqAvgMain", L"$STAND:SeqAvgMain", L"$MESWIN:SeqAvgMain",
          L"$NAMEWIN:SeqAvgMain", L"$NAMEIMAGE:SeqAvgMain", L"$SELECT:SeqAvgMain"})
        new GxTaskFolder(top, name);
    // A fixed save time keeps the seeds the same bytes at every run.
    GxUserData::s_SaveTimeSource = [] { return std::wstring(L"2026/01/01 00:00:00"); };
    GxUserData slot(&adventure);
    slot.m_GameDataTitle = L"seed";
    slot.m_RestoreSequence = L"SeqAvgMain";
    ok &= slot.Save(wide(folder("fuzz_user_slot") / "gamedata001.gd"), true);
    ok &= slot.Save(wide(folder("fuzz_user_slot") / "gamedata_quick_text.gd"), false);

    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(12, L"main");
    progress.SetSelectedMenu(1, L"main:120");
    progress.m_ExtraOption.Set(3, true);
    ok &= progress.Save(wide(folder("fuzz_user_permanent") / "permanent.dat"), true);
    ok &= progress.Save(wide(folder("fuzz_user_permanent") / "permanent_text.dat"), false);

    GxUserConfig config;
    config.m_Volume_BGM = 40;
    ok &= config.Save(wide(folder("fuzz_user_config") / "userconf.dat"));

    {
        GxTaskManage manage(nullptr);
        auto* root = new GxTaskBase(&manage);
        for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList,
                                    ZorCore::kSavedUnitList})
            new GxTaskBase(root, name);
        auto core = std::make_unique<ZorCore>(nullptr, &manage);
        core->GetUserData()->InitNewGame();
        ok &= core->SaveGameData(wide(folder("fuzz_strategy_save") / "zordata001.gd"), true);
        ok &= core->SaveGameData(wide(folder("fuzz_strategy_save") / "zordata_text.gd"), false);
        ok &= core->SaveRoundData(wide(folder("fuzz_strategy_save") / "round.gd"), true);
    }
    adventure.m_TaskManage = nullptr;
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: a seed could not be written\n");
    return ok ? 0 : 1;
}
