#pragma once

#include "media/GxSoundLoaderBase.h"

#include <atomic>
#include <memory>

class GxWavData;

// A decoder over a sound already decoded in memory; every read and seek touches the sound so it looks in
// use to the cache. The decoder takes a share of the sound's PCM and of its last-use time when it opens and
// never looks at the sound itself again: a stream's feeding thread that outlives its release reads through
// it safely after the cache has dropped the sound.
class GxSoundLoaderMemory : public GxSoundLoaderBase
{
public:
    bool Open(GxWavData* sound);
    void Close() override;
    bool IsOpen() const override { return m_Data != nullptr; }
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
    std::shared_ptr<const uint8_t[]> m_Data;
    std::shared_ptr<std::atomic<uint32_t>> m_LastUseTime;
    PfWaveFormat m_Format;

    void Touch();
};
