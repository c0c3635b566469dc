#pragma once

#include "media/GxSoundBufferStream.h"
#include "media/GxSoundPlayerBuffered.h"

#include <memory>
#include <string>

class GxSoundLoaderBase;
class GxWavData;

// A sound streamed through a ring fed by a thread (the 32 channels). Shares its decoder with the ring until it
// closes; a feeding thread that outlives the close keeps the ring's share until its read returns.
class GxSoundPlayerStream : public GxSoundPlayerBuffered<GxSoundBufferStream>
{
public:
    GxSoundPlayerStream();
    ~GxSoundPlayerStream() override;
    bool Close() override;

    virtual bool PlayFromFile(const std::wstring& name, int32_t loop, int32_t priority, uint32_t startMs,
                              uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs);
    virtual bool PlayFromFile(const std::string& name, int32_t loop, int32_t priority, uint32_t startMs,
                              uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs);
    virtual bool PlayFromMemory(GxWavData* sound, int32_t loop, int32_t priority, uint32_t startMs, uint32_t fadeInMs,
                                int32_t volume, int32_t pan, uint32_t loopMs);
    // Plays an opened decoder (what the two above end in).
    bool PlayDecoder(std::shared_ptr<GxSoundLoaderBase> decoder, int32_t loop, int32_t priority, uint32_t startMs,
                     uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs);

    GxSoundBufferStream& GetBuffer() { return m_Buffer; }

private:
    bool Start(const wchar_t* seekMessage, const std::wstring& name, int32_t loop, int32_t priority, uint32_t startMs,
               uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs);

    std::shared_ptr<GxSoundLoaderBase> m_Decoder;
};
