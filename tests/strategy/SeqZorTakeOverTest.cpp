#include "ZorSampleUITestSupport.h"

#include "core/GxBit32.h"
#include "strategy/ZorScriptBuiltins.h"
#include "strategy/screens/SeqZorTakeOver.h"
#include "strategy/screens/ZorTaskTakeOverUnitInfo.h"
#include "strategy/screens/ZorUnitCard.h"

#include <algorithm>

namespace
{

using zortest::ZorTest;

// The take-over screen in the running engine (it brings its own saved-unit folder), built from the
// sample game's UI rows, with the permanent flags in a word of the test's own and the round file in the
// test's folder.
class ZorTakeOverTest : public zortest::ZorSampleUITest
{
protected:
    void SetUp() override
    {
        ZorSampleUITest::SetUp();
        delete List(ZorCore::kSavedUnitList);
        m_Screen = new SeqZorTakeOver(m_Root);
        m_OldWord = ZorScriptBuiltins::GetExtraOption();
        ZorScriptBuiltins::SetExtraOption(&m_Word);
        ZorScriptBuiltins::SetSaveFolder(m_Folder.File(L""));
    }
    void TearDown() override
    {
        m_Manage.ClearSequence();
        delete m_Screen;
        ZorScriptBuiltins::SetExtraOption(m_OldWord);
        ZorScriptBuiltins::SetSaveFolder(L"");
        ZorSampleUITest::TearDown();
    }

    // The round file keeping ready units of these IDs, the ready list emptied after.
    void SaveRound(std::initializer_list<int> units)
    {
        for (int unit : units)
            AddUnit(ZorCore::kUnitReadyList, unit, 3);
        ASSERT_TRUE(m_Core->SaveRoundData(m_Folder.File(L"zordata_round.gd"), true));
        State().InitNewGame();
        m_Core->ClearUnitList(List(ZorCore::kUnitReadyList));
    }
    ZorTaskTakeOverUnitInfo& Grid() { return *m_Screen->GetUnitInfo(); }
    GxTaskUIBase* Ui(const wchar_t* name) { return Widget(L"$UI:SeqZorTakeOver", name); }
    void ClickCell(int cell)
    {
        Click(static_cast<int>(ZorTaskTakeOverUnitInfo::CellLeft(cell)) + 10,
              static_cast<int>(ZorTaskTakeOverUnitInfo::CellTop(cell)) + 10);
    }
    // The red and green of the frame at a point of a cell.
    uint32_t Red(int cell, int x, int y)
    {
        return (Pixel(static_cast<int>(ZorTaskTakeOverUnitInfo::CellLeft(cell)) + x,
                      static_cast<int>(ZorTaskTakeOverUnitInfo::CellTop(cell)) + y) >>
                16) &
               0xFF;
    }

    SeqZorTakeOver* m_Screen = nullptr;
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
    Enter(m_Screen, 1);
    const bool expected[4] = {true, true, true, false}; // time, facilities, gold; not leadership
    for (int i = 0; i < 4; ++i)
    {
        GxTaskUIBase* choice = Ui(SeqZorTakeOver::kChoices[i].m_Widget);
        ASSERT_NE(choice, nullptr) << i;
        EXPECT_EQ(choice->IsEnabled(), expected[i]) << i;
        EXPECT_EQ(choice->GetValueAsInt(), expected[i] ? 1 : 0) << i;
    }
    // No take-over file: an empty grid, and the game still starts; an unticked choice stays clear.
    EXPECT_EQ(Grid().GetUnitCount(), 0);
    ClickOn(Ui(SeqZorTakeOver::kChoices[1].m_Widget));
    ClickOn(Ui(L"btn_gamestart"));
    EXPECT_EQ(m_Screen->GetRoundData().m_ChoiceFlags, 0x02u | 0x08u);
}

TEST_F(ZorTakeOverTest, WheelAndSliderScrollByRows)
{
    SaveRound({12, 12, 12, 12, 12, 12, 12, 12, 12, 12});
    Enter(m_Screen, 1);
    GxTaskUIBase* slider = Ui(L"vsld_selectunit");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetMax(), 2.0);
    for (int i = 0; i < 3; ++i)
        Wheel(-1.0f); // towards the user: a row further, up to the last
    EXPECT_EQ(Grid().GetRowOffset(), 2);
    EXPECT_EQ(Grid().UnitInCell(0), 6);
    EXPECT_EQ(Grid().UnitInCell(3), 9);
    EXPECT_EQ(Grid().UnitInCell(4), -1);
    Wheel(1.0f);
    EXPECT_EQ(Grid().GetRowOffset(), 1);
    const GxVector4 p = slider->GetWorldPos();
    const int x = static_cast<int>(p.x) + slider->GetWidth() / 2;
    Drag(x, static_cast<int>(p.y) + slider->GetHeight() / 2, x, static_cast<int>(p.y) + 2);
    EXPECT_EQ(Grid().GetRowOffset(), 0);
    EXPECT_EQ(ZorTaskTakeOverUnitInfo::CellAt(48.0f + 280.0f, 120.0f), -1) << "the gap between cells";
    EXPECT_EQ(ZorTaskTakeOverUnitInfo::CellAt(48.0f + 288.0f, 115.0f + 192.0f), 4);
}

TEST_F(ZorTakeOverTest, SavedUnitsAreToggledWithinCapacityAndCarriedOver)
{
    // Units 12 (leadership 2) x 3 and 4 (leadership 0) in the take-over file, shown by the gold icon.
    SaveRound({12, 12, 4, 12});
    g_DBZorUnit.GetRow(12)->m_VisualImage = g_DBZorUnit.GetRow(4)->m_VisualImage = L"icon_gold";
    Enter(m_Screen, 1);
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
    for (int cell = 0; cell < 4; ++cell)
    {
        const bool chosen = cell == 0 || cell == 2;
        EXPECT_EQ(Red(cell, 14, 25) > Red(chosen ? 1 : 0, 14, 25), chosen) << cell;
        EXPECT_EQ(Red(cell, 20, 120) > 0xA0, chosen) << cell;
    }
    std::vector<ZorTaskUnitEntity*> chosen;
    Grid().CollectSelected(chosen);
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[1]->m_UnitID, 4);

    const uint64_t savedID = chosen[1]->GetTaskID();
    const size_t before = List(ZorCore::kUnitReadyList)->GetChildCount();
    ClickOn(Ui(L"btn_gamestart"));
    std::vector<ZorTaskUnitEntity*> ready;
    for (GxTaskBase* t = List(ZorCore::kUnitReadyList)->GetFirstChild(); t; t = t->GetNextSibling())
        ready.push_back(dynamic_cast<ZorTaskUnitEntity*>(t));
    ASSERT_EQ(ready.size(), before + 2);
    EXPECT_EQ(ready.back()->m_UnitID, 4);
    EXPECT_NE(ready.back()->GetTaskID(), savedID) << "carried units take new task IDs";
}

TEST_F(ZorTest, UnitCardLayoutBySideAndKind)
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
