#include "media/GxSound.h"

#include "core/GxLog.h"
#include "core/GxMutex.h"
#include "core/GxMutexScopedLock.h"
#include "core/GxString.h"
#include "media/GxSoundBufferStream.h"
#include "media/GxSoundCache.h"
#include "media/GxSoundPlayerStatic.h"
#include "media/GxSoundPlayerStream.h"
#include "media/GxWavData.h"
#include "platform/PfAudioDevice.h"

#include <atomic>
#include <list>
#include <memory>

int g_BGMRestrainFactor = 100;

namespace
{
struct SoundState
{
    GxMutex lock;
    bool started = false;
    bool ownsDevice = false;
    GxSoundPlayerStream channels[GxSound::kChannelCount];
    GxSoundPlayerStatic statics[GxSound::kStaticPlayerCount];
    std::list<std::unique_ptr<GxSoundPlayerStatic>> oneShots;
    GxSoundCache cache;
};

// Made on first use and never destroyed: channels may be touched by static objects' destructors at exit,
// after which the feeding threads must still find their players.
SoundState& State()
{
    static SoundState* s_State = new SoundState();
    return *s_State;
}

// Wall time a pull waits for the feeding threads before it mixes what they have done.
constexpr uint32_t kFeederWaitMs = 2000;
std::atomic<bool> s_FeederLateReported{false};

// On the pull output every mix first waits for the streams' feeding threads to deal with the blocks the
// last mix used up, so a recorded run mixes the same samples on a loaded machine as on an idle one. A
// feeder that takes longer than the bound (a stuck decoder) is reported once and the run goes on.
void WaitForFeedersBeforePull()
{
    if (!GxSoundBufferStream::WaitForFeeders(kFeederWaitMs) && !s_FeederLateReported.exchange(true))
        GxLog::Debug(L"GxSound: a streaming thread took over %u ms; the mixed sound may depend on timing\n",
                     kFeederWaitMs);
}

void WriteDeviceReport()
{
    const PfAudioDevice::Caps caps = PfAudioDevice::GetCaps();
    using C = PfAudioDevice::Caps;
    auto bit = [&](uint32_t flag) { return (caps.flags & flag) ? 1 : 0; };
    GxLog::Device(L"サウンドデバイスの能力情報\n");
    GxLog::Device(L"\t・Flags:0x%X\n", caps.flags);
    GxLog::Device(L"\t\t・DSCAPS_CERTIFIED:%d\n", bit(C::kCertified));
    GxLog::Device(L"\t\t・DSCAPS_CONTINUOUSRATE:%d\n", bit(C::kContinuousRate));
    GxLog::Device(L"\t\t・DSCAPS_EMULDRIVER:%d\n", bit(C::kEmulDriver));
    GxLog::Device(L"\t\t・DSCAPS_PRIMARY16BIT:%d\n", bit(C::kPrimary16Bit));
    GxLog::Device(L"\t\t・DSCAPS_PRIMARY8BIT:%d\n", bit(C::kPrimary8Bit));
    GxLog::Device(L"\t\t・DSCAPS_PRIMARYMONO:%d\n", bit(C::kPrimaryMono));
    GxLog::Device(L"\t\t・DSCAPS_PRIMARYSTEREO:%d\n", bit(C::kPrimaryStereo));
    GxLog::Device(L"\t\t・DSCAPS_SECONDARY16BIT:%d\n", bit(C::kSecondary16Bit));
    GxLog::Device(L"\t\t・DSCAPS_SECONDARY8BIT:%d\n", bit(C::kSecondary8Bit));
    GxLog::Device(L"\t\t・DSCAPS_SECONDARYMONO:%d\n", bit(C::kSecondaryMono));
    GxLog::Device(L"\t\t・DSCAPS_SECONDARYSTEREO:%d\n", bit(C::kSecondaryStereo));
    // The mixer is software only: counts of hardware buffers and card memory mean nothing and read 0.
    GxLog::Device(L"\t・セカンダリバッファ最小サンプリングレート:%d\n", static_cast<int>(caps.minSecondaryRate));
    GxLog::Device(L"\t・セカンダリバッファ最大サンプリングレート:%d\n", static_cast<int>(caps.maxSecondaryRate));
    GxLog::Device(L"\t・最大プライマリバッファ数:%d\n", static_cast<int>(caps.primaryBuffers));
    GxLog::Device(L"\t・最大ハードウェアミキシング数:%d\n", 0);
    GxLog::Device(L"\t・スタティックバッファ最大数:%d\n", 0);
    GxLog::Device(L"\t・ストリーミングバッファ最大数:%d\n", 0);
    GxLog::Device(L"\t・フリーの全バッファ数:%d\n", 0);
    GxLog::Device(L"\t・フリーのスタティックバッファ数:%d\n", 0);
    GxLog::Device(L"\t・フリーのストリーミングバッファ数:%d\n", 0);
    GxLog::Device(L"\t・３Ｄバッファ最大数:%d\n", 0);
    GxLog::Device(L"\t・３Ｄスタティックバッファ最大数:%d\n", 0);
    GxLog::Device(L"\t・３Ｄストリーミングバッファ最大数:%d\n", 0);
    GxLog::Device(L"\t・フリーの全３Ｄバッファ数:%d\n", 0);
    GxLog::Device(L"\t・フリーの３Ｄスタティックバッファ数:%d\n", 0);
    GxLog::Device(L"\t・フリーの３Ｄストリーミングバッファ数:%d\n", 0);
    GxLog::Device(L"\t・静的サウンドバッファメモリサイズ:%d Bytes\n", 0);
    GxLog::Device(L"\t・サウンドカード空きメモリサイズ:%d Bytes\n", 0);
    GxLog::Device(L"\t・空きメモリの最大連続ブロックサイズ:%d Bytes\n", 0);
    GxLog::Device(L"\t・バッファ転送速度:%d KBytes/Sec\n", 0);
    GxLog::Device(L"\t・処理オーバーヘッド:%d %%\n", 0);
}
} // namespace

bool GxSound::Initialize(PfWindow*)
{
    SoundState& s = State();
    s.started = false;
    s.ownsDevice = false;
    GxLog::Device(L"DirectSound8の初期化を開始します\n");
    if (!PfAudioDevice::IsOpen())
    {
        if (!PfAudioDevice::Open(PfAudioDevice::kOutputDevice))
        {
            GxLog::SlightError(L"Error/GxSound DirectSound8の取得に失敗しました\n");
            GxLog::Debug(L"GxSound::Initialize %s\n", GxString::FromUtf8(PfAudioDevice::GetLastError()).c_str());
            return false;
        }
        s.ownsDevice = true;
    }
    if (PfAudioDevice::GetOutput() == PfAudioDevice::kOutputPull)
    {
        s_FeederLateReported = false;
        PfAudioDevice::SetBeforePull(WaitForFeedersBeforePull);
    }
    GxLog::Debug(L"GxSound::Initialize audio driver %s\n", GxString::FromUtf8(PfAudioDevice::GetDriverName()).c_str());
    WriteDeviceReport();
    // The mixer has no exclusive mode to refuse: the priority level always holds.
    GxLog::Device(L"\tDirectSound8のCooperativeLevelを DSSCL_PRIORITY に設定しました\n");
    GxMutexScopedLock lock(s.lock);
    s.oneShots.clear();
    s.started = true;
    return true;
}

void GxSound::Finalize()
{
    SoundState& s = State();
    {
        GxMutexScopedLock lock(s.lock);
        for (GxSoundPlayerStatic& player : s.statics)
            player.Close();
        for (GxSoundPlayerStream& channel : s.channels)
            channel.Close();
        s.oneShots.clear();
        s.cache.Clear();
        s.started = false;
    }
    PfAudioDevice::SetBeforePull(nullptr);
    if (s.ownsDevice)
        PfAudioDevice::Close();
    s.ownsDevice = false;
}

bool GxSound::Update()
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    for (GxSoundPlayerStatic& player : s.statics)
        player.Update();
    for (GxSoundPlayerStream& channel : s.channels)
        channel.Update();
    for (auto it = s.oneShots.begin(); it != s.oneShots.end();)
    {
        (*it)->Update();
        if (!(*it)->IsPlaying())
            it = s.oneShots.erase(it);
        else
            ++it;
    }
    return true;
}

bool GxSound::PlayFile(uint32_t channel, const std::wstring& name, int32_t loop, uint32_t startMs, uint32_t fadeInMs,
                       int32_t volume, int32_t pan, uint32_t loopMs)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    if (channel >= kChannelCount)
        return false;
    return s.channels[channel].PlayFromFile(name, loop, 0, startMs, fadeInMs, volume, pan, loopMs);
}

bool GxSound::PlayBGM(const std::wstring& name, int32_t loop, uint32_t startMs, uint32_t fadeMs, int32_t volume,
                      int32_t pan, uint32_t loopMs)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    const bool playing0 = s.channels[0].IsPlaying();
    const bool playing1 = s.channels[1].IsPlaying();
    uint32_t target = 0;
    if (!playing0 && !playing1)
        target = 0;
    else if (playing0 && !playing1)
    {
        s.channels[0].Stop(fadeMs);
        target = 1;
    }
    else
    {
        s.channels[1].Stop(fadeMs);
        target = 0;
    }
    return s.channels[target].PlayFromFile(name, loop, 0, startMs, fadeMs, volume, pan, loopMs);
}

bool GxSound::Close(uint32_t channel)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    return channel < kChannelCount && s.channels[channel].Close();
}

bool GxSound::Stop(uint32_t channel, uint32_t fadeMs)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    return channel < kChannelCount && s.channels[channel].Stop(fadeMs);
}

bool GxSound::StopBGM(uint32_t fadeMs)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    for (uint32_t channel : {0u, 1u})
        if (s.channels[channel].IsPlaying())
            s.channels[channel].Stop(fadeMs);
    return true;
}

bool GxSound::SetVolume(uint32_t channel, int32_t volume)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    return channel < kChannelCount && s.channels[channel].SetVolume(volume);
}

bool GxSound::GetChannelState(uint32_t channel)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    return channel < kChannelCount && s.channels[channel].IsPlaying();
}

int GxSound::GetCurrentBGMChannel()
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    const bool playing0 = s.channels[0].IsPlaying();
    const bool playing1 = s.channels[1].IsPlaying();
    if (!playing0 || !playing1)
        return playing1 && !playing0 ? 1 : 0;
    const bool out0 = s.channels[0].GetFadeState() == GxSoundPlayerBase::kFadeOut;
    const bool out1 = s.channels[1].GetFadeState() == GxSoundPlayerBase::kFadeOut;
    if (out0 && out1)
        return 0;
    return out0 ? 1 : 0;
}

bool GxSound::PlayOneShot(uint32_t* number, const std::wstring& name, int32_t loop, uint32_t startMs, uint32_t fadeInMs,
                          int32_t volume, int32_t pan)
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    if (s.oneShots.size() >= kMaxOneShots)
        return false;
    if (s.cache.Contains(name) && PfAudioDevice::GetTimeMs() - s.cache.GetLastUseTime(name) < kOneShotRepeatMs)
        return false;
    GxWavData* sound = s.cache.Get(name);
    if (!sound)
        return false;
    auto player = std::make_unique<GxSoundPlayerStatic>();
    if (number)
        *number = player->GetCreatedCount();
    GxSoundPlayerStatic* started = player.get();
    s.oneShots.push_back(std::move(player));
    // A failed start stays listed; the next update removes it.
    const bool result = started->PlayFromMemory(sound, loop, 0, startMs, fadeInMs, volume, pan);
    s.cache.EndUse(name);
    return result;
}

bool GxSound::StopAllOneShots()
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    s.oneShots.clear();
    return true;
}

bool GxSound::IsStarted()
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    return s.started;
}

uint32_t GxSound::GetOneShotCount()
{
    SoundState& s = State();
    GxMutexScopedLock lock(s.lock);
    return static_cast<uint32_t>(s.oneShots.size());
}

GxSoundCache& GxSound::GetCache()
{
    return State().cache;
}

GxSoundPlayerStream* GxSound::GetChannel(uint32_t channel)
{
    return channel < kChannelCount ? &State().channels[channel] : nullptr;
}
