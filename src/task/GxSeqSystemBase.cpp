#include "task/GxSeqSystemBase.h"

#include "task/GxTaskActor.h"
#include "task/GxTaskManage.h"

GxSeqSystemBase::GxSeqSystemBase(GxTaskBase* parent, const wchar_t* globalName) : GxSeqBase(parent, globalName) {}

GxSeqSystemBase::~GxSeqSystemBase() = default;

void GxSeqSystemBase::CloseDialog(const wchar_t* name)
{
    GxTaskManage* manage = GetManager();
    GxTaskBase* dialog = manage ? manage->FindTaskByName(name) : nullptr;
    if (dialog && dialog->HasKind(GX_TASKKIND_ACTOR))
        static_cast<GxTaskActor*>(dialog)->Hide();
    DecrementOpenDialogCount();
}

void GxSeqSystemBase::CloseShutdownDialog() { CloseDialog(L"dlg_shutdown"); }

void GxSeqSystemBase::CloseUserDialog() { CloseDialog(L"dlg_user"); }
