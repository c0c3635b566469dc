#include "task/GxTaskControl.h"

#include "appdata/DBUILayout.h"
#include "core/GxLog.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskActor.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

// Calls act on every task of the run from first (children before the task) whose kind has the bits.
template <class Task, class Act> void VisitAll(GxTaskBase* first, uint32_t kind, Act&& act)
{
    for (GxTaskBase* task = first; task; task = task->GetNextSibling())
    {
        if (GxTaskBase* child = task->GetFirstChild())
            VisitAll<Task>(child, kind, act);
        if (task->HasKind(kind))
            act(static_cast<Task*>(task));
    }
}

// True at the first task of the run (children before the task) of the kind whose test is true.
template <class Task, class Test> bool AnyOf(GxTaskBase* first, uint32_t kind, Test&& test)
{
    for (GxTaskBase* task = first; task; task = task->GetNextSibling())
    {
        if (GxTaskBase* child = task->GetFirstChild(); child && AnyOf<Task>(child, kind, test))
            return true;
        if (task->HasKind(kind) && test(static_cast<Task*>(task)))
            return true;
    }
    return false;
}

} // namespace

void GxTaskControl::ClearLayers(GxTaskBase* first, int layerType)
{
    VisitAll<GxTaskLayer>(first, GX_TASKKIND_LAYER, [layerType](GxTaskLayer* layer) {
        if (layerType == 0 || layer->GetLayerType() == layerType)
            layer->ResetLayer();
    });
}

void GxTaskControl::FinishLayerTransitions(GxTaskBase* first)
{
    VisitAll<GxTaskLayer>(first, GX_TASKKIND_LAYER, [](GxTaskLayer* layer) { layer->FinishLocalTransit(); });
}

void GxTaskControl::FinishActorActions(GxTaskBase* first)
{
    VisitAll<GxTaskActor>(first, GX_TASKKIND_ACTOR, [](GxTaskActor* actor) { GxTaskActor::FinishActions(actor); });
}

void GxTaskControl::ResetUIInputStates(GxTaskBase* first)
{
    VisitAll<GxTaskUIBase>(first, GX_TASKKIND_WIDGET, [](GxTaskUIBase* widget) { widget->ResetInputState(); });
}

bool GxTaskControl::IsAnyLayerTransiting(GxTaskBase* first)
{
    return AnyOf<GxTaskLayer>(first, GX_TASKKIND_LAYER, [](GxTaskLayer* layer) { return layer->IsLocalTransiting(); });
}

bool GxTaskControl::IsAnyActorActing(GxTaskBase* first)
{
    return AnyOf<GxTaskActor>(first, GX_TASKKIND_ACTOR,
                              [](GxTaskActor* actor) { return !GxTaskActor::IsActionEmpty(actor); });
}

void GxTaskControl::CreateUIFromDBUILayout(GxSeqBase* owner, const std::wstring& folderName)
{
    GxTaskManage* manage = owner ? owner->GetManager() : nullptr;
    GxTaskBase* folder = manage ? manage->FindTaskByName(folderName) : nullptr;
    if (!folder)
    {
        GxLog::Error(L"GxTaskControl::CreateUIFromDBUILayout タスクフォルダが見つかりません[%s]\n", folderName.c_str());
        return;
    }
    for (int32_t i = 0; i < g_DBUILayout.GetCapacity(); ++i)
    {
        const DBUILayoutData* row = g_DBUILayout.GetRow(i);
        if (row->m_ParentName.empty() || row->m_ParentName != folderName)
            continue;
        owner->CreateUITaskFromLayout(folder, *row, row->m_TaskName.c_str(), row->m_TaskIndex);
    }
}
