#include "media/GxSoundPlayerBase.h"

#include "platform/PfAudioDevice.h"

#include <atomic>

namespace
{
std::atomic<uint32_t> s_CreatedCount{0};
}

GxSoundPlayerBase::GxSoundPlayerBase()
{
    ++s_CreatedCount;
}

uint32_t GxSoundPlayerBase::GetCreatedCount()
{
    return s_CreatedCount.load();
}

void GxSoundPlayerBase::ClearFields()
{
    m_FadeStart = 0;
    m_FadeTarget = 0;
    m_FadeOrigin = 0;
    m_FadeTime = 0;
    m_PlayStart = 0;
    m_StartPosition = 0;
    m_Length = 0;
    m_LengthFrames = 0;
    m_FadeState = kFadeNone;
}

int32_t GxSoundPlayerBase::BeginPlay(int32_t volume, uint32_t fadeInMs, uint32_t startMs)
{
    const uint32_t now = PfAudioDevice::GetTimeMs();
    m_PlayStart = now;
    m_StartPosition = startMs;
    m_FadeTarget = volume;
    if (fadeInMs == 0)
    {
        m_FadeStart = 0;
        m_FadeOrigin = volume;
        m_FadeTime = 0;
        m_FadeState = kFadeNone;
        return volume;
    }
    m_FadeStart = now;
    m_FadeOrigin = kFadeFloor;
    m_FadeTime = fadeInMs;
    m_FadeState = kFadeIn;
    return kFadeFloor;
}

bool GxSoundPlayerBase::Stop(uint32_t fadeMs)
{
    if (fadeMs == 0)
        return Close();
    m_FadeStart = PfAudioDevice::GetTimeMs();
    m_FadeTarget = kFadeFloor;
    m_FadeOrigin = GetVolume();
    m_FadeTime = fadeMs;
    m_FadeState = kFadeOut;
    return true;
}

bool GxSoundPlayerBase::SetVolume(int32_t volume)
{
    if (m_FadeState == kFadeIn)
    {
        m_FadeTarget = volume;
        return true;
    }
    if (m_FadeState == kFadeOut)
    {
        m_FadeOrigin = volume;
        return true;
    }
    return SetBufferVolume(volume);
}

uint32_t GxSoundPlayerBase::GetFadeOvertime()
{
    if (m_FadeState == kFadeNone)
        return 0;
    const uint32_t elapsed = PfAudioDevice::GetTimeMs() - m_FadeStart;
    return elapsed > m_FadeTime ? elapsed - m_FadeTime : 0;
}

bool GxSoundPlayerBase::FinishFade()
{
    if (m_FadeState == kFadeNone)
        return true;
    const int32_t state = m_FadeState;
    m_FadeState = kFadeNone;
    SetBufferVolume(m_FadeTarget);
    if (state == kFadeOut)
        Close();
    return true;
}

bool GxSoundPlayerBase::Update()
{
    if (!IsPlaying())
    {
        OnStoppedByItself();
        return false;
    }
    if (m_FadeState == kFadeNone)
        return true;
    const uint32_t elapsed = PfAudioDevice::GetTimeMs() - m_FadeStart;
    if (m_FadeTime == 0 || elapsed >= m_FadeTime)
        return FinishFade();
    const double level =
        static_cast<double>(m_FadeOrigin) + static_cast<double>(m_FadeTarget - m_FadeOrigin) * elapsed / m_FadeTime;
    SetBufferVolume(static_cast<int32_t>(level));
    return true;
}
