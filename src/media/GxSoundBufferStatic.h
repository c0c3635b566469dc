#pragma once

#include "core/GxMutex.h"
#include "platform/PfWaveFormat.h"

#include <cstdint>
#include <memory>

class GxSoundLoaderBase;
class PfSoundBuffer;

// A whole decoded sound in one sound buffer (one-shot effects). Every operation takes the buffer's own
// lock. Without a sound device every operation fails or yields 0.
class GxSoundBufferStatic
{
public:
    GxSoundBufferStatic();
    virtual ~GxSoundBufferStatic();
    virtual void Release();
    virtual bool Create(GxSoundLoaderBase* decoder);
    virtual bool Play(int32_t loop, int32_t priority, uint32_t startFrame, int32_t volume, int32_t pan);
    // loop -1 repeats; anything else plays once.
    virtual bool PlayAt(int32_t loop, int32_t priority, uint32_t startFrame);
    virtual bool Stop();
    virtual bool IsPlaying();
    virtual bool SetVolume(int32_t volume);
    virtual bool GetVolume(int32_t* volume);
    virtual bool SetPan(int32_t pan);
    virtual bool GetPan(int32_t* pan);
    virtual uint32_t GetSize();
    virtual uint32_t GetBufferSize();
    virtual int32_t GetLoopCount();
    bool IsCreated();

private:
    GxMutex m_Mutex;
    std::unique_ptr<PfSoundBuffer> m_Buffer;
    uint32_t m_Size = 0;
    PfWaveFormat m_Format;
    int32_t m_LoopCount = 0;
};
