#include "task/GxTaskControl.h"

#include "TaskTestSupport.h"
#include "appdata/DBUILayout.h"
#include "core/GxLog.h"

#include <gtest/gtest.h>

namespace
{

// A screen that notes the rows it is asked to build, as "<row id>:<name>[<index>]@<folder>".
struct LayoutScreen : GxSeqBase
{
    using GxSeqBase::GxSeqBase;
    GxTaskUIBase* CreateUITaskFromLayout(GxTaskBase* folder, const DBUILayoutData& row, const wchar_t* name,
                                         int32_t index) override
    {
        built.push_back(std::to_wstring(row.m_ID) + L":" + name + L"[" + std::to_wstring(index) + L"]@" +
                        folder->GetTaskName());
        return nullptr;
    }
    std::vector<std::wstring> built;
};

} // namespace

TEST(GxTaskControl, LayoutRowsOfTheFolderAreBuiltInTableOrder)
{
    struct Row
    {
        int32_t index;
        const wchar_t* parent;
        const wchar_t* name;
        int32_t taskIndex;
    };
    for (const Row& r :
         {Row{3, L"$UI:SeqTest", L"btn_b", 0}, Row{5, L"$UI:Other", L"btn_x", 0}, Row{7, L"$UI:SeqTest", L"btn_a", 2}})
    {
        DBUILayoutData* row = g_DBUILayout.GetRow(r.index);
        row->m_ID = r.index;
        row->m_ParentName = r.parent;
        row->m_TaskName = r.name;
        row->m_TaskIndex = r.taskIndex;
    }
    TaskTree tree;
    auto* screen = new LayoutScreen(tree.root, L"SeqTest");
    new GxTaskFolder(screen, L"$UI:SeqTest");
    GxTaskControl::CreateUIFromDBUILayout(screen, L"$UI:SeqTest");
    EXPECT_EQ(screen->built, (std::vector<std::wstring>{L"3:btn_b[0]@$UI:SeqTest", L"7:btn_a[2]@$UI:SeqTest"}));

    // No folder of that name: a log line, nothing built.
    const uint32_t errors = GxLog::GetErrorCount();
    screen->built.clear();
    GxTaskControl::CreateUIFromDBUILayout(screen, L"$UI:Missing");
    EXPECT_TRUE(screen->built.empty());
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    for (int index : {3, 5, 7})
        *g_DBUILayout.GetRow(index) = DBUILayoutData();
}
