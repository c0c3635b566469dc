// The widget factory: each UIType builds its class, names go global or local by the index, unknown
// types and module names build nothing, and a layout group of the sample game's tables is built whole.
#include "WidgetTestSupport.h"

#include "../../appdata/DBTestSupport.h"

#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "support/SampleGameCache.h"
#include "task/GxTaskControl.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxUIFactory.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace dbtest;

namespace
{

DBUIModuleData Module(int32_t type)
{
    DBUIModuleData row;
    row.m_ID = 5;
    row.m_UIType = type;
    row.m_ModuleName = L"m";
    row.m_Width = 120;
    row.m_Height = 40;
    return row;
}

class UIFactory : public ::testing::Test
{
protected:
    void SetUp() override { ResetTables(g_DBUIModule, g_DBUILayout); }
    void TearDown() override { ResetTables(g_DBUIModule, g_DBUILayout); }

    WidgetTree m_Tree;
    TempFolder m_Folder;
    LogCapture m_Log{m_Folder};
};

} // namespace

TEST_F(UIFactory, EveryTypeCodeBuildsItsClassWithTheModuleApplied)
{
    for (int32_t type : {1, 8, 9, 10, 11, 15, 16, 17, 18, 19, 20, 21, 30, 31, 40, 41, 45, 50, 51})
    {
        SCOPED_TRACE(type);
        DBUIModuleData row = Module(type);
        GxTaskUIBase* w = GxUIFactory::CreateUITask(m_Tree.seq, &row, L"w", 0);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->GetTypeCode(), type);
        EXPECT_TRUE(w->HasKind(GX_TASKKIND_WIDGET) && w->HasKind(GX_TASKKIND_ACTOR));
        EXPECT_EQ(w->HasKind(GxTaskUIButtonIs::kKindButton), type >= 18 && type <= 21);
        EXPECT_EQ(w->GetParent(), m_Tree.seq);
        EXPECT_EQ(w->GetWidth(), 120);
        w->Kill();
        m_Tree.manage.DeleteDeadTasks(m_Tree.root);
    }
    const int32_t before = m_Tree.seq->GetChildCount();
    for (int32_t type : {0, 2, 12, 52})
    {
        DBUIModuleData row = Module(type);
        EXPECT_EQ(GxUIFactory::CreateUITask(m_Tree.seq, &row, L"w", 0), nullptr);
    }
    EXPECT_EQ(m_Tree.seq->GetChildCount(), before);
}

TEST_F(UIFactory, IndexMinusOneNamesGloballyOtherIndicesLocally)
{
    DBUIModuleData row = Module(15);
    GxTaskUIBase* global = m_Tree.seq->CreateUITask(m_Tree.seq, &row, L"$PANEL:Test", -1);
    GxTaskUIBase* local = m_Tree.seq->CreateUITask(m_Tree.seq, &row, L"panel", 3);
    ASSERT_TRUE(global && local);
    EXPECT_EQ(global->GetTaskName(), L"$PANEL:Test");
    EXPECT_EQ(global->GetTaskLocalName(), L"");
    EXPECT_EQ(m_Tree.manage.FindTaskByName(L"$PANEL:Test"), global);
    EXPECT_EQ(local->GetTaskName(), L"");
    EXPECT_EQ(local->GetTaskLocalName(), L"panel");
    EXPECT_EQ(local->GetTaskLocalIndex(), 3);
    EXPECT_EQ(local->GetLocalNameFolder(), m_Tree.seq);
}

TEST_F(UIFactory, ModuleNameAndIdLookups)
{
    GxDBBase& table = g_DBUIModule;
    WriteText(m_Folder.File(L"m.txt"), L"ID\tUIType\tModuleName\tWidth\n7\t18\tbtn_ok\t64\n");
    ASSERT_TRUE(table.Load(m_Folder.File(L"m.txt")));

    GxTaskUIBase* byName = m_Tree.seq->CreateUITaskByModuleName(m_Tree.seq, L"btn_ok", L"ok", 0);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->GetTypeCode(), 18);
    GxTaskUIBase* byId = m_Tree.seq->CreateUITaskFromId(m_Tree.seq, 7, L"ok2", 0);
    ASSERT_NE(byId, nullptr);
    EXPECT_EQ(byId->GetTypeCode(), 18);

    EXPECT_EQ(m_Tree.seq->CreateUITaskByModuleName(m_Tree.seq, L"btn_none", L"x", 0), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"UIモジュールデータ[btn_none]が見つかりません\n"));
    for (int32_t id : {0, 8, -1, 9999})
        EXPECT_EQ(m_Tree.seq->CreateUITaskFromId(m_Tree.seq, id, L"x", 0), nullptr);
}

TEST_F(UIFactory, LayoutGroupOfTheSampleTablesIsBuiltInTableOrder)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Folder.Path().string()));
    ASSERT_TRUE(g_DBUIModule.Load(m_Folder.File(L"data/db_uimodule.txt")));
    ASSERT_TRUE(g_DBUILayout.Load(m_Folder.File(L"data/db_uilayout.txt")));
    GxTaskFolder* ui = new GxTaskFolder(m_Tree.seq, L"$UI:SeqTitle");

    GxTaskControl::CreateUIFromDBUILayout(m_Tree.seq, L"$UI:SeqTitle");
    std::vector<std::wstring> names;
    for (GxTaskBase* child : Children(ui))
        names.push_back(child->GetTaskLocalName());
    ASSERT_EQ(names.size(), 8u);
    EXPECT_EQ(names.front(), L"btn_title_start");
    EXPECT_EQ(names.back(), L"btn_title_exit");
    auto* first = static_cast<GxTaskUIBase*>(ui->GetFirstChild());
    EXPECT_EQ(first->GetTypeCode(), 18);
    EXPECT_FLOAT_EQ(first->GetPos().x, 392.0f);
    EXPECT_FLOAT_EQ(first->GetPos().y, 360.0f);
    EXPECT_EQ(first->GetDescript(), L"はじめから");

    GxTaskControl::CreateUIFromDBUILayout(m_Tree.seq, L"$UI:Nowhere");
    EXPECT_TRUE(m_Log.Contains(L"GxTaskControl::CreateUIFromDBUILayout タスクフォルダが見つかりません[$UI:Nowhere]\n"));
}
