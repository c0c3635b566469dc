#include "task/GxSeqSystemBase.h"

#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUITipHelpIs.h"

GxSeqSystemBase::GxSeqSystemBase(GxTaskBase* parent, const wchar_t* globalName) : GxSeqBase(parent, globalName) {}

GxSeqSystemBase::~GxSeqSystemBase() = default;

void GxSeqSystemBase::CloseDialog(const wchar_t* name)
{
    GxTaskManage* manage = GetManager();
    GxTaskBase* dialog = manage ? manage->FindTaskByName(name) : nullptr;
    if (dialog)
        dialog->Suspend();
    DecrementOpenDialogCount();
}

void GxSeqSystemBase::CloseShutdownDialog(bool playSound)
{
    (void)playSound;
    CloseDialog(L"dlg_shutdown");
}

void GxSeqSystemBase::CloseUserDialog(bool playSound)
{
    (void)playSound;
    CloseDialog(L"dlg_user");
}

bool GxSeqSystemBase::ShowHelpTip(const wchar_t* text, float x, float y)
{
    GxTaskManage* manage = GetManager();
    auto* tip = manage ? dynamic_cast<GxTaskUITipHelpIs*>(manage->FindTaskByName(L"tip_help")) : nullptr;
    if (!tip)
        return false;
    tip->Resume();
    tip->Show();
    // An empty text hides the tip again inside SetText.
    tip->SetText(text);
    tip->SetTipPosition(x, y);
    return true;
}
