#include "core/GxThreadManage.h"

#include "core/GxMutexScopedLock.h"
#include "core/GxThreadListenerBase.h"
#include "core/GxThreadObject.h"


GxThreadManage::GxThreadManage(GxThreadListenerBase* defaultListener) : m_DefaultListener(defaultListener) {}

GxThreadManage::~GxThreadManage() = default;

uint32_t GxThreadManage::Poll()
{
    GxMutexScopedLock lock(m_Mutex);
    uint32_t taken = 0;
    while (!m_Records.empty())
    {
        // Moved out first: a listener may queue further records while it runs.
        GxThreadRecord record = std::move(m_Records.front());
        m_Records.pop_front();
        ++taken;
        GxThreadObject* thread = record.m_Thread;
        if (record.m_Kind == GxThreadRecord::KindFinished && thread != nullptr)
            thread->SetFinished(record.m_Value1);
        GxThreadListenerBase* listener = thread != nullptr ? thread->GetListener() : nullptr;
        if (listener == nullptr)
            listener = m_DefaultListener;
        if (listener == nullptr)
            continue;
        if (record.m_Kind == GxThreadRecord::KindMessage)
            listener->OnThread0(record.m_Name.c_str(), thread, record.m_Value1, record.m_Value2);
        else if (record.m_Kind == GxThreadRecord::KindFinished)
            listener->OnThread1(record.m_Name.c_str(), thread, record.m_Value1, record.m_Value2);
    }
    return taken;
}

void GxThreadManage::RequestStop()
{
    GxMutexScopedLock lock(m_Mutex);
    m_StopRequested = true;
}

bool GxThreadManage::IsStopRequested()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_StopRequested;
}

uint32_t GxThreadManage::GetLiveCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return static_cast<uint32_t>(m_Live.size());
}

void GxThreadManage::WaitAll()
{
    std::unique_lock<std::mutex> lock(m_EndMutex);
    m_Ended.wait(lock, [this] { return GetLiveCount() == 0; });
}

bool GxThreadManage::Register(GxThreadObject* thread)
{
    if (thread == nullptr)
        return false;
    GxMutexScopedLock lock(m_Mutex);
    if (m_StopRequested)
        return false;
    return m_Live.insert(thread).second;
}

void GxThreadManage::PostMessage(GxThreadObject* thread, const std::wstring& name, uint32_t value1, uint32_t value2)
{
    GxMutexScopedLock lock(m_Mutex);
    m_Records.push_back(GxThreadRecord{GxThreadRecord::KindMessage, name, thread, value1, value2});
}

void GxThreadManage::Finish(GxThreadObject* thread, const std::wstring& name, uint32_t value1, uint32_t value2)
{
    // The end is signalled under the waiter's lock: once WaitAll sees the set empty, no worker touches
    // the manager again.
    std::lock_guard<std::mutex> ended(m_EndMutex);
    {
        GxMutexScopedLock lock(m_Mutex);
        m_Records.push_back(GxThreadRecord{GxThreadRecord::KindFinished, name, thread, value1, value2});
        m_Live.erase(thread);
    }
    m_Ended.notify_all();
}
