#include "adventure/SeqConfig.h"

#include "adventure/SeqSystem.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "graphics/GxGraphics.h"
#include "media/GxSound.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskScreenService.h"
#include "task/GxUIEvent.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUITextButtonIs.h"

namespace
{
constexpr const wchar_t* kFolderNames[SeqConfig::kFolderCount] = {
    L"$UI:SeqConfig", L"$UI_SYSTEM:SeqConfig", L"$UI_SOUND:SeqConfig", L"$UI_VOICE:SeqConfig", L"$UI_GAME:SeqConfig"};
constexpr const wchar_t* kTabs[] = {L"btn_tabconf_system", L"btn_tabconf_sound", L"btn_tabconf_voice",
                                    L"btn_tabconf_game"};
constexpr const wchar_t* kTabPictures[] = {L"bg_config_system.png", L"bg_config_sound.png", L"bg_config_voice.png",
                                           L"bg_config_game.png"};
constexpr const wchar_t* kImageSet = L"ui_config.gis";
constexpr int32_t kVoiceSliders = 32;

// The on/off pairs: shown by setting both buttons, read back from "btn_on".
struct Switch
{
    SeqConfig::Folder folder;
    int32_t index;
    bool GxUserConfig::*field;
};
constexpr Switch kSystemSwitches[] = {
    {SeqConfig::kFolderSystem, 2, &GxUserConfig::m_AllowSkipUnreadText},
    {SeqConfig::kFolderSystem, 3, &GxUserConfig::m_FastShowReadedText},
    {SeqConfig::kFolderSystem, 4, &GxUserConfig::m_ChangeColorReadedText},
    {SeqConfig::kFolderSystem, 5, &GxUserConfig::m_ChangeColorSelectedMenu},
    {SeqConfig::kFolderSystem, 6, &GxUserConfig::m_KeepAutoModeAfterSelect},
    {SeqConfig::kFolderSystem, 7, &GxUserConfig::m_KeepSkipModeAfterSelect},
    {SeqConfig::kFolderSound, 2, &GxUserConfig::m_WaitVoiceEndOnAutoMode},
};
constexpr Switch kGameSwitches[] = {
    {SeqConfig::kFolderGame, 1, &GxUserConfig::m_Game_SkipBattleEffect},
    {SeqConfig::kFolderGame, 2, &GxUserConfig::m_Game_SkipSpecialAttackEffect},
    {SeqConfig::kFolderGame, 3, &GxUserConfig::m_Game_SkipBattleVoice},
};

// The system tab's negated sliders.
struct Slider
{
    const wchar_t* name;
    int32_t GxUserConfig::*field;
};
constexpr Slider kNegatedSliders[] = {{L"hsld_textspeed", &GxUserConfig::m_TextWaitTime},
                                      {L"hsld_autospeed", &GxUserConfig::m_AutoWaitTime},
                                      {L"hsld_winalpha", &GxUserConfig::m_TextWindowOpacity}};
// The sound tab's sliders as they are shown (the effects slider also sets the background voice).
constexpr Slider kSoundSliders[] = {{L"hsld_vol_master", &GxUserConfig::m_Volume_Master},
                                    {L"hsld_vol_bgm", &GxUserConfig::m_Volume_BGM},
                                    {L"hsld_vol_se", &GxUserConfig::m_Volume_Sound},
                                    {L"hsld_vol_movie", &GxUserConfig::m_Volume_Movie},
                                    {L"hsld_vol_rest", &GxUserConfig::m_Volume_RestrainBGM}};

const GxSystemConfig* SystemConfig()
{
    return g_Core ? g_Core->m_SystemConfig : nullptr;
}

std::wstring ImageSetPath()
{
    const GxSystemConfig* sys = SystemConfig();
    return (sys ? sys->GetString(SYSSTR_UIGIS_DIR) : std::wstring(L"uigis/")) + kImageSet;
}

SeqSystem* System(GxTaskManage* manage)
{
    return manage ? dynamic_cast<SeqSystem*>(manage->GetSystemSequence()) : nullptr;
}
} // namespace

SeqConfig::SeqConfig(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqConfig")
{
    SetAcceptUIEvent(true);
    auto* root = new GxTaskFolder(this, L"$ROOT:SeqConfig");
    for (int32_t f = 0; f < kFolderCount; ++f)
        m_Folders[f] = new GxTaskFolder(root, kFolderNames[f]);
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqConfig");
    m_BGLayer->SetOrderZ(-10.0f);
    for (const wchar_t* name : kFolderNames)
        GxTaskControl::CreateUIFromDBUILayout(this, name);
}

SeqConfig::~SeqConfig() = default;

GxUserConfig* SeqConfig::Config()
{
    return g_Core ? g_Core->m_UserConfig : nullptr;
}

GxTaskUIBase* SeqConfig::Control(Folder folder, const wchar_t* name, int32_t index) const
{
    return dynamic_cast<GxTaskUIBase*>(m_Folders[folder]->GetTaskLocal(name, index));
}

bool SeqConfig::IsTabSelected(const wchar_t* tab) const
{
    const auto* button = dynamic_cast<GxTaskUIBase*>(m_Folders[kFolderUI]->FindTaskLocal(tab, 0));
    return button && button->GetValueAsBool();
}

void SeqConfig::ShowSelectedTab()
{
    for (int32_t t = 0; t < 4; ++t)
    {
        if (!IsTabSelected(kTabs[t]))
            continue;
        if (const GxSystemConfig* sys = SystemConfig())
            m_BGLayer->SetImage(sys->GetString(SYSSTR_UI_DIR) + kTabPictures[t], 0, sys->GetString(SYSSTR_ERROR_IMAGE));
        for (int32_t f = kFolderSystem; f < kFolderCount; ++f)
        {
            if (f == kFolderSystem + t)
                m_Folders[f]->Resume();
            else
                m_Folders[f]->Suspend();
        }
        return;
    }
}

void SeqConfig::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    ShowSelectedTab();
    GxNcImageSetPool::Add(ImageSetPath());
    LoadControls();
}

void SeqConfig::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    StoreControls();
    ApplySoundSliders();
    ApplyVoiceSliders();
    m_BGLayer->ClearContent(0);
    GxNcImageSetPool::Release(ImageSetPath());
}

int32_t SeqConfig::Update(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::Update(step, elapsed);
    ++m_FrameCount;
    return 0;
}

void SeqConfig::LoadControls()
{
    GxUserConfig* c = Config();
    if (!c)
        return;
    auto setBool = [&](Folder f, const wchar_t* name, int32_t index, bool value)
    {
        if (GxTaskUIBase* w = Control(f, name, index))
            w->SetValue(value);
    };
    auto setInt = [&](Folder f, const wchar_t* name, int32_t index, int32_t value)
    {
        if (GxTaskUIBase* w = Control(f, name, index))
            w->SetValue(value);
    };
    setBool(kFolderSystem, L"btn_window", 1, c->m_ScreenMode == 0);
    setInt(kFolderSystem, L"btn_fullscreen", 1, c->m_ScreenMode);
    for (const Slider& s : kNegatedSliders)
        setInt(kFolderSystem, s.name, 0, ToSlider(c->*s.field));
    for (const Switch& s : kSystemSwitches)
    {
        setBool(s.folder, L"btn_on", s.index, c->*s.field);
        setBool(s.folder, L"btn_off", s.index, !(c->*s.field));
    }
    for (const Slider& s : kSoundSliders)
        setInt(kFolderSound, s.name, 0, c->*s.field);
    setBool(kFolderSound, L"btn_nextvoice", 1, c->m_VoiceStopTiming);
    setBool(kFolderSound, L"btn_nexttext", 1, !c->m_VoiceStopTiming);
    setInt(kFolderVoice, L"hsld_vol_voicemaster", 0, c->m_Volume_VoiceMaster);
    for (int32_t i = 0; i < kVoiceSliders; ++i)
        if (auto* w = dynamic_cast<GxTaskUIBase*>(m_Folders[kFolderVoice]->FindTaskLocal(L"hsld_vol_voice", i)))
            w->SetValue(c->m_Volume_Voice[i]);
    for (const Switch& s : kGameSwitches)
    {
        setBool(s.folder, L"btn_on", s.index, c->*s.field);
        setBool(s.folder, L"btn_off", s.index, !(c->*s.field));
    }
}

void SeqConfig::StoreControls()
{
    GxUserConfig* c = Config();
    if (!c)
        return;
    if (GxTaskUIBase* w = Control(kFolderSystem, L"btn_fullscreen", 1))
        c->m_ScreenMode = w->GetValueAsInt();
    for (const Slider& s : kNegatedSliders)
        if (GxTaskUIBase* w = Control(kFolderSystem, s.name, 0))
            c->*s.field = FromSlider(w->GetValueAsInt());
    c->m_TextLongWaitTime = LongWaitFor(c->m_TextWaitTime);
    for (const Switch& s : kSystemSwitches)
        if (GxTaskUIBase* w = Control(s.folder, L"btn_on", s.index))
            c->*s.field = w->GetValueAsBool();
    if (GxTaskUIBase* w = Control(kFolderSound, L"btn_nextvoice", 1))
        c->m_VoiceStopTiming = w->GetValueAsBool();

    ApplyWindowOpacity();
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    GxTaskManage* manage = GetManager();
    const GxSystemConfig* sys = SystemConfig();
    if (data && data->m_IsSelecting && manage && sys)
    {
        auto* select = dynamic_cast<GxTaskFolder*>(manage->FindTaskByName(L"$SELECT:SeqAvgMain"));
        for (size_t i = 1; select && i < data->m_SelectMenuItemList.size(); ++i)
        {
            if (!data->m_SelectMenuItemList[i].m_Visible)
                continue;
            auto* button =
                dynamic_cast<GxTaskUITextButtonIs*>(select->FindTaskLocal(L"btn_select", static_cast<int32_t>(i)));
            if (!button)
                continue;
            const bool chosen = c->m_ChangeColorSelectedMenu && g_Core->m_UserDataPerman &&
                                g_Core->m_UserDataPerman->IsSelectedMenu(data->m_SelectHash, static_cast<int32_t>(i));
            button->SetTextColor(chosen ? sys->m_ChosenChoiceColor : sys->m_ChoiceTextColor);
        }
    }
    for (const Switch& s : kGameSwitches)
        if (GxTaskUIBase* w = Control(s.folder, L"btn_on", s.index))
            c->*s.field = w->GetValueAsBool();
}

void SeqConfig::ApplySoundLevels()
{
    GxUserConfig* c = Config();
    GxSoundControl::UpdateBGMVolume();
    if (c && GxSound::GetChannelState(GxSoundControl::kBGVChannel))
        GxSound::SetVolume(GxSoundControl::kBGVChannel, c->GetBGVVolume(GxSoundControl::IsAnyVoicePlaying()));
    GxSoundControl::UpdateMovieVolume();
    GxSoundControl::UpdateSEVolume();
    GxSoundControl::UpdateVoiceVolume();
}

void SeqConfig::ApplySoundSliders()
{
    if (GxUserConfig* c = Config())
    {
        for (const Slider& s : kSoundSliders)
            if (GxTaskUIBase* w = Control(kFolderSound, s.name, 0))
                c->*s.field = w->GetValueAsInt();
        c->m_Volume_BGV = c->m_Volume_Sound;
    }
    ApplySoundLevels();
}

void SeqConfig::ApplyVoiceSliders()
{
    GxUserConfig* c = Config();
    if (!c)
        return;
    if (GxTaskUIBase* w = Control(kFolderVoice, L"hsld_vol_voicemaster", 0))
        c->m_Volume_VoiceMaster = w->GetValueAsInt();
    for (int32_t i = 0; i < kVoiceSliders; ++i)
        if (auto* w = dynamic_cast<GxTaskUIBase*>(m_Folders[kFolderVoice]->FindTaskLocal(L"hsld_vol_voice", i)))
            c->m_Volume_Voice[i] = w->GetValueAsInt();
    GxSoundControl::UpdateVoiceVolume();
}

void SeqConfig::ResetToDefaults()
{
    GxUserConfig* c = Config();
    if (!c)
        return;
    const int32_t mode = c->m_ScreenMode;
    c->SetDefault();
    c->m_ScreenMode = mode;
    LoadControls();
    ApplyWindowOpacity();
    ApplySoundLevels();
}

void SeqConfig::ApplyWindowOpacity()
{
    GxUserConfig* c = Config();
    GxTaskManage* manage = GetManager();
    if (!c || !manage)
        return;
    // The adventure screen's windows stay built while this screen runs: they show the new opacity the
    // moment the player goes back, without waiting for the screen to rebuild them.
    for (const wchar_t* name : {L"$MESWIN:SeqAvgMain", L"$NAMEWIN:SeqAvgMain"})
    {
        GxTaskBase* task = manage->FindTaskByName(name);
        if (task && task->HasKind(GX_TASKKIND_WIDGET))
            static_cast<GxTaskUIBase*>(task)->SetImageAlpha(c->m_TextWindowOpacity);
    }
}

int32_t SeqConfig::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 0;
    if (sender->GetTaskKind() & GxTaskUIButtonIs::kKindButton)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    const std::wstring name = sender->GetTaskLocalName();
    GxUserConfig* c = Config();
    GxTaskManage* manage = GetManager();
    SeqSystem* system = System(manage);
    const std::wstring key = system ? system->GetUserDialogKey() : std::wstring();
    for (const wchar_t* tab : kTabs)
    {
        if (name == tab)
        {
            ShowSelectedTab();
            return 1;
        }
    }
    if (name == L"btn_window" && c && c->m_ScreenMode == 1 && GxGraphics::ChangeScreenMode(0))
    {
        c->m_ScreenMode = 0;
        return 1;
    }
    if (name == L"btn_fullscreen" && c && c->m_ScreenMode == 0 && GxGraphics::ChangeScreenMode(2))
    {
        c->m_ScreenMode = 1;
        return 1;
    }
    if (name == L"btn_title" && system && !system->IsUserDialogOpen())
        system->OpenUserDialog(L"RETURNTITLE", L"タイトル画面に戻りますか？", SeqSystem::kDialogYesNo);
    if (key == L"RETURNTITLE")
    {
        if (name == L"btn_dlguser_yes")
        {
            system->CloseUserDialog(true);
            if (manage)
                manage->ChangeSequence(L"SeqTitle", 0, 0);
            return 1;
        }
        if (name == L"btn_dlguser_no")
            system->CloseUserDialog(true);
    }
    if (name == L"btn_init")
    {
        if (system && !system->IsUserDialogOpen())
            system->OpenUserDialog(L"INITCONF", L"設定を初期化しますか？", SeqSystem::kDialogYesNo);
        return 1;
    }
    if (key == L"INITCONF")
    {
        if (name == L"btn_dlguser_yes")
        {
            system->CloseUserDialog(true);
            ResetToDefaults();
        }
        else if (name == L"btn_dlguser_no")
            system->CloseUserDialog(true);
    }
    if (name == L"btn_exit")
    {
        // As the window's close button (see the title's exit button).
        if (!system || system->OnCloseRequest() == 0)
        {
            if (manage)
                manage->GetScreenService()->RequestClose();
        }
        return 1;
    }
    if (name == L"btn_back")
    {
        if (manage && manage->GetPrevSequence())
            manage->ChangeSequence(manage->GetPrevSequence(), 0, 0);
        ClearUIEvents();
        return 1;
    }
    if (IsTabSelected(L"btn_tabconf_sound"))
        ApplySoundSliders();
    if (IsTabSelected(L"btn_tabconf_voice"))
        ApplyVoiceSliders();
    return 0;
}

int32_t SeqConfig::OnUIEvent19(GxTaskBase*, const GxUIEvent&)
{
    if (IsTabSelected(L"btn_tabconf_sound"))
        ApplySoundSliders();
    if (IsTabSelected(L"btn_tabconf_voice"))
        ApplyVoiceSliders();
    return 0;
}

int32_t SeqConfig::OnMouseRightDown(const float*, uint32_t, int32_t)
{
    auto* back = dynamic_cast<GxTaskUIBase*>(m_Folders[kFolderUI]->FindTaskLocal(L"btn_back", 0));
    if (back && CanWidgetAcceptInput(back))
        back->PostUIEventCode(1);
    return 0;
}

int32_t SeqConfig::OnScreenModeChange(int32_t, int32_t)
{
    const GxUserConfig* c = Config();
    if (!c)
        return 0;
    if (auto* w = dynamic_cast<GxTaskUIBase*>(m_Folders[kFolderSystem]->FindTaskLocal(L"btn_window", 1)))
        w->SetValue(c->m_ScreenMode == 0);
    if (auto* w = dynamic_cast<GxTaskUIBase*>(m_Folders[kFolderSystem]->FindTaskLocal(L"btn_fullscreen", 1)))
        w->SetValue(c->m_ScreenMode);
    return 0;
}
