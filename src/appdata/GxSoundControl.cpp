#include "appdata/GxSoundControl.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "media/GxMovie.h"
#include "media/GxMoviePlayerFile.h"
#include "media/GxSound.h"

namespace
{
GxUserConfig* s_Config = nullptr;
GxUserData* s_Data = nullptr;

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < GxSoundControl::kSlotCount;
}

void Fill(GxSoundChannelRecord& record, const std::wstring& name, int32_t loopCount, uint32_t startMs, uint32_t loopMs,
          uint32_t fadeMs, int32_t charID)
{
    record.m_FileName = name;
    record.m_Loop = loopCount;
    record.m_StartSeekPosTime = startMs;
    record.m_LoopPosTime = loopMs;
    record.m_FadeInTime = static_cast<int32_t>(fadeMs);
    record.m_CharID = charID;
}
} // namespace

void GxSoundControl::SetTargets(GxUserConfig* config, GxUserData* data)
{
    s_Config = config;
    s_Data = data;
}

GxUserConfig* GxSoundControl::Config()
{
    return s_Config ? s_Config : g_Core ? g_Core->m_UserConfig : nullptr;
}

GxUserData* GxSoundControl::Data()
{
    return s_Data ? s_Data : g_Core ? g_Core->m_UserData : nullptr;
}

bool GxSoundControl::PlayBGM(const std::wstring& name, int32_t loopCount, uint32_t startMs, uint32_t fadeMs,
                             uint32_t loopMs, bool skipIfSame)
{
    GxUserConfig* config = Config();
    GxUserData* data = Data();
    if (!config || !data)
        return false;
    if (skipIfSame && data->m_BGMRecord.m_FileName == name)
        return true;
    Fill(data->m_BGMRecord, name, loopCount, startMs, loopMs, fadeMs, 0);
    return GxSound::PlayBGM(name, loopCount - 1, startMs, fadeMs, config->GetBGMVolume(), 0, loopMs);
}

bool GxSoundControl::PlayBGV(const std::wstring& name, int32_t loopCount, uint32_t startMs, uint32_t fadeMs,
                             uint32_t loopMs)
{
    GxUserConfig* config = Config();
    GxUserData* data = Data();
    if (!config || !data)
        return false;
    Fill(data->m_BGVRecord, name, loopCount, startMs, loopMs, fadeMs, 0);
    const int32_t volume = GxUserConfig::LevelToAttenuation(config->m_Volume_Master * config->m_Volume_BGV / 100);
    return GxSound::PlayFile(kBGVChannel, name, loopCount - 1, startMs, fadeMs, volume, 0, loopMs);
}

bool GxSoundControl::PlaySE(int slot, const std::wstring& name, int32_t loopCount, uint32_t startMs, uint32_t fadeMs,
                            uint32_t loopMs)
{
    GxUserConfig* config = Config();
    GxUserData* data = Data();
    if (!config || !data || !ValidSlot(slot))
        return false;
    Fill(data->m_SERecord[slot], name, loopCount, startMs, loopMs, fadeMs, 0);
    GxSound::Close(kFirstSEChannel + slot);
    return GxSound::PlayFile(kFirstSEChannel + slot, name, loopCount - 1, startMs, fadeMs, config->GetSoundVolume(), 0,
                             loopMs);
}

bool GxSoundControl::PlayVoice(int slot, const std::wstring& name, int32_t charID)
{
    GxUserConfig* config = Config();
    GxUserData* data = Data();
    if (!config || !data || !ValidSlot(slot))
        return false;
    Fill(data->m_VoiceRecord[slot], name, 1, 0, 0, 0, charID);
    GxSound::Close(kFirstVoiceChannel + slot);
    return GxSound::PlayFile(kFirstVoiceChannel + slot, name, 0, 0, 0, config->GetCharVoiceVolume(charID), 0, 0);
}

bool GxSoundControl::ReplayVoice(int slot)
{
    GxUserConfig* config = Config();
    GxUserData* data = Data();
    if (!config || !data || !ValidSlot(slot) || data->m_VoiceRecord[slot].m_FileName.empty())
        return false;
    const GxSoundChannelRecord& record = data->m_VoiceRecord[slot];
    return GxSound::PlayFile(kFirstVoiceChannel + slot, record.m_FileName, 0, 0, 0,
                             config->GetCharVoiceVolume(record.m_CharID), 0, 0);
}

bool GxSoundControl::PlaySEWithVoiceVolume(int slot, int32_t voiceVolumeID, const std::wstring& name)
{
    GxUserConfig* config = Config();
    if (!config || !ValidSlot(slot))
        return false;
    GxSound::Close(kFirstSEChannel + slot);
    return GxSound::PlayFile(kFirstSEChannel + slot, name, 0, 0, 0, config->GetVoiceVolume(voiceVolumeID), 0, 0);
}

bool GxSoundControl::PlayOneShot(const std::wstring& name)
{
    GxUserConfig* config = Config();
    return config && GxSound::PlayOneShot(nullptr, name, 0, 0, 0, config->GetSoundVolume(), 0);
}

bool GxSoundControl::PlaySystemSound(int index)
{
    if (index < 0 || index >= kSystemSoundCount || !g_Core || !g_Core->m_SystemConfig)
        return false;
    return PlayOneShot(g_Core->m_SystemConfig->GetString(SYSSTR_SYSSOUND_FIRST + index));
}

bool GxSoundControl::StopBGM(uint32_t fadeMs)
{
    if (GxUserData* data = Data())
        data->m_BGMRecord.Clear();
    return GxSound::StopBGM(fadeMs);
}

bool GxSoundControl::StopBGV(uint32_t fadeMs)
{
    if (GxUserData* data = Data())
        data->m_BGVRecord.Clear();
    return GxSound::Stop(kBGVChannel, fadeMs);
}

bool GxSoundControl::StopSE(int slot, uint32_t fadeMs)
{
    if (!ValidSlot(slot))
        return false;
    if (GxUserData* data = Data())
        data->m_SERecord[slot].Clear();
    return GxSound::Stop(kFirstSEChannel + slot, fadeMs);
}

bool GxSoundControl::StopAllSE()
{
    for (int i = 0; i < kSlotCount; ++i)
        StopSE(i, 0);
    return true;
}

bool GxSoundControl::StopVoice(int slot)
{
    if (!ValidSlot(slot))
        return false;
    if (GxUserData* data = Data())
        data->m_VoiceRecord[slot].Clear();
    return GxSound::Stop(kFirstVoiceChannel + slot, 0);
}

bool GxSoundControl::StopAllVoices()
{
    GxUserData* data = Data();
    for (int i = 0; i < kSlotCount; ++i)
    {
        GxSound::Stop(kFirstVoiceChannel + i, 0);
        if (data)
            data->m_VoiceRecord[i].Clear();
    }
    return true;
}

bool GxSoundControl::UpdateBGMVolume()
{
    GxUserConfig* config = Config();
    if (!config)
        return false;
    const int32_t volume = config->GetBGMVolume();
    if (GxSound::GetChannelState(0))
    {
        GxSound::SetVolume(0, volume);
        // During a cross-fade from 0 to 1 the incoming music is channel 1: it takes the level too, or
        // it would ignore the change until its fade ends and then jump.
        if (GxSound::GetChannelState(1) && GxSound::GetCurrentBGMChannel() == 1)
            GxSound::SetVolume(1, volume);
    }
    else if (GxSound::GetChannelState(1))
        GxSound::SetVolume(1, volume);
    return true;
}

bool GxSoundControl::UpdateSEVolume()
{
    GxUserConfig* config = Config();
    if (!config)
        return false;
    const int32_t volume = GxUserConfig::LevelToAttenuation(config->m_Volume_Master * config->m_Volume_Sound / 100);
    for (int i = 0; i < kSlotCount; ++i)
        if (GxSound::GetChannelState(kFirstSEChannel + i))
            GxSound::SetVolume(kFirstSEChannel + i, volume);
    return true;
}

bool GxSoundControl::UpdateVoiceVolume()
{
    GxUserConfig* config = Config();
    GxUserData* data = Data();
    if (!config || !data)
        return false;
    for (int i = 0; i < kSlotCount; ++i)
        if (GxSound::GetChannelState(kFirstVoiceChannel + i))
            GxSound::SetVolume(kFirstVoiceChannel + i, config->GetCharVoiceVolume(data->m_VoiceRecord[i].m_CharID));
    return true;
}

bool GxSoundControl::UpdateMovieVolume()
{
    GxUserConfig* config = Config();
    if (!config)
        return false;
    for (int slot = 0; slot < GxMovie::kSlotCount; ++slot)
    {
        GxMoviePlayerFile* player = GxMovie::GetPlayer(slot);
        if (player && player->IsPlaying())
            player->SetVolume(config->GetMovieVolume());
    }
    return true;
}

bool GxSoundControl::IsAnyVoicePlaying()
{
    for (int i = 0; i < kSlotCount; ++i)
        if (GxSound::GetChannelState(kFirstVoiceChannel + i))
            return true;
    return false;
}
