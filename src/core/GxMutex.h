#pragma once

#include "core/GxObjectNotCopyable.h"

#include <mutex>

// The engine's one lock type. Re-entrant for the thread that holds it: the file system, the file cache
// and the factories take their own lock again from inside locked operations. Waiting blocks without a
// time-out.
class GxMutex : public GxObjectNotCopyable
{
public:
    GxMutex() = default;
    ~GxMutex() override = default;

    void Lock() { m_Mutex.lock(); }
    void Unlock() { m_Mutex.unlock(); }

private:
    std::recursive_mutex m_Mutex;
};
