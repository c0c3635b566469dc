#include "adventure/SeqTitle.h"

#include "adventure/SeqAvgMain.h"
#include "adventure/SeqSaveSlots.h"
#include "adventure/SeqSystem.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxStrategyGame.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskScreenService.h"
#include "task/GxUIEvent.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIButtonIs.h"

namespace
{
constexpr const wchar_t* kImageSet = L"ui_title.gis";

std::wstring ImageSetPath()
{
    const GxSystemConfig* sys = g_Core ? g_Core->m_SystemConfig : nullptr;
    return (sys ? sys->GetString(SYSSTR_UIGIS_DIR) : std::wstring(L"uigis/")) + kImageSet;
}
} // namespace

SeqTitle::SeqTitle(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqTitle")
{
    SetAcceptUIEvent(true);
    auto* root = new GxTaskFolder(this, L"$ROOT:SeqTitle");
    m_UI = new GxTaskFolder(root, L"$UI:SeqTitle");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqTitle");
    m_BGLayer->SetOrderZ(-10.0f);
    GxTaskControl::CreateUIFromDBUILayout(this, L"$UI:SeqTitle");
}

SeqTitle::~SeqTitle() = default;

void SeqTitle::PlayTitleMusic(const std::wstring& folder, const std::wstring& name, int32_t loopMs)
{
    if (name.empty())
    {
        GxSoundControl::StopBGM(kTitleMusicStopMs);
        return;
    }
    // The configuration names the music as the script does, usually without its extension ("bgm01"):
    // the players choose their decoder by the extension, so the name is completed first (".ogg", then
    // ".wav"). A name that matches no file stays as written and the player reports it.
    std::wstring path = folder + name;
    GxSystemConfig::ResolveSoundPath(path);
    // Coming back to the title while its music plays leaves it running.
    GxSoundControl::PlayBGM(path, 0, 0, kTitleMusicFadeMs, static_cast<uint32_t>(loopMs), true);
}

void SeqTitle::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    const GxSystemConfig* sys = g_Core ? g_Core->m_SystemConfig : nullptr;
    if (sys)
        m_BGLayer->SetImage(sys->GetString(SYSSTR_UI_DIR) + L"bg_title.png", 0, sys->GetString(SYSSTR_ERROR_IMAGE));
    GxNcImageSetPool::Add(ImageSetPath());
    if (g_Core && g_Core->m_UserData)
        g_Core->m_UserData->ResetAdventure(false);
    if (GxStrategyGame* strategy = GxStrategyGame::Find())
        strategy->ResetForTitle(kFirstUnits);
    if (sys)
        PlayTitleMusic(sys->GetString(SYSSTR_BGM_DIR), sys->m_BGMName[0], sys->m_BGMLoop[0]);
    const bool extras =
        g_Core && g_Core->m_UserDataPerman && g_Core->m_UserDataPerman->m_ExtraOption.IsSet(kExtraOptionBit);
    if (auto* extra = dynamic_cast<GxTaskUIBase*>(m_UI->FindTaskLocal(L"btn_title_extra", 0)))
        extra->SetEnabled(extras);
}

void SeqTitle::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BGLayer->ClearContent(0);
    GxNcImageSetPool::Release(ImageSetPath());
}

int32_t SeqTitle::Update(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::Update(step, elapsed);
    ++m_FrameCount;
    return 0;
}

int32_t SeqTitle::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (const int32_t handled = GxSeqBase::OnUIEvent1(sender, event))
        return handled;
    if (!sender)
        return 0;
    if (sender->GetTaskKind() & GxTaskUIButtonIs::kKindButton)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    GxTaskManage* manage = GetManager();
    if (!manage)
        return 0;
    const std::wstring name = sender->GetTaskLocalName();
    static const struct
    {
        const wchar_t* button;
        const wchar_t* sequence;
    } kTargets[] = {
        {L"btn_title_load", L"SeqLoad"},     {L"btn_title_visual", L"SeqCGMode"}, {L"btn_title_event", L"SeqRPMode"},
        {L"btn_title_music", L"SeqBGMMode"}, {L"btn_title_config", L"SeqConfig"},
    };
    for (const auto& target : kTargets)
    {
        if (name == target.button)
        {
            manage->ChangeSequence(target.sequence, 0, 0);
            return 1;
        }
    }
    if (name == L"btn_dlguser_ok")
    {
        // The notice below; the script's own dialogs were answered by the base above.
        auto* system = dynamic_cast<SeqSystem*>(manage->GetSystemSequence());
        if (!system || system->GetUserDialogKey() != SeqSaveSlots::kFileErrorKey)
            return 0;
        system->CloseUserDialog(true);
        return 1;
    }
    if ((name == L"btn_title_start" || name == L"btn_title_extra") && IsMoaCodeUnreadable())
    {
        // Without its program the story has nothing to run: the player is told why instead of being
        // left on a black screen, and stays on the title.
        SeqSaveSlots::TellPlayer(manage, SeqSaveSlots::UnreadableProgramNotice().c_str());
        return 1;
    }
    if (name == L"btn_title_start")
    {
        // The story starts on whatever the adventure screen shows after the new-game reset: no black
        // background and no fade-in, unlike the extras below.
        if (!g_MoaMainWorker || !g_MoaMainWorker->StartAtLabel(L"MAIN"))
            GxLog::Error(L"スクリプトにラベル %s が存在しないため実行できません\n", L"MAIN");
        manage->ChangeSequence(L"SeqAvgMain", 0, 0);
        return 1;
    }
    if (name == L"btn_title_extra")
    {
        const GxSystemConfig* sys = g_Core ? g_Core->m_SystemConfig : nullptr;
        SeqAvgMain::JumpTo(sys ? sys->m_LabelExtra : std::wstring());
        return 1;
    }
    if (name == L"btn_title_exit")
    {
        // As the window's close button: the system sequence opens the shutdown dialog, or, when it lets the
        // close go ahead (it has no dialog to ask with), the window closes.
        GxTaskBase* system = manage->GetSystemSequence();
        if (!system || system->OnCloseRequest() == 0)
            manage->GetScreenService()->RequestClose();
        return 1;
    }
    return 0;
}
