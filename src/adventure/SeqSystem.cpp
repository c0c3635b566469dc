#include "adventure/SeqSystem.h"

#include "adventure/AvgSharedState.h"
#include "adventure/GxDebugKeys.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxVector4.h"
#include "graphics/GxGraphics.h"
#include "media/GxSound.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskScreenService.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIBase.h"

#include <algorithm>

namespace
{
constexpr uint32_t kVirtualKeyEscape = 0x1B;
// Both dialogs sit centred, a little above the middle of the screen.
constexpr int32_t kDialogOffsetY = -120;
constexpr float kShutdownDepth = 19000.0f;
constexpr float kUserDepth = 18000.0f;
constexpr float kTipDepth = 17000.0f;
constexpr int kDebugDrawLayer = 9;

void Place(GxTaskUIBase* widget, int32_t x, int32_t y, float depth)
{
    if (!widget)
        return;
    widget->SetPos(GxVector4(static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f));
    widget->SetOrderZ(depth);
}

void SetShown(GxTaskUIBase* widget, bool shown)
{
    if (!widget)
        return;
    if (shown)
        widget->Show();
    else
        widget->Hide();
}
} // namespace

SeqSystem::SeqSystem(GxTaskBase* parent) : GxSeqSystemBase(parent, L"SeqSystem")
{
    BuildWidgets();
    // Never entered like a screen, so its widgets take their pictures now (the common set is pooled
    // by start-up before this sequence is built).
    LoadWidgetImages(GetFirstChild());
}

void SeqSystem::LoadWidgetImages(GxTaskBase* first)
{
    for (GxTaskBase* task = first; task; task = task->GetNextSibling())
    {
        LoadWidgetImages(task->GetFirstChild());
        if (auto* widget = dynamic_cast<GxTaskUIBase*>(task))
            widget->LoadImages();
    }
}

SeqSystem::~SeqSystem() = default;

void SeqSystem::YesButtonPos(int32_t dialogW, int32_t dialogH, int32_t yesW, int32_t yesH, int32_t& x, int32_t& y)
{
    x = (dialogW - (2 * yesW + 32)) / 2;
    y = dialogH - 40 - yesH;
}

void SeqSystem::NoButtonPos(int32_t dialogW, int32_t dialogH, int32_t noW, int32_t noH, int32_t& x, int32_t& y)
{
    x = (dialogW - (2 * noW + 32)) / 2 + noW + 32;
    y = dialogH - 40 - noH;
}

int32_t SeqSystem::StepRestrain(int32_t factor, bool voicePlaying)
{
    return std::clamp(factor + (voicePlaying ? -kRestrainStep : kRestrainStep), 0, 100);
}

// The widgets come from the UI module rows of the same names; a missing row is reported by the factory
// and its widget is simply absent (every operation below looks its widgets up again).
void SeqSystem::BuildWidgets()
{
    GxTaskUIBase* shutdown = CreateUITaskByModuleName(this, L"dlg_shutdown", L"dlg_shutdown", -1);
    if (shutdown)
    {
        shutdown->CenterHorizontally(0);
        shutdown->CenterVertically(kDialogOffsetY);
        shutdown->SetOrderZ(kShutdownDepth);
        shutdown->SetModal(true);
        shutdown->SetTopMost(true);
        shutdown->SetText(L"ゲームを終了しますか？");
        const int32_t w = shutdown->GetWidth(), h = shutdown->GetHeight();
        int32_t x = 0, y = 0;
        if (GxTaskUIBase* yes = CreateUITaskByModuleName(shutdown, L"btn_yes", L"btn_dlgshutdown_yes", 0))
        {
            YesButtonPos(w, h, yes->GetWidth(), yes->GetHeight(), x, y);
            Place(yes, x, y, kShutdownDepth + 1);
            yes->Show();
        }
        if (GxTaskUIBase* no = CreateUITaskByModuleName(shutdown, L"btn_no", L"btn_dlgshutdown_no", 0))
        {
            NoButtonPos(w, h, no->GetWidth(), no->GetHeight(), x, y);
            Place(no, x, y, kShutdownDepth + 1);
            no->Show();
        }
        shutdown->Suspend();
    }

    GxTaskUIBase* user = CreateUITaskByModuleName(this, L"dlg_user", L"dlg_user", -1);
    if (user)
    {
        user->CenterHorizontally(0);
        user->CenterVertically(kDialogOffsetY);
        user->SetOrderZ(kUserDepth);
        user->SetModal(true);
        user->SetText(L"ユーザーダイアログ");
        const int32_t w = user->GetWidth(), h = user->GetHeight();
        GxTaskUIBase* yes = CreateUITaskByModuleName(user, L"btn_yes", L"btn_dlguser_yes", 0);
        GxTaskUIBase* no = CreateUITaskByModuleName(user, L"btn_no", L"btn_dlguser_no", 0);
        GxTaskUIBase* ok = CreateUITaskByModuleName(user, L"btn_ok", L"btn_dlguser_ok", 0);
        GxTaskUIBase* cancel = CreateUITaskByModuleName(user, L"btn_cancel", L"btn_dlguser_cancel", 0);
        GxTaskUIBase* lone = CreateUITaskByModuleName(user, L"btn_ok", L"btn_dlguser_ok", 1);
        // OK and Cancel take the places of Yes and No, computed from the Yes and No buttons' sizes.
        const int32_t yesW = yes ? yes->GetWidth() : 0, yesH = yes ? yes->GetHeight() : 0;
        const int32_t noW = no ? no->GetWidth() : 0, noH = no ? no->GetHeight() : 0;
        int32_t yx = 0, yy = 0, nx = 0, ny = 0;
        YesButtonPos(w, h, yesW, yesH, yx, yy);
        NoButtonPos(w, h, noW, noH, nx, ny);
        Place(yes, yx, yy, kUserDepth + 1);
        Place(ok, yx, yy, kUserDepth + 1);
        Place(no, nx, ny, kUserDepth + 1);
        Place(cancel, nx, ny, kUserDepth + 1);
        Place(lone, (w - (ok ? ok->GetWidth() : 0)) / 2, h - 40 - yesH, kUserDepth + 1);
        for (GxTaskUIBase* button : {yes, no, ok, cancel, lone})
            SetShown(button, false);
        user->Suspend();
    }

    if (GxTaskUIBase* tip = CreateUITaskByModuleName(this, L"tip_help", L"tip_help", -1))
    {
        tip->SetOrderZ(kTipDepth);
        tip->Suspend();
    }
}

GxTaskUIBase* SeqSystem::FindWidget(const wchar_t* name) const
{
    GxTaskManage* manage = GetManager();
    return manage ? dynamic_cast<GxTaskUIBase*>(manage->FindTaskByName(name)) : nullptr;
}

// The two OK buttons of the user dialog share a name; their local index tells them apart.
GxTaskUIBase* SeqSystem::FindDialogButton(const wchar_t* dialog, const wchar_t* localName, int32_t localIndex) const
{
    GxTaskUIBase* parent = FindWidget(dialog);
    for (GxTaskBase* child = parent ? parent->GetFirstChild() : nullptr; child; child = child->GetNextSibling())
    {
        if (child->GetTaskLocalName() == localName && child->GetTaskLocalIndex() == localIndex)
            return dynamic_cast<GxTaskUIBase*>(child);
    }
    return nullptr;
}

void SeqSystem::ResetInputStates(GxTaskBase* under)
{
    if (under)
        GxTaskControl::ResetUIInputStates(under->GetFirstChild());
}

void SeqSystem::OpenUserDialog(const wchar_t* key, const wchar_t* message, int32_t kind)
{
    SetUserDialogKey(key ? key : L"");
    GxTaskUIBase* dialog = FindWidget(L"dlg_user");
    ResetInputStates(dialog);
    SetOpenDialogCount(GetOpenDialogCount() + 1);
    if (dialog)
    {
        dialog->SetModalPriority(kUserDialogPriority);
        dialog->SetText(message ? message : L"");
        dialog->Resume();
    }
    const bool pair = kind == kDialogOKCancel;
    const bool yesNo = kind == kDialogYesNo;
    SetShown(FindDialogButton(L"dlg_user", L"btn_dlguser_ok", 0), pair);
    SetShown(FindDialogButton(L"dlg_user", L"btn_dlguser_cancel", 0), pair);
    SetShown(FindDialogButton(L"dlg_user", L"btn_dlguser_yes", 0), yesNo);
    SetShown(FindDialogButton(L"dlg_user", L"btn_dlguser_no", 0), yesNo);
    SetShown(FindDialogButton(L"dlg_user", L"btn_dlguser_ok", 1), !pair && !yesNo);
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundOpen);
}

void SeqSystem::CloseUserDialog(bool playSound)
{
    if (GxTaskUIBase* dialog = FindWidget(L"dlg_user"))
        dialog->Suspend();
    if (playSound)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundClose);
    DecrementOpenDialogCount();
}

bool SeqSystem::IsUserDialogOpen() const
{
    const GxTaskUIBase* dialog = FindWidget(L"dlg_user");
    return dialog && dialog->IsActive();
}

void SeqSystem::OpenShutdownDialog()
{
    // The message window comes back behind the dialog.
    if (g_MessageWindowHidden)
        g_MessageWindowHidden = 0;
    m_ShutdownDialogKey = L"EXITGAME";
    GxTaskUIBase* dialog = FindWidget(L"dlg_shutdown");
    ResetInputStates(dialog);
    SetOpenDialogCount(GetOpenDialogCount() + 1);
    if (dialog)
    {
        dialog->SetModalPriority(GetOpenDialogCount());
        dialog->Resume();
    }
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundOpen);
}

void SeqSystem::CloseShutdownDialog(bool playSound)
{
    if (GxTaskUIBase* dialog = FindWidget(L"dlg_shutdown"))
        dialog->Suspend();
    if (playSound)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundClose);
    DecrementOpenDialogCount();
}

bool SeqSystem::IsShutdownDialogOpen() const
{
    const GxTaskUIBase* dialog = FindWidget(L"dlg_shutdown");
    return dialog && dialog->IsActive();
}

// The dialog asks only when the player can answer it: without the dialog or its Yes button (a damaged UI
// module table) there would be no way out, so the game ends without asking.
bool SeqSystem::CanAskBeforeClosing()
{
    const GxTaskUIBase* dialog = FindWidget(L"dlg_shutdown");
    if (dialog && FindDialogButton(L"dlg_shutdown", L"btn_dlgshutdown_yes", 0))
        return true;
    // Once: Esc asks for the close, which comes back here.
    if (!m_NoDialogLogged)
        GxLog::Error(L"終了確認ダイアログ(dlg_shutdown)を表示できないため確認せずに終了します\n");
    m_NoDialogLogged = true;
    return false;
}

int32_t SeqSystem::OnCloseRequest()
{
    if (IsShutdownDialogOpen() || !CanAskBeforeClosing())
        return 0;
    OpenShutdownDialog();
    return 1;
}

int32_t SeqSystem::OnKeyDown(uint32_t key, uint32_t)
{
    // The debug keys never take the key, so the screens below still see it.
    GxDebugKeys::OnKey(g_Core, key);
    if (key != kVirtualKeyEscape || g_MessageWindowHidden)
        return 0;
    if (IsShutdownDialogOpen())
        CloseShutdownDialog(true);
    else if (CanAskBeforeClosing())
        OpenShutdownDialog();
    else if (GxTaskManage* manage = GetManager())
        manage->GetScreenService()->RequestClose(); // the window's own close, with its shut-down
    return 1;
}

// Character voices play on channels 8 to 11; while one does, the music sinks towards its restrained level
// and the background voice falls silent.
void SeqSystem::Duck()
{
    bool voice = false;
    for (uint32_t channel = GxSoundControl::kFirstVoiceChannel; channel < GxSoundControl::kFirstVoiceChannel + 4;
         ++channel)
        voice = voice || GxSound::GetChannelState(channel);
    g_BGMRestrainFactor = StepRestrain(g_BGMRestrainFactor, voice);
    GxSoundControl::UpdateBGMVolume();
    if (GxSound::GetChannelState(GxSoundControl::kBGVChannel))
        GxSound::SetVolume(GxSoundControl::kBGVChannel, GxTaskUIBase::GetUserConfig().GetBGVVolume(voice));
}

int32_t SeqSystem::Update(int32_t step, int64_t elapsed)
{
    // The dialogs' button events.
    GxSeqSystemBase::Update(step, elapsed);
    if (step == 0)
        Duck();
    ++m_FrameCount;
    return 0;
}

int32_t SeqSystem::RegisterDraw(int32_t, int64_t)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(kDebugDrawLayer))
            list->Add(this, GX_RENDER_DEFAULT, 0.0f, 0);
    }
    return 0;
}

// The developer's overlay over every screen; the system sequence never clears the screen (the current
// sequence does).
int32_t SeqSystem::Draw(int32_t, int32_t)
{
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    if (g_Core && GxDebugKeys::ShouldDrawOverlay(g_Core->m_SystemConfig, g_MoaInstance))
        g_Core->DrawDebugOverlay(0.0f, 0.0f);
    GxGraphics::EndScene();
    return 0;
}
