#include "strategy/screens/ZorTaskProxy.h"

#include "task/GxTaskManage.h"

ZorTaskProxy::ZorTaskProxy(GxTaskBase* parent, const wchar_t* globalName) : GxTaskBase(parent, globalName) {}

ZorTaskProxy::~ZorTaskProxy() = default;

GxTaskBase* ZorTaskProxy::First() const
{
    return m_Target && GetManager() ? m_Target->GetFirstChild() : nullptr;
}

void ZorTaskProxy::OnSequenceEnter()
{
    if (GxTaskBase* first = First())
        GetManager()->WalkSequenceEnter(first);
}

void ZorTaskProxy::OnSequenceLeave()
{
    if (GxTaskBase* first = First())
        GetManager()->WalkSequenceLeave(first);
}

void ZorTaskProxy::OnExtraHook1()
{
    if (GxTaskBase* first = First())
        GetManager()->WalkExtraHook1(first);
}

void ZorTaskProxy::OnExtraHook2()
{
    if (GxTaskBase* first = First())
        GetManager()->WalkExtraHook2(first);
}

void ZorTaskProxy::OnExtraHook3()
{
    if (GxTaskBase* first = First())
        GetManager()->WalkExtraHook3(first);
}

int32_t ZorTaskProxy::Update(int32_t step, int64_t elapsed)
{
    if (GxTaskBase* first = First())
        GetManager()->WalkUpdate(first, step, elapsed);
    return 0;
}

int32_t ZorTaskProxy::UpdatePreStart(int32_t step, int64_t elapsed)
{
    if (GxTaskBase* first = First())
        GetManager()->WalkUpdatePreStart(first, step, elapsed);
    return 0;
}

int32_t ZorTaskProxy::RegisterDraw(int32_t step, int64_t elapsed)
{
    if (GxTaskBase* first = First())
        GetManager()->WalkRegisterDraw(first, step, elapsed);
    return 0;
}
