// The save-slot file of GxUserData.
//
// Layout after the header ("BGD" / "TGD", version 100):
//   1-7  the save time, the slot texts, the choice, the holds, the message log, the hidden-window flag
//   8    the script: runtime variables of class 3, the main worker's script entities of class 3, the
//        main worker
//   9    ten sound-channel records
//   10   six scene layers, then the list "StandLayers" (written with count 0) of one stratum per stand
//        layer: "LayerName" and the layer's record
//   11   the message window, the name window, the name image
//   12   the list "SelectButtons": count = the choice item list's size, one record per button 1..limit
//
// Loading checks the whole file before anything changes: the header, items 1 to 7 read into a scratch
// copy, a walk over the rest ending exactly at the data's end. Items 8 to 12 can only be read into the
// live script and scene, so a snapshot of what they replace is written first with the same writers; a
// failure puts it back.

#include "appdata/DBAvgChar.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPair.h"
#include "appdata/GxUserDataPerman.h"
#include "appdata/GxUserFile.h"
#include "appdata/GxUserScriptRecord.h"
#include "core/GxAtomicFile.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxTime.h"
#include "media/GxMovie.h"
#include "media/GxSound.h"
#include "script/GxMoaScope.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"
#include "task/ui/GxTaskUITextButtonIs.h"

#include <memory>

std::wstring (*GxUserData::s_SaveTimeSource)() = &GxTime::GetNowString;

namespace
{

const wchar_t* const kSceneLayers[] = {L"$VISUAL:SeqAvgMain",      L"$BGLAYER:SeqAvgMain",
                                       L"$BGWLAYER:SeqAvgMain",    L"$MOVIELAYER:SeqAvgMain",
                                       L"$GLOBALFLASH:SeqAvgMain", L"$GLOBALFADE:SeqAvgMain"};
const wchar_t* const kStandFolder = L"$STAND:SeqAvgMain";
const wchar_t* const kWindows[] = {L"$MESWIN:SeqAvgMain", L"$NAMEWIN:SeqAvgMain", L"$NAMEIMAGE:SeqAvgMain"};
const wchar_t* const kSelectFolder = L"$SELECT:SeqAvgMain";
const wchar_t* const kSelectButton = L"btn_select";

// The values of one sound-channel record, as the file holds them.
struct SoundRecordValues
{
    std::wstring m_FileName;
    int32_t m_Loop = 0;
    uint32_t m_StartSeekPosTime = 0;
    uint32_t m_LoopPosTime = 0;
    int32_t m_FadeInTime = 0;
    int32_t m_CharID = 0;

    void Write(GxContentWriterBase& w) const
    {
        w.WriteString("m_FileName", m_FileName);
        w.Write("m_Loop", m_Loop);
        w.Write("m_StartSeekPosTime", m_StartSeekPosTime);
        w.Write("m_LoopPosTime", m_LoopPosTime);
        w.Write("m_FadeInTime", m_FadeInTime);
        w.Write("m_CharID", m_CharID);
    }
    void Read(GxContentReaderBase& r)
    {
        m_FileName = r.ReadStringW("m_FileName");
        m_Loop = r.GetS32("m_Loop");
        m_StartSeekPosTime = r.GetU32("m_StartSeekPosTime");
        m_LoopPosTime = r.GetU32("m_LoopPosTime");
        m_FadeInTime = r.GetS32("m_FadeInTime");
        m_CharID = r.GetS32("m_CharID");
    }
};

bool Ok(const GxContentReaderBase& r)
{
    return r.GetErrorCount() == 0;
}

// Names of the stand layers in table order: every character row whose name is neither empty nor "*".
std::vector<std::wstring> StandNames()
{
    std::vector<std::wstring> names;
    for (int32_t i = 0; i < g_DBAvgChar.GetCapacity(); ++i)
    {
        const std::wstring& name = g_DBAvgChar.GetRow(i)->m_CharName;
        if (!name.empty() && name != L"*")
            names.push_back(name);
    }
    return names;
}

// Finds a named task of the scene; the first missing name is kept for the caller's log line.
class SceneTasks
{
public:
    explicit SceneTasks(GxCore* core) : m_Tasks(core ? core->m_TaskManage : nullptr) {}

    GxTaskBase* Find(const wchar_t* name)
    {
        GxTaskBase* task = m_Tasks ? m_Tasks->FindTaskByName(name) : nullptr;
        if (!task)
            Miss(name);
        return task;
    }
    GxTaskFolder* FindFolder(const wchar_t* name)
    {
        GxTaskFolder* folder = dynamic_cast<GxTaskFolder*>(m_Tasks ? m_Tasks->FindTaskByName(name) : nullptr);
        if (!folder)
            Miss(name);
        return folder;
    }
    void Miss(const std::wstring& name)
    {
        if (m_Missing.empty())
            m_Missing = name;
    }
    const std::wstring& Missing() const { return m_Missing; }

private:
    GxTaskManage* m_Tasks;
    std::wstring m_Missing;
};

// Skips values up to and including the end of the list or stratum the reader is inside; nested lists,
// trees and strata are skipped whole.
bool SkipToEnd(GxContentReaderBase& r, uint32_t endTag)
{
    int depth = 0;
    while (Ok(r) && !r.IsEnd())
    {
        const uint32_t tag = r.PeekValueType();
        if (depth == 0 && tag == endTag)
            return endTag == VALTYPE_ListEnd ? r.ListEnd() : r.TreeStratumEnd();
        if (tag == VALTYPE_ListBegin || tag == VALTYPE_TreeBegin || tag == VALTYPE_TreeStratumBegin)
            ++depth;
        else if (tag == VALTYPE_ListEnd || tag == VALTYPE_TreeEnd || tag == VALTYPE_TreeStratumEnd)
            --depth;
        if (!r.SkipValue())
            return false;
    }
    return false;
}

// Items 10 to 12. The choice buttons exist only when the game's UI table defines them: a missing one
// leaves its record out (named in skipped for the caller's log line), and the rest of the save goes on.
void WriteScene(GxCore* core, GxContentWriterBase& w, size_t itemCount, std::wstring& missing, std::wstring& skipped)
{
    SceneTasks scene(core);
    for (const wchar_t* name : kSceneLayers)
        if (GxTaskBase* layer = scene.Find(name))
            layer->Save(&w);
    GxTaskFolder* stand = scene.FindFolder(kStandFolder);
    w.ListBegin("StandLayers", "", 0);
    for (const std::wstring& name : StandNames())
    {
        GxTaskBase* layer = stand ? stand->FindTaskLocal(name, 0) : nullptr;
        if (!layer)
            continue;
        w.TreeStratumBegin();
        w.WriteString("LayerName", name);
        layer->Save(&w);
        w.TreeStratumEnd();
    }
    w.ListEnd();
    for (const wchar_t* name : kWindows)
        if (GxTaskBase* window = scene.Find(name))
            window->Save(&w);
    // The count is the item list's size, one more than there are buttons (1 to the limit).
    GxTaskManage* tasks = core ? core->m_TaskManage : nullptr;
    auto* select = dynamic_cast<GxTaskFolder*>(tasks ? tasks->FindTaskByName(kSelectFolder) : nullptr);
    skipped.clear();
    std::vector<GxTaskBase*> buttons;
    for (size_t i = 1; i < itemCount; ++i)
    {
        GxTaskBase* button = select ? select->FindTaskLocal(kSelectButton, static_cast<int32_t>(i)) : nullptr;
        if (button)
            buttons.push_back(button);
        else if (skipped.empty())
            skipped = select ? std::wstring(kSelectButton) + L"[" + std::to_wstring(i) + L"]" : kSelectFolder;
    }
    // Without every button the count is that of the records written (still one more), so a reader that
    // bounds a count by the bytes left takes it.
    const size_t count = skipped.empty() ? itemCount : buttons.size() + 1;
    w.ListBegin("SelectButtons", "", static_cast<uint32_t>(count));
    for (GxTaskBase* button : buttons)
        button->Save(&w);
    w.ListEnd();
    missing = scene.Missing();
}

bool ReadScene(GxCore* core, GxContentReaderBase& r, size_t itemCount, std::wstring& missing)
{
    SceneTasks scene(core);
    auto load = [&](const wchar_t* name)
    {
        GxTaskBase* task = scene.Find(name);
        return task && task->Load(&r) && Ok(r);
    };
    for (const wchar_t* name : kSceneLayers)
        if (!load(name))
            return missing = scene.Missing(), false;
    GxTaskFolder* stand = scene.FindFolder(kStandFolder);
    uint32_t count = 0;
    if (!stand || !r.ListBegin("StandLayers", count))
        return missing = scene.Missing(), false;
    // One stratum at most per character row; a stratum naming no layer of the scene, or one beyond the
    // rows, is skipped to its end.
    const size_t rows = StandNames().size();
    for (size_t row = 0; Ok(r) && r.PeekValueType() == VALTYPE_TreeStratumBegin; ++row)
    {
        r.TreeStratumBegin();
        const std::wstring name = r.ReadStringW("LayerName");
        GxTaskBase* layer = row < rows && Ok(r) ? stand->FindTaskLocal(name, 0) : nullptr;
        if (layer)
        {
            if (!layer->Load(&r) || !r.TreeStratumEnd())
                return false;
        }
        else if (!SkipToEnd(r, VALTYPE_TreeStratumEnd))
            return false;
    }
    if (!r.ListEnd())
        return false;
    for (const wchar_t* name : kWindows)
        if (!load(name))
            return missing = scene.Missing(), false;
    // As when saving, the choice buttons may not exist: the records from the first missing one on are
    // dropped, as are records beyond the buttons (a longer list in the file).
    GxTaskManage* tasks = core ? core->m_TaskManage : nullptr;
    auto* select = dynamic_cast<GxTaskFolder*>(tasks ? tasks->FindTaskByName(kSelectFolder) : nullptr);
    if (!r.ListBegin("SelectButtons", count))
        return false;
    for (size_t i = 1; select && i < itemCount && Ok(r) && r.PeekValueType() != VALTYPE_ListEnd; ++i)
    {
        GxTaskBase* button = select->FindTaskLocal(kSelectButton, static_cast<int32_t>(i));
        if (!button)
            break;
        if (!button->Load(&r))
            return false;
    }
    return SkipToEnd(r, VALTYPE_ListEnd) && Ok(r);
}

// What a restored scene takes from the present rather than from its file. The windows show the player's
// opacity, which may have changed since the save. The message on the page was shown before the save, and
// showing it marked it read, so it is drawn and skipped as read.
void AfterRestore(GxCore* core)
{
    GxTaskManage* tasks = core ? core->m_TaskManage : nullptr;
    if (!tasks)
        return;
    if (const GxUserConfig* config = core->m_UserConfig)
        for (const wchar_t* name : {kWindows[0], kWindows[1]})
            if (auto* window = dynamic_cast<GxTaskUIBase*>(tasks->FindTaskByName(name)))
                window->SetImageAlpha(config->m_TextWindowOpacity);
    if (auto* message = dynamic_cast<GxTaskUIMessageWindowFx*>(tasks->FindTaskByName(kWindows[0]));
        message && message->GetTextLength() > 0)
        message->SetReaded(true);
}

} // namespace

void GxUserData::WritePlain(GxContentWriterBase& w) const
{
    w.WriteString("m_SaveTime", s_SaveTimeSource ? s_SaveTimeSource() : GxTime::GetNowString());
    w.WriteString("m_GameDataTitle", m_GameDataTitle);
    w.WriteString("m_RestoreSequence", m_RestoreSequence);
    w.WriteString("m_RestoreSubParam", m_RestoreSubParam);
    w.Write("m_IsSelecting", m_IsSelecting);
    w.Write("m_LastSelectNum", m_LastSelectNum);
    w.Write("m_CancelSelectNum", m_CancelSelectNum);
    w.WriteString("m_SelectHash", m_SelectHash);
    w.ListBegin("m_SelectMenuItemList", "", static_cast<uint32_t>(m_SelectMenuItemList.size()));
    for (const GxSelectMenuItem& item : m_SelectMenuItemList)
    {
        w.WriteString("m_Text", item.m_Text);
        w.WriteString("m_Label", item.m_Label);
        w.Write("m_Enable", item.m_Enable);
        w.Write("m_Visible", item.m_Visible);
        w.Write("m_BeforeSelected", item.m_BeforeSelected);
        w.Write("m_UseGosub", item.m_UseGosub);
    }
    w.ListEnd();
    w.Write("m_Hold_WaitClick", m_Hold_WaitClick);
    w.Write("m_Hold_WaitTime", m_Hold_WaitTime);
    w.Write("m_Hold_WaitTime_TimeLeft", m_Hold_WaitTime_TimeLeft);
    w.Write("m_Hold_EndOfMovie", m_Hold_EndOfMovie);
    w.Write("m_Hold_EndOfLayerActionAll", m_Hold_EndOfLayerActionAll);
    w.Write("m_Hold_EndOfLayerActionSeparate", m_Hold_EndOfLayerActionSeparate);
    w.WriteString("m_Hold_EndOfLayerActionSeparate_LayerName", m_Hold_EndOfLayerActionSeparate_LayerName);
    w.Write("m_Hold_EndOfBGM", m_Hold_EndOfBGM);
    w.Write("m_Hold_EndOfBGV", m_Hold_EndOfBGV);
    w.Write("m_Hold_EndOfSE", m_Hold_EndOfSE);
    w.Write("m_Hold_EndOfVoice", m_Hold_EndOfVoice);
    w.Write("m_NameIdentifyMode", m_NameIdentifyMode);
    w.Write("m_IgnoreKinsoku", m_IgnoreKinsoku);
    w.Write("m_LastDialogResult", m_LastDialogResult);
    w.ListBegin("GxMessageLogElement", "", static_cast<uint32_t>(m_MessageLog.size()));
    for (const GxMessageLogElement& entry : m_MessageLog)
    {
        w.WriteString("m_Name", entry.m_Name);
        w.WriteString("m_Message", entry.m_Message);
        w.Write("m_IgnoreKinsoku", entry.m_IgnoreKinsoku);
        w.Write("m_DisenableAutoNewline", entry.m_DisenableAutoNewline);
        w.Write("m_ShowNameByText", entry.m_ShowNameByText);
        for (int i = 0; i < GxMessageLogElement::kVoiceSlots; ++i)
        {
            w.WriteString("m_VoiceFileName", entry.m_VoiceFileName[i]);
            w.Write("m_VoiceCharID", entry.m_VoiceCharID[i]);
        }
    }
    w.ListEnd();
    w.Write("m_HideWindowByCommandFlag", m_HideWindowByCommandFlag);
}

bool GxUserData::ReadPlain(GxContentReaderBase& r, std::wstring* saveTime)
{
    const std::wstring time = r.ReadStringW("m_SaveTime");
    if (saveTime)
        *saveTime = time;
    r.ReadString("m_GameDataTitle", m_GameDataTitle);
    r.ReadString("m_RestoreSequence", m_RestoreSequence);
    r.ReadString("m_RestoreSubParam", m_RestoreSubParam);
    r.Read("m_IsSelecting", m_IsSelecting);
    r.Read("m_LastSelectNum", m_LastSelectNum);
    r.Read("m_CancelSelectNum", m_CancelSelectNum);
    r.ReadString("m_SelectHash", m_SelectHash);
    uint32_t count = 0;
    r.ListBegin("m_SelectMenuItemList", count);
    // The list keeps its size: items beyond it in the file are read and dropped.
    for (uint32_t i = 0; i < count && Ok(r); ++i)
    {
        GxSelectMenuItem item;
        r.ReadString("m_Text", item.m_Text);
        r.ReadString("m_Label", item.m_Label);
        r.Read("m_Enable", item.m_Enable);
        r.Read("m_Visible", item.m_Visible);
        r.Read("m_BeforeSelected", item.m_BeforeSelected);
        r.Read("m_UseGosub", item.m_UseGosub);
        if (i < m_SelectMenuItemList.size())
            m_SelectMenuItemList[i] = std::move(item);
    }
    r.ListEnd();
    r.Read("m_Hold_WaitClick", m_Hold_WaitClick);
    r.Read("m_Hold_WaitTime", m_Hold_WaitTime);
    r.Read("m_Hold_WaitTime_TimeLeft", m_Hold_WaitTime_TimeLeft);
    r.Read("m_Hold_EndOfMovie", m_Hold_EndOfMovie);
    r.Read("m_Hold_EndOfLayerActionAll", m_Hold_EndOfLayerActionAll);
    r.Read("m_Hold_EndOfLayerActionSeparate", m_Hold_EndOfLayerActionSeparate);
    r.ReadString("m_Hold_EndOfLayerActionSeparate_LayerName", m_Hold_EndOfLayerActionSeparate_LayerName);
    r.Read("m_Hold_EndOfBGM", m_Hold_EndOfBGM);
    r.Read("m_Hold_EndOfBGV", m_Hold_EndOfBGV);
    r.Read("m_Hold_EndOfSE", m_Hold_EndOfSE);
    r.Read("m_Hold_EndOfVoice", m_Hold_EndOfVoice);
    r.Read("m_NameIdentifyMode", m_NameIdentifyMode);
    r.Read("m_IgnoreKinsoku", m_IgnoreKinsoku);
    r.Read("m_LastDialogResult", m_LastDialogResult);
    m_MessageLog.clear();
    r.ListBegin("GxMessageLogElement", count);
    for (uint32_t i = 0; i < count && Ok(r); ++i)
    {
        GxMessageLogElement entry;
        r.ReadString("m_Name", entry.m_Name);
        r.ReadString("m_Message", entry.m_Message);
        r.Read("m_IgnoreKinsoku", entry.m_IgnoreKinsoku);
        r.Read("m_DisenableAutoNewline", entry.m_DisenableAutoNewline);
        r.Read("m_ShowNameByText", entry.m_ShowNameByText);
        for (int k = 0; k < GxMessageLogElement::kVoiceSlots; ++k)
        {
            r.ReadString("m_VoiceFileName", entry.m_VoiceFileName[k]);
            r.Read("m_VoiceCharID", entry.m_VoiceCharID[k]);
        }
        m_MessageLog.push_back(std::move(entry));
    }
    r.ListEnd();
    r.Read("m_HideWindowByCommandFlag", m_HideWindowByCommandFlag);
    return Ok(r);
}

void GxUserData::TakePlain(GxUserData& s)
{
    m_GameDataTitle = std::move(s.m_GameDataTitle);
    m_RestoreSequence = std::move(s.m_RestoreSequence);
    m_RestoreSubParam = std::move(s.m_RestoreSubParam);
    m_IsSelecting = s.m_IsSelecting;
    m_LastSelectNum = s.m_LastSelectNum;
    m_CancelSelectNum = s.m_CancelSelectNum;
    m_SelectHash = std::move(s.m_SelectHash);
    for (size_t i = 0; i < m_SelectMenuItemList.size() && i < s.m_SelectMenuItemList.size(); ++i)
        m_SelectMenuItemList[i] = std::move(s.m_SelectMenuItemList[i]);
    m_Hold_WaitClick = s.m_Hold_WaitClick;
    m_Hold_WaitTime = s.m_Hold_WaitTime;
    m_Hold_WaitTime_TimeLeft = s.m_Hold_WaitTime_TimeLeft;
    m_Hold_EndOfMovie = s.m_Hold_EndOfMovie;
    m_Hold_EndOfLayerActionAll = s.m_Hold_EndOfLayerActionAll;
    m_Hold_EndOfLayerActionSeparate = s.m_Hold_EndOfLayerActionSeparate;
    m_Hold_EndOfLayerActionSeparate_LayerName = std::move(s.m_Hold_EndOfLayerActionSeparate_LayerName);
    m_Hold_EndOfBGM = s.m_Hold_EndOfBGM;
    m_Hold_EndOfBGV = s.m_Hold_EndOfBGV;
    m_Hold_EndOfSE = s.m_Hold_EndOfSE;
    m_Hold_EndOfVoice = s.m_Hold_EndOfVoice;
    m_NameIdentifyMode = s.m_NameIdentifyMode;
    m_IgnoreKinsoku = s.m_IgnoreKinsoku;
    m_LastDialogResult = s.m_LastDialogResult;
    m_MessageLog = std::move(s.m_MessageLog);
    m_HideWindowByCommandFlag = s.m_HideWindowByCommandFlag;
}

void GxUserData::EmptyEndedSoundRecords()
{
    // A sound that has ended by itself must not start again after a load; voices are only a log aid.
    // Without a started sound service nothing has played, so nothing has ended either: the records
    // stay, and a save made on a silent machine still restarts its music elsewhere.
    if (!GxSound::IsStarted())
        return;
    if (!GxSound::GetChannelState(0) && !GxSound::GetChannelState(1))
        m_BGMRecord.Clear();
    if (!GxSound::GetChannelState(GxSoundControl::kBGVChannel))
        m_BGVRecord.Clear();
    for (int i = 0; i < GxSoundControl::kSlotCount; ++i)
        if (!GxSound::GetChannelState(GxSoundControl::kFirstSEChannel + i))
            m_SERecord[i].Clear();
}

namespace
{
// The ten records in file order: BGM, BGV, SE 0..3, voice 0..3.
template <typename Data, typename F> void ForEachSoundRecord(Data& data, F&& f)
{
    f(data.m_BGMRecord);
    f(data.m_BGVRecord);
    for (auto& record : data.m_SERecord)
        f(record);
    for (auto& record : data.m_VoiceRecord)
        f(record);
}
} // namespace

void GxUserData::WriteSoundRecords(GxContentWriterBase& w) const
{
    ForEachSoundRecord(*this,
                       [&](const GxSoundChannelRecord& record)
                       {
                           SoundRecordValues values;
                           values.m_FileName = record.m_FileName;
                           values.m_Loop = record.m_Loop;
                           values.m_StartSeekPosTime = record.m_StartSeekPosTime;
                           values.m_LoopPosTime = record.m_LoopPosTime;
                           values.m_FadeInTime = record.m_FadeInTime;
                           values.m_CharID = record.m_CharID;
                           values.Write(w);
                       });
}

bool GxUserData::ReadSoundRecords(GxContentReaderBase& r)
{
    ForEachSoundRecord(*this,
                       [&](GxSoundChannelRecord& record)
                       {
                           if (!Ok(r))
                               return;
                           SoundRecordValues values;
                           values.Read(r);
                           record.m_FileName = values.m_FileName;
                           record.m_Loop = values.m_Loop;
                           record.m_StartSeekPosTime = values.m_StartSeekPosTime;
                           record.m_LoopPosTime = values.m_LoopPosTime;
                           record.m_FadeInTime = values.m_FadeInTime;
                           record.m_CharID = values.m_CharID;
                       });
    return Ok(r);
}

void GxUserData::TakeSoundRecords(GxUserData& scratch)
{
    m_BGMRecord = scratch.m_BGMRecord;
    m_BGVRecord = scratch.m_BGVRecord;
    for (int i = 0; i < GxSoundControl::kSlotCount; ++i)
    {
        m_SERecord[i] = scratch.m_SERecord[i];
        m_VoiceRecord[i] = scratch.m_VoiceRecord[i];
    }
}

void GxUserData::RestartSounds()
{
    GxSound::StopBGM(0);
    GxSound::Stop(GxSoundControl::kBGVChannel, 0);
    for (int i = 0; i < GxSoundControl::kSlotCount; ++i)
    {
        GxSound::Stop(GxSoundControl::kFirstSEChannel + i, 0);
        GxSound::Stop(GxSoundControl::kFirstVoiceChannel + i, 0);
    }
    GxSound::StopAllOneShots();
    // Copies: each play writes its record again.
    const GxSoundChannelRecord bgm = m_BGMRecord;
    const GxSoundChannelRecord bgv = m_BGVRecord;
    if (!bgm.IsEmpty())
        GxSoundControl::PlayBGM(bgm.m_FileName, bgm.m_Loop, bgm.m_StartSeekPosTime, 1000, bgm.m_LoopPosTime, false);
    // The background voice fades in over a second like the music; the effects start at once.
    if (!bgv.IsEmpty())
        GxSoundControl::PlayBGV(bgv.m_FileName, bgv.m_Loop, bgv.m_StartSeekPosTime, 1000, bgv.m_LoopPosTime);
    for (int i = 0; i < GxSoundControl::kSlotCount; ++i)
    {
        const GxSoundChannelRecord se = m_SERecord[i];
        if (!se.IsEmpty())
            GxSoundControl::PlaySE(i, se.m_FileName, se.m_Loop, se.m_StartSeekPosTime, 0, se.m_LoopPosTime);
    }
}

void GxUserData::ColourSelectButtons() const
{
    const GxSystemConfig* system = m_Core ? m_Core->m_SystemConfig : nullptr;
    GxTaskManage* tasks = m_Core ? m_Core->m_TaskManage : nullptr;
    auto* select = tasks ? dynamic_cast<GxTaskFolder*>(tasks->FindTaskByName(kSelectFolder)) : nullptr;
    if (!system || !select || !m_IsSelecting)
        return;
    const bool mark = m_Core->m_UserConfig && m_Core->m_UserConfig->m_ChangeColorSelectedMenu;
    for (size_t i = 1; i < m_SelectMenuItemList.size(); ++i)
    {
        auto* button =
            dynamic_cast<GxTaskUITextButtonIs*>(select->FindTaskLocal(kSelectButton, static_cast<int32_t>(i)));
        if (!button || !m_SelectMenuItemList[i].m_Visible)
            continue;
        const bool before = mark && m_Core->m_UserDataPerman &&
                            m_Core->m_UserDataPerman->IsSelectedMenu(m_SelectHash, static_cast<int32_t>(i));
        button->SetTextColor(before ? system->m_ChosenChoiceColor : system->m_ChoiceTextColor);
    }
}

bool GxUserData::WriteToMemory(std::string& bytes, bool binary, std::wstring& missing, std::wstring* skipped) const
{
    missing.clear();
    std::wstring unused;
    const bool ok = GxUserFile::WriteToMemory(
        bytes, binary ? GxUserFile::Form::Binary : GxUserFile::Form::Text, "GD",
        [&](GxContentWriterBase& w)
        {
            WritePlain(w);
            GxUserScriptRecord::Write(w, PERSIST_INGAME, GxUserScriptRecord::Worker::With);
            WriteSoundRecords(w);
            WriteScene(m_Core, w, m_SelectMenuItemList.size(), missing, skipped ? *skipped : unused);
        });
    return ok && missing.empty();
}

bool GxUserData::WriteSlot(std::string& bytes, bool binary, const std::wstring& path)
{
    EmptyEndedSoundRecords();
    std::wstring missing;
    std::wstring skipped;
    const bool written = WriteToMemory(bytes, binary, missing, &skipped);
    if (!skipped.empty())
        GxLog::Error(L"GxUserData::Save/シーンに%sがないため選択肢ボタンの記録を省きます(%s)\n", skipped.c_str(),
                     path.c_str());
    if (!written)
    {
        if (!missing.empty())
            GxLog::Error(L"GxUserData::Save/シーンに%sがありません(%s)\n", missing.c_str(), path.c_str());
        else
            GxLog::Error(L"GxUserData::Save/データを作成できません(%s)\n", path.c_str());
        return false;
    }
    return true;
}

bool GxUserData::Save(const std::wstring& path, bool binary)
{
    std::string bytes;
    return WriteSlot(bytes, binary, path) && GxAtomicFile::WriteFile(path, bytes.data(), bytes.size());
}

bool GxUserData::SavePair(const std::wstring& path, bool binary, const std::wstring& strategyPath,
                          const std::string& strategyBytes)
{
    std::string bytes;
    return WriteSlot(bytes, binary, path) && GxUserDataPair::Commit(path, bytes, strategyPath, strategyBytes);
}

std::unique_ptr<GxContentReaderBase> GxUserData::OpenSlot(const std::wstring& path, const std::string& bytes,
                                                          GxUserData& scratch, const wchar_t* owner)
{
    if (bytes.empty())
        return nullptr;
    std::unique_ptr<GxContentReaderBase> reader = GxUserFile::OpenChecked(bytes, "GD", false, owner, path);
    if (!reader)
        return nullptr;
    // Items 1 to 7 are the bulk of a slot: read once, typed, into the scratch copy; only the rest is
    // walked, by a second reader, so the apply step can go on from here.
    bool ok = scratch.ReadPlain(*reader, nullptr);
    std::unique_ptr<GxContentReaderBase> rest = ok ? GxUserFile::Clone(*reader) : nullptr;
    ok = ok && rest && GxUserFile::Walk(*rest);
    if (ok)
        return reader;
    GxLog::Error(L"%s/セーブデータが壊れています(%s)\n", owner, path.c_str());
    return nullptr;
}

bool GxUserData::CheckFile(const std::wstring& path)
{
    std::string bytes;
    return GxUserFile::LoadFile(path, bytes, L"GxUserData::Load") && CheckBytes(bytes, path);
}

bool GxUserData::CheckBytes(const std::string& bytes, const std::wstring& path)
{
    GxUserData scratch(m_Core);
    return OpenSlot(path, bytes, scratch, L"GxUserData::Load") != nullptr;
}

bool GxUserData::ReadHeader(const std::wstring& path, GxSaveSlotHeader& header)
{
    static const wchar_t* const kOwner = L"GxUserData::ReadHeader";
    header.m_Valid = false;
    std::string bytes;
    if (!GxUserFile::LoadFile(path, bytes, kOwner))
        return false;
    std::unique_ptr<GxContentReaderBase> reader = GxUserFile::OpenChecked(bytes, "GD", false, kOwner, path);
    if (!reader)
        return false;
    GxSaveSlotHeader read;
    read.m_SaveTime = reader->ReadStringW("m_SaveTime");
    reader->ReadString("m_GameDataTitle", read.m_GameDataTitle);
    reader->ReadString("m_RestoreSequence", read.m_RestoreSequence);
    reader->ReadString("m_RestoreSubParam", read.m_RestoreSubParam);
    if (!Ok(*reader))
        return false;
    header = std::move(read);
    header.m_Valid = true;
    return true;
}

bool GxUserData::Load(const std::wstring& path, bool restoreScene)
{
    std::string bytes;
    return GxUserFile::LoadFile(path, bytes, L"GxUserData::Load") && LoadBytes(bytes, path, restoreScene);
}

bool GxUserData::LoadBytes(const std::string& bytes, const std::wstring& path, bool restoreScene)
{
    static const wchar_t* const kOwner = L"GxUserData::Load";
    GxUserData scratch(m_Core);
    std::unique_ptr<GxContentReaderBase> reader = OpenSlot(path, bytes, scratch, kOwner);
    if (!reader)
        return false;
    if (!restoreScene)
    {
        TakePlain(scratch);
        return true;
    }

    // What items 8 to 12 replace, written with the same writers (items 1 to 7 are taken from the
    // scratch copy only at the end, so they need none).
    const size_t items = m_SelectMenuItemList.size();
    std::string snapshot;
    std::wstring missing;
    std::wstring skipped;
    GxUserFile::WriteToMemory(snapshot, GxUserFile::Form::Binary, "GD",
                              [&](GxContentWriterBase& w)
                              {
                                  GxUserScriptRecord::Write(w, PERSIST_INGAME, GxUserScriptRecord::Worker::With);
                                  WriteSoundRecords(w);
                                  WriteScene(m_Core, w, items, missing, skipped);
                              });
    if (!missing.empty())
    {
        GxLog::Error(L"%s/シーンに%sがありません(%s)\n", kOwner, missing.c_str(), path.c_str());
        return false;
    }
    // The layers' records may name movies of their own: every movie stops before they are read.
    GxMovie::StopAll();
    const bool ok = GxUserScriptRecord::Read(*reader, PERSIST_INGAME, GxUserScriptRecord::Worker::With) &&
                    scratch.ReadSoundRecords(*reader) && ReadScene(m_Core, *reader, items, missing) &&
                    reader->IsEnd() && Ok(*reader);
    if (!ok)
    {
        // A position in a script the program lacks is logged as that, not as damage.
        const bool lackedScript = GxUserScriptRecord::LastReadLackedScript();
        // Everything read so far went into the script and the scene: put the snapshot back.
        if (std::unique_ptr<GxContentReaderBase> back = GxUserFile::OpenReader(snapshot, "GD"))
        {
            GxUserData ignored(m_Core);
            std::wstring unused;
            GxUserScriptRecord::Read(*back, PERSIST_INGAME, GxUserScriptRecord::Worker::With);
            ignored.ReadSoundRecords(*back);
            ReadScene(m_Core, *back, items, unused);
        }
        if (!missing.empty())
            GxLog::Error(L"%s/シーンに%sがありません(%s)\n", kOwner, missing.c_str(), path.c_str());
        else if (!lackedScript)
            GxLog::Error(L"%s/セーブデータが壊れています(%s)\n", kOwner, path.c_str());
        return false;
    }
    TakePlain(scratch);
    TakeSoundRecords(scratch);
    RestartSounds();
    ColourSelectButtons();
    AfterRestore(m_Core);
    return true;
}
