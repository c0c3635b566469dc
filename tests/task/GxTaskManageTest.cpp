#include "TaskTestSupport.h"

#include "core/GxLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

namespace
{

// The refusals of the task tree are logged: keep their lines out of the working directory, in files of
// this process's own (the cases run as processes side by side), removed when it is done.
class TaskLogEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        const std::filesystem::path dir = std::filesystem::temp_directory_path();
        const std::wstring process = std::to_wstring(getpid());
        m_Error = dir / (L"kv_tests_task_" + process + L"_error.log");
        m_Debug = dir / (L"kv_tests_task_" + process + L"_debug.log");
        GxLog::SetErrorLogPath(m_Error.wstring());
        GxLog::SetDebugLogPath(m_Debug.wstring());
    }
    void TearDown() override
    {
        GxLog::SetErrorLogPath(L"");
        GxLog::SetDebugLogPath(L"");
        std::error_code error;
        std::filesystem::remove(m_Error, error);
        std::filesystem::remove(m_Debug, error);
    }

private:
    std::filesystem::path m_Error;
    std::filesystem::path m_Debug;
};
::testing::Environment* const s_LogEnvironment = ::testing::AddGlobalTestEnvironment(new TaskLogEnvironment);

// root
//  +- sys (system sequence) - s1
//  +- A (sequence) - a1 - a11, a12
//  |               - a2
//  +- B (sequence) - b1
struct WalkTree : TaskTree
{
    Journal j;
    RecSeq* sys = new RecSeq(&j, L"sys", root, L"SeqSystem");
    RecTask* s1 = new RecTask(&j, L"s1", sys);
    RecSeq* a = new RecSeq(&j, L"A", root, L"SeqA");
    RecTask* a1 = new RecTask(&j, L"a1", a);
    RecTask* a11 = new RecTask(&j, L"a11", a1);
    RecTask* a12 = new RecTask(&j, L"a12", a1);
    RecTask* a2 = new RecTask(&j, L"a2", a);
    RecSeq* b = new RecSeq(&j, L"B", root, L"SeqB");
    RecTask* b1 = new RecTask(&j, L"b1", b);

    WalkTree() { manage.SetSystemSequence(sys); }

    void EnterA()
    {
        Enter(a);
        j.clear();
    }
};

const float kPoint[2] = {10.0f, 20.0f};

} // namespace

// Each row sets the flags of a1 (and a11), then runs one step walk from A.
TEST(GxTaskManageWalk, StepWalksVisitParentsFirstAndHonourTheirSkipNoChildAndPreStartFlags)
{
    using Walk = void (GxTaskManage::*)(GxTaskBase*, int32_t, int64_t);
    const Walk Upd = &GxTaskManage::WalkUpdate, Reg = &GxTaskManage::WalkRegisterDraw,
               Pre = &GxTaskManage::WalkUpdatePreStart;
    const struct
    {
        Walk walk;
        bool started;
        uint32_t a1Flags, a11Flags;
        const wchar_t* seen;
    } cases[] = {
        {Upd, true, 0, 0, L"U:A U:a1 U:a11 U:a12 U:a2"},
        {Upd, false, GX_TASKFLAG_PRESTART, 0, L"U:a11 U:a12 U:a2"}, // pre-start tasks wait for the start
        // Only pre-start tasks get UpdatePreStart, but the walk still descends through the others.
        {Pre, false, GX_TASKFLAG_PRESTART, 0, L"P:A P:a1"},
        {Upd, true, GX_TASKFLAG_SKIP_UPDATE, 0, L"U:A U:a2"},
        {Upd, true, GX_TASKFLAG_NOCHILD_UPDATE, 0, L"U:A U:a1 U:a2"},
        {Reg, true, GX_TASKFLAG_SKIP_DRAWREG, 0, L"R:A R:a2"},
        {Reg, true, GX_TASKFLAG_NOCHILD_DRAWREG, 0, L"R:A R:a1 R:a2"},
        {Pre, true, GX_TASKFLAG_SKIP_PRESTART, GX_TASKFLAG_PRESTART, L"P:A"},
        {Pre, true, GX_TASKFLAG_NOCHILD_PRESTART, GX_TASKFLAG_PRESTART, L"P:A"},
        {Pre, true, 0, GX_TASKFLAG_PRESTART, L"P:A P:a11"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.seen);
        WalkTree t;
        t.EnterA();
        t.manage.SetSequenceStarted(c.started);
        t.a1->SetTaskFlags(c.a1Flags);
        t.a11->SetTaskFlags(c.a11Flags);
        EXPECT_EQ(Record(t.j, [&] { (t.manage.*c.walk)(t.a, 0, 0); }), J(c.seen));
    }
}

TEST(GxTaskManageWalk, SuspendedAndDeadTasksAreSkippedWithTheirSubtreesAndStopEndsOnlyItsLevel)
{
    WalkTree t;
    t.EnterA();
    t.manage.SetSequenceStarted(true);
    t.a11->m_StopOnUpdate = true;
    EXPECT_EQ(Record(t.j, [&] { t.manage.WalkUpdate(t.a, 0, 0); }), J(L"U:A U:a1 U:a11 U:a2"));
    EXPECT_TRUE(t.a11->GetTaskFlags() & GX_TASKFLAG_STOP_STEP);
    t.manage.DeleteDeadTasks(t.root); // the sweep clears the one-step stop
    EXPECT_FALSE(t.a11->GetTaskFlags() & GX_TASKFLAG_STOP_STEP);

    t.a1->Suspend();
    t.a2->Kill();
    t.j.clear();
    t.manage.WalkUpdate(t.a, 0, 0);
    t.manage.WalkRegisterDraw(t.a, 0, 0);
    t.manage.WalkMouseLeftDown(t.a, kPoint, 0);
    EXPECT_EQ(t.j, J(L"U:A R:A LD:A"));
}

TEST(GxTaskManageWalk, EndOfRunFlagEndsAWalkStartedBeforeASequence)
{
    WalkTree t;
    t.EnterA();
    t.manage.SetSequenceStarted(true);
    // a walk started at the system sequence's first sibling run would run on into A and B without it
    EXPECT_EQ(Record(t.j, [&] { t.manage.WalkUpdate(t.sys, 0, 0); }), J(L"U:sys U:s1"));
    t.a2->AddTaskFlags(GX_TASKFLAG_END_OF_RUN);
    EXPECT_EQ(Record(t.j, [&] { t.manage.WalkRegisterDraw(t.a1, 0, 0); }), J(L"R:a1 R:a11 R:a12 R:a2"));
    t.a1->AddTaskFlags(GX_TASKFLAG_END_OF_RUN);
    EXPECT_EQ(Record(t.j, [&] { t.manage.WalkMouseMove(t.a1, kPoint, 0); }), J(L"MM:a11 MM:a12 MM:a1"));
}

// Input walks visit children first, stop at the task that takes the input, and hide a task or its
// children only for the kinds its listener mask names.
TEST(GxTaskManageWalk, EveryInputWalkReachesItsOperationAndHonoursOnlyItsKindsMask)
{
    struct Kind
    {
        const wchar_t* tag;
        uint32_t self;
        std::function<GxTaskBase*(GxTaskManage&, GxTaskBase*)> walk;
        std::function<int32_t(GxTaskManage&)> dispatch; // the manager's own operation, when it has one
    };
    const uint32_t M = GX_LISTENER_MOUSE, K = GX_LISTENER_KEYINPUT, W = GX_LISTENER_WINDOW, T = GX_LISTENER_THREAD,
                   N = GX_LISTENER_NET;
    using G = GxTaskManage;
    const std::vector<Kind> kinds = {
        {L"T0", T, [](G& m, GxTaskBase* f) { return m.WalkThread0(f, L"w", nullptr, 1, 2); },
         [](G& m) { return m.OnThread0(L"w", nullptr, 1, 2); }},
        {L"T1", T, [](G& m, GxTaskBase* f) { return m.WalkThread1(f, L"w", nullptr, 1, 2); },
         [](G& m) { return m.OnThread1(L"w", nullptr, 1, 2); }},
        {L"Act", W, [](G& m, GxTaskBase* f) { return m.WalkActivate(f); }, [](G& m) { return m.OnActivate(); }},
        {L"Deact", W, [](G& m, GxTaskBase* f) { return m.WalkDeactivate(f); }, [](G& m) { return m.OnDeactivate(); }},
        {L"Close", W, [](G& m, GxTaskBase* f) { return m.WalkCloseRequest(f); },
         [](G& m) { return m.OnCloseRequest(); }},
        {L"Mode", W, [](G& m, GxTaskBase* f) { return m.WalkScreenModeChange(f, 2, 0); },
         [](G& m) { return m.OnScreenModeChange(2, 0); }},
        {L"MM", M, [](G& m, GxTaskBase* f) { return m.WalkMouseMove(f, kPoint, 1); },
         [](G& m) { return m.OnMouseMove(kPoint, 1); }},
        {L"MW", M, [](G& m, GxTaskBase* f) { return m.WalkMouseWheel(f, kPoint, -120, 0); },
         [](G& m) { return m.OnMouseWheel(kPoint, -120, 0); }},
        {L"LD", M, [](G& m, GxTaskBase* f) { return m.WalkMouseLeftDown(f, kPoint, 1); },
         [](G& m) { return m.DispatchPress(&G::WalkMouseLeftDown, kPoint, 1) ? 1 : 0; }},
        {L"LD2", M, [](G& m, GxTaskBase* f) { return m.WalkMouseLeftDoubleClick(f, kPoint, 1); },
         [](G& m) { return m.DispatchPress(&G::WalkMouseLeftDoubleClick, kPoint, 1) ? 1 : 0; }},
        {L"LU", M, [](G& m, GxTaskBase* f) { return m.WalkMouseLeftUp(f, kPoint, 0); },
         [](G& m) { return m.OnMouseLeftUp(kPoint, 0); }},
        {L"RD", M, [](G& m, GxTaskBase* f) { return m.WalkMouseRightDown(f, kPoint, 2); },
         [](G& m) { return m.DispatchPress(&G::WalkMouseRightDown, kPoint, 2) ? 1 : 0; }},
        {L"RD2", M, [](G& m, GxTaskBase* f) { return m.WalkMouseRightDoubleClick(f, kPoint, 2); },
         [](G& m) { return m.DispatchPress(&G::WalkMouseRightDoubleClick, kPoint, 2) ? 1 : 0; }},
        {L"RU", M, [](G& m, GxTaskBase* f) { return m.WalkMouseRightUp(f, kPoint, 0); },
         [](G& m) { return m.OnMouseRightUp(kPoint, 0); }},
        {L"MD", M, [](G& m, GxTaskBase* f) { return m.WalkMouseMiddleDown(f, kPoint, 16); },
         [](G& m) { return m.DispatchPress(&G::WalkMouseMiddleDown, kPoint, 16) ? 1 : 0; }},
        {L"MD2", M, [](G& m, GxTaskBase* f) { return m.WalkMouseMiddleDoubleClick(f, kPoint, 16); },
         [](G& m) { return m.DispatchPress(&G::WalkMouseMiddleDoubleClick, kPoint, 16) ? 1 : 0; }},
        {L"MU", M, [](G& m, GxTaskBase* f) { return m.WalkMouseMiddleUp(f, kPoint, 0); },
         [](G& m) { return m.OnMouseMiddleUp(kPoint, 0); }},
        {L"KD", K, [](G& m, GxTaskBase* f) { return m.WalkKeyDown(f, 65, 0); },
         [](G& m) { return m.OnKeyDown(65, 0); }},
        {L"KU", K, [](G& m, GxTaskBase* f) { return m.WalkKeyUp(f, 65, 0); }, [](G& m) { return m.OnKeyUp(65, 0); }},
        {L"K2", K, [](G& m, GxTaskBase* f) { return m.WalkKeyInput2(f, 1, 2); },
         [](G& m) { return m.OnKeyInput2(1, 2); }},
        {L"K3", K, [](G& m, GxTaskBase* f) { return m.WalkKeyInput3(f, 1, 2, 3); },
         [](G& m) { return m.OnKeyInput3(1, 2, 3); }},
        {L"N0", N, [](G& m, GxTaskBase* f) { return m.WalkNet0(f, 1); }, [](G& m) { return m.OnNet0(1); }},
        {L"N1", N, [](G& m, GxTaskBase* f) { return m.WalkNet1(f, 1); }, [](G& m) { return m.OnNet1(1); }},
        {L"N2", N, [](G& m, GxTaskBase* f) { return m.WalkNet2(f, 1, 2); }, [](G& m) { return m.OnNet2(1, 2); }},
        {L"N3", N, [](G& m, GxTaskBase* f) { return m.WalkNet3(f, 1, 2); }, [](G& m) { return m.OnNet3(1, 2); }},
        {L"N4", N, [](G& m, GxTaskBase* f) { return m.WalkNet4(f, 1, 2); }, [](G& m) { return m.OnNet4(1, 2); }},
    };
    const uint32_t allSelf = M | K | W | T | N;
    for (const Kind& kind : kinds)
    {
        SCOPED_TRACE(kind.tag);
        WalkTree t;
        t.EnterA();
        const std::wstring tag = kind.tag;
        auto seen = [&](std::initializer_list<const wchar_t*> names)
        {
            Journal expected;
            for (const wchar_t* name : names)
                expected.push_back(tag + L":" + name);
            return expected;
        };
        // Every other kind's self and children bits on a1 leave it visible to this kind.
        t.a1->SetListenerMask((allSelf & ~kind.self) | ((allSelf & ~kind.self) << 8));
        EXPECT_EQ(kind.walk(t.manage, t.a), nullptr);
        EXPECT_EQ(t.j, seen({L"a11", L"a12", L"a1", L"a2", L"A"}));
        t.j.clear();
        t.a1->SetListenerMask(kind.self << 8); // children hidden
        kind.walk(t.manage, t.a);
        EXPECT_EQ(t.j, seen({L"a1", L"a2", L"A"}));
        t.j.clear();
        t.a1->SetListenerMask(kind.self);
        t.a2->m_Take = 1;
        EXPECT_EQ(kind.walk(t.manage, t.a), t.a2);
        EXPECT_EQ(t.j, seen({L"a2"}));
        if (kind.dispatch)
        {
            t.j.clear();
            EXPECT_NE(kind.dispatch(t.manage), 0);
            EXPECT_EQ(t.j, seen({L"s1", L"sys", L"a2"}));
        }
    }
}

TEST(GxTaskManageWalk, ManagerDispatchTriesSystemSequenceThenEnteredCurrent)
{
    WalkTree t;
    t.EnterA();
    EXPECT_EQ(Record(t.j, [&] { EXPECT_EQ(t.manage.OnMouseMove(kPoint, 0), 0); }),
              J(L"MM:s1 MM:sys MM:a11 MM:a12 MM:a1 MM:a2 MM:A"));
    t.s1->m_Take = 7;
    EXPECT_EQ(Record(t.j, [&] { EXPECT_EQ(t.manage.OnKeyDown(13, 0), 7); }), J(L"KD:s1"));
    t.s1->m_Take = 0;
    t.a2->m_Take = 3;
    EXPECT_EQ(t.manage.OnThread0(L"w", nullptr, 0, 0), 3);
    EXPECT_EQ(t.manage.DispatchPress(&GxTaskManage::WalkMouseRightDoubleClick, kPoint, 0), t.a2);
    // A pending switch hides the current sequence from input until it is performed.
    t.manage.ChangeSequence(t.b, 0, 0);
    EXPECT_EQ(Record(t.j, [&] { EXPECT_EQ(t.manage.OnActivate(), 0); }), J(L"Act:s1 Act:sys"));
}

TEST(GxTaskManageWalk, EnterAndLeaveReachSuspendedButNotDeadTasks)
{
    WalkTree t;
    t.a1->Suspend();
    t.a2->Kill();
    EXPECT_EQ(Record(t.j, [&] { t.manage.WalkSequenceEnter(t.a); }), J(L"Enter:A Enter:a1 Enter:a11 Enter:a12"));
    EXPECT_EQ(Record(t.j, [&] { t.manage.WalkSequenceLeave(t.a); }), J(L"Leave:A Leave:a1 Leave:a11 Leave:a12"));
}

TEST(GxTaskManageSweep, KilledTaskIsDeletedByTheSweepTwoStepsLater)
{
    WalkTree t;
    t.EnterA();
    t.manage.SetSequenceStarted(true);
    t.a2->m_KillSelfOnUpdate = true;
    const int32_t live = t.manage.GetLiveTaskCount();
    t.Step(0, 0); // step N: killed during the update
    EXPECT_TRUE(t.a2->IsDead());
    t.Step(1, 0); // N + 1: the sweep counts it down
    EXPECT_EQ(t.a->GetChildCount(), 2);
    EXPECT_EQ(t.a2->GetDeleteDelay(), 0);
    t.a2->m_KillSelfOnUpdate = false;
    t.Step(2, 0); // N + 2: deleted
    EXPECT_EQ(Children(t.a), (Tasks{t.a1}));
    EXPECT_EQ(t.manage.GetLiveTaskCount(), live - 1);
}

TEST(GxTaskManageSweep, DeadParentWaitsForItsChildrenAndTheSweepIgnoresTheEndOfRunFlag)
{
    WalkTree t;
    t.a12->Kill();
    t.a1->SetGlobalState(GX_TASKSTATE_DEAD); // dead, with a live child a11
    for (int i = 0; i < 5; ++i)
        t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(Children(t.a1), (Tasks{t.a11}));
    t.a11->Kill();
    t.manage.DeleteDeadTasks(t.root); // a11 counted down; a1 still has a child
    t.manage.DeleteDeadTasks(t.root); // a11 deleted first, then a1 is counted down in the same sweep
    EXPECT_EQ(t.a->GetChildCount(), 2);
    EXPECT_EQ(t.a1->GetChildCount(), 0);
    EXPECT_EQ(t.a1->GetDeleteDelay(), 0);
    // sys, A and B all end their runs, yet the sweep from the root reaches B's child.
    t.b1->Kill();
    t.b1->SetDeleteDelay(0);
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(Children(t.a), (Tasks{t.a2}));
    EXPECT_EQ(t.b->GetChildCount(), 0);
}

namespace
{

// A task that kills another when it is deleted: the sweep deleting it must not forget that death.
class KillerOnDelete : public GxTaskBase
{
public:
    KillerOnDelete(GxTaskBase* parent, GxTaskBase* victim) : GxTaskBase(parent), m_Victim(victim) {}
    ~KillerOnDelete() override { m_Victim->Kill(); }

private:
    GxTaskBase* m_Victim;
};

} // namespace

// Sweeps of the whole tree with nothing dead are skipped; a death, a stop or a countdown after them is
// still seen by the next sweep.
TEST(GxTaskManageSweep, IdleSweepsAreSkippedYetLaterDeathsStopsAndCountdownsAreSeen)
{
    WalkTree t;
    const int32_t live = t.manage.GetLiveTaskCount();
    for (int i = 0; i < 3; ++i)
        t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(t.manage.GetLiveTaskCount(), live);

    t.a2->Kill();
    t.a2->SetDeleteDelay(0);
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(Children(t.a), (Tasks{t.a1}));
    EXPECT_EQ(t.manage.GetLiveTaskCount(), live - 1);

    t.a11->AddTaskFlags(GX_TASKFLAG_STOP_STEP);
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_FALSE(t.a11->GetTaskFlags() & GX_TASKFLAG_STOP_STEP);
    t.s1->SetTaskFlags(GX_TASKFLAG_STOP_STEP);
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_FALSE(t.s1->GetTaskFlags() & GX_TASKFLAG_STOP_STEP);

    // A dead task waiting out its delay keeps the sweeps going until it is gone.
    t.b1->SetGlobalState(GX_TASKSTATE_DEAD);
    t.b1->SetDeleteDelay(2);
    t.manage.DeleteDeadTasks(t.root);
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(t.b->GetChildCount(), 1);
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(t.b->GetChildCount(), 0);

    // Killed by another task's destructor during a sweep, behind the walk.
    GxTaskBase* killer = new KillerOnDelete(t.b, t.a12);
    killer->Kill();
    killer->SetDeleteDelay(0);
    t.a12->SetDeleteDelay(0);
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(t.b->GetChildCount(), 0);
    EXPECT_TRUE(t.a12->IsDead());
    t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(Children(t.a1), (Tasks{t.a11}));
}

TEST(GxTaskManageSweep, DeletingTheTreeDeletesEveryTask)
{
    auto manage = std::make_unique<GxTaskManage>();
    auto* root = new GxTaskBase(manage.get());
    for (int i = 0; i < 3; ++i)
        new GxTaskBase(new GxTaskFolder(root, nullptr), nullptr, L"leaf", i);
    EXPECT_EQ(manage->GetLiveTaskCount(), 8);
    manage.reset(); // under the address sanitizer a leak or a double delete fails the test
}
