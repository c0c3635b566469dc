#include "appdata/GxUserData.h"

#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxCore.h"
#include "media/GxMovie.h"
#include "media/GxSound.h"
#include "script/GxMoaAdventureScreen.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"

GxUserData::GxUserData(GxCore* core) : m_Core(core)
{
    m_SelectMenuItemList.resize(static_cast<size_t>(GetChoiceLimit()) + 1);
    Reset();
}

GxUserData::~GxUserData() = default;

int32_t GxUserData::GetChoiceLimit() const
{
    const GxSystemConfig* config = m_Core ? m_Core->m_SystemConfig : nullptr;
    return config && config->m_ChoiceLimit >= 0 ? config->m_ChoiceLimit : 10;
}

int32_t GxUserData::GetMessageLogLimit() const
{
    const GxSystemConfig* config = m_Core ? m_Core->m_SystemConfig : nullptr;
    return config && config->m_MessageLogLimit >= 0 ? config->m_MessageLogLimit : 100;
}

void GxUserData::Reset()
{
    m_SelectMenuItemList.resize(static_cast<size_t>(GetChoiceLimit()) + 1);
    m_GameDataTitle.clear();
    m_RestoreSequence.clear();
    m_RestoreSubParam.clear();
    ResetSelectMenu();
    m_LastSelectNum = 0;
    m_Hold_WaitClick = 0;
    m_Hold_WaitTime = 0;
    m_Hold_WaitTime_TimeLeft = 0;
    m_Hold_EndOfMovie = 0;
    m_Hold_EndOfLayerActionAll = 0;
    m_Hold_EndOfLayerActionSeparate = 0;
    m_Hold_EndOfLayerActionSeparate_LayerName.clear();
    m_Hold_EndOfBGM = 0;
    m_Hold_EndOfBGV = 0;
    m_Hold_EndOfSE = 0;
    m_Hold_EndOfVoice = 0;
    m_NameIdentifyMode = 2;
    m_IgnoreKinsoku = false;
    m_LastDialogResult = 0;
    m_MessageLog.clear();
    m_BGMRecord.Clear();
    m_BGVRecord.Clear();
    for (GxSoundChannelRecord& record : m_SERecord)
        record.Clear();
    ClearVoiceRecords();
    m_ReplayMode = false;
    m_HideWindowByCommandFlag = false;
}

void GxUserData::ResetSelectMenu()
{
    m_IsSelecting = false;
    m_CancelSelectNum = 0;
    m_SelectHash.clear();
    for (GxSelectMenuItem& item : m_SelectMenuItemList)
        item.Reset();
}

void GxUserData::ClearVoiceRecords()
{
    for (GxSoundChannelRecord& record : m_VoiceRecord)
        record.Clear();
}

void GxUserData::GetVoiceRecord(int slot, std::wstring& fileName, int32_t& charID) const
{
    const bool valid = slot >= 0 && slot < GxSoundControl::kSlotCount;
    fileName = valid ? m_VoiceRecord[slot].m_FileName : std::wstring();
    charID = valid ? m_VoiceRecord[slot].m_CharID : 0;
}

void GxUserData::AddMessageLog(const std::wstring& name, const std::wstring& message, bool ignoreKinsoku,
                               bool disableAutoNewline)
{
    GxMessageLogElement entry;
    entry.m_Name = name;
    entry.m_Message = message;
    entry.m_IgnoreKinsoku = ignoreKinsoku;
    entry.m_DisenableAutoNewline = disableAutoNewline;
    entry.m_ShowNameByText = true;
    for (int i = 0; i < GxMessageLogElement::kVoiceSlots; ++i)
        GetVoiceRecord(i, entry.m_VoiceFileName[i], entry.m_VoiceCharID[i]);
    m_MessageLog.push_back(std::move(entry));
    while (m_MessageLog.size() > static_cast<size_t>(GetMessageLogLimit()))
        m_MessageLog.pop_front();
}

void GxUserData::ResetAdventure(bool stopBGM)
{
    if (stopBGM)
        GxSoundControl::StopBGM(0);
    GxSoundControl::StopBGV(0);
    GxSoundControl::StopAllSE();
    GxSoundControl::StopAllVoices();
    GxMovie::StopAll();
    g_BGMRestrainFactor = 100;
    // The reset empties every record, but music left playing must keep its record, or the next save
    // would not restart it.
    const GxSoundChannelRecord music = m_BGMRecord;
    Reset();
    if (!stopBGM)
        m_BGMRecord = music;
    GxMoaAdventureScreen* scene = GxMoaAdventureScreen::Find();
    if (scene)
        scene->ResetWindows();
    if (g_MoaMainWorker)
        g_MoaMainWorker->ResetGame();
    if (g_MoaInstance)
        g_MoaInstance->ResetGameVariables();
    m_HideWindowByCommandFlag = true;
    if (scene)
        scene->SetGlobalFadeOpaque();
}

void GxUserData::LeaveAdventure()
{
    GxSoundControl::StopBGV(0);
    GxSoundControl::StopAllSE();
    m_Hold_WaitClick = 0;
    m_Hold_WaitTime = 0;
    m_Hold_WaitTime_TimeLeft = 0;
    m_Hold_EndOfMovie = 0;
    m_Hold_EndOfLayerActionAll = 0;
    m_Hold_EndOfLayerActionSeparate = 0;
    m_Hold_EndOfLayerActionSeparate_LayerName.clear();
    m_Hold_EndOfBGM = 0;
    m_Hold_EndOfBGV = 0;
    m_Hold_EndOfSE = 0;
    m_Hold_EndOfVoice = 0;
    ClearVoiceRecords();
    m_HideWindowByCommandFlag = false;
    if (GxMoaAdventureScreen* scene = GxMoaAdventureScreen::Find())
        scene->ResetLayers();
    m_HideWindowByCommandFlag = true;
}
