#include "platform/PfAudioSignal.h"

#include <chrono>

void PfAudioSignal::Post(uint32_t count)
{
    if (count == 0)
        return;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Count += count;
    }
    m_Cond.notify_one();
}

void PfAudioSignal::Wait()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Cond.wait(lock, [this] { return m_Count > 0; });
    --m_Count;
}

bool PfAudioSignal::WaitFor(uint32_t ms)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (!m_Cond.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_Count > 0; }))
        return false;
    --m_Count;
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
    m_Count = 0;
}
