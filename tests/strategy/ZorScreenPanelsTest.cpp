#include "ZorTestSupport.h"

#include "appdata/DBZorEnemy.h"
#include "strategy/ZorNextEnemy.h"
#include "animation/GxNcMotion.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskNcEffectOverlay2D.h"
#include "strategy/screens/ZorTaskNextEnemy.h"
#include "strategy/screens/ZorTaskParamView.h"
#include "strategy/screens/ZorTaskUIMiniMap.h"

using zortest::ZorTest;

TEST(ZorTaskParamView, ResourcesSwitchToSmallDigitsAtTenThousand)
{
    struct Case
    {
        int32_t value;
        const wchar_t* text;
        int32_t font;
    } cases[] = {{0, L"   0", 2}, {9999, L"9999", 2}, {10000, L" 10000", 1}, {99999, L" 99999", 1}};
    for (const Case& c : cases)
    {
        const ZorTaskParamView::Text t = ZorTaskParamView::Resource(c.value, 1.0f, 2.0f);
        EXPECT_EQ(t.m_Text, c.text);
        EXPECT_EQ(t.m_Font, c.font);
    }
}

TEST_F(ZorTest, ParamViewGreysOutUnbuiltLevelsAndAddsLeadership)
{
    State().m_FloorExtendLevel = 2;
    State().m_Resource_LeadershipBase = 7;
    State().m_StructStates[15].m_RoomActiveCount = 1;
    State().m_StructStates[2].m_RoomActiveCount = 0;
    State().m_StructStates[3].m_RoomActiveCount = 0;
    State().m_StructStates[4].m_RoomActiveCount = 2;
    ZorTaskParamView::Text t[ZorTaskParamView::kTexts];
    ZorTaskParamView::Layout(State(), 0.0f, 571.0f, t);
    EXPECT_EQ(t[4].m_Text, L"127");
    EXPECT_EQ(t[0].m_Y, 630.0f);
    EXPECT_EQ(t[5].m_Colour, 0xFFFFFFFFu); // level 1 stays white at 0
    EXPECT_EQ(t[6].m_Colour, 0xFF808080u);
    EXPECT_EQ(t[7].m_Text, L"LV2");
    EXPECT_EQ(t[7].m_Colour, 0xFFFFFFFFu);
}

TEST_F(ZorTest, NextEnemyIconsSettleAndTheTipNeedsThirtyOneHoveredSteps)
{
    g_DBZorEnemy.GetRow(3)->m_Descript = L"盗賊団";
    std::deque<ZorNextEnemy> queue(10);
    for (int i = 0; i < 10; ++i)
    {
        queue[i].m_PartyID = 3;
        queue[i].m_Pos = GxVector2(static_cast<float>(i * 64 + 105), 14.0f);
        queue[i].m_OldPos = GxVector2(1100.0f, 14.0f);
        queue[i].m_Time = 0.0f;
        queue[i].m_LevelLow = 2;
        queue[i].m_LevelHigh = 5;
    }
    ZorTaskNextEnemy panel(nullptr, nullptr);
    for (int s = 0; s < 60; ++s) // 0.02 steps summed in floats reach 1 on the 51st
        panel.Step(queue, -100.0f, -100.0f, true, 0);
    for (int i = 0; i < 10; ++i)
    {
        const GxVector2 p = ZorTaskNextEnemy::IconPos(queue[i]);
        EXPECT_EQ(p.x, static_cast<float>(i * 64 + 105));
        EXPECT_EQ(queue[i].m_OldPos.x, queue[i].m_Pos.x);
    }
    std::wstring tip;
    for (int s = 1; s <= 31; ++s)
    {
        tip = panel.Step(queue, 120.0f, 30.0f, true, 0);
        EXPECT_EQ(tip.empty(), s <= 30) << s;
    }
    EXPECT_EQ(tip, L"盗賊団|LV2 ～ 5");
    EXPECT_TRUE(panel.Step(queue, 120.0f, 30.0f, true, 5).empty()); // not in the opening phase
    EXPECT_EQ(panel.GetHoverCount(), 0);
    for (int s = 0; s < 40; ++s) // the ninth icon is not shown, so it has no tip
        EXPECT_TRUE(panel.Step(queue, 8 * 64 + 120.0f, 30.0f, true, 0).empty());
    dbtest::ResetTables(g_DBZorEnemy);
}

TEST_F(ZorTest, MiniMapColoursBlocksAndKeepsThem)
{
    GxTaskBase* parent = new GxTaskBase(m_Root, L"bottom");
    auto* camera = new ZorTaskCamera(m_Root, L"cam");
    auto* map = new ZorTaskUIMiniMap(parent, L"mm", camera);
    State().m_FloorExtendLevel = 0;
    map->DrawMapTexture(&State());
    int seen7 = 0, seen8 = 0;
    for (int bz = 0; bz < 40; ++bz)
    {
        for (int bx = 0; bx < 40; ++bx)
        {
            const int32_t st = State().GetBlockState(bx, bz);
            const uint32_t want = st == 7   ? ZorTaskUIMiniMap::kColourPath
                                  : st == 8 ? ZorTaskUIMiniMap::kColourDug
                                  : st > 6  ? 0xFFFFFFFFu
                                            : 0u;
            EXPECT_EQ(map->GetTexel(bx, bz), want) << bx << "," << bz;
            seen7 += st == 7;
            seen8 += st == 8;
        }
    }
    EXPECT_GT(seen7, 0);
    EXPECT_GT(seen8, 0);
    EXPECT_EQ(map->GetTexel(40, 0), 0u);
    // A block whose state drops to 6 or below keeps its colour.
    std::vector<uint32_t> before;
    for (int i = 0; i < 1600; ++i)
        before.push_back(map->GetTexel(i % 40, i / 40));
    for (auto& b : State().m_Blocks)
        b.m_EnablePass = 0;
    map->DrawMapTexture(&State());
    for (int i = 0; i < 1600; ++i)
        EXPECT_EQ(map->GetTexel(i % 40, i / 40), before[i]);
}

TEST_F(ZorTest, MiniMapClicksMoveTheCameraOnlyOutsideTheFrame)
{
    auto* camera = new ZorTaskCamera(m_Root, L"cam");
    auto* map = new ZorTaskUIMiniMap(m_Root, L"mm", camera);
    map->SetPos(GxVector4(0.0f, 571.0f, 0.0f, 0.0f)); // where the bottom bar puts it
    camera->Update(0, 0);
    // Draw stores the frame; the diamond's centre (101, 672) is the camera's target.
    const float at0[2] = {0.0f, 0.0f};
    map->OnMouseLeftDown(at0, 0, 0);
    const GxFRect frame = map->ComputeViewFrame();
    EXPECT_NEAR((frame.left + frame.right) / 2.0f, 101.0f, 1e-3f);
    EXPECT_NEAR(frame.bottom - frame.top, 568.0f * 0.074074075f / 2.0f, 1e-3f);
    map->Draw(0, 5);
    struct Case
    {
        float x, y;
        bool moves, drags;
    } cases[] = {{30.0f, 650.0f, false, false}, // outside the client rectangle
                 {101.0f, 670.0f, false, true}, // inside the view frame: a drag without a move
                 {50.0f, 700.0f, true, true},
                 {164.0f, 650.0f, false, false}};
    for (const Case& c : cases)
    {
        camera->JumpTo(0.0f, 0.0f);
        const float at[2] = {c.x, c.y};
        map->OnMouseLeftDown(at, 0, 0);
        EXPECT_EQ(camera->GetProgress(ZorTaskCamera::kTarget) < 1.0f, c.moves) << c.x;
        EXPECT_EQ(map->IsDragging(), c.drags) << c.x;
        map->OnMouseLeftUp(at, 0);
    }
}

TEST(ZorTaskNcEffectOverlay2D, DrawsOnlyInsideTheBandAndEndsWithoutFrames)
{
    struct Case
    {
        float x, y;
        bool on;
    } cases[] = {{-300.0f, -300.0f, true}, {1324.0f, 1068.0f, true}, {-301.0f, 0.0f, false}, {0.0f, 1069.0f, false}};
    for (const Case& c : cases)
        EXPECT_EQ(ZorTaskNcEffectOverlay2D::IsOnScreen(c.x, c.y), c.on) << c.x << "," << c.y;

    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    auto* camera = new ZorTaskCamera(root, L"cam");
    GxNcMotion empty;
    auto* task = new ZorTaskNcEffectOverlay2D(root, camera);
    task->Setup(nullptr, &empty, GxVector4(), 70.0f, GxVector4(1.0f, 1.0f, 1.0f, 0.0f));
    EXPECT_EQ(task->Draw(0, 5), 0);
    task->Update(0, 0);
    EXPECT_TRUE(task->IsDead()); // no frames: ended at once, no division by zero
    // A point far off the map still plays but projects outside the band.
    auto* far = new ZorTaskNcEffectOverlay2D(root, camera);
    far->Setup(nullptr, &empty, GxVector4(3000.0f, 0.0f, 0.0f, 0.0f), 71.0f, GxVector4(1.0f, 1.0f, 1.0f, 0.0f));
    const GxVector3 s = far->GetScreenPos();
    EXPECT_FALSE(ZorTaskNcEffectOverlay2D::IsOnScreen(s.x, s.y));
}
