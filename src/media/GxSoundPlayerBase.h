#pragma once

#include <cstdint>

// One playing voice of the sound system: start positions in ms, fades linear in decibels, a fade-out
// that ends in a close, and the per-pass update that steps them. Levels are hundredths of a decibel
// (0 full, -10000 silent); fades start or end at -3200 (-32 dB), not at silence.
//
// The fade state is kept explicitly (0 none, 1 in, 2 out): the millisecond clock may read 0, so a start
// time of 0 cannot stand for "no fade". Times are compared wrap-safe as unsigned differences.
class GxSoundPlayerBase
{
public:
    enum FadeState
    {
        kFadeNone = 0,
        kFadeIn = 1,
        kFadeOut = 2,
    };
    static constexpr int32_t kFadeFloor = -3200;

    GxSoundPlayerBase();
    virtual ~GxSoundPlayerBase() = default;

    // Players constructed in the process so far (never counts down).
    virtual uint32_t GetCreatedCount();
    virtual bool Close() { return false; }
    // 0 closes at once; otherwise a fade-out from the current level to -3200, then a close.
    virtual bool Stop(uint32_t fadeMs);
    // While fading in the target changes, while fading out the origin; otherwise the level itself.
    virtual bool SetVolume(int32_t volume);
    virtual bool SetPan(int32_t) { return false; }
    virtual int32_t GetVolume() { return 0; }
    virtual int32_t GetPan() { return 0; }
    // How far past its end a finished fade not yet stepped by Update is, in ms.
    virtual uint32_t GetFadeOvertime();
    virtual int32_t GetTargetVolume() { return m_FadeTarget; }
    virtual int32_t GetLoopCount() { return 0; }
    virtual bool IsPlaying() { return false; }
    virtual int32_t GetFadeState() { return m_FadeState; }
    virtual uint32_t GetPlayStartTime() { return m_PlayStart; }
    virtual uint32_t GetLength() { return m_Length; }
    virtual bool FinishFade();
    virtual bool Update();

protected:
    // The buffer's level as the fade sets it.
    virtual bool SetBufferVolume(int32_t) { return false; }
    // The update's step when the buffer no longer plays.
    virtual void OnStoppedByItself() {}
    // Fade fields for a start at volume with fade-in ms (0: none); returns the level to start at.
    int32_t BeginPlay(int32_t volume, uint32_t fadeInMs, uint32_t startMs);
    void ClearFields();

    uint32_t m_FadeStart = 0;
    int32_t m_FadeTarget = 0;
    int32_t m_FadeOrigin = 0;
    uint32_t m_FadeTime = 0;
    uint32_t m_PlayStart = 0;
    uint32_t m_StartPosition = 0;
    uint32_t m_LoopPosition = 0;
    uint32_t m_Length = 0;
    uint32_t m_LengthFrames = 0;
    int32_t m_FadeState = kFadeNone;
};
