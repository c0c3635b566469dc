#pragma once

#include "core/GxMutex.h"
#include "core/GxThreadRecord.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <set>
#include <string>

class GxThreadListenerBase;
class GxThreadObject;

// The bridge between worker threads and the main thread. It starts no thread itself: a worker enters
// the live set when it starts (Register), queues messages while it runs (PostMessage) and queues its end
// while leaving the set in one step (Finish). The main thread delivers the queue to listeners once per
// update step (Poll) and, at shut-down, asks the workers to stop and waits until the set is empty.
//
// Lock order: the manager's lock, then a thread object's lock. Listeners run on the main thread inside
// Poll with the manager's lock held; a listener must not wait for a worker that needs this lock.
class GxThreadManage
{
public:
    explicit GxThreadManage(GxThreadListenerBase* defaultListener = nullptr);
    virtual ~GxThreadManage();
    GxThreadManage(const GxThreadManage&) = delete;
    GxThreadManage& operator=(const GxThreadManage&) = delete;

    // Delivers and removes every queued record, oldest first; returns how many were taken.
    uint32_t Poll();
    void RequestStop();
    bool IsStopRequested();
    uint32_t GetLiveCount();
    // Returns as soon as no worker is alive.
    void WaitAll();

    // --- Worker side ---
    // Enters the live set; refused (false) once a stop has been requested or when already registered.
    bool Register(GxThreadObject* thread);
    // Queues a progress message for the thread's listener.
    void PostMessage(GxThreadObject* thread, const std::wstring& name, uint32_t value1, uint32_t value2);
    // Queues the finished record (value1 becomes the thread's result) and leaves the live set.
    void Finish(GxThreadObject* thread, const std::wstring& name, uint32_t value1, uint32_t value2);

private:
    std::deque<GxThreadRecord> m_Records;
    std::set<GxThreadObject*> m_Live;
    GxMutex m_Mutex;
    // Finish signals the end of a worker here; WaitAll waits on it (taken before m_Mutex, never inside it).
    std::mutex m_EndMutex;
    std::condition_variable m_Ended;
    bool m_StopRequested = false;
    GxThreadListenerBase* m_DefaultListener;
};
