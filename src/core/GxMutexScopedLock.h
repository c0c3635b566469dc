#pragma once

#include "core/GxMutex.h"
#include "core/GxObjectNotCopyable.h"

// Holds a GxMutex for the life of a scope: locked by the constructor, unlocked by the destructor.
class GxMutexScopedLock : public GxObjectNotCopyable
{
public:
    explicit GxMutexScopedLock(GxMutex* mutex) : m_Mutex(mutex)
    {
        if (m_Mutex != nullptr)
            m_Mutex->Lock();
    }
    explicit GxMutexScopedLock(GxMutex& mutex) : GxMutexScopedLock(&mutex) {}
    ~GxMutexScopedLock() override
    {
        if (m_Mutex != nullptr)
            m_Mutex->Unlock();
    }

private:
    GxMutex* m_Mutex;
};
