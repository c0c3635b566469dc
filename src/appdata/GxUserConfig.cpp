#include "appdata/GxUserConfig.h"

#include "appdata/GxUserFile.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"

#include <algorithm>

GxUserConfig::GxUserConfig()
{
    SetDefault();
    m_GameDataPage = 0;
    m_LastGameDataFileNum = -1;
}

GxUserConfig::~GxUserConfig() = default;

void GxUserConfig::SetDefault()
{
    m_ScreenMode = 0;
    m_TextWaitTime = 60;
    m_TextLongWaitTime = 480;
    m_AutoWaitTime = 3000;
    m_TextWindowOpacity = 255;
    m_AllowSkipUnreadText = false;
    m_FastShowReadedText = true;
    m_ChangeColorReadedText = true;
    m_ChangeColorSelectedMenu = true;
    m_KeepAutoModeAfterSelect = false;
    m_KeepSkipModeAfterSelect = false;
    m_StopScreenSaver = true;
    m_VoiceStopTiming = false;
    m_WaitVoiceEndOnAutoMode = true;
    m_Volume_Master = 100;
    m_Volume_BGM = 80;
    m_Volume_BGV = 100;
    m_Volume_System = 100;
    m_Volume_Sound = 100;
    m_Volume_Movie = 100;
    m_Volume_RestrainBGM = 100;
    m_Volume_VoiceMaster = 100;
    std::fill(std::begin(m_Volume_Voice), std::end(m_Volume_Voice), 100);
    m_Game_SkipBattleEffect = false;
    m_Game_SkipSpecialAttackEffect = false;
    m_Game_SkipBattleVoice = false;
    m_Game_MapScrollSpeed_ScreenEdge = 50;
    m_Game_MapScrollSpeed_CursorKey = 50;
}

void GxUserConfig::Write(GxContentWriterBase& w) const
{
    w.Write("m_ScreenMode", m_ScreenMode);
    w.Write("m_TextWaitTime", m_TextWaitTime);
    w.Write("m_TextLongWaitTime", m_TextLongWaitTime);
    w.Write("m_AutoWaitTime", m_AutoWaitTime);
    w.Write("m_TextWindowOpacity", m_TextWindowOpacity);
    w.Write("m_AllowSkipUnreadText", m_AllowSkipUnreadText);
    w.Write("m_FastShowReadedText", m_FastShowReadedText);
    w.Write("m_ChangeColorReadedText", m_ChangeColorReadedText);
    w.Write("m_ChangeColorSelectedMenu", m_ChangeColorSelectedMenu);
    w.Write("m_KeepAutoModeAfterSelect", m_KeepAutoModeAfterSelect);
    w.Write("m_KeepSkipModeAfterSelect", m_KeepSkipModeAfterSelect);
    w.Write("m_StopScreenSaver", m_StopScreenSaver);
    w.Write("m_VoiceStopTiming", m_VoiceStopTiming);
    w.Write("m_WaitVoiceEndOnAutoMode", m_WaitVoiceEndOnAutoMode);
    w.Write("m_GameDataPage", m_GameDataPage);
    w.Write("m_LastGameDataFileNum", m_LastGameDataFileNum);
    w.Write("m_Volume_Master", m_Volume_Master);
    w.Write("m_Volume_BGM", m_Volume_BGM);
    w.Write("m_Volume_BGV", m_Volume_BGV);
    w.Write("m_Volume_System", m_Volume_System);
    w.Write("m_Volume_Sound", m_Volume_Sound);
    w.Write("m_Volume_Movie", m_Volume_Movie);
    w.Write("m_Volume_RestrainBGM", m_Volume_RestrainBGM);
    w.Write("m_Volume_VoiceMaster", m_Volume_VoiceMaster);
    // All 32 under one key, element 0 first.
    for (int32_t v : m_Volume_Voice)
        w.Write("m_Volume_Voice", v);
    w.Write("m_Game_SkipBattleEffect", m_Game_SkipBattleEffect);
    w.Write("m_Game_SkipSpecialAttackEffect", m_Game_SkipSpecialAttackEffect);
    w.Write("m_Game_SkipBattleVoice", m_Game_SkipBattleVoice);
    w.Write("m_Game_MapScrollSpeed_ScreenEdge", m_Game_MapScrollSpeed_ScreenEdge);
    w.Write("m_Game_MapScrollSpeed_CursorKey", m_Game_MapScrollSpeed_CursorKey);
}

bool GxUserConfig::Read(GxContentReaderBase& r)
{
    r.Read("m_ScreenMode", m_ScreenMode);
    r.Read("m_TextWaitTime", m_TextWaitTime);
    r.Read("m_TextLongWaitTime", m_TextLongWaitTime);
    r.Read("m_AutoWaitTime", m_AutoWaitTime);
    r.Read("m_TextWindowOpacity", m_TextWindowOpacity);
    r.Read("m_AllowSkipUnreadText", m_AllowSkipUnreadText);
    r.Read("m_FastShowReadedText", m_FastShowReadedText);
    r.Read("m_ChangeColorReadedText", m_ChangeColorReadedText);
    r.Read("m_ChangeColorSelectedMenu", m_ChangeColorSelectedMenu);
    r.Read("m_KeepAutoModeAfterSelect", m_KeepAutoModeAfterSelect);
    r.Read("m_KeepSkipModeAfterSelect", m_KeepSkipModeAfterSelect);
    r.Read("m_StopScreenSaver", m_StopScreenSaver);
    r.Read("m_VoiceStopTiming", m_VoiceStopTiming);
    r.Read("m_WaitVoiceEndOnAutoMode", m_WaitVoiceEndOnAutoMode);
    r.Read("m_GameDataPage", m_GameDataPage);
    r.Read("m_LastGameDataFileNum", m_LastGameDataFileNum);
    r.Read("m_Volume_Master", m_Volume_Master);
    r.Read("m_Volume_BGM", m_Volume_BGM);
    r.Read("m_Volume_BGV", m_Volume_BGV);
    r.Read("m_Volume_System", m_Volume_System);
    r.Read("m_Volume_Sound", m_Volume_Sound);
    r.Read("m_Volume_Movie", m_Volume_Movie);
    r.Read("m_Volume_RestrainBGM", m_Volume_RestrainBGM);
    r.Read("m_Volume_VoiceMaster", m_Volume_VoiceMaster);
    for (int32_t& v : m_Volume_Voice)
        r.Read("m_Volume_Voice", v);
    r.Read("m_Game_SkipBattleEffect", m_Game_SkipBattleEffect);
    r.Read("m_Game_SkipSpecialAttackEffect", m_Game_SkipSpecialAttackEffect);
    r.Read("m_Game_SkipBattleVoice", m_Game_SkipBattleVoice);
    r.Read("m_Game_MapScrollSpeed_ScreenEdge", m_Game_MapScrollSpeed_ScreenEdge);
    r.Read("m_Game_MapScrollSpeed_CursorKey", m_Game_MapScrollSpeed_CursorKey);
    return r.GetErrorCount() == 0;
}

void GxUserConfig::Clamp()
{
    m_TextWindowOpacity = std::clamp(m_TextWindowOpacity, 0, 255);
    for (int32_t* v : {&m_Volume_Master, &m_Volume_BGM, &m_Volume_BGV, &m_Volume_System, &m_Volume_Sound,
                       &m_Volume_Movie, &m_Volume_RestrainBGM, &m_Volume_VoiceMaster})
        *v = std::clamp(*v, 0, 100);
    for (int32_t& v : m_Volume_Voice)
        v = std::clamp(v, 0, 100);
}

bool GxUserConfig::Save(const std::wstring& path)
{
    if (path == m_LeftAlone)
    {
        GxLog::Debug(L"GxUserConfig::Save/読み込めなかった設定データには書き込みません(%s)\n", path.c_str());
        return false;
    }
    return GxUserFile::Save(path, GxUserFile::Form::Binary, "CD",
                            [this](GxContentWriterBase& writer) { Write(writer); });
}

bool GxUserConfig::Load(const std::wstring& path)
{
    static const wchar_t* const kOwner = L"GxUserConfig::Load";
    static const wchar_t* const kWhat = L"設定データ";
    std::string bytes;
    if (!GxUserFile::ReadForLoad(path, bytes, kOwner, kWhat, m_Loaded, m_LeftAlone))
        return false;
    GxUserConfig scratch(*this);
    // The walk finds well-formed values; the typed read also checks each one's type, and the record
    // must end where the file does. A file that fails is kept aside (the shut-down's save would
    // otherwise overwrite it with the defaults) and the fields keep their values.
    bool ok = GxUserFile::Check(bytes, "CD", true, kOwner, path);
    if (ok)
    {
        std::unique_ptr<GxContentReaderBase> reader = GxUserFile::OpenReader(bytes, "CD");
        ok = reader && scratch.Read(*reader) && reader->IsEnd();
        if (!ok)
            GxLog::Error(L"%s/設定データが壊れています(%s)\n", kOwner, path.c_str());
    }
    if (!ok)
    {
        if (GxUserFile::KeepAside(path, kOwner, kWhat))
            m_Loaded = true;
        else
            m_LeftAlone = path;
        return false;
    }
    scratch.Clamp();
    // The copy carries the scratch's marks; this object has now read the player's file.
    *this = scratch;
    m_Loaded = true;
    return true;
}
