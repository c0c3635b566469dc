#include "platform/PfAudioSignal.h"

#include <chrono>

void PfAudioSignal::Post(uint32_t count)
{
    if (count == 0)
        return;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Count += count;
        m_Posted += count;
    }
    m_Cond.notify_one();
}

void PfAudioSignal::Wait(uint32_t* epoch, uint64_t* sequence)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Cond.wait(lock, [this] { return m_Count > 0; });
    --m_Count;
    ++m_Taken;
    if (epoch)
        *epoch = m_Epoch;
    if (sequence)
        *sequence = m_Taken;
}

bool PfAudioSignal::WaitFor(uint32_t ms)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (!m_Cond.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_Count > 0; }))
        return false;
    --m_Count;
    ++m_Taken;
    return true;
}

uint32_t PfAudioSignal::GetCount()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Count;
}

void PfAudioSignal::Reset()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Dropped += m_Count;
    m_Count = 0;
    ++m_Epoch;
}

uint32_t PfAudioSignal::GetEpoch()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Epoch;
}

void PfAudioSignal::GetTotals(uint64_t* posted, uint64_t* taken, uint64_t* dropped)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (posted)
        *posted = m_Posted;
    if (taken)
        *taken = m_Taken;
    if (dropped)
        *dropped = m_Dropped;
}
