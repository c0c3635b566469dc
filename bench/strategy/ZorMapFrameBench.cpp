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
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapOverlay.h"
#include "strategy/screens/ZorTaskMapUnit.h"
#include "strategy/screens/ZorTaskMapView.h"
#include "support/BenchDevice.h"
#include "support/BenchSampleGame.h"
#include "support/BenchZorCore.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

namespace
{

struct Stage : BenchZorCore
{
    BenchDevice device;
    bool ready = false;
    ZorNcProjectFactorySource projects;
    ZorTaskCamera* camera = nullptr;
    ZorTaskMapView* view = nullptr;
    ZorTaskMapUnit* units = nullptr;
    ZorTaskMapOverlay* overlay = nullptr;

    Stage()
    {
        GxLog::SetErrorLogPath(L"");
        GxLog::SetDeviceLogPath(L"");
        ready = device.Open("ZorMapFrameBench", BenchDevice::kSwapCopy);
        if (!ready)
            return;
        LoadTables({{&g_DBZorStruct, "data/db_zorstruct.txt"},
                    {&g_DBZorUnit, "data/db_zorunit.txt"},
                    {&g_DBZorSkill, "data/db_zorskill.txt"},
                    {&g_DBZorEnemy, "data/db_zorenemy.txt"},
                    {&g_DBEffect, "data/db_effect.txt"}});
        LoadMaps();
        GxNcEffectPool::LoadAllEffect(BenchSampleGame::Path("gnc/"), BenchSampleGame::Path("gnc/gis/"));
        while (ZorMapModelPool::PrepareLoading(BenchSampleGame::Path("models/"),
                                               BenchSampleGame::Path("models/textures/")) > 0)
        {
        }
        ZorNcPoolUnit::SetProjectSource(&projects);
        ZorNcPoolUnit::Initialize();
        while (ZorNcPoolUnit::PrepareLoading(BenchSampleGame::Path("gnc/"), BenchSampleGame::Path("gnc/gis/")) > 0)
        {
        }
        SkipPresentation();
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
        StartFullStage(300);
        ZorUserData& s = *core->GetUserData();
        for (int i = 0; i < ZorUserData::kRoomCount; ++i)
            for (int k = 0; k < 3; ++k)
                s.m_Rooms[i].m_RoomEffectLevels[1 + (i + k) % 7] = 1; // the seven drawn kinds
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
