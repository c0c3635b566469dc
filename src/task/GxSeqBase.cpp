#include "task/GxSeqBase.h"

#include "appdata/DBUILayout.h"
#include "core/GxLog.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxTaskScreenService.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIFactory.h"

int32_t GxSeqBase::s_OpenDialogCount = 0;
int32_t GxSeqBase::s_InputLock = 0;
int32_t GxSeqBase::s_LockCount[3] = {0, 0, 0};

GxSeqBase::GxSeqBase(GxTaskBase* parent, const wchar_t* globalName) : GxTaskFolder(parent, globalName)
{
    AddTaskFlags(GX_TASKFLAG_END_OF_RUN | GX_TASKFLAG_PRESTART);
    AddTaskKind(GX_TASKKIND_SEQUENCE);
}

GxSeqBase::~GxSeqBase() = default;

void GxSeqBase::DecrementOpenDialogCount()
{
    if (s_OpenDialogCount > 0)
        --s_OpenDialogCount;
}

void GxSeqBase::ResetInputLocks()
{
    s_OpenDialogCount = 0;
    s_InputLock = 0;
    s_LockCount[0] = s_LockCount[1] = s_LockCount[2] = 0;
}

void GxSeqBase::OnSequenceLeave()
{
    GxTaskFolder::OnSequenceLeave();
    GxTaskManage* manage = GetManager();
    if (!manage)
        return;
    // The system sequence owns these three; a tree without them (a screen set up without the system
    // sequence) simply has nothing to hide.
    if (GxTaskBase* tip = manage->FindTaskByName(L"tip_help"))
        tip->Suspend();
    for (const wchar_t* name : {L"dlg_shutdown", L"dlg_user"})
    {
        GxTaskBase* dialog = manage->FindTaskByName(name);
        if (dialog && dialog->IsActive())
        {
            dialog->Suspend();
            DecrementOpenDialogCount();
        }
    }
}

void GxSeqBase::StartMain()
{
    GxTaskManage* manage = GetManager();
    if (!manage)
        return;
    if (manage->IsSequenceEntered())
        manage->SetSequenceStarted(true);
    else
        GxLog::Error(L"GxTaskManage::StartMain/シーケンスの準備ができていません\n");
}

int32_t GxSeqBase::UpdatePreStart(int32_t, int64_t)
{
    StartMain();
    return 0;
}

int32_t GxSeqBase::RegisterDraw(int32_t, int64_t)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(0))
            list->Add(this, GX_RENDER_DEFAULT, 0.0f, 0);
    }
    return 0;
}

int32_t GxSeqBase::Draw(int32_t, int32_t)
{
    if (GxTaskManage* manage = GetManager())
        manage->GetScreenService()->ClearScreen();
    return 0;
}

int32_t GxSeqBase::OnUIEvent1(GxTaskBase* sender, const GxUIEvent&)
{
    GxTaskManage* manage = GetManager();
    if (!sender || !manage || !sender->GetParent())
        return 0;
    const std::wstring parentName = sender->GetParent()->GetTaskName();
    const std::wstring localName = sender->GetTaskLocalName();
    auto* system = dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence());
    if (parentName == L"dlg_shutdown")
    {
        if (localName == L"btn_dlgshutdown_yes")
        {
            manage->GetScreenService()->RequestClose();
            return 1;
        }
        if (localName == L"btn_dlgshutdown_no")
        {
            if (system)
                system->CloseShutdownDialog();
            return 1;
        }
        return 0;
    }
    if (parentName == L"dlg_user" && system && system->GetUserDialogKey() == L"USERDIALOG")
    {
        if (localName == L"btn_dlguser_yes" || localName == L"btn_dlguser_ok")
            manage->GetScreenService()->SetDialogResult(1);
        else if (localName == L"btn_dlguser_no" || localName == L"btn_dlguser_cancel")
            manage->GetScreenService()->SetDialogResult(0);
        else
            return 0;
        system->CloseUserDialog();
        return 1;
    }
    return 0;
}

bool GxSeqBase::IsWidgetShown(GxTaskUIBase* widget)
{
    return widget && widget->IsVisibleInTree();
}

bool GxSeqBase::CanWidgetAcceptInput(GxTaskUIBase* widget)
{
    if (!widget || !IsWidgetShown(widget) || !widget->IsEnabledInTree())
        return false;
    if (!GxTaskActor::IsActionEmpty(widget))
        return false;
    if (s_OpenDialogCount != 0 && widget->GetEffectiveModalPriority() < s_OpenDialogCount)
        return false;
    GxTaskManage* manage = GetManager();
    if (!manage || !manage->IsSequenceStarted() || manage->IsChangeSequencePending())
        return false;
    return s_InputLock == 0;
}

GxTaskUIBase* GxSeqBase::CreateUITask(GxTaskBase* parent, const DBUIModuleData* module, const wchar_t* name,
                                      int32_t index)
{
    return GxUIFactory::CreateUITask(parent, module, name, index);
}

GxTaskUIBase* GxSeqBase::CreateUITaskByModuleName(GxTaskBase* parent, const wchar_t* moduleName, const wchar_t* name,
                                                  int32_t index)
{
    return GxUIFactory::CreateUITaskByModuleName(parent, moduleName, name, index);
}

GxTaskUIBase* GxSeqBase::CreateUITaskFromId(GxTaskBase* parent, int32_t moduleID, const wchar_t* name, int32_t index)
{
    return GxUIFactory::CreateUITaskFromId(parent, moduleID, name, index);
}

GxTaskUIBase* GxSeqBase::CreateUITaskFromLayout(GxTaskBase* folder, const DBUILayoutData& row, const wchar_t* name,
                                                int32_t index)
{
    GxTaskUIBase* widget = CreateUITaskByModuleName(folder, row.m_ModuleName.c_str(), name, index);
    if (widget)
        widget->ApplyLayout(row);
    return widget;
}
