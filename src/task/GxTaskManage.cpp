#include "task/GxTaskManage.h"

#include "task/GxSeqBase.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskFolder.h"
#include "core/GxLog.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxTaskScreenService.h"

// [SECTION] construction and the tree
// [SECTION] registration
// [SECTION] sequence switching
// (the walks are in GxTaskManageWalk.cpp)

GxTaskManage::GxTaskManage(GxCore* core) : m_Core(core) {}

GxTaskManage::~GxTaskManage()
{
    DeleteTree(m_RootTask);
    m_RootTask = nullptr;
    m_IDMap.clear();
    m_NameMap.clear();
}

void GxTaskManage::DeleteTree(GxTaskBase* first)
{
    for (GxTaskBase* t = first; t;)
    {
        GxTaskBase* next = t->m_NextSibling;
        DeleteTree(t->m_FirstChild);
        delete t;
        t = next;
    }
}

void GxTaskManage::SetRenderLists(GxTaskRenderManage* lists, const int32_t* currentBank)
{
    m_RenderLists = lists;
    m_CurrentBank = currentBank;
}

GxTaskRenderManage* GxTaskManage::GetRenderList(int32_t layer) const
{
    if (!m_RenderLists || layer < 0 || layer >= kRenderLayerCount)
        return nullptr;
    int32_t bank = m_CurrentBank ? *m_CurrentBank : 0;
    if (bank < 0 || bank >= kRenderBankCount)
        bank = 0;
    return &m_RenderLists[bank * kRenderLayerCount + layer];
}

GxTaskScreenService* GxTaskManage::GetScreenService() const
{
    static GxTaskScreenService s_Default;
    return m_ScreenService ? m_ScreenService : &s_Default;
}

void GxTaskManage::RegisterRootTask(GxTaskBase* task)
{
    if (m_RootTask)
    {
        GxLog::Error(L"RootTask二重登録エラー\n");
        return;
    }
    m_RootTask = task;
    ++m_LiveTaskCount;
}

void GxTaskManage::OnTaskDestroyed(GxTaskBase* task)
{
    // A deleted task must not stay reachable from the manager's own pointers.
    if (m_RootTask == task)
        m_RootTask = nullptr;
    GxTaskBase* seqs[] = {m_SystemSequence, m_CurrentSequence, m_PendingSequence, m_PrevSequence};
    if (seqs[0] == task)
        m_SystemSequence = nullptr;
    if (seqs[1] == task)
        m_CurrentSequence = nullptr;
    if (seqs[2] == task)
        m_PendingSequence = nullptr;
    if (seqs[3] == task)
        m_PrevSequence = nullptr;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] registration

bool GxTaskManage::RegisterTaskID(GxTaskBase* task, uint64_t id)
{
    if (id == 0)
    {
        GxLog::Error(L"GxTaskManage::RegisterTaskID/TaskID=0は指定できません(%s)\n", task->m_GlobalName.c_str());
        return false;
    }
    if (m_IDMap.count(id))
    {
        GxLog::Error(L"GxTaskManage::RegisterTaskID/TaskID重複を検出 (%I64u,%s)\n", id, task->m_GlobalName.c_str());
        return false;
    }
    m_IDMap.emplace(id, task);
    return true;
}

bool GxTaskManage::UnregisterTaskID(uint64_t id)
{
    auto it = m_IDMap.find(id);
    if (it == m_IDMap.end())
    {
        GxLog::Error(L"GxTaskManage::UnregisterTaskID/TaskID発見できず (%I64u)\n", id);
        return false;
    }
    m_IDMap.erase(it);
    return true;
}

void GxTaskManage::EraseTaskID(uint64_t id, const GxTaskBase* task)
{
    auto it = m_IDMap.find(id);
    if (it == m_IDMap.end())
    {
        GxLog::Error(L"GxTaskManage::UnregisterTaskID/TaskID発見できず (%I64u)\n", id);
        return;
    }
    // A task refused as a duplicate must not remove the holder's entry.
    if (it->second == task)
        m_IDMap.erase(it);
}

bool GxTaskManage::RegisterTaskName(const std::wstring& name, GxTaskBase* task)
{
    if (m_NameMap.count(name))
    {
        GxLog::Error(L"GxTaskManage::RegisterTaskName/TaskName重複を検出 (%s)\n", name.c_str());
        return false;
    }
    m_NameMap.emplace(name, task);
    return true;
}

void GxTaskManage::EraseTaskName(const std::wstring& name, const GxTaskBase* task)
{
    auto it = m_NameMap.find(name);
    if (it != m_NameMap.end() && it->second == task)
        m_NameMap.erase(it);
}

GxTaskBase* GxTaskManage::FindTaskByName(const wchar_t* name) const
{
    if (!name)
        return nullptr;
    return FindTaskByName(std::wstring(name));
}

GxTaskBase* GxTaskManage::FindTaskByName(const std::wstring& name) const
{
    auto it = m_NameMap.find(name);
    return it == m_NameMap.end() ? nullptr : it->second;
}

GxTaskBase* GxTaskManage::FindTaskByID(uint64_t id) const
{
    auto it = m_IDMap.find(id);
    return it == m_IDMap.end() ? nullptr : it->second;
}

bool GxTaskManage::MoveNode(GxTaskBase* task, GxTaskBase* newParent)
{
    if (!task || !newParent)
        return false;
    if (!task->m_Parent)
    {
        GxLog::Error(L"GxTaskManage::MoveNode/親タスクが無いノードは移動できません (%s)\n", task->m_GlobalName.c_str());
        return false;
    }
    if (newParent->m_Manage != this || task->m_Manage != this)
    {
        GxLog::Error(L"GxTaskManage::MoveNode/異なるタスクマネージャ間のノード移動はできません (%s)\n",
                     task->m_GlobalName.c_str());
        return false;
    }
    // A task cannot become its own descendant: the subtree would be cut off from the tree.
    for (GxTaskBase* t = newParent; t; t = t->m_Parent)
    {
        if (t == task)
            return false;
    }
    if (!task->m_LocalName.empty())
        task->UnregisterLocalName();
    task->Unlink();
    task->LinkAsLastChild(newParent);
    if (!task->m_LocalName.empty())
        task->RegisterLocalName();
    return true;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] sequence switching

bool GxTaskManage::ChangeSequenceChecked(GxTaskBase* task, uint32_t param0, uint32_t param1)
{
    if (!task)
        return false;
    if (!(task->m_Kind & GX_TASKKIND_SEQUENCE))
    {
        GxLog::Error(L"指定されたタスクはシーケンスタスクではありません(%s)\n", task->m_GlobalName.c_str());
        return false;
    }
    if (task->m_GlobalName == m_CurrentName)
    {
        GxLog::Error(L"Can not change the same sequence(%s)\n", task->m_GlobalName.c_str());
        return false;
    }
    if (m_SequenceEntered != m_ChangePerformed)
    {
        GxLog::Error(L"ChangeSequence()を実行できない場所から呼んでいます(%s)\n", task->m_GlobalName.c_str());
        return false;
    }
    m_PendingSequence = static_cast<GxSeqBase*>(task);
    m_PendingName = task->m_GlobalName;
    m_PendingParam[0] = param0;
    m_PendingParam[1] = param1;
    m_SequenceEntered = false;
    m_SequenceStarted = false;
    m_ChangePerformed = false;
    m_ChangePending = true;
    return true;
}

bool GxTaskManage::ChangeSequence(GxTaskBase* task, uint32_t param0, uint32_t param1)
{
    return ChangeSequenceChecked(task, param0, param1);
}

bool GxTaskManage::ChangeSequence(const wchar_t* name, uint32_t param0, uint32_t param1)
{
    GxTaskBase* task = FindTaskByName(name);
    if (!task)
    {
        GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", name ? name : L"");
        return false;
    }
    return ChangeSequenceChecked(task, param0, param1);
}

bool GxTaskManage::ChangeSequence(const std::wstring& name, uint32_t param0)
{
    if (name.empty())
    {
        GxLog::Error(L"名前のないタスクは遷移先のシーケンスに指定できません\n");
        return false;
    }
    GxTaskBase* task = FindTaskByName(name);
    if (!task)
    {
        GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", name.c_str());
        return false;
    }
    return ChangeSequenceChecked(task, param0, 0);
}

void GxTaskManage::ApplyPendingSequence()
{
    if (!m_ChangePending)
        return;
    m_PrevSequence = m_CurrentSequence;
    m_PrevName = m_CurrentName;
    m_PrevParam[0] = m_CurrentParam[0];
    m_PrevParam[1] = m_CurrentParam[1];
    if (m_CurrentSequence)
        WalkSequenceLeave(m_CurrentSequence);
    // The pending fields are read after the leave walk: a request made while leaving replaces the target.
    m_ChangePerformed = true;
    m_CurrentSequence = m_PendingSequence;
    m_CurrentName = m_PendingName;
    m_CurrentParam[0] = m_PendingParam[0];
    m_CurrentParam[1] = m_PendingParam[1];
    m_PendingSequence = nullptr;
    m_PendingName.clear();
    m_PendingParam[0] = m_PendingParam[1] = 0;
    m_SequenceEntered = true;
    m_ChangePending = false;
    if (m_CurrentSequence)
        WalkSequenceEnter(m_CurrentSequence);
}

void GxTaskManage::ClearSequence()
{
    if (m_CurrentSequence && m_SequenceEntered)
        WalkSequenceLeave(m_CurrentSequence);
    m_CurrentSequence = nullptr;
    m_CurrentName.clear();
    m_CurrentParam[0] = m_CurrentParam[1] = 0;
    m_ChangePending = false;
    m_SequenceEntered = false;
    m_SequenceStarted = false;
    m_ChangePerformed = false;
}
