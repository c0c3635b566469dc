// Tree control walks: the whole sibling run is visited whatever the tasks' states, layer types filter
// the clearing, and the queries find a busy actor or a running transition at any depth.
#include "TaskTestSupport.h"

#include "appdata/DBUILayout.h"
#include "core/GxLog.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/ui/GxTaskUIPanelIs.h"

#include <gtest/gtest.h>

namespace
{

// A parent with three layers, the middle one holding a nested layer; the last one is dead, the first
// suspended.
struct LayerRun : TaskTree
{
    GxTaskBase* parent = new GxTaskBase(root, L"parent");
    GxTaskLayer* a = new GxTaskLayer(parent, L"a");
    GxTaskLayer* b = new GxTaskLayer(parent, L"b");
    GxTaskLayer* nested = new GxTaskLayer(b, L"nested");
    GxTaskLayer* c = new GxTaskLayer(parent, L"c");

    LayerRun()
    {
        a->Suspend();
        c->Kill();
        for (GxTaskLayer* layer : Layers())
            layer->SetLocalTransitMode(3); // ResetLayer puts it back to 1
    }
    std::vector<GxTaskLayer*> Layers() const { return {a, b, nested, c}; }
    std::vector<int32_t> Modes() const
    {
        std::vector<int32_t> modes;
        for (GxTaskLayer* layer : Layers())
            modes.push_back(layer->GetLocalTransitMode());
        return modes;
    }
};

} // namespace

TEST(GxTaskControl, ClearLayersVisitsTheRunFromTheStartWhateverTheState)
{
    LayerRun run;
    GxTaskControl::ClearLayers(run.b, 0); // from b: b, its child and its later sibling, not a
    EXPECT_EQ(run.Modes(), (std::vector<int32_t>{3, 1, 1, 1}));

    LayerRun all;
    GxTaskControl::ClearLayers(all.a, 0);
    EXPECT_EQ(all.Modes(), (std::vector<int32_t>{1, 1, 1, 1}));
}

TEST(GxTaskControl, ClearLayersOfOneTypeLeavesTheOthers)
{
    LayerRun run;
    run.nested->SetLayerType(7);
    run.c->SetLayerType(7);
    GxTaskControl::ClearLayers(run.a, 7);
    EXPECT_EQ(run.Modes(), (std::vector<int32_t>{3, 3, 1, 1}));
}

TEST(GxTaskControl, ActorQueriesFindBusyWidgetsUnderPanelsAndFinishEmptiesThem)
{
    TaskTree tree;
    GxTaskBase* top = new GxTaskBase(tree.root, L"top");
    GxTaskUIPanelIs* panel = new GxTaskUIPanelIs(top, L"panel");
    GxTaskUIPanelIs* inner = new GxTaskUIPanelIs(panel, L"inner");
    new GxTaskLayer(top, L"idle");
    EXPECT_FALSE(GxTaskControl::IsAnyActorActing(top));

    inner->AddActionWait(1, 500);
    EXPECT_TRUE(GxTaskControl::IsAnyActorActing(top));
    EXPECT_FALSE(GxTaskControl::IsAnyActorActing(panel->GetNextSibling())); // the run after the panel

    GxTaskControl::FinishActorActions(top);
    EXPECT_FALSE(GxTaskControl::IsAnyActorActing(top));
    EXPECT_TRUE(GxTaskActor::IsActionEmpty(inner));
}

TEST(GxTaskControl, TransitionQueryAndFinish)
{
    LayerRun run;
    EXPECT_FALSE(GxTaskControl::IsAnyLayerTransiting(run.a));
    run.nested->m_LocalTransit.m_Transit = true;
    run.nested->m_LocalTransit.m_TransitTimeLeft = 500;
    run.nested->m_LocalTransit.m_TransitTimeTotal = 500;
    EXPECT_TRUE(GxTaskControl::IsAnyLayerTransiting(run.a));
    GxTaskControl::FinishLayerTransitions(run.a);
    EXPECT_FALSE(GxTaskControl::IsAnyLayerTransiting(run.a));
}

// Layout groups: which rows reach the owner, in which order.
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
