#include "media/GxMovieSourceFilterFile.h"

#include "core/GxFile.h"
#include "core/GxMutexScopedLock.h"
#include "platform/PfClock.h"

#include <algorithm>

GxMovieSourceFilterFile::GxMovieSourceFilterFile(const std::wstring& name, uint32_t dataRate)
    : m_DataRate(dataRate), m_CreateTime(PfClock::GetTimeMs())
{
    GxFile::Open(m_File, name);
}

GxMovieSourceFilterFile::~GxMovieSourceFilterFile()
{
    GxFile::Close(m_File);
}

PfResult GxMovieSourceFilterFile::SetPointer(int64_t position)
{
    GxMutexScopedLock lock(m_Lock);
    if (!m_File.IsOpen() || position < 0 || position > (int64_t)m_File.GetSize())
        return kPfResultFalse;
    if (!GxFile::Seek(m_File, position, 0))
        return kPfResultFalse;
    m_Position = position;
    return S_OK;
}

PfResult GxMovieSourceFilterFile::Read(uint8_t* buffer, uint32_t bytes, bool, uint32_t* bytesRead)
{
    GxMutexScopedLock lock(m_Lock);
    if (bytesRead)
        *bytesRead = 0;
    if (!m_File.IsOpen() || !buffer)
        return kPfResultFalse;
    const int64_t left = std::max<int64_t>(0, (int64_t)m_File.GetSize() - m_Position);
    bytes = (uint32_t)std::min<int64_t>(bytes, left);
    if (bytes == 0)
        return kPfResultFalse;
    const uint64_t arrival = ArrivalMs((uint64_t)m_Position + bytes, m_DataRate);
    if (arrival > 0)
    {
        const uint64_t due = m_CreateTime + arrival;
        const uint64_t now = PfClock::GetTimeMs();
        if (due > now)
            PfClock::SleepMs((uint32_t)std::min<uint64_t>(due - now, 0xFFFFFFFFu));
    }
    const uint32_t got = GxFile::Read(buffer, bytes, m_File);
    if (got == 0)
        return kPfResultFalse;
    m_Position += got;
    if (bytesRead)
        *bytesRead = got;
    return S_OK;
}

uint64_t GxMovieSourceFilterFile::ArrivalMs(uint64_t end, uint32_t dataRate)
{
    if (dataRate == kUnlimitedRate || dataRate == 0)
        return 0;
    return end / dataRate;
}

int64_t GxMovieSourceFilterFile::Size(int64_t* available)
{
    GxMutexScopedLock lock(m_Lock);
    const int64_t total = m_File.IsOpen() ? (int64_t)m_File.GetSize() : 0;
    if (available)
    {
        if (m_DataRate == kUnlimitedRate || m_DataRate == 0)
            *available = total;
        else
            *available = std::min<int64_t>(total, (int64_t)((PfClock::GetTimeMs() - m_CreateTime) * m_DataRate));
    }
    return total;
}
