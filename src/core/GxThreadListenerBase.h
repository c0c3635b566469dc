#pragma once

#include <cstdint>

class GxThreadObject;

// Listener interface through which the main thread hears from worker threads (every task carries it).
// Both operations get the record's name, the thread object it concerns and its two values, and return
// 0 when they did not take the event.
class GxThreadListenerBase
{
public:
    virtual ~GxThreadListenerBase() = default;
    // A progress message from a worker.
    virtual int OnThread0(const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2)
    {
        (void)name, (void)thread, (void)value1, (void)value2;
        return 0;
    }
    // The end of a worker.
    virtual int OnThread1(const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2)
    {
        (void)name, (void)thread, (void)value1, (void)value2;
        return 0;
    }
};
