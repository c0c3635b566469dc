// The invasion screen's views: the parameter panel's texts, and the field's sprites and bars.
#include "ZorSampleUITestSupport.h"

#include "animation/GxNcMotion.h"
#include "animation/GxNcMotionGroup.h"
#include "animation/GxNcProjectEx.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskFieldOverlay.h"
#include "strategy/screens/ZorTaskFieldUnitView.h"
#include "strategy/screens/ZorTaskInvParamView.h"

#include <algorithm>
#include <array>

namespace
{

using Text = ZorTaskInvParamView::Text;
using zortest::ZorTest;

TEST_F(ZorTest, InvParamViewFormatsNumbersAndTheBattleClock)
{
    ZorUserData& s = State();
    s.m_Resource_Bone = 10000;
    s.m_Resource_Magic = 9999;
    s.m_FieldFormations[0].m_TotalLerderShip = 3;
    for (size_t i = 2; i <= 5; ++i)
        s.m_StructStates[i].m_RoomActiveCount = 0;
    const int32_t cap = s.GetPartyCapacity();
    Text t[ZorTaskInvParamView::kTexts];
    // The clock counts whole seconds left: 45 at the start, 0 in the last 60 ticks.
    for (auto [ticks, shown] : {std::pair{2700, L"45"}, {2699, L"44"}, {60, L" 1"}, {59, L" 0"}, {-5, L" 0"}})
    {
        s.m_TimerCount = ticks;
        ZorTaskInvParamView::Layout(s, 10.0f, 500.0f, t);
        EXPECT_EQ(t[11].m_Text, shown) << ticks;
    }
    EXPECT_TRUE(t[11].m_Font == 4 && t[11].m_X == 948.0f && t[11].m_Y == 37.0f); // FONT24NUM, on the screen
    // Resources one row below the defence panel's; 10000 switches to the small digits.
    EXPECT_TRUE(t[0].m_Text == L" 10000" && t[0].m_Font == 1 && t[0].m_Y == 623.0f) << t[0].m_Text;
    EXPECT_TRUE(t[1].m_Text == L"9999" && t[1].m_Font == 2) << t[1].m_Text;
    // Facility 2 stays white at level 0; 3 to 5 grey out.
    EXPECT_EQ(t[5].m_Text, L"LV0");
    EXPECT_EQ(t[5].m_Colour, 0xFFFFFFFFu);
    EXPECT_EQ(t[6].m_Colour, 0xFF808080u);
    EXPECT_EQ(t[9].m_Text, GxString::Format(L"%3d/%3d", 3, cap));
    EXPECT_EQ(t[10].m_Text, GxString::Format(L"%3d/%3d", 0, cap));
    EXPECT_TRUE(t[9].m_Y == 264.0f && t[10].m_Y == 492.0f);
}

// A pool source handing out projects built in memory: motion "stand" of 10 frames, "attack" of none.
class MemorySource : public ZorNcProjectFactorySource
{
public:
    MemorySource()
    {
        auto group = std::make_unique<GxNcMotionGroup>();
        group->m_MotionGroupName = L"g";
        for (auto [name, frames] : {std::pair{L"stand", 10}, std::pair{L"attack", 0}})
        {
            auto m = std::make_unique<GxNcMotion>();
            m->m_MotionName = name;
            m->m_TotalDuration = m->m_EndTime = frames;
            group->m_Motions.push_back(std::move(m));
        }
        m_Project.m_MotionGroups.push_back(std::move(group));
    }
    const void* GetProject(const std::wstring&, const std::wstring&) override { return &m_Project; }
    void ReleaseProject(const void*) override {}

    GxNcProjectEx m_Project;
};

// The field's views in the running engine with the sample game's icons.
class ZorFieldViewTest : public zortest::ZorSampleUITest
{
protected:
    void SetUp() override
    {
        ZorSampleUITest::SetUp();
        for (const wchar_t* name : {ZorCore::kInvEnemyList, ZorCore::kInvPlayerList})
            new GxTaskFolder(m_Root, name);
        m_Camera = new ZorTaskCamera(m_Root, L"$ZORCAMERA:SeqZorInvMain");
        m_View = new ZorTaskFieldUnitView(m_Root, L"$ZORTOWNUNITVIEW:SeqZorInvMain", m_Camera);
        m_Overlay = new ZorTaskFieldOverlay(m_Root, L"$ZORFIELDOVERLAY:SeqZorInvMain", m_Camera);
        Unit(61, 5, 0, 100, 10, 1); // no project: never loaded
        for (int id : {12, 3})
        {
            g_DBZorUnit.GetRow(id)->m_GNCName = L"u.gnc";
            g_DBZorUnit.GetRow(id)->m_MotionGroup = L"g";
        }
        ZorNcPoolUnit::SetProjectSource(&m_Source);
        ZorNcPoolUnit::Initialize();
        while (ZorNcPoolUnit::PrepareLoading(L"", L"") != 0)
            ;
    }
    void TearDown() override
    {
        ZorNcPoolUnit::ReleaseAll();
        ZorNcPoolUnit::SetProjectSource(nullptr);
        ZorSampleUITest::TearDown();
    }
    // A unit of the field list in formation f (2: the enemies), slot s, at (x, z).
    ZorTaskUnitEntity* Field(int unitID, int f, int s, float x, float z)
    {
        ZorTaskUnitEntity* u = AddUnit(f == 2 ? ZorCore::kInvEnemyList : ZorCore::kInvPlayerList, unitID, 1);
        u->m_HP = u->GetMaxHP();
        u->m_WorldPos = GxVector3(x, 0.0f, z);
        u->m_FieldPos = f;
        State().m_FieldFormations[f].m_UnitEntityIDs[s] = static_cast<int64_t>(u->GetTaskID());
        return u;
    }

    MemorySource m_Source;
    ZorTaskCamera* m_Camera = nullptr;
    ZorTaskFieldUnitView* m_View = nullptr;
    ZorTaskFieldOverlay* m_Overlay = nullptr;
};

TEST(ZorTaskFieldUnitView, StandingLoopsOtherMotionsRunOnAndEmptyMotionsShowNothing)
{
    // {motion, counter, length, frame}: motion 0 loops, others run on, a 0-frame motion shows nothing.
    for (auto [m, c, len, f] : {std::array{0, 25, 10, 5}, {0, 9, 10, 9}, {1, 25, 10, 25}, {0, 5, 0, -1}, {2, 5, 0, -1}})
        EXPECT_EQ(ZorTaskFieldUnitView::PickFrame(m, c, len), f) << m << " " << c << " " << len;
}

TEST_F(ZorFieldViewTest, SpritesSortBackToFrontAndSkipUnitsWithoutFramesButKeepTheirBars)
{
    ZorTaskUnitEntity* farEnemy = Field(12, 2, 0, -500.0f, -500.0f);
    ZorTaskUnitEntity* nearEnemy = Field(12, 2, 4, 1000.0f, 1000.0f);
    ZorTaskUnitEntity* player = Field(12, 0, 1, 0.0f, 0.0f);
    ZorTaskUnitEntity* attacking = Field(12, 1, 0, 10.0f, 10.0f);
    attacking->m_MotionIndex = 1;  // a motion of no frames
    Field(61, 1, 2, 20.0f, 20.0f); // never loaded: a bar but no sprite
    farEnemy->m_MotionTime = 23;
    ASSERT_EQ(m_View->CollectSprites(), 3);
    int64_t order[ZorTaskFieldUnitView::kMaxSprites];
    ASSERT_EQ(m_View->GetQueued(order), 3);
    const auto id = [](const ZorTaskUnitEntity* u) { return static_cast<int64_t>(u->GetTaskID()); };
    // The enemy far from the enemies' sort point first, the near one after it.
    EXPECT_LT(std::find(order, order + 3, id(farEnemy)), std::find(order, order + 3, id(nearEnemy)));
    EXPECT_NE(std::find(order, order + 3, id(player)), order + 3);

    ZorTaskFieldOverlay::Bar bars[ZorTaskFieldOverlay::kMaxBars];
    EXPECT_EQ(m_Overlay->CollectBars(bars), 5) << "every unit on the field has a bar";

    // A fallen enemy leaves the sprites at once; its bar goes when its task is being removed.
    State().m_FieldFormations[2].m_UnitEntityIDs[4] = 0;
    EXPECT_EQ(m_View->CollectSprites(), 2);
    EXPECT_EQ(m_Overlay->CollectBars(bars), 5);
    nearEnemy->Kill();
    EXPECT_EQ(m_Overlay->CollectBars(bars), 4);

    // Without a camera neither draws.
    m_View->SetCamera(nullptr);
    m_Overlay->SetCamera(nullptr);
    EXPECT_EQ(m_View->CollectSprites(), 0);
    EXPECT_EQ(m_Overlay->CollectBars(bars), 0);
}

TEST_F(ZorFieldViewTest, BarsSitAboveTheUnitWithItsStatusSymbolsInOrder)
{
    ZorTaskUnitEntity* u = Field(61, 0, 0, 0.0f, 0.0f); // never loaded: no sprite, still a bar
    u->m_HP = u->GetMaxHP() / 4;
    u->m_RemainTime[4] = 30;
    u->m_RemainTime[1] = 1;
    ZorTaskFieldOverlay::Bar bars[ZorTaskFieldOverlay::kMaxBars];
    ASSERT_EQ(m_Overlay->CollectBars(bars), 1);
    EXPECT_EQ(bars[0].m_Symbols, std::wstring(L"\x30\x33"));
    EXPECT_NEAR(bars[0].m_Ratio, 0.25, 0.01);
    const GxVector3 p = m_Camera->WorldToScreen(GxVector3(0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(bars[0].m_X == p.x && bars[0].m_Y == p.y);
    u->m_RemainTime[1] = u->m_RemainTime[4] = 0;
    m_Overlay->CollectBars(bars);
    EXPECT_TRUE(bars[0].m_Symbols.empty());

    // Drawn on the frame: a quarter of the sample's green bar over its dark back, 162 px above the unit.
    GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    m_Overlay->Draw(1, 0);
    const auto green = [this, &p](int dx, int dy)
    {
        const uint32_t c = Pixel(static_cast<int>(p.x) - 19 + dx, static_cast<int>(p.y) - 162 + dy);
        return ((c >> 8) & 0xFF) > ((c >> 16) & 0xFF) + 0x30;
    };
    EXPECT_TRUE(green(1, 1) && green(8, 2));
    EXPECT_FALSE(green(12, 2));
    EXPECT_EQ(Pixel(static_cast<int>(p.x) - 19 + 8, static_cast<int>(p.y) - 150), 0xFF000000u);
}

} // namespace
