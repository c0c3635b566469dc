#include "TaskTestSupport.h"

#include "task/GxSeqSystemBase.h"
#include "task/ui/GxTaskUIBase.h"
#include "core/GxLog.h"

#include <gtest/gtest.h>

namespace
{

struct SeqTree : TaskTree
{
    Journal j;
    Recording<GxSeqSystemBase>* sys = new Recording<GxSeqSystemBase>(&j, L"sys", root, L"SeqSystem");
    RecTask* sysChild = new RecTask(&j, L"sysChild", sys);
    RecSeq* a = new RecSeq(&j, L"A", root, L"SeqA");
    RecTask* a1 = new RecTask(&j, L"a1", a);
    RecSeq* b = new RecSeq(&j, L"B", root, L"SeqB");
    RecTask* b1 = new RecTask(&j, L"b1", b);
    RecSeq* c = new RecSeq(&j, L"C", root, L"SeqC");

    SeqTree()
    {
        manage.SetSystemSequence(sys);
        GxSeqBase::ResetInputLocks();
    }
};

} // namespace

TEST(GxSeqSwitch, SwitchIsPerformedAtTheNextPassWithLeaveEnterAndStart)
{
    SeqTree t;
    EXPECT_TRUE(t.manage.ChangeSequence(L"SeqA", 3, 4));
    EXPECT_EQ(SeqState(t.manage), L"(0,0) prev (0,0) pending");
    EXPECT_EQ(t.manage.GetCurrentSequence(), nullptr);
    EXPECT_EQ(Record(t.j, [&] { t.manage.ApplyPendingSequence(); }), J(L"Enter:A Enter:a1"));
    EXPECT_EQ(t.manage.GetCurrentSequence(), t.a);
    EXPECT_EQ(SeqState(t.manage), L"SeqA(3,4) prev (0,0) entered");

    // First step: the pre-start walk starts A, so A's own Update already runs in the update walk.
    EXPECT_EQ(Record(t.j, [&] { t.Step(0, 16000); }), J(L"P:A U:A U:a1 U:sys U:sysChild R:A R:a1 R:sys R:sysChild"));
    EXPECT_EQ(SeqState(t.manage), L"SeqA(3,4) prev (0,0) entered started");

    // A request made during a step waits for the next pass.
    EXPECT_TRUE(t.manage.ChangeSequence(std::wstring(L"SeqB"), 7));
    EXPECT_EQ(SeqState(t.manage), L"SeqA(3,4) prev (0,0) pending");
    EXPECT_EQ(t.manage.GetCurrentSequence(), t.a);
    EXPECT_EQ(Record(t.j, [&] { t.manage.ApplyPendingSequence(); }), J(L"Leave:A Leave:a1 Enter:B Enter:b1"));
    EXPECT_EQ(t.manage.GetPrevSequence(), t.a);
    EXPECT_EQ(SeqState(t.manage), L"SeqB(7,0) prev SeqA(3,4) entered");
}

TEST(GxSeqSwitch, SecondRequestReplacesTheFirstCurrentIsRefusedAndRefusalsChangeNothing)
{
    SeqTree t;
    const uint32_t errors = GxLog::GetErrorCount();
    EXPECT_FALSE(t.manage.ChangeSequence(static_cast<GxTaskBase*>(nullptr), 0, 0));
    EXPECT_FALSE(t.manage.ChangeSequence(t.a1, 0, 0));
    EXPECT_FALSE(t.manage.ChangeSequence(L"SeqNone", 0, 0));
    EXPECT_FALSE(t.manage.ChangeSequence(std::wstring(), 0));
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 3);
    EXPECT_FALSE(t.manage.IsChangeSequencePending());

    t.Enter(t.a);
    EXPECT_TRUE(t.manage.ChangeSequence(t.b, 0, 0));
    EXPECT_FALSE(t.manage.ChangeSequence(t.a, 0, 0)); // still current while the request waits
    EXPECT_TRUE(t.manage.ChangeSequence(t.c, 0, 0));
    EXPECT_EQ(Record(t.j, [&] { t.manage.ApplyPendingSequence(); }), J(L"Leave:A Leave:a1 Enter:C"));
    EXPECT_TRUE(Record(t.j, [&] { t.manage.ApplyPendingSequence(); }).empty()); // nothing pending
}

TEST(GxSeqSwitch, RequestFromLeaveReplacesTheTargetAndFromEnterWaitsForTheNextPass)
{
    SeqTree t;
    t.Enter(t.a);
    t.a->m_OnLeave = [&] { EXPECT_TRUE(t.manage.ChangeSequence(t.c, 0, 0)); };
    t.manage.ChangeSequence(t.b, 0, 0);
    EXPECT_EQ(Record(t.j, [&] { t.manage.ApplyPendingSequence(); }), J(L"Leave:A Leave:a1 Enter:C"));
    EXPECT_EQ(t.manage.GetCurrentSequence(), t.c);

    t.a->m_OnLeave = nullptr;
    t.a->m_OnEnter = [&] { EXPECT_TRUE(t.manage.ChangeSequence(t.b, 0, 0)); };
    t.Enter(t.a);
    EXPECT_EQ(t.manage.GetCurrentSequence(), t.a);
    EXPECT_EQ(SeqState(t.manage), L"SeqA(0,0) prev SeqC(0,0) pending");
    t.manage.ApplyPendingSequence();
    EXPECT_EQ(t.manage.GetCurrentSequence(), t.b);
}

TEST(GxSeqSwitch, SystemSequenceOwnUpdateWaitsForTheStartButItsChildrenRun)
{
    SeqTree t;
    const uint32_t errors = GxLog::GetErrorCount();
    t.a->UpdatePreStart(0, 0); // not entered: refused
    EXPECT_FALSE(t.manage.IsSequenceStarted());
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);

    t.Enter(t.a);
    t.a->AddTaskFlags(GX_TASKFLAG_SKIP_PRESTART); // A cannot start
    EXPECT_EQ(Record(t.j, [&] { t.Step(0, 0); }), J(L"U:a1 U:sysChild R:A R:a1 R:sys R:sysChild"));
    EXPECT_FALSE(t.manage.IsSequenceStarted());
}

TEST(GxSeqSwitch, ClearSequenceLeavesTheEnteredSequence)
{
    SeqTree t;
    t.Enter(t.a);
    EXPECT_EQ(Record(t.j, [&] { t.manage.ClearSequence(); }), J(L"Leave:A Leave:a1"));
    EXPECT_EQ(t.manage.GetCurrentSequence(), nullptr);
    EXPECT_EQ(SeqState(t.manage), L"(0,0) prev (0,0)");
    EXPECT_TRUE(Record(t.j, [&] { t.manage.ClearSequence(); }).empty());
}

TEST(GxSeqLeave, LeavingHidesHelpAndOpenDialogsOnce)
{
    SeqTree t;
    auto* tip = new GxTaskFolder(t.sys, L"tip_help");
    auto* shutdown = new GxTaskFolder(t.sys, L"dlg_shutdown");
    auto* user = new GxTaskFolder(t.sys, L"dlg_user");
    shutdown->Suspend(); // closed
    GxSeqBase::SetOpenDialogCount(1);
    t.Enter(t.a);
    t.a->SetAcceptUIEvent(true);
    t.a->QueueUIEvent(GxUIEvent(t.a1, 1, 0));
    t.Enter(t.b);
    EXPECT_TRUE(tip->IsSuspended());
    EXPECT_TRUE(user->IsSuspended());
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
    EXPECT_EQ(t.a->GetUIEventCount(), 0u);
    // Nothing open any more: the count stays at 0.
    user->Resume();
    t.Enter(t.a);
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
}

TEST(GxSeqDialogs, SequenceClearsTheScreenFromLayerZeroAndAnswersTheButtonsOfTheSystemDialogs)
{
    SeqTree t;
    RecordingScreenService service;
    t.manage.SetScreenService(&service);
    t.Enter(t.a);
    t.Step(0, 0);
    t.DrawLayers();
    EXPECT_EQ(service.clears, 2); // A and the system sequence
    EXPECT_EQ(t.List(0).GetCount(), 2u);

    auto* shutdown = new GxTaskFolder(t.sys, L"dlg_shutdown");
    auto* yes = new GxTaskBase(shutdown, nullptr, L"btn_dlgshutdown_yes", 0);
    auto* no = new GxTaskBase(shutdown, nullptr, L"btn_dlgshutdown_no", 0);
    auto* user = new GxTaskFolder(t.sys, L"dlg_user");
    auto* ok = new GxTaskBase(user, nullptr, L"btn_dlguser_ok", 0);
    auto* cancel = new GxTaskBase(user, nullptr, L"btn_dlguser_cancel", 0);
    auto* other = new GxTaskBase(user, nullptr, L"btn_other", 0);

    EXPECT_EQ(t.a->OnUIEvent1(yes, GxUIEvent(yes, 1, 0)), 1);
    EXPECT_EQ(service.closeRequests, 1);
    GxSeqBase::SetOpenDialogCount(1);
    EXPECT_EQ(t.a->OnUIEvent1(no, GxUIEvent(no, 1, 0)), 1);
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
    EXPECT_TRUE(shutdown->IsSuspended());

    // The user dialog answers only for the script's dialog key.
    EXPECT_EQ(t.a->OnUIEvent1(ok, GxUIEvent(ok, 1, 0)), 0);
    t.sys->SetUserDialogKey(L"USERDIALOG");
    GxSeqBase::SetOpenDialogCount(2);
    EXPECT_EQ(t.a->OnUIEvent1(ok, GxUIEvent(ok, 1, 0)), 1);
    EXPECT_EQ(service.dialogResult, 1);
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 1);
    EXPECT_TRUE(user->IsSuspended());
    EXPECT_EQ(t.a->OnUIEvent1(cancel, GxUIEvent(cancel, 1, 0)), 1);
    EXPECT_EQ(service.dialogResult, 0);
    EXPECT_EQ(t.a->OnUIEvent1(other, GxUIEvent(other, 1, 0)), 0);
    EXPECT_EQ(t.a->OnUIEvent1(t.a1, GxUIEvent(t.a1, 1, 0)), 0);
}

namespace
{

class ClickSeq : public GxSeqBase
{
public:
    using GxSeqBase::GxSeqBase;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override
    {
        clicks.push_back(sender);
        return GxSeqBase::OnUIEvent1(sender, event);
    }
    int32_t OnUIEvent19(GxTaskBase*, const GxUIEvent& event) override
    {
        values.push_back(event.param);
        return 1;
    }
    std::vector<GxTaskBase*> clicks;
    std::vector<int32_t> values;
};

} // namespace

TEST(GxSeqWidgets, WidgetEventsReachTheCurrentSequenceDuringItsUpdate)
{
    TaskTree t;
    auto* seq = new ClickSeq(t.root, L"SeqClick");
    auto* button = new GxTaskUIBase(seq, nullptr, L"btn", 0);
    EXPECT_FALSE(button->PostUIEventCode(1)); // no current sequence
    t.Enter(seq);
    EXPECT_FALSE(button->PostUIEventCode(1)); // the screen does not take events yet
    seq->SetAcceptUIEvent(true);
    EXPECT_TRUE(button->PostUIEventCode(1));
    EXPECT_TRUE(button->PostUIEvent(GxUIEvent(button, 19, 42)));
    EXPECT_TRUE(seq->clicks.empty());
    t.Step(0, 0);
    EXPECT_EQ(seq->clicks, (std::vector<GxTaskBase*>{button}));
    EXPECT_EQ(seq->values, (std::vector<int32_t>{42}));
    EXPECT_EQ(seq->GetUIEventCount(), 0u);
}

TEST(GxSeqWidgets, WidgetInputPermission)
{
    TaskTree t;
    auto* seq = new GxSeqTransitBase(t.root, L"SeqW");
    auto* panel = new GxTaskUIBase(seq, nullptr, L"panel", 0);
    auto* button = new GxTaskUIBase(panel, nullptr, L"btn", 0);
    GxSeqBase::ResetInputLocks();
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button)); // not current, not started

    t.Enter(seq);
    seq->StartTransit(100);
    t.Step(0, 50000);
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button)); // still in its transition
    t.Step(0, 50000);
    EXPECT_TRUE(seq->CanWidgetAcceptInput(button));

    panel->Hide();
    EXPECT_FALSE(seq->IsWidgetShown(button));
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button));
    panel->Show();
    panel->SetEnabled(false);
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button));
    panel->SetEnabled(true);

    button->AddActionWait(1, 100); // moving widgets take no input
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button));
    GxTaskActor::FinishActions(button);

    GxSeqBase::SetOpenDialogCount(2); // a dialog is open: only modal widgets of enough priority
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button));
    panel->SetModal(true);
    panel->SetModalPriority(2);
    EXPECT_TRUE(seq->CanWidgetAcceptInput(button));
    GxSeqBase::SetOpenDialogCount(0);

    GxSeqBase::SetInputLock(1);
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button));
    GxSeqBase::SetInputLock(0);

    t.manage.ChangeSequence(L"SeqSystemNone", 0, 0); // refused: nothing changes
    EXPECT_TRUE(seq->CanWidgetAcceptInput(button));
    auto* other = new GxSeqBase(t.root, L"SeqOther");
    t.manage.ChangeSequence(other, 0, 0);
    EXPECT_FALSE(seq->CanWidgetAcceptInput(button)); // a switch is pending
}

TEST(GxSeqWidgets, WidgetsRegisterOnLayerFiveOrTopMostSeven)
{
    TaskTree t;
    auto* seq = new GxSeqBase(t.root, L"SeqW");
    auto* back = new GxTaskUIBase(seq, nullptr, L"back", 0);
    auto* front = new GxTaskUIBase(seq, nullptr, L"front", 0);
    auto* top = new GxTaskUIBase(seq, nullptr, L"top", 0);
    auto* inner = new GxTaskUIBase(top, nullptr, L"inner", 0);
    back->SetOrderZ(900.0f);
    front->SetOrderZ(100.0f);
    top->SetTopMost(true);
    t.Enter(seq);
    t.Step(0, 0);
    ASSERT_EQ(t.List(5).GetCount(), 2u);
    EXPECT_EQ(t.List(5).GetEntry(0).task, front);
    EXPECT_EQ(t.List(5).GetEntry(1).task, back);
    ASSERT_EQ(t.List(7).GetCount(), 2u);
    EXPECT_EQ(t.List(7).GetEntry(1).task, inner); // top-most through its parent
    // A tree without system dialogs leaves safely.
    auto* next = new GxSeqBase(t.root, L"SeqNext");
    t.Enter(next);
    EXPECT_EQ(t.manage.GetCurrentSequence(), next);
}
