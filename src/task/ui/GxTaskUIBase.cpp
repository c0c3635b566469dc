#include "task/ui/GxTaskUIBase.h"

#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

GxTaskUIBase::GxTaskUIBase(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex)
    : GxTaskActor(parent, globalName, localName, localIndex)
{
    AddTaskKind(GX_TASKKIND_WIDGET);
}

GxTaskUIBase::~GxTaskUIBase() = default;

int32_t GxTaskUIBase::Update(int32_t, int64_t elapsed)
{
    StepActions(this, static_cast<int32_t>(elapsed / 1000));
    return 0;
}

int32_t GxTaskUIBase::RegisterDraw(int32_t, int64_t)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(IsTopMostInTree() ? 7 : 5))
            list->Add(this, GX_RENDER_ASCEND, GetOrderZ(), 0);
    }
    return 0;
}

void GxTaskUIBase::EnableEventReport(int32_t code)
{
    if (code >= 0 && code < 32)
        m_EventReportFlags |= 1u << code;
}

void GxTaskUIBase::DisableEventReport(int32_t code)
{
    if (code >= 0 && code < 32)
        m_EventReportFlags &= ~(1u << code);
}

bool GxTaskUIBase::IsEventReported(int32_t code) const
{
    return code >= 0 && code < 32 && (m_EventReportFlags & (1u << code)) != 0;
}

namespace
{
const GxTaskUIBase* WidgetParent(const GxTaskBase* task)
{
    const GxTaskBase* parent = task->GetParent();
    return parent && parent->HasKind(GX_TASKKIND_WIDGET) ? static_cast<const GxTaskUIBase*>(parent) : nullptr;
}
} // namespace

bool GxTaskUIBase::IsVisibleInTree() const
{
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (!w->IsVisible())
            return false;
    }
    return true;
}

bool GxTaskUIBase::IsEnabledInTree() const
{
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (!w->IsEnabled())
            return false;
    }
    return true;
}

int32_t GxTaskUIBase::GetEffectiveModalPriority() const
{
    int32_t priority = 0;
    bool any = false;
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (w->IsModal() && (!any || w->GetModalPriority() > priority))
        {
            priority = w->GetModalPriority();
            any = true;
        }
    }
    return priority;
}

bool GxTaskUIBase::IsTopMostInTree() const
{
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (w->IsTopMost())
            return true;
    }
    return false;
}

bool GxTaskUIBase::PostUIEventCode(int32_t code)
{
    return PostUIEvent(GxUIEvent(this, code, 0));
}

bool GxTaskUIBase::PostUIEvent(const GxUIEvent& event)
{
    GxTaskManage* manage = GetManager();
    GxSeqBase* target = manage ? manage->GetCurrentSequence() : nullptr;
    return target && target->QueueUIEvent(event);
}
