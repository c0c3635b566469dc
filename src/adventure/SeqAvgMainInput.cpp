// Input of the adventure main screen: clicks, the wheel and keys turn into message advance, skip, auto
// and hiding the windows; the window's buttons open the other screens.
#include "adventure/SeqAvgMain.h"

#include "adventure/AvgSharedState.h"
#include "adventure/SeqSaveSlots.h"
#include "adventure/SeqSystem.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "media/GxSound.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

namespace
{

constexpr uint32_t kKeyEnter = 0x0D;
constexpr uint32_t kKeySpace = 0x20;
constexpr uint32_t kKeyRight = 0x27;
constexpr uint32_t kKeyDown = 0x28;
constexpr int32_t kWheelNotch = 120;

GxUserData* UserData()
{
    return g_Core ? g_Core->m_UserData : nullptr;
}

bool IsVoicePlaying()
{
    return GxSoundControl::IsAnyVoicePlaying();
}

} // namespace

void SeqAvgMain::AdvanceWindow(bool stopVoices)
{
    GxTaskUIMessageWindowFx* window = GetMessageWindow();
    if (!window || !window->ProceedClick())
        return;
    if (GxUserData* data = UserData())
        data->ClearVoiceRecords();
    if (stopVoices && !GxTaskUIBase::GetUserConfig().m_VoiceStopTiming)
        GxSoundControl::StopAllVoices();
}

void SeqAvgMain::SkipMessage()
{
    if (g_MessageWindowHidden)
        return;
    const bool allowUnread = GxTaskUIBase::GetUserConfig().m_AllowSkipUnreadText;
    if (GxTaskUIMessageWindowFx* window = GetMessageWindow())
    {
        if (window->GetRemainCharCount() > 0 && !window->IsClickWaiting())
        {
            if (!window->IsReaded() && !allowUnread)
                return;
            window->ShowAtOnce(false, false);
        }
        else if (window->IsClickWaiting())
        {
            if (!window->IsReaded() && !allowUnread)
                return;
            AdvanceWindow(false);
        }
    }
    while (BreakHold(kHoldSkip))
    {
    }
    GxUserData* data = UserData();
    if (!data || (!data->m_Hold_EndOfLayerActionAll && !data->m_Hold_EndOfLayerActionSeparate))
    {
        if (GxTaskBase* root = GetManager() ? GetManager()->FindTaskByName(L"$ROOT:SeqAvgMain") : nullptr)
            GxTaskControl::FinishLayerTransitions(root);
        if (GxTaskLayer* visual = FindLayer(L"$VISUAL:SeqAvgMain"))
        {
            GxTaskActor::FinishActions(visual);
            if (GxTaskBase* child = visual->GetFirstChild())
                GxTaskControl::FinishActorActions(child);
        }
    }
    EndBackgroundTransit();
}

void SeqAvgMain::AutoAdvance(int32_t ms)
{
    if (g_MessageWindowHidden)
        return;
    const GxUserConfig& config = GxTaskUIBase::GetUserConfig();
    GxTaskUIMessageWindowFx* window = GetMessageWindow();
    if (!window || !window->IsClickWaiting())
    {
        g_AutoWaitLeft = config.m_AutoWaitTime;
        return;
    }
    g_AutoWaitLeft -= ms;
    if (g_AutoWaitLeft > 0)
        return;
    if (config.m_WaitVoiceEndOnAutoMode && IsVoicePlaying())
    {
        g_AutoWaitLeft = 0;
        return;
    }
    g_AutoWaitLeft = config.m_AutoWaitTime;
    AdvanceWindow(true);
}

int32_t SeqAvgMain::LeftClick()
{
    if (g_MessageWindowHidden)
    {
        g_MessageWindowHidden = 0;
        return 1;
    }
    if (g_SkipMode)
    {
        g_SkipMode = 0;
        SetToggle(L"btn_skip", false);
        return 1;
    }
    if (g_AutoMode)
    {
        g_AutoMode = 0;
        SetToggle(L"btn_auto", false);
        return 1;
    }
    if (BreakHold(kHoldClick))
        return 1;
    AdvanceWindow(true);
    return 0;
}

// A system dialog is modal: the system sequence's walk has offered the press to its buttons already, and
// whatever they left must not reach the story beneath (no advance, no skip or auto change, no hiding).
bool SeqAvgMain::IsDialogOpen()
{
    return GxSeqBase::GetOpenDialogCount() != 0;
}

int32_t SeqAvgMain::OnMouseLeftDown(const float*, uint32_t, int32_t)
{
    if (IsDialogOpen())
        return 1;
    return LeftClick();
}

int32_t SeqAvgMain::OnMouseWheel(const float* point, int32_t delta, uint32_t)
{
    const int32_t notches = delta / kWheelNotch;
    if (notches == 0)
        return 0;
    if (IsDialogOpen())
        return 1;
    if (g_MessageWindowHidden)
    {
        g_MessageWindowHidden = 0;
        return 1;
    }
    if (notches < 0)
        return LeftClick();
    GxTaskUIBase* log = FindWindowButton(L"btn_log");
    if (log && CanWidgetAcceptInput(log))
    {
        // The event names its sender: the screen's handler goes by the sender's name.
        GxUIEvent event(log, GX_UIEVENT_CLICK, 0);
        event.values[0] = point ? point[0] : 0.0f;
        event.values[1] = point ? point[1] : 0.0f;
        log->PostUIEvent(event);
    }
    return 1;
}

int32_t SeqAvgMain::OnMouseRightDown(const float*, uint32_t, int32_t)
{
    if (IsDialogOpen())
        return 1;
    if (g_MessageWindowHidden)
    {
        g_MessageWindowHidden = 0;
        return 0;
    }
    GxTaskUIBase* hide = FindWindowButton(L"btn_hide");
    if (hide && CanWidgetAcceptInput(hide))
    {
        hide->PostUIEventCode(1);
        return 1;
    }
    return 0;
}

int32_t SeqAvgMain::OnKeyDown(uint32_t key, uint32_t)
{
    if (key == kKeyEnter || key == kKeyRight || key == kKeyDown)
    {
        if (IsDialogOpen())
            return 1;
        if (g_MessageWindowHidden)
            g_MessageWindowHidden = 0;
        else
            LeftClick();
        return 1;
    }
    if (key == kKeySpace)
    {
        if (g_MessageWindowHidden)
            g_MessageWindowHidden = 0;
        else
        {
            GxTaskBase* shutdown = GetManager() ? GetManager()->FindTaskByName(L"dlg_shutdown") : nullptr;
            if (!shutdown || !shutdown->IsActive())
                g_MessageWindowHidden = 1;
        }
        return 1;
    }
    return 0;
}

int32_t SeqAvgMain::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (int32_t handled = GxSeqBase::OnUIEvent1(sender, event))
        return handled;
    if (!sender)
        return 0;
    // The button kind is the click-sound flag: image-set buttons (and the toggles built on them) click,
    // plain widgets stay silent.
    if (sender->HasKind(GxTaskUIButtonIs::kKindButton))
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    if (!sender->HasKind(GX_TASKKIND_WIDGET))
        return 0;
    auto* widget = static_cast<GxTaskUIBase*>(sender);
    const std::wstring name = widget->GetTaskLocalName();
    const GxUserConfig& config = GxTaskUIBase::GetUserConfig();
    GxUserData* data = UserData();
    if (name == L"btn_rend")
        ChangeTo(L"SeqRPMode");
    else if (name == L"btn_auto")
    {
        g_AutoMode = widget->GetValueAsBool() ? 1 : 0;
        if (g_AutoMode)
            g_AutoWaitLeft = config.m_AutoWaitTime;
    }
    else if (name == L"btn_skip")
        g_SkipMode = widget->GetValueAsBool() ? 1 : 0;
    else if (name == L"btn_log")
        ChangeTo(L"SeqAvgLog");
    else if (name == L"btn_voice")
    {
        bool any = false;
        for (int i = 0; data && i < GxSoundControl::kSlotCount; ++i)
            any = any || !data->m_VoiceRecord[i].IsEmpty();
        if (any)
        {
            // Only the channels: the records are what is replayed.
            for (int i = 0; i < GxSoundControl::kSlotCount; ++i)
                GxSound::Stop(GxSoundControl::kFirstVoiceChannel + static_cast<uint32_t>(i), 0);
            for (int i = 0; i < GxSoundControl::kSlotCount; ++i)
                GxSoundControl::ReplayVoice(i);
        }
    }
    else if (name == L"btn_qsave")
        QuickSave();
    else if (name == L"btn_dlguser_ok")
    {
        // The notice of a failed quick save; the script's own dialogs were answered by the base above.
        auto* system = GetManager() ? dynamic_cast<SeqSystem*>(GetManager()->GetSystemSequence()) : nullptr;
        if (!system || system->GetUserDialogKey() != SeqSaveSlots::kFileErrorKey)
            return 0;
        system->CloseUserDialog(true);
    }
    else if (name == L"btn_qload")
    {
        const std::wstring path = (g_Core ? g_Core->m_SavePath : std::wstring()) +
                                  GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_QUICKSAVE_FILE);
        if (GxFile::Exists(path) == 0)
            return 0;
        ChangeTo(L"SeqQuickLoad");
    }
    else if (name == L"btn_save")
    {
        PrepareSave();
        ChangeTo(L"SeqSave");
    }
    else if (name == L"btn_load")
        ChangeTo(L"SeqLoad");
    else if (name == L"btn_config")
        ChangeTo(L"SeqConfig");
    else if (name == L"btn_hide")
        g_MessageWindowHidden = 1;
    else if (name == L"btn_select")
        DecideSelectMenu(widget->GetTaskLocalIndex());
    else
        return 0;
    return 1;
}
