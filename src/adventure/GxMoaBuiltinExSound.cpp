// The sound builtins of GxMoaBuiltinEx: music, background voice, the four sound-effect slots, the four
// voice slots and the waits for their end. A script name becomes a file through its folder (joined with
// no separator) and the sound extensions; the application sound functions choose the channel, the level
// and the user data's channel record.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "adventure/GxMoaBuiltinHold.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"

namespace
{
enum class SoundKind
{
    BGM,
    BGV,
    SE,
    Voice,
};

// "se", "se_0" .. "se_3" and "vo", "vo_0" .. "vo_3": the slot, or -1 for another name. "se" and "se_0"
// are one slot.
int SlotOf(const std::wstring& name, const wchar_t* stem)
{
    const std::wstring base(stem);
    if (name == base)
        return 0;
    if (name.size() == base.size() + 2 && name.compare(0, base.size(), base) == 0 && name[base.size()] == L'_' &&
        name.back() >= L'0' && name.back() <= L'3')
        return name.back() - L'0';
    return -1;
}

const wchar_t* MissingMessage(SoundKind kind)
{
    switch (kind)
    {
    case SoundKind::BGM:
        return L"BGMファイルが見つかりません[%s]";
    case SoundKind::BGV:
        return L"BGVファイルが見つかりません[%s]";
    case SoundKind::SE:
        return L"SEファイルが見つかりません[%s]";
    default:
        return L"ボイスファイルが見つかりません[%s]";
    }
}

bool StopOnMissing(const GxSystemConfig* config, SoundKind kind)
{
    if (config == nullptr)
        return false;
    switch (kind)
    {
    case SoundKind::BGM:
        return config->m_ErrorStopNotFound_BGM;
    case SoundKind::BGV:
        return config->m_ErrorStopNotFound_BGV;
    case SoundKind::SE:
        return config->m_ErrorStopNotFound_SE;
    default:
        return config->m_ErrorStopNotFound_VO;
    }
}
} // namespace

bool GxMoaBuiltinEx::CallSound(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    const GxSystemConfig* config = m_Core ? m_Core->m_SystemConfig : nullptr;
    GxUserData* data = m_Core ? m_Core->m_UserData : nullptr;

    // The waits: the hold is set and the script stops until the sound ends or an input in the mask.
    if (name == L"bgm.wa" || name == L"bgv.wa" || name == L"se.wa" || name == L"vo.wa")
    {
        if (data == nullptr)
            return true;
        const int32_t mask = GxMoaBuiltinHold::Mask(call, 1);
        GxMoaBuiltinHold::ApplyHide(call, 0, *data);
        if (name == L"bgm.wa")
            data->m_Hold_EndOfBGM = mask;
        else if (name == L"bgv.wa")
            data->m_Hold_EndOfBGV = mask;
        else if (name == L"se.wa")
            data->m_Hold_EndOfSE = mask;
        else
        {
            // The voices play on; only their records go, so the log and a save no longer name them.
            data->m_Hold_EndOfVoice = mask;
            data->ClearVoiceRecords();
        }
        return true;
    }

    const int seSlot = SlotOf(name, L"se");
    const int voiceSlot = SlotOf(name, L"vo");
    SoundKind kind;
    if (name == L"bgm")
        kind = SoundKind::BGM;
    else if (name == L"bgv")
        kind = SoundKind::BGV;
    else if (seSlot >= 0)
        kind = SoundKind::SE;
    else if (voiceSlot >= 0)
        kind = SoundKind::Voice;
    else
        return false;

    if (kind == SoundKind::Voice)
    {
        if (!call.Has(0))
        {
            GxSoundControl::StopVoice(voiceSlot);
            return true;
        }
        const std::wstring scriptName = call.ArgString(0);
        std::wstring path = scriptName;
        const int32_t character = GxSystemConfig::ResolveVoicePath(path);
        if (character == 0)
            return StopOnMissing(config, kind) ? call.Fail(MissingMessage(kind), scriptName.c_str()) : true;
        GxSoundControl::PlayVoice(voiceSlot, path, character);
        return true;
    }

    const uint32_t fade = static_cast<uint32_t>(call.Has(1) ? call.ArgInt(1) : 0);
    if (!call.Has(0))
    {
        if (kind == SoundKind::BGM)
            GxSoundControl::StopBGM(fade);
        else if (kind == SoundKind::BGV)
            GxSoundControl::StopBGV(fade);
        else
            GxSoundControl::StopSE(seSlot, fade);
        return true;
    }
    const GxSystemString folder = kind == SoundKind::BGM   ? SYSSTR_BGM_DIR
                                  : kind == SoundKind::BGV ? SYSSTR_BGV_DIR
                                                           : SYSSTR_SE_DIR;
    const wchar_t* fallbackFolder = kind == SoundKind::BGM   ? L"bgms/"
                                    : kind == SoundKind::BGV ? L"sounds/bgvs/"
                                                             : L"sounds/se/";
    std::wstring path = (config ? config->GetString(folder) : std::wstring(fallbackFolder)) + call.ArgString(0);
    // A missing file stops the script only under its switch; otherwise nothing plays and nothing stops.
    if (!GxSystemConfig::ResolveSoundPath(path))
        return StopOnMissing(config, kind) ? call.Fail(MissingMessage(kind), path.c_str()) : true;
    // A missing loop count reads as 0: endless. One play needs the count 1.
    const int32_t loop = call.ArgInt(2);
    const uint32_t loopPos = static_cast<uint32_t>(call.ArgInt64(3));
    if (kind == SoundKind::BGM)
        GxSoundControl::PlayBGM(path, loop, 0, fade, loopPos, call.ArgInt64(4) != 0);
    else if (kind == SoundKind::BGV)
        GxSoundControl::PlayBGV(path, loop, 0, fade, loopPos);
    else
        GxSoundControl::PlaySE(seSlot, path, loop, 0, fade, loopPos);
    return true;
}
