#include "media/GxSoundPlayerStream.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "media/GxSoundLoaderFactory.h"
#include "media/GxSoundLoaderMemory.h"
#include "media/GxSoundMsecToBytes.h"

GxSoundPlayerStream::GxSoundPlayerStream() = default;

GxSoundPlayerStream::~GxSoundPlayerStream()
{
    Close();
}

bool GxSoundPlayerStream::Close()
{
    const bool stopped = m_Buffer.Stop();
    const uint32_t loopPosition = m_LoopPosition;
    ClearFields();
    m_LoopPosition = loopPosition;
    // The ring and its thread go first: the thread reads the decoder. A thread that does not end within the
    // release's bound keeps the ring's share of the decoder, so dropping ours frees nothing it reads.
    m_Buffer.Release();
    m_Decoder.reset();
    return stopped;
}

bool GxSoundPlayerStream::Start(const wchar_t* seekMessage, const std::wstring& name, int32_t loop, int32_t priority,
                                uint32_t startMs, uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs)
{
    if (!m_Buffer.Create(m_Decoder))
    {
        Close();
        return false;
    }
    m_LengthFrames = m_Decoder->GetLength();
    m_Length = m_Decoder->GetLengthMs();
    const uint32_t rate = m_Decoder->GetFormat().nSamplesPerSec;
    const uint32_t startFrame = GxSoundMsecToBytes(startMs, rate);
    const uint32_t loopFrame = GxSoundMsecToBytes(loopMs, rate);
    if (startFrame >= m_LengthFrames)
    {
        GxLog::SlightError(seekMessage, name.c_str());
        Close();
        return false;
    }
    const int32_t startVolume = BeginPlay(volume, fadeInMs, startMs);
    m_LoopPosition = loopMs;
    if (!m_Buffer.Play(loop, priority, startFrame, loopFrame, startVolume, pan))
    {
        Close();
        return false;
    }
    return true;
}

bool GxSoundPlayerStream::PlayFromFile(const std::wstring& name, int32_t loop, int32_t priority, uint32_t startMs,
                                       uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs)
{
    Close();
    m_Decoder = GxSoundLoaderFactory::CreateForFile(name);
    if (!m_Decoder)
    {
        GxLog::SlightError(L"GxSoundPlayerStream::PlayFromFile ローダー作成に失敗(%s)\n", name.c_str());
        return false;
    }
    if (!GxSoundLoaderFactory::Open(*m_Decoder, name))
    {
        m_Decoder.reset();
        return false;
    }
    return Start(L"GxSoundPlayerStream::PlayFromFile シーク不可能な位置が指定されました(%s)\n", name, loop, priority,
                 startMs, fadeInMs, volume, pan, loopMs);
}

bool GxSoundPlayerStream::PlayFromFile(const std::string& name, int32_t loop, int32_t priority, uint32_t startMs,
                                       uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs)
{
    return PlayFromFile(GxString::ToWide(name), loop, priority, startMs, fadeInMs, volume, pan, loopMs);
}

bool GxSoundPlayerStream::PlayFromMemory(GxWavData* sound, int32_t loop, int32_t priority, uint32_t startMs,
                                         uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs)
{
    Close();
    auto decoder = std::make_unique<GxSoundLoaderMemory>();
    if (!decoder->Open(sound))
    {
        GxLog::SlightError(L"GxSoundPlayerStream::PlayFromMemory ローダー作成に失敗\n");
        return false;
    }
    m_Decoder = std::move(decoder);
    return Start(L"GxSoundPlayerStream::PlayFromMemory シーク不可能な位置が指定されました\n", L"", loop, priority,
                 startMs, fadeInMs, volume, pan, loopMs);
}

bool GxSoundPlayerStream::PlayDecoder(std::shared_ptr<GxSoundLoaderBase> decoder, int32_t loop, int32_t priority,
                                      uint32_t startMs, uint32_t fadeInMs, int32_t volume, int32_t pan, uint32_t loopMs)
{
    Close();
    if (!decoder || !decoder->IsOpen())
        return false;
    m_Decoder = std::move(decoder);
    return Start(L"GxSoundPlayerStream::PlayDecoder シーク不可能な位置が指定されました\n", L"", loop, priority, startMs,
                 fadeInMs, volume, pan, loopMs);
}
