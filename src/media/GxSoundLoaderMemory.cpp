#include "media/GxSoundLoaderMemory.h"

#include "media/GxWavData.h"
#include "platform/PfAudioDevice.h"

#include <algorithm>
#include <cstring>

bool GxSoundLoaderMemory::Open(GxWavData* sound)
{
    if (sound == nullptr || sound->GetData() == nullptr || sound->GetDataSize() == 0 ||
        sound->GetFormat().nBlockAlign == 0)
        return false;
    Close();
    m_Format = sound->GetFormat();
    m_ReadOffset = 0;
    m_DataSize = sound->GetDataSize();
    m_BytesLeft = m_DataSize;
    m_Data = sound->ShareData();
    m_LastUseTime = sound->ShareLastUseTime();
    Touch();
    return true;
}

void GxSoundLoaderMemory::Close()
{
    m_Data.reset();
    m_LastUseTime.reset();
    m_ReadOffset = m_DataSize = m_BytesLeft = 0;
    m_Format = PfWaveFormat();
}

bool GxSoundLoaderMemory::Read(void* buffer, uint32_t bytes, uint32_t* bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!m_Data)
        return false;
    const uint32_t n = std::min(bytes, m_BytesLeft);
    std::memcpy(buffer, m_Data.get() + m_ReadOffset, n);
    m_ReadOffset += n;
    m_BytesLeft -= n;
    Touch();
    if (bytesRead)
        *bytesRead = n;
    return true;
}

bool GxSoundLoaderMemory::Seek(uint32_t frame)
{
    if (!m_Data)
        return false;
    const uint64_t offset = static_cast<uint64_t>(frame) * m_Format.nBlockAlign;
    if (offset > m_DataSize)
        return false;
    m_ReadOffset = static_cast<uint32_t>(offset);
    m_BytesLeft = m_DataSize - m_ReadOffset;
    Touch();
    return true;
}

uint32_t GxSoundLoaderMemory::Tell() const
{
    return m_Data ? m_ReadOffset / m_Format.nBlockAlign : 0;
}

uint32_t GxSoundLoaderMemory::GetLength() const
{
    return m_Data ? m_DataSize / m_Format.nBlockAlign : 0;
}

void GxSoundLoaderMemory::Touch()
{
    m_LastUseTime->store(PfAudioDevice::GetTimeMs(), std::memory_order_relaxed);
}
