#include "media/GxSoundPlayerStatic.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "media/GxSoundLoaderFactory.h"
#include "media/GxSoundLoaderMemory.h"
#include "media/GxSoundMsecToBytes.h"

GxSoundPlayerStatic::~GxSoundPlayerStatic()
{
    Close();
}

bool GxSoundPlayerStatic::Close()
{
    const bool stopped = m_Buffer.Stop();
    ClearFields();
    m_Buffer.Release();
    return stopped;
}

void GxSoundPlayerStatic::OnStoppedByItself()
{
    if (m_Buffer.IsCreated())
        m_Buffer.Release();
}

bool GxSoundPlayerStatic::Start(GxSoundLoaderBase& decoder, const wchar_t* seekMessage, const std::wstring& name,
                                int32_t loop, int32_t priority, uint32_t startMs, uint32_t fadeInMs, int32_t volume,
                                int32_t pan)
{
    if (!m_Buffer.Create(&decoder))
        return false;
    m_LengthFrames = decoder.GetLength();
    m_Length = decoder.GetLengthMs();
    const uint32_t startFrame = GxSoundMsecToBytes(startMs, decoder.GetFormat().nSamplesPerSec);
    if (startFrame >= m_LengthFrames)
    {
        GxLog::SlightError(seekMessage, name.c_str());
        Close();
        return false;
    }
    const int32_t startVolume = BeginPlay(volume, fadeInMs, startMs);
    if (!m_Buffer.Play(loop, priority, startFrame, startVolume, pan))
    {
        Close();
        return false;
    }
    return true;
}

bool GxSoundPlayerStatic::PlayFromFile(const std::wstring& name, int32_t loop, int32_t priority, uint32_t startMs,
                                       uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t)
{
    Close();
    std::unique_ptr<GxSoundLoaderBase> decoder = GxSoundLoaderFactory::CreateForFile(name);
    if (!decoder)
    {
        GxLog::SlightError(L"GxSoundPlayerStatic::PlayFromFile ローダー作成に失敗(%s)\n", name.c_str());
        return false;
    }
    if (!GxSoundLoaderFactory::Open(*decoder, name))
        return false;
    // The buffer holds the whole sound; the decoder goes when the copy is made.
    return Start(*decoder, L"GxSoundPlayerStatic::PlayFromFile シーク不可能な位置が指定されました(%s)\n", name, loop,
                 priority, startMs, fadeInMs, volume, pan);
}

bool GxSoundPlayerStatic::PlayFromFile(const std::string& name, int32_t loop, int32_t priority, uint32_t startMs,
                                       uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs)
{
    return PlayFromFile(GxString::ToWide(name), loop, priority, startMs, fadeInMs, volume, pan, loopMs);
}

bool GxSoundPlayerStatic::PlayFromMemory(GxWavData* sound, int32_t loop, int32_t priority, uint32_t startMs,
                                         uint32_t fadeInMs, int32_t volume, int32_t pan)
{
    Close();
    GxSoundLoaderMemory decoder;
    if (!decoder.Open(sound))
    {
        GxLog::SlightError(L"GxSoundPlayerStatic::PlayFromMemory ローダー作成に失敗\n");
        return false;
    }
    return Start(decoder, L"GxSoundPlayerStatic::PlayFromMemory シーク不可能な位置が指定されました\n", L"", loop,
                 priority, startMs, fadeInMs, volume, pan);
}
