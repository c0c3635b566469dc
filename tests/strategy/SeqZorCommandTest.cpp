#include "ZorDeviceSupport.h"
#include "ZorTestSupport.h"

#include "appdata/DBZorCommand.h"
#include "appdata/DBZorTown.h"
#include "strategy/screens/SeqZorCommand.h"
#include "strategy/screens/SeqZorStrategy.h"
#include "strategy/screens/ZorTaskCommandWindowView.h"
#include "strategy/screens/ZorTaskStrParamView.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUIVSliderIs.h"

namespace
{

// The command screen with a switch for the developer keys.
class TestCommandScreen : public SeqZorCommand
{
public:
    using SeqZorCommand::SeqZorCommand;
    bool m_Debug = false;

protected:
    bool IsDebugMode() const override { return m_Debug; }
};

// Both between-stage screens in the test tree, with the widgets their layout rows would give and a
// small command and town table.
class ZorCommandScreenTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        m_Manage.SetRenderLists(m_Lists, &m_Bank);
        Command(1, L"見出し", L"S", 0, 1);
        Command(2, L"休む", L"N", 0, 1);
        Command(3, L"骨集め", L"B", 200, 1);
        Command(4, L"地図", L"N", 0, 1, 1);
        Command(5, L"隠し", L"G", 10, 0);
        Command(6, L"魔術", L"M", 500, 1);
        State().InitNewGame();
        State().m_CommandStates[3].m_ResourceMultiFactor = 3;
        State().m_CommandStates[3].m_Label = L"CMD_BONE";

        m_Command = new TestCommandScreen(m_Root);
        auto* window = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(L"$ZORCOMMAND:SeqZorCommand"));
        m_List = new GxTaskUIListBoxFx(window, nullptr, L"lbox_command");
        new GxTaskUIVSliderIs(window, nullptr, L"vsld_selectitem");
        m_Run = new GxTaskUIButtonIs(window, nullptr, L"btn_zorrun");
        m_Strategy = new SeqZorStrategy(m_Root);
        GxSeqBase::ResetInputLocks();
    }
    void TearDown() override
    {
        dbtest::ResetTables(g_DBZorCommand, g_DBZorTown);
        ZorTest::TearDown();
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

    void Enter(GxTaskBase* seq)
    {
        m_Manage.ChangeSequence(seq, 1, 0);
        m_Manage.ApplyPendingSequence();
    }
    // The list row of a command ID, or -1.
    int Row(int id)
    {
        for (int i = 0; i < m_List->GetItemCount(); ++i)
            if (m_List->GetItem(i)->m_Value == id)
                return i;
        return -1;
    }
    void Click(GxSeqBase* seq, GxTaskBase* sender) { seq->OnUIEvent1(sender, GxUIEvent(sender, 1, 0)); }

    GxTaskRenderManage m_Lists[20];
    int32_t m_Bank = 0;
    TestCommandScreen* m_Command = nullptr;
    SeqZorStrategy* m_Strategy = nullptr;
    GxTaskUIListBoxFx* m_List = nullptr;
    GxTaskUIButtonIs* m_Run = nullptr;
};

TEST_F(ZorCommandScreenTest, ListShowsCostsHeadingsAndAffordability)
{
    State().m_Resource_Bone = 600; // exactly the cost: enough
    State().m_Resource_Magic = 499;
    Enter(m_Command);
    ASSERT_EQ(Row(5), -1) << "a disabled command is not listed";
    const GxUIListBoxItem* heading = m_List->GetItem(Row(1));
    ASSERT_NE(heading, nullptr);
    EXPECT_FALSE(heading->m_Enabled);
    ASSERT_EQ(heading->m_SubItems.size(), 1u);
    EXPECT_TRUE(heading->m_SubItems[0].m_Text.empty());
    const GxUIListBoxItem* free = m_List->GetItem(Row(2));
    EXPECT_EQ(free->m_Name, L"ok");
    EXPECT_EQ(free->m_SubItems[0].m_Text, L"　　不要");
    const GxUIListBoxItem* bone = m_List->GetItem(Row(3));
    EXPECT_EQ(bone->m_SubItems[0].m_Text, L"　骨　   600");
    EXPECT_EQ(bone->m_Name, L"ok");
    EXPECT_EQ(bone->m_Color, 0xFFFFFFFFu);
    const GxUIListBoxItem* magic = m_List->GetItem(Row(6));
    EXPECT_EQ(magic->m_Name, L"");
    EXPECT_EQ(magic->m_Color, 0xFFFF0000u);
    EXPECT_FALSE(m_Run->IsEnabled());
}

TEST_F(ZorCommandScreenTest, DisabledCommandsOnlyWithTheDeveloperKey)
{
    Enter(m_Command);
    m_Command->OnKeyDown('1', 0);
    EXPECT_EQ(Row(5), -1) << "developer keys need DebugModeFlag";
    m_Command->m_Debug = true;
    m_Command->OnKeyDown('1', 0);
    EXPECT_NE(Row(5), -1);
    m_Command->OnKeyDown('0', 0);
    EXPECT_EQ(Row(5), -1);
    State().m_Resource_Bone = 99500;
    m_Command->OnKeyDown('5', 0);
    EXPECT_EQ(State().m_Resource_Bone, 99999);
}

TEST_F(ZorCommandScreenTest, SelectionDrivesHelpAndRunButton)
{
    State().m_Resource_Bone = 599;
    Enter(m_Command);
    ZorTaskCommandWindowView* view = m_Command->GetWindowView();
    EXPECT_EQ(view->GetText(), L"命令を選択してください。命令の実行には１週間かかります");
    view->SetSelection(Row(2));
    EXPECT_TRUE(m_Run->IsEnabled());
    EXPECT_EQ(view->GetText(), L"help2");
    view->SetSelection(Row(3));
    EXPECT_FALSE(m_Run->IsEnabled()) << "one bone short";
    EXPECT_EQ(view->GetText(), L"help3||");
    EXPECT_EQ(view->GetSelectedCommandID(), 3);
    view->SetSelection(99);
    EXPECT_EQ(view->GetSelectedCommandID(), 0);
    EXPECT_FALSE(m_Run->IsEnabled());
}

TEST_F(ZorCommandScreenTest, RunPaysTheMultipliedCostOrOpensTheMap)
{
    State().m_Resource_Bone = 1000;
    Enter(m_Command);
    m_Command->GetWindowView()->SetSelection(Row(3));
    Click(m_Command, m_Run);
    EXPECT_EQ(State().m_Resource_Bone, 400);

    m_Command->RefreshCommandList(false);
    m_Command->GetWindowView()->SetSelection(Row(4));
    Click(m_Command, m_Run);
    EXPECT_EQ(State().m_Resource_Bone, 400);
    EXPECT_EQ(m_Manage.GetPendingSequence(), m_Strategy);
}

TEST_F(ZorCommandScreenTest, StatusBarFormatsAndColours)
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

TEST_F(ZorCommandScreenTest, TownButtonsFollowOccupationAndRequirements)
{
    struct Town
    {
        int id, enabled, occupied, require;
        bool open;
    };
    const Town towns[] = {
        {1, 1, 1, 0, false}, {2, 1, 0, 1, true}, {3, 1, 0, 4, false}, {4, 1, 0, 0, true}, {5, 0, 0, 0, false}};
    auto* ui = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(L"$UI:SeqZorStrategy"));
    std::vector<GxTaskUIButtonIs*> buttons;
    for (const Town& t : towns)
    {
        DBZorTownData* row = g_DBZorTown.GetRow(t.id);
        row->m_ID = t.id;
        row->m_ShowName = GxString::Format(L"町%d", t.id);
        row->m_ButtonName = GxString::Format(L"btn_town%d", t.id);
        row->m_RequireTownID = t.require;
        row->m_StartLabel = GxString::Format(L"TOWN%d", t.id);
        row->m_FlagPosX = 100.0f * t.id;
        row->m_FlagPosY = 50.0f * t.id;
        State().m_TownStates[t.id].m_Enabled = t.enabled;
        State().m_TownStates[t.id].m_Occupied = t.occupied;
        buttons.push_back(new GxTaskUIButtonIs(ui, nullptr, row->m_ButtonName.c_str()));
        buttons.back()->SetValue(t.id);
    }
    m_Strategy->RefreshTownButtons();
    for (size_t i = 0; i < std::size(towns); ++i)
        EXPECT_EQ(buttons[i]->IsEnabled(), towns[i].open) << "town " << towns[i].id;
    {
        zortest::ZorDevice device; // a flag over the occupied town only
        ASSERT_TRUE(device.Open(m_Folder.File(L""), {{L"icon_dominionflag", 20, 20, 0xFFFF0000}}));
        device.Frame([] { SeqZorCommand::DrawTownFlags(); });
        for (const Town& t : towns)
            EXPECT_EQ(device.At(100.0f * t.id + 10.0f, 50.0f * t.id + 10.0f), t.occupied ? 0xFFFF0000u : 0xFF000000u)
                << "town " << t.id;
    }

    Click(m_Strategy, buttons[1]);
    EXPECT_EQ(State().m_NextInvTownID, 2);
    auto* stray = new GxTaskUIButtonIs(ui, nullptr, L"btn_stray");
    stray->SetValue(20);
    Click(m_Strategy, stray);
    EXPECT_EQ(State().m_NextInvTownID, 2) << "values outside the towns are no towns";
}

} // namespace
