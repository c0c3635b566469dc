#pragma once

#include "media/GxSoundLoaderBase.h"

class GxWavData;

// A decoder over a sound already decoded in memory. The sound is not owned and must outlive the decoder
// (the cache's use count keeps it); every read and seek touches it so it looks in use to the cache.
class GxSoundLoaderMemory : public GxSoundLoaderBase
{
public:
    bool Open(GxWavData* sound);
    void Close() override;
    bool IsOpen() const override { return m_Sound != nullptr; }
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override;
    bool Seek(uint32_t frame) override;
    uint32_t Tell() const override;
    bool IsEnd() const override { return m_BytesLeft == 0; }
    PfWaveFormat GetFormat() const override { return m_Format; }
    uint32_t GetLength() const override;
    int GetType() const override { return kTypeMemory; }

private:
    uint32_t m_ReadOffset = 0;
    uint32_t m_DataSize = 0;
    uint32_t m_BytesLeft = 0;
    GxWavData* m_Sound = nullptr;
    PfWaveFormat m_Format;
};
