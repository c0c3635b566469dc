// The panels' layout and choices on their own; the next-enemy row and the minimap on the defence screen
// in the running engine, with SDL input and the frame read back (ZorDefenceTest).
#include "ZorDefenceTestSupport.h"

#include "../../tools/samplegen/SampleZorWindows.h"
#include "graphics/GxTexture.h"
#include "task/GxSeqSystemBase.h"

#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "support/SampleGameCache.h"

#include "appdata/DBZorEnemy.h"
#include "strategy/ZorNextEnemy.h"
#include "animation/GxNcMotion.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapBackground.h"
#include "strategy/screens/ZorTaskMapOverlay.h"
#include "task/GxTaskRenderManage.h"
#include "strategy/screens/ZorTaskNcEffectOverlay2D.h"
#include "strategy/screens/ZorTaskNextEnemy.h"
#include "strategy/screens/ZorTaskInvParamView.h"
#include "strategy/screens/ZorTaskParamView.h"
#include "strategy/screens/ZorTaskStrParamView.h"
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

// At the largest values the sample reaches (bone, magic and gold in four large digits or five small ones,
// leadership 999 over 999, a facility count of one digit) each number of the status bar lies whole on one
// line inside a field of the sample's bar that holds no other number, and no two fields of a screen
// overlap or touch, so neighbouring numbers read apart. The texts are the panels' own layouts.
TEST(ZorTaskParamView, EveryStatusBarNumberStandsInAFieldOfItsOwnAtItsWidest)
{
    struct Box
    {
        float x, y, w, h;
    };
    // The bars' layout groups, by screen, and where the screens put them.
    const std::pair<std::wstring, Box> bars[] = {{L"$ZORCOMBOTTOM:SeqZorCommand", {715, 507, 0, 0}},
                                                 {L"$ZORSTRBOTTOM:SeqZorStrategy", {715, 507, 0, 0}},
                                                 {L"$ZORBOTTOM1:SeqZorMain", {0, 571, 0, 0}},
                                                 {L"$ZORINVBOTTOM:SeqZorInvMain", {0, 507, 0, 0}}};
    const std::string game = kvtest::SharedSampleGame();
    ASSERT_TRUE(!game.empty() && g_DBUIModule.Load(GxString::FromUtf8(game + "/data/db_uimodule_zor.txt")) &&
                g_DBUILayout.Load(GxString::FromUtf8(game + "/data/db_uilayout_zor.txt")));
    std::vector<Box> fields[4];
    for (int32_t id = 0; id <= g_DBUILayout.GetMaxID(); ++id)
        for (int32_t m = 0; m <= g_DBUIModule.GetMaxID(); ++m)
            for (int bar = 0; bar < 4; ++bar)
            {
                const DBUILayoutData* row = g_DBUILayout.GetRow(id);
                const DBUIModuleData* module = g_DBUIModule.GetRow(m);
                if (row->m_ParentName == bars[bar].first && row->m_ModuleName.rfind(L"fld_", 0) == 0 &&
                    module->m_ModuleName == row->m_ModuleName)
                    fields[bar].push_back({bars[bar].second.x + row->m_Left, bars[bar].second.y + row->m_Top,
                                           float(module->m_Width), float(module->m_Height)});
            }
    dbtest::ResetTables(g_DBUIModule, g_DBUILayout);

    ZorUserData s;
    s.m_StructStates.resize(6);
    for (ZorStructState& state : s.m_StructStates)
        state.m_RoomActiveCount = 9;
    s.m_Resource_LeadershipBase = s.m_Resource_LeadershipUsing = 999;
    const float cellWidths[] = {8, 8, 12, 14}; // fonts 0-3, all 16 high
    for (int32_t resource : {9999, 99999})
    {
        s.m_Resource_Bone = s.m_Resource_Magic = s.m_Resource_Gold = resource;
        ZorPanelText texts[4][ZorTaskInvParamView::kTexts];
        ZorTaskStrParamView::Layout(s, texts[0]);
        ZorTaskStrParamView::Layout(s, texts[1]);
        ZorTaskParamView::Layout(s, 0.0f, 571.0f, texts[2]);
        ZorTaskInvParamView::Layout(s, 0.0f, 507.0f, texts[3]);
        for (int bar = 0; bar < 4; ++bar)
        {
            std::map<std::ptrdiff_t, int> numberInField; // the leadership in use (3) over its maximum is one number
            for (int i = 0; i < ZorTaskParamView::kTexts; ++i)
            {
                const ZorPanelText& t = texts[bar][i];
                const Box b{t.m_X, t.m_Y, cellWidths[t.m_Font] * float(t.m_Text.size()), 16.0f};
                auto field = fields[bar].begin();
                while (field != fields[bar].end() &&
                       !(b.x >= field->x && b.y >= field->y && b.x + b.w <= field->x + field->w &&
                         b.y + b.h <= field->y + field->h))
                    ++field;
                const std::string where = GxString::ToUtf8(bars[bar].first + L": \"" + t.m_Text + L"\"");
                ASSERT_TRUE(field != fields[bar].end()) << where << " stands in no field";
                const int number = i == 4 ? 3 : i;
                EXPECT_EQ(numberInField.emplace(field - fields[bar].begin(), number).first->second, number)
                    << where << " shares a field";
            }
        }
    }
    for (const std::vector<Box>& f : fields)
        for (size_t a = 0; a < f.size(); ++a)
            for (size_t b = a + 1; b < f.size(); ++b)
                EXPECT_TRUE(f[a].x + f[a].w < f[b].x || f[b].x + f[b].w < f[a].x || f[a].y + f[a].h < f[b].y ||
                            f[b].y + f[b].h < f[a].y)
                    << "fields " << a << " and " << b << " of one screen meet";
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

TEST(ZorTaskMapBackground, GridScrollsByTheTurnedTargetsThirdComponent)
{
    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    auto* camera = new ZorTaskCamera(root, L"cam");
    ZorTaskMapBackground background(root, L"bg", camera);
    camera->JumpTo(100.0f, 0.0f);
    const GxVector3 v = background.GetGridScroll();
    // (100, 0, 0) turned 45 degrees about z, then 60 about x.
    EXPECT_NEAR(v.x, 70.7107f, 1e-3f);
    EXPECT_NEAR(v.y, 35.3553f, 1e-3f);
    EXPECT_NEAR(v.z, 61.2372f, 1e-3f);
}

TEST_F(ZorTest, MapOverlayRegistersTwiceAndChoosesEffectsAndGauges)
{
    GxTaskRenderManage lists[20];
    int32_t bank = 0;
    m_Manage.SetRenderLists(lists, &bank);
    auto* camera = new ZorTaskCamera(m_Root, L"cam");
    auto* overlay = new ZorTaskMapOverlay(m_Root, L"ov", camera);
    overlay->RegisterDraw(0, 0);
    ASSERT_EQ(lists[5].GetCount(), 2u);
    EXPECT_EQ(lists[5].GetEntry(0).key, -80.0f);
    EXPECT_EQ(lists[5].GetEntry(1).param, 1);

    ZorRoomState room;
    for (int level : {2, 3, 5, 7})
        room.m_RoomEffectLevels[level] = 1;
    const wchar_t* names[ZorTaskMapOverlay::kMaxRoomEffects];
    ASSERT_EQ(ZorTaskMapOverlay::PickRoomEffects(room, names), 3);
    EXPECT_EQ(std::wstring(names[0]), L"EFE_DEADWALL");
    EXPECT_EQ(std::wstring(names[2]), L"EFE_MUCUS");

    ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitEnemyList, 12, 1);
    unit->m_HP = 10;
    struct Case
    {
        int32_t gauge;
        bool shown;
    } cases[] = {{0, false}, {1, true}, {10000, true}, {10999, true}, {11000, false}};
    for (const Case& c : cases)
    {
        unit->m_ExceedGauge = c.gauge;
        EXPECT_EQ(ZorTaskMapOverlay::ShowsExceedGauge(*unit), c.shown) << c.gauge;
    }
    unit->m_AppearTimeLeft = 3;
    EXPECT_FALSE(ZorTaskMapOverlay::ShowsExceedGauge(*unit));
    unit->m_RemainTime[0] = 5;
    unit->m_RemainTime[4] = 1;
    EXPECT_EQ(ZorTaskMapOverlay::StatusSymbols(*unit), L"/3");
}

namespace
{

// A system sequence that keeps the help tips it is asked to show.
class TipRecorder : public GxSeqSystemBase
{
public:
    explicit TipRecorder(GxTaskBase* parent) : GxSeqSystemBase(parent, L"TipRecorder") {}
    bool ShowHelpTip(const wchar_t* text, float x, float y) override
    {
        (void)x, (void)y;
        m_Tip = text;
        return true;
    }
    std::wstring m_Tip;
};

using ZorPanelsInput = zortest::ZorDefenceTest;

} // namespace

TEST_F(ZorPanelsInput, NextEnemyIconsRestInPlaceAndTheTipComesOnTheThirtyFirstHoveredStep)
{
    g_DBZorEnemy.GetRow(3)->m_Descript = L"盗賊団";
    g_DBZorUnit.GetRow(12)->m_FaceIconImage = L"icon_goblin";
    auto* system = new TipRecorder(m_Root);
    m_Manage.SetSystemSequence(system);
    std::deque<ZorNextEnemy>& queue = State().m_NextEnemies;
    queue.assign(10, ZorNextEnemy());
    for (int i = 0; i < 10; ++i)
    {
        queue[i].m_PartyID = 3;
        queue[i].m_FirstUnitID = 12;
        queue[i].m_Pos = GxVector2(static_cast<float>(i * 64 + 105), 14.0f);
        queue[i].m_OldPos = GxVector2(1100.0f, 14.0f);
        queue[i].m_Time = 0.0f;
        queue[i].m_LevelLow = 2;
        queue[i].m_LevelHigh = 5;
    }
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 0;
    MoveTo(600, 400);
    Passes(60); // 0.02 a step summed in floats reaches 1 on the 51st
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ(ZorTaskNextEnemy::IconPos(queue[i]).x, static_cast<float>(i * 64 + 105));
        // The face's middle; only the first eight are drawn.
        EXPECT_EQ(Pixel(i * 64 + 105 + 20, 14 + 20) == kSampleUnitFaceColour, i < 8) << i;
    }
    MoveTo(120, 30); // the first hovered step
    Passes(29);
    EXPECT_TRUE(system->m_Tip.empty());
    Passes(1);
    EXPECT_EQ(system->m_Tip, L"盗賊団|LV2 ～ 5");
    system->m_Tip.clear();
    MoveTo(8 * 64 + 120, 30); // the ninth icon is not shown, so it has no tip
    Passes(40);
    EXPECT_TRUE(system->m_Tip.empty());
    m_Manage.SetSystemSequence(nullptr);
    dbtest::ResetTables(g_DBZorEnemy);
}

TEST_F(ZorPanelsInput, MiniMapShowsBlocksAndRedEnemyDotsAndClicksMoveTheCameraOutsideTheFrame)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    ZorTaskCamera* camera = m_Screen->GetCamera();
    ZorTaskUIMiniMap* map = m_Screen->GetMiniMap();
    camera->JumpTo(0.0f, 0.0f);
    Passes(1);
    // The texture uploaded on entry holds the block colours, and the drawn map shows both.
    GxTexture* texture = map->GetTexture();
    ASSERT_NE(texture, nullptr);
    int texels[2] = {}, shown[2] = {};
    for (uint32_t i = 0; i < 1600; ++i)
    {
        const int32_t st = State().GetBlockState(static_cast<int32_t>(i % 40), static_cast<int32_t>(i / 40));
        if (st == 7 || st == 8)
            texels[st - 7] += texture->GetPixel(i % 40, i / 40) == (st == 7 ? 0xFFB04020u : 0xFF50AFAFu);
    }
    for (int y = 571; y < 768; ++y)
    {
        for (int x = 0; x < 210; ++x)
        {
            const uint32_t c = Pixel(x, y) | 0xFF000000u;
            shown[0] += c == 0xFFB04020u;
            shown[1] += c == 0xFF50AFAFu;
        }
    }
    EXPECT_GT(texels[0], 0);
    EXPECT_GT(texels[1], 0);
    EXPECT_GT(shown[0], 0);
    EXPECT_GT(shown[1], 0);
    // The diamond's centre (101, 672) is the camera's target.
    const GxFRect frame = map->ComputeViewFrame();
    EXPECT_NEAR((frame.left + frame.right) / 2.0f, 101.0f, 1e-3f);
    EXPECT_NEAR(frame.bottom - frame.top, 568.0f * 0.074074075f / 2.0f, 1e-3f);
    struct Case
    {
        int x, y;
        bool moves, drags;
    } cases[] = {{30, 650, false, false}, // outside the client rectangle
                 {101, 670, false, true}, // inside the view frame: a drag without a move
                 {50, 700, true, true},
                 {164, 650, false, false}};
    for (const Case& c : cases)
    {
        camera->JumpTo(0.0f, 0.0f);
        Passes(1);
        Press(c.x, c.y);
        EXPECT_EQ(camera->GetProgress(ZorTaskCamera::kTarget) < 1.0f, c.moves) << c.x;
        EXPECT_EQ(map->IsDragging(), c.drags) << c.x;
        Release(c.x, c.y);
        EXPECT_FALSE(map->IsDragging());
    }

    // An invader shows as a 2 x 2 red dot where its position falls on the map.
    ZorTaskUnitEntity* enemy = AddUnit(ZorCore::kUnitEnemyList, 3, 1);
    enemy->PlaceInRoom(1, 1, 4);
    camera->JumpTo(200.0f, 200.0f); // the view frame well away from it
    Passes(2);
    const GxVector4 w = enemy->GetWorldPos();
    const GxVector3 p = map->WorldToMiniMap(w.x, w.z);
    int red = 0, left = 1024, top = 768;
    for (int y = static_cast<int>(p.y) - 8; y < static_cast<int>(p.y) + 4; ++y)
    {
        for (int x = static_cast<int>(p.x) - 6; x < static_cast<int>(p.x) + 4; ++x)
        {
            if ((Pixel(x, y) | 0xFF000000u) != 0xFFFF0000u)
                continue;
            ++red;
            left = std::min(left, x);
            top = std::min(top, y);
        }
    }
    EXPECT_EQ(red, 4);
    EXPECT_EQ((Pixel(left + 1, top + 1) | 0xFF000000u), 0xFFFF0000u) << "a square, not a line";
}
