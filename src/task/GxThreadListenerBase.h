#pragma once

#include <cstdint>
#include <string>

class GxThreadObject;

// Receives the records that worker threads queue in the thread manager; the manager delivers them on
// the main thread once per update step. Every task is one, and so is the task manager.
class GxThreadListenerBase
{
public:
    virtual ~GxThreadListenerBase() = default;

    // A progress message of a worker (record kind 1). Non-zero means taken.
    virtual int32_t OnThread0(const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2)
    {
        (void)name, (void)thread, (void)value1, (void)value2;
        return 0;
    }

    // The end of a worker (record kind 2). Non-zero means taken.
    virtual int32_t OnThread1(const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2)
    {
        (void)name, (void)thread, (void)value1, (void)value2;
        return 0;
    }
};
