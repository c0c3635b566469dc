#include "ZorSampleUITestSupport.h"

#include "appdata/DBUIModule.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorTown.h"
#include "appdata/GxDBLookup.h"
#include "strategy/screens/SeqZorCommand.h"
#include "strategy/screens/SeqZorStrategy.h"
#include "strategy/screens/ZorTaskCommandWindowView.h"
#include "strategy/screens/ZorTaskStrParamView.h"
#include "task/ui/GxTaskUIListBoxFx.h"

namespace
{

using zortest::ZorTest;

// Both between-stage screens in the running engine, built from the sample game's UI rows, with a small
// command and town table. The sample's three town buttons carry towns 1-3; layout rows of the test's own
// add buttons for towns 4 and 5 and one whose value is no town.
class ZorCommandScreenTest : public zortest::ZorSampleUITest
{
protected:
    void SetUp() override
    {
        ZorSampleUITest::SetUp();
        Command(1, L"見出し", L"S", 0, 1);
        Command(2, L"休む", L"N", 0, 1);
        Command(3, L"骨集め", L"B", 200, 1);
        Command(4, L"地図", L"N", 0, 1, 1);
        Command(5, L"隠し", L"G", 10, 0);
        Command(6, L"魔術", L"M", 500, 1);
        State().InitNewGame();
        State().m_CommandStates[3].m_ResourceMultiFactor = 3;
        State().m_CommandStates[3].m_Label = L"CMD_BONE";
        for (auto [id, name, x, value] : {std::tuple{509, L"btn_town4", 40, 4}, std::tuple{510, L"btn_town5", 120, 5},
                                          std::tuple{511, L"btn_stray", 200, 20}})
        {
            DBUILayoutData* row = g_DBUILayout.GetRow(id);
            row->m_ID = id;
            row->m_ParentName = L"$UI:SeqZorStrategy";
            row->m_ModuleName = L"btn_town_village"; // a town button module of the sample game
            row->m_TaskName = name;
            row->m_Create = row->m_Visible = row->m_Enabled = 1;
            row->m_Left = static_cast<float>(x);
            row->m_Top = 400.0f;
            row->m_Value = value;
        }
        m_Command = new SeqZorCommand(m_Root);
        m_Strategy = new SeqZorStrategy(m_Root);
    }
    void TearDown() override
    {
        m_Manage.ClearSequence();
        delete m_Strategy;
        delete m_Command;
        dbtest::ResetTables(g_DBZorCommand, g_DBZorTown);
        ZorSampleUITest::TearDown();
    }

    static void Command(int id, const wchar_t* name, const wchar_t* type, int amount, int enabled, int function = 0)
    {
        DBZorCommandData* c = g_DBZorCommand.GetRow(id);
        c->m_ID = id;
        c->m_Name = GxString::Format(L"C%d", id);
        c->m_ShowName = name;
        c->m_ResourceType = type;
        c->m_ResourceAmount = amount;
        c->m_Enabled = enabled;
        c->m_Function = function;
        c->m_Descript = GxString::Format(L"help%d", id);
    }

    GxTaskUIListBoxFx* List()
    {
        return dynamic_cast<GxTaskUIListBoxFx*>(Widget(L"$ZORCOMMAND:SeqZorCommand", L"lbox_command"));
    }
    GxTaskUIBase* Run() { return Widget(L"$ZORCOMMAND:SeqZorCommand", L"btn_zorrun"); }
    // The list row of a command ID, or -1.
    int Row(int id)
    {
        for (int i = 0; List() && i < List()->GetItemCount(); ++i)
            if (List()->GetItem(i)->m_Value == id)
                return i;
        return -1;
    }
    // A click on a row of the list (rows are its module's font size + 2 high).
    void ClickRow(int row)
    {
        ASSERT_GE(row, 0);
        const DBUIModuleData* module = FindUIModuleData(L"lbox_command");
        ASSERT_NE(module, nullptr);
        const int height = GxTaskUIBase::GetSystemConfig().m_FontSize[module->m_FontIndex] + 2;
        const GxVector4 p = List()->GetWorldPos();
        Click(static_cast<int>(p.x) + 40, static_cast<int>(p.y) + List()->GetClientTop() + height * row + height / 2);
    }

    SeqZorCommand* m_Command = nullptr;
    SeqZorStrategy* m_Strategy = nullptr;
};

TEST_F(ZorCommandScreenTest, ListShowsCostsHeadingsAndAffordability)
{
    State().m_Resource_Bone = 600; // exactly the cost: enough
    State().m_Resource_Magic = 499;
    Enter(m_Command, 1);
    ASSERT_EQ(Row(5), -1) << "a disabled command is not listed";
    const GxUIListBoxItem* heading = List()->GetItem(Row(1));
    ASSERT_NE(heading, nullptr);
    EXPECT_FALSE(heading->m_Enabled);
    ASSERT_EQ(heading->m_SubItems.size(), 1u);
    EXPECT_TRUE(heading->m_SubItems[0].m_Text.empty());
    const GxUIListBoxItem* free = List()->GetItem(Row(2));
    EXPECT_EQ(free->m_Name, L"ok");
    EXPECT_EQ(free->m_SubItems[0].m_Text, L"　　不要");
    const GxUIListBoxItem* bone = List()->GetItem(Row(3));
    EXPECT_EQ(bone->m_SubItems[0].m_Text, L"　骨　   600");
    EXPECT_EQ(bone->m_Name, L"ok");
    EXPECT_EQ(bone->m_Color, 0xFFFFFFFFu);
    const GxUIListBoxItem* magic = List()->GetItem(Row(6));
    EXPECT_EQ(magic->m_Name, L"");
    EXPECT_EQ(magic->m_Color, 0xFFFF0000u);
    EXPECT_FALSE(Run()->IsEnabled());

    // The developer keys: 1 lists the disabled commands, 0 hides them again, 5 fills the bone.
    Tap(SDLK_1);
    EXPECT_EQ(Row(5), -1) << "developer keys need DebugModeFlag";
    SetDebugMode(true);
    Tap(SDLK_1);
    EXPECT_NE(Row(5), -1);
    Tap(SDLK_0);
    EXPECT_EQ(Row(5), -1);
    State().m_Resource_Bone = 99500;
    Tap(SDLK_5);
    EXPECT_EQ(State().m_Resource_Bone, 99999);
}

TEST_F(ZorCommandScreenTest, SelectionDrivesHelpAndRunWhichPaysTheMultipliedCostOrOpensTheMap)
{
    State().m_Resource_Bone = 599;
    Enter(m_Command, 1);
    ZorTaskCommandWindowView* view = m_Command->GetWindowView();
    EXPECT_EQ(view->GetText(), L"命令を選択してください。命令の実行には１週間かかります");
    ClickRow(Row(1));
    EXPECT_EQ(view->GetSelectedCommandID(), 0) << "a heading cannot be chosen";
    ClickRow(Row(2));
    EXPECT_TRUE(Run()->IsEnabled());
    EXPECT_EQ(view->GetText(), L"help2");
    ClickRow(Row(3));
    EXPECT_FALSE(Run()->IsEnabled()) << "one bone short";
    EXPECT_EQ(view->GetText(), L"help3||");
    EXPECT_EQ(view->GetSelectedCommandID(), 3);
    view->SetSelection(99);
    EXPECT_EQ(view->GetSelectedCommandID(), 0);
    EXPECT_FALSE(Run()->IsEnabled());

    State().m_Resource_Bone = 1000;
    m_Command->RefreshCommandList(false);
    ClickRow(Row(3));
    ClickOn(Run());
    EXPECT_EQ(State().m_Resource_Bone, 400);
    m_Command->RefreshCommandList(false);
    ClickRow(Row(4));
    ClickOn(Run());
    EXPECT_EQ(State().m_Resource_Bone, 400);
    EXPECT_EQ(m_Manage.GetCurrentSequence(), m_Strategy);
}

TEST_F(ZorTest, CommandStatusBarFormatsAndColours)
{
    State().m_Resource_Bone = 9999;
    State().m_Resource_Gold = 12345;
    State().m_AstarosWeekLimit = 150;
    ZorTaskStrParamView::Text t[ZorTaskStrParamView::kTexts];
    ZorTaskStrParamView::Layout(State(), t);
    EXPECT_EQ(t[0].m_Text, L"9999");
    EXPECT_EQ(t[0].m_Font, 2);
    EXPECT_EQ(t[2].m_Text, L" 12345");
    EXPECT_EQ(t[2].m_Font, 1);
    EXPECT_EQ(t[9].m_Text, L"99");
    EXPECT_EQ(t[5].m_Colour, 0xFFFFFFFFu) << "facility 2 stays white at level 0";
    EXPECT_EQ(t[6].m_Colour, 0xFF808080u);
}

TEST_F(ZorCommandScreenTest, TownButtonsFollowOccupationAndRequirementsAndOccupiedTownsShowFlags)
{
    struct Town
    {
        int id, enabled, occupied, require;
        const wchar_t* button;
        bool open;
    };
    const Town towns[] = {{1, 1, 1, 0, L"btn_town_village", false},
                          {2, 1, 0, 1, L"btn_town_fort", true},
                          {3, 1, 0, 4, L"btn_town_capital", false},
                          {4, 1, 0, 0, L"btn_town4", true},
                          {5, 0, 0, 0, L"btn_town5", false}};
    for (const Town& t : towns)
    {
        DBZorTownData* row = g_DBZorTown.GetRow(t.id);
        row->m_ID = t.id;
        row->m_ShowName = GxString::Format(L"町%d", t.id);
        row->m_ButtonName = t.button;
        row->m_RequireTownID = t.require;
        row->m_StartLabel = GxString::Format(L"TOWN%d", t.id);
        row->m_FlagPosX = 900.0f;
        row->m_FlagPosY = 50.0f * t.id;
        State().m_TownStates[t.id].m_Enabled = t.enabled;
        State().m_TownStates[t.id].m_Occupied = t.occupied;
    }
    Enter(m_Strategy, 1);
    for (const Town& t : towns)
    {
        ASSERT_NE(Widget(L"$UI:SeqZorStrategy", t.button), nullptr) << t.id;
        EXPECT_EQ(Widget(L"$UI:SeqZorStrategy", t.button)->IsEnabled(), t.open) << "town " << t.id;
        EXPECT_EQ(Pixel(912, 50 * t.id + 16) == 0xFFC02020u, t.occupied != 0) << "the flag of town " << t.id;
    }

    ClickOn(Widget(L"$UI:SeqZorStrategy", L"btn_stray"));
    EXPECT_EQ(State().m_NextInvTownID, 0) << "values outside the towns are no towns";
    ClickOn(Widget(L"$UI:SeqZorStrategy", L"btn_town_fort"));
    EXPECT_EQ(State().m_NextInvTownID, 2);
}

} // namespace
