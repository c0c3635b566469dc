#include "task/GxSeqSystemBase.h"

#include "task/GxTaskManage.h"

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
