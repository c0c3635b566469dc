#pragma once

#include "core/GxMutex.h"
#include "core/GxObjectNotCopyable.h"

#include <cstdint>

class GxThreadListenerBase;

// The main thread's handle on one worker: whom to tell about it, and whether it has finished. The owner
// keeps the object alive until it has seen it finished; records in the thread manager's queue point at
// it until then.
class GxThreadObject : public GxObjectNotCopyable
{
public:
    explicit GxThreadObject(GxThreadListenerBase* listener = nullptr) : m_Listener(listener) {}
    ~GxThreadObject() override = default;

    GxThreadListenerBase* GetListener();
    void SetListener(GxThreadListenerBase* listener);
    // Marks the worker finished with its result (the first value of its finished record).
    void SetFinished(uint32_t value);
    bool IsFinished();
    uint32_t GetResult();

private:
    GxMutex m_Mutex;
    GxThreadListenerBase* m_Listener;
    bool m_Finished = false;
    uint32_t m_Result = 0;
};
