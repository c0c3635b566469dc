#include "adventure/SeqAvgLog.h"

#include "appdata/GxMessageLogElement.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "media/GxSound.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxUIEvent.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUITextWindowFx.h"

#include <algorithm>

SeqAvgLog::SeqAvgLog(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqAvgLog")
{
    SetAcceptUIEvent(true);
    auto* root = new GxTaskFolder(this, L"$ROOT:SeqAvgLog");
    m_UI = new GxTaskFolder(root, L"$UI:SeqAvgLog");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqAvgLog");
    m_BGLayer->SetOrderZ(-10.0f);
    GxTaskControl::CreateUIFromDBUILayout(this, L"$UI:SeqAvgLog");
}

SeqAvgLog::~SeqAvgLog() = default;

int32_t SeqAvgLog::LogCount() const
{
    const GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    return data ? static_cast<int32_t>(data->m_MessageLog.size()) : 0;
}

const GxMessageLogElement* SeqAvgLog::Entry(int32_t index) const
{
    const GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    if (!data || index < 0 || index >= static_cast<int32_t>(data->m_MessageLog.size()))
        return nullptr;
    return &data->m_MessageLog[static_cast<size_t>(index)];
}

int32_t SeqAvgLog::Scroll(int32_t top, const std::wstring& button, int32_t count)
{
    const int32_t last = LastTop(count);
    if (button == L"btn_b" && top > 0)
        return top - 1;
    if (button == L"btn_bb" && top > 0)
        return std::max(0, top - kPageStep);
    if (button == L"btn_ff" && top < last)
        return std::max(0, std::min(last, top + kPageStep));
    if (button == L"btn_f" && top < last)
        return top + 1;
    return top;
}

std::wstring SeqAvgLog::LineText(const GxMessageLogElement& entry)
{
    if (entry.m_Name.empty())
        return entry.m_Message;
    return L"【" + entry.m_Name + L"】%r" + entry.m_Message;
}

void SeqAvgLog::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    m_TopIndex = LastTop(LogCount());
    RefreshLines();
    if (const GxSystemConfig* sys = g_Core ? g_Core->m_SystemConfig : nullptr)
        m_BGLayer->SetImage(sys->GetString(SYSSTR_UI_DIR) + L"bg_avglog.png", 0, sys->GetString(SYSSTR_ERROR_IMAGE));
}

void SeqAvgLog::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BGLayer->ClearContent(0);
}

int32_t SeqAvgLog::Update(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::Update(step, elapsed);
    ++m_FrameCount;
    return 0;
}

void SeqAvgLog::RefreshLines()
{
    for (int32_t i = 0; i < kLines; ++i)
    {
        auto* window = dynamic_cast<GxTaskUITextWindowFx*>(m_UI->FindTaskLocal(L"tip_logwindow", i));
        auto* voice = dynamic_cast<GxTaskUIBase*>(m_UI->FindTaskLocal(L"btn_voiceplay", i));
        const GxMessageLogElement* e = Entry(m_TopIndex + i);
        if (window)
        {
            window->ClearMessage();
            if (e)
                window->SetMessage(LineText(*e), e->m_IgnoreKinsoku, e->m_DisenableAutoNewline);
        }
        bool anyVoice = false;
        for (int32_t slot = 0; e && slot < GxMessageLogElement::kVoiceSlots; ++slot)
            anyVoice = anyVoice || !e->m_VoiceFileName[slot].empty();
        if (voice)
        {
            if (anyVoice)
                voice->Show();
            else
                voice->Hide();
        }
    }
}

void SeqAvgLog::ReplayVoices(int32_t index) const
{
    const GxMessageLogElement* e = Entry(index);
    const GxUserConfig* config = g_Core ? g_Core->m_UserConfig : nullptr;
    if (!e || !config)
        return;
    for (int32_t slot = 0; slot < GxMessageLogElement::kVoiceSlots; ++slot)
    {
        if (e->m_VoiceFileName[slot].empty())
            continue;
        // The character comes from a save file; the options' lookup answers an unknown one with the
        // default level.
        GxSound::PlayFile(GxSoundControl::kFirstVoiceChannel + static_cast<uint32_t>(slot), e->m_VoiceFileName[slot], 0,
                          0, 0, config->GetCharVoiceVolume(e->m_VoiceCharID[slot]), 0, 0);
    }
}

void SeqAvgLog::PostBack()
{
    auto* back = dynamic_cast<GxTaskUIBase*>(m_UI->FindTaskLocal(L"btn_back", 0));
    if (back && CanWidgetAcceptInput(back))
        back->PostUIEventCode(1);
}

int32_t SeqAvgLog::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 0;
    if (sender->GetTaskKind() & GxTaskUIButtonIs::kKindButton)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    const std::wstring name = sender->GetTaskLocalName();
    const int32_t top = Scroll(m_TopIndex, name, LogCount());
    if (top != m_TopIndex)
    {
        m_TopIndex = top;
        RefreshLines();
    }
    else if (name == L"btn_voiceplay")
        ReplayVoices(m_TopIndex + sender->GetTaskLocalIndex());
    else if (name == L"btn_back")
    {
        GxTaskManage* manage = GetManager();
        if (manage && manage->GetPrevSequence())
            manage->ChangeSequence(manage->GetPrevSequence(), 0, 0);
        ClearUIEvents();
        return 1;
    }
    return 0;
}

int32_t SeqAvgLog::OnMouseWheel(const float*, int32_t delta, uint32_t)
{
    const int32_t notches = delta / 120;
    if (notches > 0 && m_TopIndex > 0)
    {
        --m_TopIndex;
        RefreshLines();
    }
    else if (notches < 0)
    {
        if (m_TopIndex < LastTop(LogCount()))
        {
            ++m_TopIndex;
            RefreshLines();
        }
        else
            PostBack();
    }
    return 0;
}

int32_t SeqAvgLog::OnMouseRightDown(const float*, uint32_t, int32_t)
{
    PostBack();
    return 0;
}
