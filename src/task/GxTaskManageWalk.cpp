// The task manager's walks over the tree: per-step walks, lifecycle hooks, the dead-task sweep and the
// input walks with their stop rules.
#include "task/GxTaskManage.h"

#include "task/GxSeqBase.h"
#include "task/GxTaskBase.h"

// [SECTION] per-step walks
// [SECTION] hook walks and the dead-task sweep
// [SECTION] input walks
// [SECTION] the manager's own listener operations

// ---------------------------------------------------------------------------------------------------
// [SECTION] per-step walks

// Returns false when the run was ended by a one-step stop (flag 0x2000000); the caller's run goes on.
bool GxTaskManage::WalkUpdateRun(GxTaskBase* first, int32_t step, int64_t elapsed)
{
    for (GxTaskBase* t = first; t; t = t->m_NextSibling)
    {
        if (t->IsActive() && !(t->m_Flags & GX_TASKFLAG_SKIP_UPDATE))
        {
            if (!(t->m_Flags & GX_TASKFLAG_PRESTART) || m_SequenceStarted)
                t->Update(step, elapsed);
            if (!(t->m_Flags & GX_TASKFLAG_NOCHILD_UPDATE) && t->m_FirstChild)
                WalkUpdateRun(t->m_FirstChild, step, elapsed);
        }
        if (t->m_Flags & GX_TASKFLAG_STOP_STEP)
            return false;
        if (t->m_Flags & GX_TASKFLAG_END_OF_RUN)
            break;
    }
    return true;
}

bool GxTaskManage::WalkPreStartRun(GxTaskBase* first, int32_t step, int64_t elapsed)
{
    for (GxTaskBase* t = first; t; t = t->m_NextSibling)
    {
        if (t->IsActive() && !(t->m_Flags & GX_TASKFLAG_SKIP_PRESTART))
        {
            if (t->m_Flags & GX_TASKFLAG_PRESTART)
                t->UpdatePreStart(step, elapsed);
            if (!(t->m_Flags & GX_TASKFLAG_NOCHILD_PRESTART) && t->m_FirstChild)
                WalkPreStartRun(t->m_FirstChild, step, elapsed);
        }
        if (t->m_Flags & GX_TASKFLAG_STOP_STEP)
            return false;
        if (t->m_Flags & GX_TASKFLAG_END_OF_RUN)
            break;
    }
    return true;
}

void GxTaskManage::WalkUpdate(GxTaskBase* first, int32_t step, int64_t elapsed)
{
    WalkUpdateRun(first, step, elapsed);
}

void GxTaskManage::WalkUpdatePreStart(GxTaskBase* first, int32_t step, int64_t elapsed)
{
    WalkPreStartRun(first, step, elapsed);
}

void GxTaskManage::WalkRegisterDraw(GxTaskBase* first, int32_t step, int64_t elapsed)
{
    for (GxTaskBase* t = first; t; t = t->m_NextSibling)
    {
        if (t->IsActive() && !(t->m_Flags & GX_TASKFLAG_SKIP_DRAWREG))
        {
            t->RegisterDraw(step, elapsed);
            if (!(t->m_Flags & GX_TASKFLAG_NOCHILD_DRAWREG) && t->m_FirstChild)
                WalkRegisterDraw(t->m_FirstChild, step, elapsed);
        }
        if (t->m_Flags & GX_TASKFLAG_END_OF_RUN)
            break;
    }
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] hook walks and the dead-task sweep

// Enter, leave and the extra hooks reach every task that is not dead, suspended ones included, parent
// before children.
template <class Call> void GxTaskManage::WalkHook(GxTaskBase* first, Call& call)
{
    for (GxTaskBase* t = first; t; t = t->m_NextSibling)
    {
        if (!t->IsDead())
        {
            call(t);
            if (t->m_FirstChild)
                WalkHook(t->m_FirstChild, call);
        }
        if (t->m_Flags & GX_TASKFLAG_END_OF_RUN)
            break;
    }
}

void GxTaskManage::WalkSequenceEnter(GxTaskBase* first)
{
    auto call = [](GxTaskBase* t) { t->OnSequenceEnter(); };
    WalkHook(first, call);
}

void GxTaskManage::WalkSequenceLeave(GxTaskBase* first)
{
    auto call = [](GxTaskBase* t) { t->OnSequenceLeave(); };
    WalkHook(first, call);
}

void GxTaskManage::WalkExtraHook1(GxTaskBase* first)
{
    auto call = [](GxTaskBase* t) { t->OnExtraHook1(); };
    WalkHook(first, call);
}

void GxTaskManage::WalkExtraHook2(GxTaskBase* first)
{
    auto call = [](GxTaskBase* t) { t->OnExtraHook2(); };
    WalkHook(first, call);
}

void GxTaskManage::WalkExtraHook3(GxTaskBase* first)
{
    auto call = [](GxTaskBase* t) { t->OnExtraHook3(); };
    WalkHook(first, call);
}

// Every sibling of the run (the sweep ignores the end-of-run flag), children first, so that a dead parent
// whose dead children go in this sweep is examined in the same sweep. A sweep of the whole tree when no
// task has died or taken a one-step stop since the last one finds nothing and is skipped: the frame runs
// it every step over every task.
int32_t GxTaskManage::DeleteDeadTasks(GxTaskBase* first)
{
    const bool whole = first && first == m_RootTask;
    if (whole && !m_SweepPending)
        return m_LiveTaskCount;
    // A task's destructor may kill another task or set a stop behind the walk: that marks the flag again.
    if (whole)
        m_SweepPending = false;
    const bool deadLeft = SweepRun(first);
    if (whole && deadLeft)
        m_SweepPending = true;
    return m_LiveTaskCount;
}

bool GxTaskManage::SweepRun(GxTaskBase* first)
{
    bool deadLeft = false;
    for (GxTaskBase* t = first; t;)
    {
        GxTaskBase* next = t->m_NextSibling;
        t->m_Flags &= ~GX_TASKFLAG_STOP_STEP;
        if (t->m_FirstChild)
            deadLeft = SweepRun(t->m_FirstChild) || deadLeft;
        if (t->IsDead())
        {
            if (t->m_ChildCount == 0 && t->GetDeleteDelay() < 1)
                delete t;
            else
            {
                if (t->m_ChildCount == 0)
                    t->DecrementDeleteDelay();
                deadLeft = true;
            }
        }
        t = next;
    }
    return deadLeft;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] input walks

// Children before their parent; the first non-zero result ends the whole walk. A task that is not active
// or carries the kind's self bit is skipped with its subtree.
template <class Call>
GxTaskBase* GxTaskManage::WalkInput(GxTaskBase* first, uint32_t selfBit, uint32_t childBit, Call& call)
{
    for (GxTaskBase* t = first; t; t = t->m_NextSibling)
    {
        if (t->IsActive() && !(t->m_ListenerMask & selfBit))
        {
            if (!(t->m_ListenerMask & childBit) && t->m_FirstChild)
            {
                if (GxTaskBase* taken = WalkInput(t->m_FirstChild, selfBit, childBit, call))
                    return taken;
            }
            if (call(t) != 0)
                return t;
        }
        if (t->m_Flags & GX_TASKFLAG_END_OF_RUN)
            break;
    }
    return nullptr;
}

template <class Call> int32_t GxTaskManage::DispatchBoth(uint32_t selfBit, uint32_t childBit, Call& call)
{
    int32_t result = 0;
    auto record = [&](GxTaskBase* t)
    {
        result = call(t);
        return result;
    };
    if (m_SystemSequence && WalkInput(m_SystemSequence, selfBit, childBit, record))
        return result;
    if (m_SequenceEntered && m_CurrentSequence && WalkInput(m_CurrentSequence, selfBit, childBit, record))
        return result;
    return 0;
}

#define GX_MOUSE_WALK(Name, Op, Dbl)                                                                                   \
    GxTaskBase* GxTaskManage::Name(GxTaskBase* first, const float* point, uint32_t keys)                               \
    {                                                                                                                  \
        auto call = [&](GxTaskBase* t) { return t->Op(point, keys, Dbl); };                                            \
        return WalkInput(first, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN, call);                                  \
    }

GX_MOUSE_WALK(WalkMouseLeftDown, OnMouseLeftDown, 0)
GX_MOUSE_WALK(WalkMouseLeftDoubleClick, OnMouseLeftDown, 1)
GX_MOUSE_WALK(WalkMouseRightDown, OnMouseRightDown, 0)
GX_MOUSE_WALK(WalkMouseRightDoubleClick, OnMouseRightDown, 1)
GX_MOUSE_WALK(WalkMouseMiddleDown, OnMouseMiddleDown, 0)
GX_MOUSE_WALK(WalkMouseMiddleDoubleClick, OnMouseMiddleDown, 1)
#undef GX_MOUSE_WALK

GxTaskBase* GxTaskManage::DispatchPress(PressWalk walk, const float* point, uint32_t keys)
{
    if (m_SystemSequence)
    {
        if (GxTaskBase* taken = (this->*walk)(m_SystemSequence, point, keys))
            return taken;
    }
    if (m_SequenceEntered && m_CurrentSequence)
        return (this->*walk)(m_CurrentSequence, point, keys);
    return nullptr;
}

GxTaskBase* GxTaskManage::WalkThread0(GxTaskBase* first, const wchar_t* name, GxThreadObject* thread, uint32_t value1,
                                      uint32_t value2)
{
    auto call = [&](GxTaskBase* t) { return t->OnThread0(name, thread, value1, value2); };
    return WalkInput(first, GX_LISTENER_THREAD, GX_LISTENER_THREAD_CHILDREN, call);
}

GxTaskBase* GxTaskManage::WalkThread1(GxTaskBase* first, const wchar_t* name, GxThreadObject* thread, uint32_t value1,
                                      uint32_t value2)
{
    auto call = [&](GxTaskBase* t) { return t->OnThread1(name, thread, value1, value2); };
    return WalkInput(first, GX_LISTENER_THREAD, GX_LISTENER_THREAD_CHILDREN, call);
}

#define GX_WALK(Name, Self, Children, Params, Args)                                                                    \
    GxTaskBase* GxTaskManage::Name Params                                                                              \
    {                                                                                                                  \
        auto call = [&](GxTaskBase* t) { return t->Args; };                                                            \
        return WalkInput(first, Self, Children, call);                                                                 \
    }

GX_WALK(WalkActivate, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN, (GxTaskBase * first), OnActivate())
GX_WALK(WalkDeactivate, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN, (GxTaskBase * first), OnDeactivate())
GX_WALK(WalkCloseRequest, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN, (GxTaskBase * first), OnCloseRequest())
GX_WALK(WalkScreenModeChange, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN,
        (GxTaskBase * first, int32_t newMode, int32_t oldMode), OnScreenModeChange(newMode, oldMode))
GX_WALK(WalkMouseMove, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN,
        (GxTaskBase * first, const float* point, uint32_t keys), OnMouseMove(point, keys))
GX_WALK(WalkMouseWheel, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN,
        (GxTaskBase * first, const float* point, int32_t delta, uint32_t keys), OnMouseWheel(point, delta, keys))
GX_WALK(WalkMouseLeftUp, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN,
        (GxTaskBase * first, const float* point, uint32_t keys), OnMouseLeftUp(point, keys))
GX_WALK(WalkMouseRightUp, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN,
        (GxTaskBase * first, const float* point, uint32_t keys), OnMouseRightUp(point, keys))
GX_WALK(WalkMouseMiddleUp, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN,
        (GxTaskBase * first, const float* point, uint32_t keys), OnMouseMiddleUp(point, keys))
GX_WALK(WalkKeyDown, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN,
        (GxTaskBase * first, uint32_t key, uint32_t keyData), OnKeyDown(key, keyData))
GX_WALK(WalkKeyUp, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN,
        (GxTaskBase * first, uint32_t key, uint32_t keyData), OnKeyUp(key, keyData))
GX_WALK(WalkKeyInput2, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN,
        (GxTaskBase * first, uint32_t value1, uint32_t value2), OnKeyInput2(value1, value2))
GX_WALK(WalkKeyInput3, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN,
        (GxTaskBase * first, uint32_t value1, uint32_t value2, uint32_t value3), OnKeyInput3(value1, value2, value3))
GX_WALK(WalkNet0, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (GxTaskBase * first, uint32_t value), OnNet0(value))
GX_WALK(WalkNet1, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (GxTaskBase * first, uint32_t value), OnNet1(value))
GX_WALK(WalkNet2, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (GxTaskBase * first, uint32_t value1, uint32_t value2),
        OnNet2(value1, value2))
GX_WALK(WalkNet3, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (GxTaskBase * first, uint32_t value1, uint32_t value2),
        OnNet3(value1, value2))
GX_WALK(WalkNet4, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (GxTaskBase * first, uint32_t value1, uint32_t value2),
        OnNet4(value1, value2))
#undef GX_WALK

// ---------------------------------------------------------------------------------------------------
// [SECTION] the manager's own listener operations

#define GX_DISPATCH(Op, Self, Children, Params, Args)                                                                  \
    int32_t GxTaskManage::Op Params                                                                                    \
    {                                                                                                                  \
        auto call = [&](GxTaskBase* t) { return t->Op Args; };                                                         \
        return DispatchBoth(Self, Children, call);                                                                     \
    }

GX_DISPATCH(OnThread0, GX_LISTENER_THREAD, GX_LISTENER_THREAD_CHILDREN,
            (const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2),
            (name, thread, value1, value2))
GX_DISPATCH(OnThread1, GX_LISTENER_THREAD, GX_LISTENER_THREAD_CHILDREN,
            (const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2),
            (name, thread, value1, value2))
GX_DISPATCH(OnActivate, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN, (), ())
GX_DISPATCH(OnDeactivate, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN, (), ())
GX_DISPATCH(OnCloseRequest, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN, (), ())
GX_DISPATCH(OnScreenModeChange, GX_LISTENER_WINDOW, GX_LISTENER_WINDOW_CHILDREN, (int32_t newMode, int32_t oldMode),
            (newMode, oldMode))
GX_DISPATCH(OnMouseMove, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN, (const float* point, uint32_t keys),
            (point, keys))
GX_DISPATCH(OnMouseWheel, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN,
            (const float* point, int32_t delta, uint32_t keys), (point, delta, keys))
GX_DISPATCH(OnMouseLeftUp, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN, (const float* point, uint32_t keys),
            (point, keys))
GX_DISPATCH(OnMouseRightUp, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN, (const float* point, uint32_t keys),
            (point, keys))
GX_DISPATCH(OnMouseMiddleUp, GX_LISTENER_MOUSE, GX_LISTENER_MOUSE_CHILDREN, (const float* point, uint32_t keys),
            (point, keys))
GX_DISPATCH(OnKeyDown, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN, (uint32_t key, uint32_t keyData),
            (key, keyData))
GX_DISPATCH(OnKeyUp, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN, (uint32_t key, uint32_t keyData),
            (key, keyData))
GX_DISPATCH(OnKeyInput2, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN, (uint32_t value1, uint32_t value2),
            (value1, value2))
GX_DISPATCH(OnKeyInput3, GX_LISTENER_KEYINPUT, GX_LISTENER_KEYINPUT_CHILDREN,
            (uint32_t value1, uint32_t value2, uint32_t value3), (value1, value2, value3))
GX_DISPATCH(OnNet0, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (uint32_t value), (value))
GX_DISPATCH(OnNet1, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (uint32_t value), (value))
GX_DISPATCH(OnNet2, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (uint32_t value1, uint32_t value2), (value1, value2))
GX_DISPATCH(OnNet3, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (uint32_t value1, uint32_t value2), (value1, value2))
GX_DISPATCH(OnNet4, GX_LISTENER_NET, GX_LISTENER_NET_CHILDREN, (uint32_t value1, uint32_t value2), (value1, value2))
#undef GX_DISPATCH
