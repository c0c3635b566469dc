#include "task/GxTaskControl.h"

#include "appdata/DBUILayout.h"
#include "core/GxLog.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

void GxTaskControl::CreateUIFromDBUILayout(GxSeqBase* owner, const std::wstring& folderName)
{
    GxTaskManage* manage = owner ? owner->GetManager() : nullptr;
    GxTaskBase* folder = manage ? manage->FindTaskByName(folderName) : nullptr;
    if (!folder)
    {
        GxLog::Error(L"GxTaskControl::CreateUIFromDBUILayout タスクフォルダが見つかりません[%s]\n", folderName.c_str());
        return;
    }
    for (int32_t i = 0; i < g_DBUILayout.GetCapacity(); ++i)
    {
        const DBUILayoutData* row = g_DBUILayout.GetRow(i);
        if (row->m_ParentName == folderName)
            owner->CreateUITaskFromLayout(folder, *row, row->m_TaskName.c_str(), row->m_TaskIndex);
    }
}
