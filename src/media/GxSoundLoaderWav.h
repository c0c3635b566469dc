#pragma once

#include "core/GxFileHandle.h"
#include "media/GxSoundLoaderBase.h"

#include <string>

// Plain PCM WAVE files, read straight from the file's "data" chunk.
class GxSoundLoaderWav : public GxSoundLoaderBase
{
public:
    ~GxSoundLoaderWav() override;
    bool Open(const std::wstring& name);
    void Close() override;
    bool IsOpen() const override { return m_File.IsOpen(); }
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override;
    bool Seek(uint32_t frame) override;
    uint32_t Tell() const override;
    bool IsEnd() const override { return m_BytesLeft == 0; }
    PfWaveFormat GetFormat() const override { return m_Format; }
    uint32_t GetLength() const override;
    uint32_t GetLengthMs() const override;
    int GetType() const override { return kTypeWav; }

private:
    GxFileHandle m_File;
    uint32_t m_DataOffset = 0;
    uint32_t m_DataSize = 0;
    uint32_t m_BytesLeft = 0;
    PfWaveFormat m_Format;
};
