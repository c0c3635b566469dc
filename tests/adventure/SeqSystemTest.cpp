// The system sequence's dialogs (kinds, priorities, Esc, the close veto, leaving a screen) and the music
// ducking, over a task tree with the dialogs' widgets made by hand.
#include "../task/TaskTestSupport.h"

#include "adventure/AvgSharedState.h"
#include "adventure/SeqSystem.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUITextPanelIs.h"

#include <gtest/gtest.h>

namespace
{

struct SystemTree : TaskTree
{
    SeqSystem* sys = new SeqSystem(root);
    GxTaskUIBase* shutdown = new GxTaskUITextPanelIs(sys, L"dlg_shutdown", L"dlg_shutdown", -1);
    GxTaskUIBase* user = new GxTaskUITextPanelIs(sys, L"dlg_user", L"dlg_user", -1);
    GxTaskUIBase* sYes = new GxTaskUIButtonIs(shutdown, nullptr, L"btn_dlgshutdown_yes", 0);
    GxTaskUIBase* yes = new GxTaskUIButtonIs(user, nullptr, L"btn_dlguser_yes", 0);
    GxTaskUIBase* no = new GxTaskUIButtonIs(user, nullptr, L"btn_dlguser_no", 0);
    GxTaskUIBase* ok = new GxTaskUIButtonIs(user, nullptr, L"btn_dlguser_ok", 0);
    GxTaskUIBase* cancel = new GxTaskUIButtonIs(user, nullptr, L"btn_dlguser_cancel", 0);
    GxTaskUIBase* lone = new GxTaskUIButtonIs(user, nullptr, L"btn_dlguser_ok", 1);
    GxSeqBase* screen = new GxSeqBase(root, L"SeqScreen");
    GxTaskUIBase* beneath = new GxTaskUIButtonIs(screen, nullptr, L"btn_beneath", 0);

    SystemTree()
    {
        manage.SetSystemSequence(sys);
        ResetAvgSharedState();
        shutdown->Suspend();
        user->Suspend();
        Enter(screen);
        Step(0, 16000); // the screen starts and takes input
    }
    ~SystemTree() { ResetAvgSharedState(); }
    std::string Shown()
    {
        std::string s;
        for (GxTaskUIBase* b : {yes, no, ok, cancel, lone})
            s += b->IsVisibleInTree() ? '1' : '0';
        return s;
    }
};

} // namespace

TEST(SeqSystem, UserDialogKindsShowTheirButtons)
{
    const struct
    {
        int32_t kind;
        const char* shown; // yes, no, ok [0], cancel, ok [1]
    } cases[] = {{1, "00001"}, {0, "00001"}, {5, "00001"}, {2, "00110"}, {3, "11000"}};
    for (const auto& c : cases)
    {
        SystemTree t;
        t.sys->OpenUserDialog(L"USERDIALOG", L"よろしいですか？", c.kind);
        EXPECT_TRUE(t.sys->IsUserDialogOpen());
        EXPECT_EQ(t.Shown(), c.shown) << c.kind;
        EXPECT_EQ(t.user->GetText(), L"よろしいですか？");
        EXPECT_EQ(t.sys->GetUserDialogKey(), L"USERDIALOG");
    }
}

TEST(SeqSystem, BothDialogsOpenKeepTheirButtonsAndBlockTheScreen)
{
    SystemTree t;
    t.sys->OpenUserDialog(L"USERDIALOG", L"", SeqSystem::kDialogYesNo);
    t.sys->OpenShutdownDialog();
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 2);
    EXPECT_EQ(t.user->GetModalPriority(), SeqSystem::kUserDialogPriority);
    EXPECT_EQ(t.shutdown->GetModalPriority(), 2);
    EXPECT_EQ(t.sys->GetShutdownDialogKey(), L"EXITGAME");
    t.user->SetModal(true);
    t.shutdown->SetModal(true);
    EXPECT_TRUE(t.screen->CanWidgetAcceptInput(t.yes));
    EXPECT_TRUE(t.screen->CanWidgetAcceptInput(t.sYes));
    EXPECT_FALSE(t.screen->CanWidgetAcceptInput(t.beneath));
    // Leaving the screen closes both silently.
    t.screen->OnSequenceLeave();
    EXPECT_FALSE(t.sys->IsUserDialogOpen());
    EXPECT_FALSE(t.sys->IsShutdownDialogOpen());
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
}

TEST(SeqSystem, EscTogglesTheShutdownDialogAndTheCloseVetoLetsTheSecondPass)
{
    SystemTree t;
    EXPECT_EQ(t.sys->OnKeyDown(0x1B, 0), 1);
    EXPECT_TRUE(t.sys->IsShutdownDialogOpen());
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 1);
    EXPECT_EQ(t.sys->OnKeyDown(0x1B, 0), 1);
    EXPECT_FALSE(t.sys->IsShutdownDialogOpen());
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
    EXPECT_EQ(t.sys->OnKeyDown('A', 0), 0);

    // Hidden message window: Esc is ignored, a close request still opens the dialog and shows it again.
    g_MessageWindowHidden = 1;
    EXPECT_EQ(t.sys->OnKeyDown(0x1B, 0), 0);
    EXPECT_FALSE(t.sys->IsShutdownDialogOpen());
    EXPECT_EQ(t.sys->OnCloseRequest(), 1); // vetoed: the dialog asks first
    EXPECT_EQ(g_MessageWindowHidden, 0);
    EXPECT_TRUE(t.sys->IsShutdownDialogOpen());
    EXPECT_EQ(t.sys->OnCloseRequest(), 0); // Yes posts the close again: let through
    EXPECT_EQ(t.manage.OnCloseRequest(), 0);
    // Closing twice never takes the count below 0.
    t.sys->CloseShutdownDialog(false);
    t.sys->CloseShutdownDialog(false);
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
}

// A damaged UI module table leaves the dialog (or its Yes) unbuilt: nothing could answer it, so Esc and the
// close request end the game the window's way, and no dialog is counted as open.
TEST(SeqSystem, WithoutADialogToAnswerEscAndTheCloseRequestEndTheGame)
{
    for (const char* missing : {"dialog", "yes"})
    {
        SCOPED_TRACE(missing);
        TaskTree t;
        RecordingScreenService service;
        t.manage.SetScreenService(&service);
        auto* sys = new SeqSystem(t.root);
        t.manage.SetSystemSequence(sys);
        ResetAvgSharedState();
        if (std::string(missing) == "yes")
            (new GxTaskUITextPanelIs(sys, L"dlg_shutdown", L"dlg_shutdown", -1))->Suspend();
        GxSeqBase* screen = new GxSeqBase(t.root, L"SeqScreen");
        t.Enter(screen);

        EXPECT_EQ(sys->OnCloseRequest(), 0); // not vetoed: the window closes
        EXPECT_EQ(sys->OnKeyDown(0x1B, 0), 1);
        EXPECT_EQ(service.closeRequests, 1);
        EXPECT_FALSE(sys->IsShutdownDialogOpen());
        EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
        t.manage.SetScreenService(nullptr);
    }
    ResetAvgSharedState();
}

TEST(SeqSystem, DuckingFallsAndClimbsBackOverTwentyFiveFrames)
{
    int32_t f = 100;
    for (int i = 0; i < 25; ++i)
        f = SeqSystem::StepRestrain(f, true);
    EXPECT_EQ(f, 0);
    EXPECT_EQ(SeqSystem::StepRestrain(f, true), 0); // settles
    for (int i = 0; i < 24; ++i)
        f = SeqSystem::StepRestrain(f, false);
    EXPECT_EQ(f, 96);
    EXPECT_EQ(SeqSystem::StepRestrain(f, false), 100);
    EXPECT_EQ(SeqSystem::StepRestrain(100, false), 100);
    EXPECT_EQ(SeqSystem::StepRestrain(2, true), 0);
}

TEST(SeqSystem, DialogButtonPlaces)
{
    int32_t x = 0, y = 0;
    SeqSystem::YesButtonPos(480, 200, 120, 40, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(104, 120));
    SeqSystem::NoButtonPos(480, 200, 120, 40, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(256, 120));
    // Odd remainders truncate toward zero, also when the buttons are wider than the dialog.
    SeqSystem::YesButtonPos(301, 100, 100, 30, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(34, 30));
    SeqSystem::YesButtonPos(100, 100, 80, 30, x, y);
    EXPECT_EQ(x, -46);
}
