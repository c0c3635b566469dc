#include "media/GxSoundLoaderBase.h"

bool GxSoundLoaderBase::Read(void*, uint32_t, uint32_t* bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    return false;
}

bool GxSoundLoaderBase::Seek(uint32_t)
{
    return false;
}

uint32_t GxSoundLoaderBase::GetDataSize() const
{
    return static_cast<uint32_t>(static_cast<uint64_t>(GetLength()) * GetFormat().nBlockAlign);
}

uint32_t GxSoundLoaderBase::GetLengthMs() const
{
    const PfWaveFormat f = GetFormat();
    if (f.nSamplesPerSec == 0)
        return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(GetLength()) * 1000 / f.nSamplesPerSec);
}
