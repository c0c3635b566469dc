#include "adventure/SeqBGMMode.h"

#include "animation/GxNcImageSetPool.h"
#include "appdata/DBBGMMode.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

#include <algorithm>

namespace
{
const wchar_t* const kImageSets[] = {L"ui_extra.gis", L"ui_bgmname.gis"};
} // namespace

SeqBGMMode::SeqBGMMode(GxTaskBase* parent) : SeqExtraBase(parent, L"SeqBGMMode", 13000.0f) {}

SeqBGMMode::~SeqBGMMode() = default;

int32_t SeqBGMMode::CountTracks()
{
    int32_t count = 0;
    const int32_t last = std::min(kMaxTrack, g_DBBGMMode.GetCapacity() - 1);
    for (int32_t id = 1; id <= last; ++id)
    {
        if (g_DBBGMMode.GetRow(id)->m_FileName.empty())
            break;
        ++count;
    }
    return count;
}

void SeqBGMMode::OnSequenceEnter()
{
    SeqExtraBase::OnSequenceEnter();
    LoadBackground(L"bg_bgmmode.png");
    const std::wstring& gisDir = SystemConfig().GetString(SYSSTR_UIGIS_DIR);
    for (const wchar_t* set : kImageSets)
        GxNcImageSetPool::Add(gisDir + set);
    // The room plays its own music only: whatever the story left in the record is forgotten, so a later
    // play of the same file starts it afresh.
    ForgetMusic(1000);
    m_TrackCount = CountTracks();
    m_CurrentTrack = 0;
    for (GxTaskBase* child = GetUIFolder()->GetFirstChild(); child; child = child->GetNextSibling())
    {
        if (child->HasKind(GX_TASKKIND_WIDGET) && static_cast<GxTaskUIBase*>(child)->GetGroupID() == 1)
            static_cast<GxTaskUIBase*>(child)->SetValue(false);
    }
    CheckRadio(L"btn_bgmstop", 0);
    UpdateIndicator();
}

void SeqBGMMode::OnSequenceLeave()
{
    SeqExtraBase::OnSequenceLeave();
    const std::wstring& gisDir = SystemConfig().GetString(SYSSTR_UIGIS_DIR);
    for (const wchar_t* set : kImageSets)
    {
        if (GxNcImageSetPool::Find(gisDir + set))
            GxNcImageSetPool::Release(gisDir + set);
    }
}

int32_t SeqBGMMode::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 1;
    PlayClickSound(sender);
    const std::wstring name = sender->GetTaskLocalName();
    if (name == L"btn_back")
    {
        GxTaskManage* manage = GetManager();
        SwitchTo(manage ? manage->GetPrevSequenceName().c_str() : L"", 0, 0);
    }
    else if (name == L"btn_bgmstop")
    {
        GxSoundControl::StopBGM(1000);
        UpdateIndicator();
    }
    else if (name == L"btn_bgmplay")
    {
        if (m_CurrentTrack < 1 || m_CurrentTrack > m_TrackCount)
        {
            m_CurrentTrack = 1;
            CheckRadio(L"btn_bgmselect", 1);
        }
        PlayTrack(m_CurrentTrack);
        UpdateIndicator();
    }
    else if (name == L"btn_bgmprev")
        SelectAndPlay(m_CurrentTrack - 1 < 1 ? m_TrackCount : m_CurrentTrack - 1);
    else if (name == L"btn_bgmnext")
        SelectAndPlay(m_CurrentTrack + 1 > m_TrackCount ? 1 : m_CurrentTrack + 1);
    else if (name == L"btn_bgmselect")
        SelectAndPlay(sender->GetTaskLocalIndex());
    return 1;
}

void SeqBGMMode::SelectAndPlay(int32_t track)
{
    m_CurrentTrack = track;
    CheckRadio(L"btn_bgmselect", track);
    PlayTrack(track);
    CheckRadio(L"btn_bgmplay", 0);
    UpdateIndicator();
}

void SeqBGMMode::PlayTrack(int32_t track)
{
    // An empty table leaves nothing to play (the wrap gives track 0).
    if (track < 1 || track > m_TrackCount)
        return;
    const DBBGMModeData* row = g_DBBGMMode.GetRow(track);
    GxSoundControl::PlayBGM(MusicPath(row->m_FileName), 0, 0, 500, row->m_LoopPosTime, true);
}

void SeqBGMMode::CheckRadio(const wchar_t* name, int32_t index)
{
    GxTaskUIBase* widget = FindWidget(name, index);
    if (!widget)
        return;
    if (widget->GetTypeCode() == GxTaskUIRadioButtonIs::kTypeCode)
        static_cast<GxTaskUIRadioButtonIs*>(widget)->Select();
    else
        widget->SetValue(true);
}

void SeqBGMMode::UpdateIndicator()
{
    GxTaskUIBase* tip = FindWidget(L"tip_playing", 0);
    GxTaskUIBase* stop = FindWidget(L"btn_bgmstop", 0);
    if (!tip)
        return;
    if (stop && stop->GetValueAsBool())
    {
        tip->Hide();
        return;
    }
    GxTaskUIBase* select = FindWidget(L"btn_bgmselect", m_CurrentTrack);
    if (!select)
        return;
    const GxVector4 pos = select->GetPos();
    tip->SetPos(GxVector4(pos.x - kIndicatorOffset, pos.y, pos.z, 0.0f));
    tip->Show();
}
