#pragma once

#include "media/GxSoundBufferStatic.h"
#include "media/GxSoundPlayerBuffered.h"

#include <string>

class GxWavData;

// A whole sound copied into one buffer (one-shot effects). Repeats only on loop -1.
class GxSoundPlayerStatic : public GxSoundPlayerBuffered<GxSoundBufferStatic>
{
public:
    ~GxSoundPlayerStatic() override;
    bool Close() override;

    virtual bool PlayFromFile(const std::wstring& name, int32_t loop, int32_t priority, uint32_t startMs,
                              uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs);
    virtual bool PlayFromFile(const std::string& name, int32_t loop, int32_t priority, uint32_t startMs,
                              uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs);
    virtual bool PlayFromMemory(GxWavData* sound, int32_t loop, int32_t priority, uint32_t startMs, uint32_t fadeInMs,
                                int32_t volume, int32_t pan);

protected:
    void OnStoppedByItself() override;

private:
    bool Start(GxSoundLoaderBase& decoder, const wchar_t* seekMessage, const std::wstring& name, int32_t loop,
               int32_t priority, uint32_t startMs, uint32_t fadeInMs, int32_t volume, int32_t pan);
};
