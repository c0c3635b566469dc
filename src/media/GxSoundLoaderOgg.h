#pragma once

#include "core/GxFileHandle.h"
#include "media/GxSoundLoaderBase.h"

#include <memory>
#include <string>

class PfVorbisFile;

// Ogg Vorbis files, decoded by libvorbisfile reading through the engine's file layer.
class GxSoundLoaderOgg : public GxSoundLoaderBase
{
public:
    GxSoundLoaderOgg();
    ~GxSoundLoaderOgg() override;
    bool Open(const std::wstring& name);
    void Close() override;
    bool IsOpen() const override;
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override;
    bool Seek(uint32_t frame) override;
    uint32_t Tell() const override;
    bool IsEnd() const override { return m_End; }
    PfWaveFormat GetFormat() const override { return m_Format; }
    uint32_t GetLength() const override { return IsOpen() ? m_Length : 0; }
    int GetType() const override { return kTypeOgg; }

private:
    GxFileHandle m_File;
    std::unique_ptr<PfVorbisFile> m_Vorbis;
    PfWaveFormat m_Format;
    uint32_t m_Length = 0;
    bool m_End = false;
};
