#include "task/GxTaskBase.h"

#include "task/GxTaskFolder.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "task/GxTaskManage.h"

#include <string>

GxTaskBase::GxTaskBase(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex)
{
    if (parent)
    {
        m_Manage = parent->m_Manage;
        LinkAsLastChild(parent);
    }
    if (m_Manage)
        ++m_Manage->m_LiveTaskCount;
    if (globalName && *globalName)
        SetTaskName(globalName);
    if (localName && *localName)
        SetTaskLocalName(localName, localIndex);
}

GxTaskBase::GxTaskBase(GxTaskManage* manage) : m_Manage(manage)
{
    if (m_Manage)
    {
        m_Manage->RegisterRootTask(this);
        ++m_Manage->m_LiveTaskCount;
    }
}

GxTaskBase::~GxTaskBase()
{
    if (m_Manage)
    {
        --m_Manage->m_LiveTaskCount;
        if (m_TaskID != 0)
            m_Manage->EraseTaskID(m_TaskID, this);
        if (!m_GlobalName.empty())
            m_Manage->EraseTaskName(m_GlobalName, this);
        m_Manage->OnTaskDestroyed(this);
    }
    UnregisterLocalName();
    if (m_Parent)
        Unlink();
}

void GxTaskBase::LinkAsLastChild(GxTaskBase* parent)
{
    m_Parent = parent;
    m_PrevSibling = parent->m_LastChild;
    m_NextSibling = nullptr;
    if (parent->m_LastChild)
        parent->m_LastChild->m_NextSibling = this;
    else
        parent->m_FirstChild = this;
    parent->m_LastChild = this;
    ++parent->m_ChildCount;
}

void GxTaskBase::Unlink()
{
    GxTaskBase* parent = m_Parent;
    if (m_PrevSibling)
        m_PrevSibling->m_NextSibling = m_NextSibling;
    else
        parent->m_FirstChild = m_NextSibling;
    if (m_NextSibling)
        m_NextSibling->m_PrevSibling = m_PrevSibling;
    else
        parent->m_LastChild = m_PrevSibling;
    --parent->m_ChildCount;
    m_Parent = nullptr;
    m_PrevSibling = nullptr;
    m_NextSibling = nullptr;
}

int32_t GxTaskBase::Update(int32_t, int64_t)
{
    return 0;
}
int32_t GxTaskBase::UpdatePreStart(int32_t, int64_t)
{
    return 0;
}
int32_t GxTaskBase::RegisterDraw(int32_t, int64_t)
{
    return 0;
}
int32_t GxTaskBase::Draw(int32_t, int32_t)
{
    return 0;
}

int32_t GxTaskBase::ForwardDraw(int32_t param, int32_t layer)
{
    Draw(param, layer);
    return 0;
}

int32_t GxTaskBase::ExtraQuery(int32_t)
{
    return 0;
}

bool GxTaskBase::SetTaskID(uint64_t id)
{
    if (m_TaskID != 0)
    {
        GxLog::Error(L"GxTaskBase::SetTaskID/TaskIDは後から変更できませんTaskID=%I64u->%I64u\n", m_TaskID, id);
        return false;
    }
    m_TaskID = id;
    if (!m_Manage)
        return false;
    return m_Manage->RegisterTaskID(this, id);
}

bool GxTaskBase::SetTaskName(const std::wstring& name)
{
    if (m_Manage && !m_GlobalName.empty())
        m_Manage->EraseTaskName(m_GlobalName, this);
    m_GlobalName = name;
    if (m_Manage && !m_GlobalName.empty())
        return m_Manage->RegisterTaskName(m_GlobalName, this);
    return false;
}

GxTaskFolder* GxTaskBase::FindFolder() const
{
    for (const GxTaskBase* t = this; t; t = t->m_Parent)
    {
        if (t->m_Kind & GX_TASKKIND_FOLDER)
            return static_cast<GxTaskFolder*>(const_cast<GxTaskBase*>(t));
    }
    return nullptr;
}

void GxTaskBase::UnregisterLocalName()
{
    if (!m_LocalNameFolder)
        return;
    // Only our own entry: a refused duplicate key belongs to the first holder.
    if (m_LocalNameFolder->FindTaskLocal(m_LocalName, m_LocalIndex) == this)
        m_LocalNameFolder->UnregisterTaskLocalName(m_LocalName, m_LocalIndex);
    m_LocalNameFolder = nullptr;
}

bool GxTaskBase::RegisterLocalName()
{
    GxTaskFolder* folder = FindFolder();
    if (!folder || m_LocalName.empty())
        return false;
    if (!folder->RegisterTaskLocalName(m_LocalName, m_LocalIndex, this))
        return false;
    m_LocalNameFolder = folder;
    return true;
}

bool GxTaskBase::SetTaskLocalName(const std::wstring& name, int32_t index)
{
    if (!FindFolder())
    {
        GxLog::Error(L"GxTaskBase::SetTaskLocalName/フォルダタスク下にありません (%s,%d)\n", name.c_str(), index);
        return false;
    }
    if (!m_LocalName.empty())
        UnregisterLocalName();
    m_LocalName = name;
    m_LocalIndex = index;
    if (m_LocalName.empty())
        return false;
    return RegisterLocalName();
}

std::wstring GxTaskBase::GetTaskPath() const
{
    return GxString::Format(L"%s/%s[%d]:%d", m_GlobalName.c_str(), m_LocalName.c_str(), m_LocalIndex, m_TypeCode);
}

void GxTaskBase::Resume()
{
    if (m_GlobalState != GX_TASKSTATE_SUSPENDED)
        return;
    m_GlobalState = GX_TASKSTATE_ACTIVE;
    OnResume();
}

void GxTaskBase::Suspend()
{
    if (m_GlobalState != GX_TASKSTATE_ACTIVE)
        return;
    m_GlobalState = GX_TASKSTATE_SUSPENDED;
    OnSuspend();
}

void GxTaskBase::Kill()
{
    KillChildren();
    if (m_GlobalState == GX_TASKSTATE_DEAD)
        return;
    m_GlobalState = GX_TASKSTATE_DEAD;
    NoteSweepWork(m_GlobalState, m_Flags);
    OnKill();
}

void GxTaskBase::SetGlobalState(uint32_t state)
{
    m_GlobalState = state;
    NoteSweepWork(m_GlobalState, m_Flags);
}

void GxTaskBase::SetTaskFlags(uint32_t flags)
{
    m_Flags = flags;
    NoteSweepWork(m_GlobalState, m_Flags);
}

void GxTaskBase::AddTaskFlags(uint32_t bits)
{
    m_Flags |= bits;
    NoteSweepWork(m_GlobalState, m_Flags);
}

void GxTaskBase::NoteSweepWork(uint32_t state, uint32_t flags)
{
    if (m_Manage && (state == GX_TASKSTATE_DEAD || (flags & GX_TASKFLAG_STOP_STEP)))
        m_Manage->m_SweepPending = true;
}

void GxTaskBase::ResumeChildren()
{
    for (GxTaskBase* t = m_FirstChild; t; t = t->m_NextSibling)
        t->Resume();
}

void GxTaskBase::SuspendChildren()
{
    for (GxTaskBase* t = m_FirstChild; t; t = t->m_NextSibling)
        t->Suspend();
}

void GxTaskBase::KillChildren()
{
    for (GxTaskBase* t = m_FirstChild; t; t = t->m_NextSibling)
        t->Kill();
}

int32_t GxTaskBase::DecrementDeleteDelay()
{
    if (m_DeleteDelay >= 1)
        --m_DeleteDelay;
    return m_DeleteDelay;
}

bool GxTaskBase::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    writer->Write("m_GlobalState", static_cast<uint32_t>(m_GlobalState));
    writer->Write("m_TaskID", static_cast<int64_t>(m_TaskID));
    return writer->GetErrorCount() == 0;
}

bool GxTaskBase::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (m_TaskID != 0 && m_Manage)
        m_Manage->EraseTaskID(m_TaskID, this);
    uint32_t state = m_GlobalState;
    int64_t id = 0;
    reader->Read("m_GlobalState", state);
    reader->Read("m_TaskID", id);
    m_GlobalState = state;
    NoteSweepWork(m_GlobalState, m_Flags);
    m_TaskID = static_cast<uint64_t>(id);
    if (m_TaskID != 0 && m_Manage)
        m_Manage->RegisterTaskID(this, m_TaskID);
    return reader->GetErrorCount() == 0;
}
