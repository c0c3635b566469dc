#include "ZorDeviceSupport.h"
#include "ZorTestSupport.h"

#include "core/GxBit32.h"
#include "strategy/ZorScriptBuiltins.h"
#include "strategy/screens/SeqZorTakeOver.h"
#include "strategy/screens/ZorTaskTakeOverUnitInfo.h"
#include "strategy/screens/ZorUnitCard.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIVSliderIs.h"

#include <algorithm>

namespace
{

// The take-over screen in the test tree (which brings its own saved-unit folder), with the layout's
// slider, choice buttons and start button, and the permanent flags in a word of the test's own.
class ZorTakeOverTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        delete List(ZorCore::kSavedUnitList);
        m_Manage.SetRenderLists(m_Lists, &m_Bank);
        m_Screen = new SeqZorTakeOver(m_Root);
        auto* ui = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(L"$UI:SeqZorTakeOver"));
        m_Slider = new GxTaskUIVSliderIs(ui, nullptr, L"vsld_selectunit");
        for (const SeqZorTakeOver::Choice& c : SeqZorTakeOver::kChoices)
            m_Choices.push_back(new GxTaskUIButtonIs(ui, nullptr, c.m_Widget));
        m_Start = new GxTaskUIButtonIs(ui, nullptr, L"btn_gamestart");
        m_OldWord = ZorScriptBuiltins::GetExtraOption();
        ZorScriptBuiltins::SetExtraOption(&m_Word);
        ZorScriptBuiltins::SetSaveFolder(m_Folder.File(L""));
        GxSeqBase::ResetInputLocks();
    }
    void TearDown() override
    {
        ZorScriptBuiltins::SetExtraOption(m_OldWord);
        ZorScriptBuiltins::SetSaveFolder(L"");
        ZorTest::TearDown();
    }

    void Enter()
    {
        m_Manage.ChangeSequence(m_Screen, 1, 0);
        m_Manage.ApplyPendingSequence();
    }
    ZorTaskTakeOverUnitInfo& Grid() { return *m_Screen->GetUnitInfo(); }
    void ClickCell(int cell)
    {
        const float p[2] = {ZorTaskTakeOverUnitInfo::CellLeft(cell) + 10.0f,
                            ZorTaskTakeOverUnitInfo::CellTop(cell) + 10.0f};
        Grid().OnMouseLeftDown(p, 0, 0);
    }

    GxTaskRenderManage m_Lists[20];
    int32_t m_Bank = 0;
    SeqZorTakeOver* m_Screen = nullptr;
    GxTaskUIVSliderIs* m_Slider = nullptr;
    std::vector<GxTaskUIButtonIs*> m_Choices;
    GxTaskUIButtonIs* m_Start = nullptr;
    GxBit32 m_Word;
    GxBit32* m_OldWord = nullptr;
};

TEST_F(ZorTakeOverTest, PermanentFlagsOfferChoicesAndCapacity)
{
    EXPECT_EQ(SeqZorTakeOver::CapacityOf(0), 35);
    EXPECT_EQ(SeqZorTakeOver::CapacityOf((1u << 11) | (1u << 12) | (1u << 19) | (1u << 20) | (1u << 10)), 50);
    EXPECT_EQ(SeqZorTakeOver::CapacityOf(0xFFFFFFFFu), 80);
    EXPECT_EQ(SeqZorTakeOver::GoldText(1001), L"(Gold 500)");

    m_Word.SetBits(0x01u | 0x08u);
    Enter();
    const bool expected[4] = {true, true, true, false}; // time, facilities, gold; not leadership
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(m_Choices[i]->IsEnabled(), expected[i]) << i;
        EXPECT_EQ(m_Choices[i]->GetValueAsInt(), expected[i] ? 1 : 0) << i;
    }
    // No take-over file: an empty grid, and the game still starts; an unticked choice stays clear.
    EXPECT_EQ(Grid().GetUnitCount(), 0);
    m_Choices[1]->SetValue(0);
    m_Screen->OnUIEvent1(m_Start, GxUIEvent(m_Start, 1, 0));
    EXPECT_EQ(m_Screen->GetRoundData().m_ChoiceFlags, 0x02u | 0x08u);
}

TEST_F(ZorTakeOverTest, SliderRowsAndOffsetPickTheShownUnits)
{
    GxTaskBase* saved = List(ZorCore::kSavedUnitList);
    Grid().SetSlider(m_Slider);
    for (int n : {2, 10})
    {
        m_Core->ClearUnitList(saved);
        for (int i = 0; i < n; ++i)
            AddUnit(ZorCore::kSavedUnitList, 12, 1);
        Grid().SetUnits(saved);
        EXPECT_EQ(m_Slider->GetMax(), n == 10 ? 2.0 : 0.0) << n;
    }
    Grid().SetRowOffset(2);
    EXPECT_EQ(Grid().UnitInCell(0), 6);
    EXPECT_EQ(Grid().UnitInCell(3), 9);
    EXPECT_EQ(Grid().UnitInCell(4), -1);
    EXPECT_EQ(ZorTaskTakeOverUnitInfo::CellAt(48.0f + 280.0f, 120.0f), -1) << "the gap between cells";
    EXPECT_EQ(ZorTaskTakeOverUnitInfo::CellAt(48.0f + 288.0f, 115.0f + 192.0f), 4);
}

TEST_F(ZorTakeOverTest, SavedUnitsAreToggledWithinCapacityAndCarriedOver)
{
    // Ready units 12 (leadership 2) x 3 and 4 (leadership 0) go into the take-over file.
    for (int unit : {12, 12, 4, 12})
        AddUnit(ZorCore::kUnitReadyList, unit, 3);
    ASSERT_TRUE(m_Core->SaveRoundData(m_Folder.File(L"zordata_round.gd"), true));
    State().InitNewGame();
    m_Core->ClearUnitList(List(ZorCore::kUnitReadyList));
    Enter();
    ASSERT_EQ(Grid().GetUnitCount(), 4);
    Grid().SetCapacity(4);
    ClickCell(0);
    ClickCell(1);
    ClickCell(3); // a third leadership-2 unit would pass the capacity
    EXPECT_EQ(Grid().GetSelectedCost(), 4);
    EXPECT_FALSE(Grid().IsSelected(3));
    ClickCell(1);
    ClickCell(2);
    EXPECT_EQ(Grid().GetSelectedCost(), 2);
    ClickCell(5); // no unit there

    // Chosen: the picture as it is and the flag; not chosen: the picture grey, no flag.
    g_DBZorUnit.GetRow(12)->m_VisualImage = g_DBZorUnit.GetRow(4)->m_VisualImage = L"pic";
    {
        zortest::ZorDevice device;
        ASSERT_TRUE(device.Open(m_Folder.File(L""),
                                {{L"pic", 60, 60, 0xFFFFFFFF}, {L"icon_dominionflag", 20, 20, 0xFFFF0000}}));
        device.Frame([&] { Grid().Draw(0, 0); });
        for (int cell = 0; cell < 4; ++cell)
        {
            const float x = ZorTaskTakeOverUnitInfo::CellLeft(cell), y = ZorTaskTakeOverUnitInfo::CellTop(cell);
            const bool chosen = cell == 0 || cell == 2;
            EXPECT_EQ(device.At(x + 40.0f, y + 40.0f), chosen ? 0xFFFFFFFFu : 0xFF808080u) << cell;
            EXPECT_EQ(device.At(x + 18.0f, y + 114.0f), chosen ? 0xFFFF0000u : 0xFF000000u) << cell;
        }
    }
    std::vector<ZorTaskUnitEntity*> chosen;
    Grid().CollectSelected(chosen);
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[1]->m_UnitID, 4);

    const uint64_t savedID = chosen[1]->GetTaskID();
    const size_t before = List(ZorCore::kUnitReadyList)->GetChildCount();
    m_Screen->OnUIEvent1(m_Start, GxUIEvent(m_Start, 1, 0));
    std::vector<ZorTaskUnitEntity*> ready;
    for (GxTaskBase* t = List(ZorCore::kUnitReadyList)->GetFirstChild(); t; t = t->GetNextSibling())
        ready.push_back(dynamic_cast<ZorTaskUnitEntity*>(t));
    ASSERT_EQ(ready.size(), before + 2);
    EXPECT_EQ(ready.back()->m_UnitID, 4);
    EXPECT_NE(ready.back()->GetTaskID(), savedID) << "carried units take new task IDs";
}

TEST_F(ZorTakeOverTest, CardLayoutBySideAndKind)
{
    using Kind = ZorUnitCard::Kind;
    std::vector<ZorUnitCard::Element> card;
    auto find = [&card](float x, float y) -> const ZorUnitCard::Element*
    {
        for (const auto& e : card)
            if (e.m_X == x && e.m_Y == y && e.m_Kind == Kind::NumberText)
                return &e;
        return nullptr;
    };
    ZorTaskUnitEntity* trap = AddUnit(ZorCore::kUnitReadyList, 4, 1);
    ZorUnitCard::Layout(*trap, ZorUnitCard::Picture::Grey, card);
    EXPECT_EQ(card[1].m_Colour, 0xFF808080u) << "the picture of an unkept unit is grey";
    EXPECT_EQ(card[3].m_Text, L"tip_unitinfo_trap");
    EXPECT_EQ(find(104.0f, 106.0f), nullptr) << "no leadership line on a trap";
    EXPECT_EQ(find(236.0f, 92.0f), nullptr) << "no defence rate 4 on a trap";

    ZorTaskUnitEntity* enemy = AddUnit(ZorCore::kUnitEnemyList, 12, 1);
    enemy->m_RemainTime[0] = 5;
    enemy->m_RemainTime[3] = 1;
    ZorUnitCard::Layout(*enemy, ZorUnitCard::Picture::Normal, card);
    EXPECT_EQ(card[3].m_Text, L"tip_unitinfo_enemy");
    EXPECT_NE(find(236.0f, 106.0f), nullptr) << "an enemy shows defence rate 3";
    EXPECT_EQ(find(104.0f, 106.0f), nullptr);
    EXPECT_EQ(card.back().m_Kind, Kind::StatusText);
    EXPECT_EQ(card.back().m_Text, L"/2");

    ZorTaskUnitEntity* own = AddUnit(ZorCore::kUnitReadyList, 12, 7);
    ZorUnitCard::Layout(*own, ZorUnitCard::Picture::Normal, card);
    ASSERT_NE(find(104.0f, 106.0f), nullptr);
    EXPECT_EQ(find(104.0f, 106.0f)->m_Text, L"      2");
    EXPECT_EQ(find(104.0f, 50.0f)->m_Text, L"  7");
}

} // namespace
