// The defence map's frame on the device (llvmpipe under the offscreen driver), on the sample game's
// first map extended to its last level, with about 300 units and room effects in every open room:
//  - one frame at double speed: the rules' UpdateDefence(2), then the room models, the room effects, the
//    unit sprites and the gauges drawn and the device finished; set beside the 16.7 ms of a frame at
//    60 Hz (the x_frame counter: the share of a frame it takes);
//  - the unit sprites alone, queued into the sorted list (farthest first) against the same packets
//    appended in list order.
#include "animation/GxNcEffectPool.h"
#include "appdata/DBEffect.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "core/GxLog.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "platform/PfWindow.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapOverlay.h"
#include "strategy/screens/ZorTaskMapUnit.h"
#include "strategy/screens/ZorTaskMapView.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

// The generated game, removed at exit. The path lives on the heap and is never freed, so the exit handler
// can still read it after the function's statics are gone.
const std::filesystem::path& Folder()
{
    static const std::filesystem::path* s_Folder = []
    {
        auto* folder = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                                 ("kv_bench_zormap_" + std::to_string(getpid())));
        std::filesystem::create_directories(*folder);
        const char* tools = std::getenv("KV_TOOLS_DIR");
        std::filesystem::path tool =
            tools ? std::filesystem::path(tools)
                  : std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools";
        if (std::system(((tool / "samplegen").string() + " '" + folder->string() + "' > /dev/null").c_str()) != 0)
            std::abort();
        return folder;
    }();
    static const bool s_Removed = std::atexit(
        []
        {
            std::error_code ignored;
            std::filesystem::remove_all(*s_Folder, ignored);
        }) == 0;
    (void)s_Removed;
    return *s_Folder;
}

std::wstring Path(const std::string& file)
{
    return GxString::FromUtf8((Folder() / file).string());
}

intptr_t Proc(PfWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam, void*)
{
    return window->DefWindowProc(message, wParam, lParam);
}

struct Stage
{
    PfWindow window;
    bool ready = false;
    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    std::unique_ptr<ZorCore> core;
    ZorNcProjectFactorySource projects;
    ZorTaskCamera* camera = nullptr;
    ZorTaskMapView* view = nullptr;
    ZorTaskMapUnit* units = nullptr;
    ZorTaskMapOverlay* overlay = nullptr;

    Stage()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        GxLog::SetErrorLogPath(L"/dev/null");
        GxLog::SetDeviceLogPath(L"/dev/null");
        GxDisplaySettings& ds = GxDisplaySettings::Get();
        ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
        ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
        ds.m_SwapEffect = 2;
        ds.m_VSyncInterval = 0;
        ready = window.Create("ZorMapFrameBench", 1024, 768, PfWindowStyle::Framed, &Proc, nullptr) &&
                GxGraphics::Initialize(window.GetSDLWindow(), nullptr, nullptr, nullptr);
        if (!ready)
            return;
        for (auto [table, file] : {std::pair<GxDBBase*, const char*>{&g_DBZorStruct, "data/db_zorstruct.txt"},
                                   {&g_DBZorUnit, "data/db_zorunit.txt"},
                                   {&g_DBZorSkill, "data/db_zorskill.txt"},
                                   {&g_DBZorEnemy, "data/db_zorenemy.txt"},
                                   {&g_DBEffect, "data/db_effect.txt"}})
            table->Load(Path(file));
        for (int slot = 0; slot < ZorMapData::kSlots; ++slot)
            ZorMapData::GetSlot(slot)->LoadFromFile(Path("data/db_zormap0" + std::to_string(slot) + ".txt"));
        GxNcEffectPool::LoadAllEffect(Path("gnc/"), Path("gnc/gis/"));
        while (ZorMapModelPool::PrepareLoading(Path("models/"), Path("models/textures/")) > 0)
        {
        }
        ZorNcPoolUnit::SetProjectSource(&projects);
        ZorNcPoolUnit::Initialize();
        while (ZorNcPoolUnit::PrepareLoading(Path("gnc/"), Path("gnc/gis/")) > 0)
        {
        }
        for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
            new GxTaskBase(root, name);
        core = std::make_unique<ZorCore>(nullptr, &manage);
        core->m_SkipBattleEffect = core->m_SkipSpecialAttackEffect = core->m_SkipBattleVoice = true;
        camera = new ZorTaskCamera(root, L"$ZORCAMERA:Bench");
        view = new ZorTaskMapView(root, L"$ZORMAPVIEW:Bench", camera);
        units = new ZorTaskMapUnit(root, L"$ZORMAPUNIT:Bench", camera);
        overlay = new ZorTaskMapOverlay(root, L"$ZORMAPOVERLAY:Bench", camera);
        Reset();
    }

    // Every dug room's five slots hold a defender and up to three room effects; invaders fill the rooms
    // up to 300 units in all. The camera looks at the middle of the map, zoomed out to see most of it.
    void Reset()
    {
        GxRandom::Seed(1);
        core->ResetGame();
        ZorUserData& s = *core->GetUserData();
        for (int i = 0; i < 3; ++i)
            s.UpgradeFloorExtendLevel();
        s.m_Resource_LeadershipBase = 1000;
        s.m_Resource_Bone = s.m_Resource_Magic = s.m_Resource_Gold = 99999;
        core->BeginDefence();
        s.m_RemainEnemyTotal = s.m_RemainEnemyLeft = 100000;
        int count = 0;
        for (int i = 0; i < ZorUserData::kRoomCount; ++i)
        {
            for (int k = 0; k < 3; ++k)
                s.m_Rooms[i].m_RoomEffectLevels[1 + (i + k) % 7] = 1; // the seven drawn kinds
            for (int slot = 0; slot < 5; ++slot)
                if (s.GetRoomState(i % 10, i / 10) == 8 && core->SummonUnit(i % 10, i / 10, slot, 12))
                {
                    core->FindUnit(s.m_Rooms[i].m_UnitEntityIDs[slot])->m_CreateTimeLeft = 1;
                    ++count;
                }
        }
        GxTaskBase* enemies = core->FindList(ZorCore::kUnitEnemyList);
        for (int i = 0; count < 300; i = (i + 1) % ZorUserData::kRoomCount)
            if (s.GetRoomState(i % 10, i / 10) == 8)
            {
                auto* unit = new ZorTaskUnitEntity(enemies);
                unit->SetTaskID(static_cast<uint64_t>(core->TakeNextUnitTaskID()));
                unit->InitAsEnemyUnit(61, 5, i % 10, i / 10, 5 + count % 4, 1, count % 60);
                ++count;
            }
        camera->JumpTo(0.0f, 0.0f);
        camera->ResetZoom(1.5f, 4096.0f);
        for (int i = 0; i < 8; ++i)
            camera->Update(0, 0);
    }

    void Frame()
    {
        core->UpdateDefence(2);
        manage.DeleteDeadTasks(root);
        overlay->Update(0, 0);
        units->Update(0, 0);
        GxGraphics::Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        view->Draw(0, 0);
        overlay->Draw(0, 0);
        units->Draw(0, 0);
        overlay->Draw(1, 0);
        GxGraphics::GetDevice()->Finish();
    }
};

Stage& TheStage()
{
    static Stage* s_Stage = new Stage;
    return *s_Stage;
}

void BM_DefenceFrameAtDoubleSpeed(benchmark::State& state)
{
    Stage& stage = TheStage();
    if (!stage.ready)
    {
        state.SkipWithError("no device");
        return;
    }
    stage.Reset();
    for (auto _ : state)
        stage.Frame();
    state.counters["sprites"] = static_cast<double>(stage.units->QueueSprites());
    stage.units->GetList().Clear();
    // Seconds per frame over the 1/60 s of a frame: below 0.5 leaves half the frame to the rest.
    state.counters["x_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) / 60.0,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DefenceFrameAtDoubleSpeed)->Unit(benchmark::kMillisecond)->UseRealTime();

void SpriteList(benchmark::State& state, GxSortedRenderManage::AddMode mode)
{
    Stage& stage = TheStage();
    if (!stage.ready)
    {
        state.SkipWithError("no device");
        return;
    }
    stage.Reset();
    // Two seconds of play bring the invaders in, so all 300 units stand on the map.
    for (int t = 0; t < 120; ++t)
    {
        stage.core->UpdateDefence(1);
        stage.manage.DeleteDeadTasks(stage.root);
    }
    stage.units->SetAddMode(mode);
    size_t queued = 0;
    for (auto _ : state)
    {
        queued = stage.units->QueueSprites();
        stage.units->DrawQueued();
        GxGraphics::GetDevice()->Finish();
    }
    stage.units->SetAddMode(GxSortedRenderManage::ADD_DESCENDING);
    state.counters["sprites"] = static_cast<double>(queued);
}
void BM_UnitSpritesSorted(benchmark::State& state)
{
    SpriteList(state, GxSortedRenderManage::ADD_DESCENDING);
}
void BM_UnitSpritesAppended(benchmark::State& state)
{
    SpriteList(state, GxSortedRenderManage::ADD_APPEND);
}
BENCHMARK(BM_UnitSpritesSorted)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UnitSpritesAppended)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
