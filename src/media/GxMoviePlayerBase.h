// The operations every movie player offers the movie slots. Volumes are hundredths of a decibel (0 full,
// -10000 silent); positions and times are seconds. Close also serves as the teardown: the slots delete a
// player after calling it.
#pragma once

#include <cstdint>

class GxTextureMovie;
class PfGLTexture;

class GxMoviePlayerBase
{
public:
    virtual ~GxMoviePlayerBase() = default;

    virtual void Close() = 0;
    virtual bool Play(int32_t loopCount, int32_t volume) = 0;
    virtual bool Stop() = 0;
    virtual bool SetVolume(int32_t volume) = 0;
    virtual bool SetRate(double rate) = 0;
    virtual void SetLoopPosition(double seconds) = 0;
    virtual double GetLoopPosition() = 0;
    virtual double GetStopTime() = 0;
    virtual double GetDuration() = 0;
    virtual double GetCurrentPosition() = 0;
    // The loop count while playing, 0 otherwise.
    virtual int32_t GetLoopCount() = 0;
    virtual bool SetCurrentPosition(double seconds) = 0;
    virtual void GetTextureScale(float* horizontal, float* vertical) = 0;
    virtual int32_t GetVideoWidth() = 0;
    virtual int32_t GetVideoHeight() = 0;
    virtual int32_t GetVideoPitch() = 0;
    virtual bool GetEvent(int32_t* code, intptr_t* param1, intptr_t* param2, uint32_t timeoutMs) = 0;
    virtual void Update() = 0;
    virtual bool IsPlaying() = 0;
    // The renderer texture's current device texture, null without one.
    virtual PfGLTexture* GetD3DTexture() = 0;
    virtual GxTextureMovie* GetTextureMovie() = 0;
};
