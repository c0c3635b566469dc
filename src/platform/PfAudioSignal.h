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
    // Blocks until the count is above 0, then takes one.
    void Wait();
    // As Wait, giving up after ms milliseconds; false on time-out.
    bool WaitFor(uint32_t ms);
    uint32_t GetCount();
    // Drops every pending count.
    void Reset();

private:
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    uint32_t m_Count = 0;
};
