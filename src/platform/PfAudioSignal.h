#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// A counting wake-up for a thread fed by the mixer: every Post adds to the count and every successful Wait
// takes one away, so two notifications that arrive before the waiter runs wake it twice, never once.
// Post never blocks for longer than the signal's own short lock, so the audio callback may call it.
class PfAudioSignal
{
public:
    void Post(uint32_t count = 1);
    // Blocks until the count is above 0, then takes one. With epoch, also the reset epoch the count
    // belonged to, so a waiter can tell a count taken before a Reset from one taken after it; with
    // sequence, the number of counts taken by waits so far, this one included.
    void Wait(uint32_t* epoch = nullptr, uint64_t* sequence = nullptr);
    // As Wait, giving up after ms milliseconds; false on time-out.
    bool WaitFor(uint32_t ms);
    uint32_t GetCount();
    // Drops every pending count and starts a new epoch.
    void Reset();
    uint32_t GetEpoch();
    // Counts posted, taken by waits and dropped by Reset since construction; posted = taken + dropped
    // when no wake is pending.
    void GetTotals(uint64_t* posted, uint64_t* taken, uint64_t* dropped);

private:
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    uint32_t m_Count = 0;
    uint32_t m_Epoch = 0;
    uint64_t m_Posted = 0;
    uint64_t m_Taken = 0;
    uint64_t m_Dropped = 0;
};
