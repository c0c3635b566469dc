#include "task/GxTaskFolder.h"

#include "core/GxLog.h"

GxTaskFolder::GxTaskFolder(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex)
    : GxTaskBase(parent, globalName, localName, localIndex)
{
    AddTaskKind(GX_TASKKIND_FOLDER);
}

GxTaskFolder::~GxTaskFolder()
{
    // Tasks still named here (moved away with an ancestor, or this folder itself) must not keep a
    // pointer to a registry that is going away.
    for (auto& [name, indices] : m_LocalNames)
    {
        for (auto& [index, task] : indices)
        {
            if (task && task->m_LocalNameFolder == this)
                task->m_LocalNameFolder = nullptr;
        }
    }
    m_LocalNames.clear();
}

void GxTaskFolder::OnSequenceLeave()
{
    ClearUIEvents();
}

int32_t GxTaskFolder::Update(int32_t, int64_t)
{
    DispatchUIEvents(this);
    return 0;
}

GxVector4 GxTaskFolder::GetWorldPos() const
{
    GxTaskBase* parent = GetParent();
    return parent ? parent->GetWorldPos() : GxVector4();
}

bool GxTaskFolder::RegisterTaskLocalName(const std::wstring& name, int32_t index, GxTaskBase* task)
{
    auto& indices = m_LocalNames[name];
    if (!indices.emplace(index, task).second)
    {
        GxLog::Error(L"GxTaskFolder::RegisterTaskLocalName/TaskLocalNameまたはIndex重複を検出 %s (%s,%d)\n",
                     GetTaskName().c_str(), name.c_str(), index);
        return false;
    }
    return true;
}

bool GxTaskFolder::UnregisterTaskLocalName(const std::wstring& name, int32_t index)
{
    auto it = m_LocalNames.find(name);
    if (it == m_LocalNames.end())
        return false;
    if (it->second.erase(index) == 0)
        return false;
    if (it->second.empty())
        m_LocalNames.erase(it);
    return true;
}

GxTaskBase* GxTaskFolder::FindTaskLocal(const std::wstring& name, int32_t index) const
{
    auto it = m_LocalNames.find(name);
    if (it == m_LocalNames.end())
        return nullptr;
    auto found = it->second.find(index);
    return found == it->second.end() ? nullptr : found->second;
}

GxTaskBase* GxTaskFolder::FindTaskLocal(const wchar_t* name, int32_t index) const
{
    return name ? FindTaskLocal(std::wstring(name), index) : nullptr;
}

GxTaskBase* GxTaskFolder::GetTaskLocal(const std::wstring& name, int32_t index) const
{
    GxTaskBase* task = FindTaskLocal(name, index);
    if (!task)
        GxLog::Error(L"GxTaskFolder::GetTaskLocal/ローカルタスクが存在しません %s:%s[%d]\n", GetTaskName().c_str(),
                     name.c_str(), index);
    return task;
}

GxTaskBase* GxTaskFolder::GetTaskLocal(const wchar_t* name, int32_t index) const
{
    return GetTaskLocal(std::wstring(name ? name : L""), index);
}

int32_t GxTaskFolder::DispatchUIEvents(GxTaskFolder* folder)
{
    if (!folder)
        return 0;
    int32_t sum = 0;
    while (!folder->m_UIEvents.empty())
    {
        // A copy: the listener may queue or clear while it runs.
        const GxUIEvent event = folder->m_UIEvents.front();
        const uint32_t clearCount = folder->m_UIEventClearCount;
        int32_t result = 0;
        if (folder->CallUIEvent(event, result))
            sum += result;
        // A listener that emptied the queue has removed this event already; anything queued since is new.
        if (folder->m_UIEventClearCount == clearCount && !folder->m_UIEvents.empty())
            folder->m_UIEvents.pop_front();
    }
    return sum;
}

void GxTaskFolder::ClearUIEvents()
{
    m_UIEvents.clear();
    ++m_UIEventClearCount;
}

bool GxTaskFolder::QueueUIEvent(const GxUIEvent& event)
{
    if (IsDead() || IsSuspended() || !m_AcceptUIEvent)
        return false;
    m_UIEvents.push_back(event);
    return true;
}
