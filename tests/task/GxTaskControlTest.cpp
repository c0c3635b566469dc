// Tree control walks: the whole sibling run is visited whatever the tasks' states, layer types filter
// the clearing, and the queries find a busy actor or a running transition at any depth.
#include "TaskTestSupport.h"

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
