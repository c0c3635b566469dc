// The map as the defence screen draws it, on a real device (llvmpipe under the offscreen driver), with the
// sample game's generated room models: each piece is read back from the frame where the camera projects
// it, the screen run by the core's loop after its loader (ZorDefenceTest); the unit sprites' choices on
// the map view alone.
#include "ZorDefenceTestSupport.h"

#include "../../tools/samplegen/SampleZorDefence.h"

#include "core/GxCore.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxModel.h"
#include "graphics/GxTextureFactory.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"
#include "platform/PfWindow.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapUnit.h"
#include "strategy/screens/ZorTaskMapView.h"

#include <cstring>
#include <memory>

namespace
{

class ZorMapViewDevice : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        m_Game = zortest::ZorDefenceTest::SampleGame();
        ASSERT_FALSE(m_Game.empty());
        GxDisplaySettings& ds = GxDisplaySettings::Get() = GxDisplaySettings();
        ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
        ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
        ds.m_LockableBackBuffer = false;
        ds.m_VSyncInterval = 0;
        m_Core.m_Title = L"ZorMapViewDevice";
        ASSERT_TRUE(m_Core.CreateMainWindow());
        ASSERT_TRUE(GxGraphics::Initialize(m_Core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr));
        const std::wstring models = GxString::FromUtf8(m_Game + "/models/");
        while (ZorMapModelPool::PrepareLoading(models, models + L"textures/") > 0)
            ;
        m_Camera = new ZorTaskCamera(nullptr, nullptr);
        m_View = new ZorTaskMapView(nullptr, nullptr, m_Camera);
    }
    void TearDown() override
    {
        delete m_View;
        delete m_Camera;
        ZorMapModelPool::ReleaseAll();
        GxTextureFactory::GetInstance().Clear();
        GxGraphics::Finalize();
        if (m_Core.m_MainWindow)
            m_Core.m_MainWindow->Destroy();
        delete m_Core.m_MainWindow;
        m_Core.m_MainWindow = nullptr;
        ZorTest::TearDown();
    }

    std::string m_Game;
    GxCore m_Core;
    ZorTaskCamera* m_Camera = nullptr;
    ZorTaskMapView* m_View = nullptr;
};

using ZorMapOnScreen = zortest::ZorDefenceTest;

} // namespace

TEST_F(ZorMapOnScreen, ThroneScaffoldGatesAndWallsShowWhereTheyProject)
{
    const int rx = State().m_ThroneRoomPosX, rz = State().m_ThroneRoomPosY;
    ZorRoomState* throne = State().GetRoughRoom(rx, rz);
    ASSERT_TRUE(throne && throne->m_StructID == 17 && throne->m_MapRoom);
    // The loader reads the sample's models, then the screen opens fresh and looks at the throne room.
    Enter(m_Loader, 0);
    for (int i = 0; i < 400 && m_Manage.GetCurrentSequence() != m_Screen; ++i)
        Passes(1);
    Enter(m_Screen, SeqZorMain::kParamFresh);
    Passes(70);
    ZorTaskCamera* camera = m_Screen->GetCamera();
    ASSERT_EQ(camera->GetProgress(ZorTaskCamera::kTarget), 1.0f);
    // The colour (opaque) where a point of the room, relative to its centre, lands on the screen.
    auto at = [&](float x, float y, float z)
    {
        const GxVector3 s = camera->WorldToScreen(
            GxVector3(static_cast<float>((rx - 5) * 80) + x, y, static_cast<float>((rz - 4) * 80) + z));
        return Pixel(static_cast<int>(s.x), static_cast<int>(s.y)) | 0xFF000000u;
    };
    EXPECT_EQ(at(0, 0, 0), SampleRoomColour(17)) << "the throne's floor at its projected centre";

    // Each side shows a gate where its side block opens onto a passage, else a wall.
    static const int s_Side[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
    const ZorMapData::Room* def = throne->m_MapRoom;
    int gates = 0;
    for (int side = 0; side < 4; ++side)
    {
        const ZorBlockState* b =
            State().GetDetailBlock(def->m_CenterDX + 2 * s_Side[side][0], def->m_CenterDZ + 2 * s_Side[side][1]);
        const bool gate = b && b->m_Extended;
        gates += gate ? 1 : 0;
        const float offset = gate ? kSampleGateOffset : kSampleWallOffset;
        EXPECT_EQ(at(s_Side[side][0] * offset, gate ? kSampleGateTop : kSampleWallTop, s_Side[side][1] * offset),
                  gate ? kSampleGateColour : kSampleWallColour)
            << "side " << side;
    }
    EXPECT_TRUE(gates > 0 && gates < 4) << "both a gate and a wall are seen";

    // While the room is being built the scaffold stands over its centre.
    throne->m_CreateTimeLeft = 100;
    Passes(1);
    EXPECT_EQ(at(0, kSampleScaffoldTop, 0), kSampleScaffoldColour);
}

TEST_F(ZorMapViewDevice, UnitSpritesQueueFarthestFirstAndSkipWhatCannotShow)
{
    // Units 12 and 3 animate with the sample game's goblin project.
    for (int id : {12, 3})
    {
        g_DBZorUnit.GetRow(id)->m_GNCName = L"unit_goblin.gnc";
        g_DBZorUnit.GetRow(id)->m_MotionGroup = L"unit";
    }
    ZorNcProjectFactorySource source(false);
    ZorNcPoolUnit::SetProjectSource(&source);
    ZorNcPoolUnit::Initialize();
    const std::wstring gnc = GxString::FromUtf8(m_Game + "/gnc/");
    while (ZorNcPoolUnit::PrepareLoading(gnc, gnc + L"gis/") > 0)
        ;
    auto* sprites = new ZorTaskMapUnit(m_Root, L"$ZORMAPUNIT:Test", m_Camera);
    const int rx = State().m_ThroneRoomPosX, rz = State().m_ThroneRoomPosY;
    ZorTaskUnitEntity* near = AddUnit(ZorCore::kUnitPlayerList, 12, 1);
    near->PlaceInRoom(rx, rz, 8);
    near->m_ArrangeTimeLeft = near->m_CreateTimeLeft = 0; // settled: its own motion, not the summon circle
    ZorTaskUnitEntity* far = AddUnit(ZorCore::kUnitEnemyList, 3, 1);
    far->PlaceInRoom(rx, rz, 0);
    ZorTaskUnitEntity* unborn = AddUnit(ZorCore::kUnitEnemyList, 3, 1);
    unborn->m_CreateTimeLeft = 10; // an invader still being created shows nothing
    ZorTaskUnitEntity* unknown = AddUnit(ZorCore::kUnitPlayerList, 4, 1); // no project
    far->m_AppearTimeLeft = 15;
    far->m_AppearTimeTotal = 30;

    ZorTaskMapUnit::Sprite sprite;
    ASSERT_TRUE(ZorTaskMapUnit::ChooseSprite(*far, true, sprite));
    EXPECT_FLOAT_EQ(sprite.m_Multiply.x, 0.5f) << "half-way in: half the tint, half the white";
    EXPECT_FLOAT_EQ(sprite.m_Add.x, 0.5f);
    EXPECT_FALSE(ZorTaskMapUnit::ChooseSprite(*unborn, true, sprite));
    EXPECT_FALSE(ZorTaskMapUnit::ChooseSprite(*unknown, false, sprite));
    near->m_MotionTime = 1000; // standing loops: taken modulo the motion's length
    ASSERT_TRUE(ZorTaskMapUnit::ChooseSprite(*near, false, sprite));
    EXPECT_LT(sprite.m_Frame, ZorNcPoolUnit::GetMotionLength(12, 0));

    // The list is drawn in descending key order: the farther from the eye's side, the earlier.
    EXPECT_GT(ZorTaskMapUnit::SortKey(GxVector4(-400, 0, -400, 0)), ZorTaskMapUnit::SortKey(GxVector4(400, 0, 400, 0)));
    EXPECT_EQ(sprites->QueueSprites(), 2u);
    sprites->GetList().Clear();
    ZorNcPoolUnit::ReleaseAll();
    ZorNcPoolUnit::SetProjectSource(nullptr);
}

// The dungeon's models are read in the single-stream form: every subset of every pooled model has the
// one 52-byte vertex stream and its declaration (kind 5), whatever layers its file names.
TEST_F(ZorMapViewDevice, PooledModelsHoldTheSingleStreamLayout)
{
    std::vector<const GxModel*> models;
    for (int32_t i = 0; i < ZorMapModelPool::kShared; ++i)
        models.push_back(ZorMapModelPool::GetShared(i));
    for (int32_t n = 1; n < ZorMapModelPool::kBases; ++n)
    {
        models.push_back(ZorMapModelPool::GetBase(n));
        for (int32_t j = 0; j < 4; ++j)
        {
            models.push_back(ZorMapModelPool::GetGate(n, j));
            models.push_back(ZorMapModelPool::GetWall(n, j));
        }
    }
    int subsets = 0;
    for (const GxModel* model : models)
    {
        ASSERT_NE(model, nullptr);
        for (uint32_t m = 0; m < model->GetMeshCount(); ++m)
        {
            const GxMesh& mesh = model->GetMesh(m);
            for (uint32_t k = 0; k < mesh.m_SubsetCount; ++k, ++subsets)
            {
                EXPECT_TRUE(mesh.m_pSubsets[k].IsSingleStream()) << mesh.m_PartsName;
                EXPECT_EQ(mesh.m_pSubsets[k].GetDeclarationKind(), 5u) << mesh.m_PartsName;
            }
        }
    }
    EXPECT_GT(subsets, 10); // the shared models and the sample's room sets were read
}
