#include "core/GxThreadObject.h"

#include "core/GxMutexScopedLock.h"

GxThreadListenerBase* GxThreadObject::GetListener()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Listener;
}

void GxThreadObject::SetListener(GxThreadListenerBase* listener)
{
    GxMutexScopedLock lock(m_Mutex);
    m_Listener = listener;
}

void GxThreadObject::SetFinished(uint32_t value)
{
    GxMutexScopedLock lock(m_Mutex);
    m_Finished = true;
    m_Result = value;
}

bool GxThreadObject::IsFinished()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Finished;
}

uint32_t GxThreadObject::GetResult()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Result;
}
