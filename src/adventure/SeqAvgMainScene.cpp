// Choices, the rule transition to a new background, the resets of layers, the quick save and the save
// preparation, and the entry points other screens use (jumps, fades).
#include "adventure/SeqAvgMain.h"

#include "adventure/AvgSharedState.h"
#include "adventure/SeqSavePair.h"
#include "adventure/SeqSaveSlots.h"
#include "appdata/DBAvgChar.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "media/GxMovie.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"
#include "task/ui/GxTaskUITextButtonIs.h"

namespace
{

constexpr int32_t kChoiceSpacing = 10; // pixels between choice buttons
constexpr int32_t kChoiceDelay = 50;   // ms between the buttons' entrances
constexpr int32_t kChoiceSlide = 32;   // pixels the buttons slide in and out
constexpr int32_t kChoiceFade = 200;   // ms
constexpr int32_t kChosenLinger = 400; // ms the chosen button stays

GxUserData* UserData()
{
    return g_Core ? g_Core->m_UserData : nullptr;
}

const std::wstring& ErrorPicture()
{
    return GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_ERROR_IMAGE);
}

void SetButtonTextColor(GxTaskUIBase* button, uint32_t argb)
{
    if (button && button->GetTypeCode() == GxTaskUITextButtonIs::kTypeCode)
        static_cast<GxTaskUITextButtonIs*>(button)->SetTextColor(argb);
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// Choices

void SeqAvgMain::ShowSelectMenu()
{
    GxUserData* data = UserData();
    if (!data)
        return;
    const auto& items = data->m_SelectMenuItemList;
    const int32_t count = static_cast<int32_t>(items.size());
    int32_t visible = 0;
    for (int32_t i = 1; i < count; ++i)
        visible += items[i].m_Visible ? 1 : 0;
    if (visible == 0)
    {
        data->m_LastSelectNum = 0;
        return;
    }
    GxTaskUIBase* first = FindSelectButton(1);
    GxTaskUIMessageWindowFx* window = GetMessageWindow();
    const int32_t h = (first ? first->GetHeight() : 0) + kChoiceSpacing;
    const float windowY = window ? window->GetPos().y : 768.0f;
    int32_t y = static_cast<int32_t>((windowY - static_cast<float>(visible * h)) * 0.5f);
    int32_t delay = 0;
    const GxUserConfig& userConfig = GxTaskUIBase::GetUserConfig();
    const GxSystemConfig& config = GxTaskUIBase::GetSystemConfig();
    GxUserDataPerman* perman = g_Core ? g_Core->m_UserDataPerman : nullptr;
    for (int32_t i = 1; i < count; ++i)
    {
        GxTaskUIBase* button = FindSelectButton(i);
        if (!button)
            continue;
        const GxSelectMenuItem& item = items[i];
        if (!item.m_Visible)
        {
            button->Hide();
            continue;
        }
        button->SetText(item.m_Text.c_str());
        button->SetEnabled(item.m_Enable);
        button->Show();
        const int32_t x = (1024 - button->GetWidth()) / 2;
        GxVector4 pos = button->GetPos();
        pos.x = static_cast<float>(x - kChoiceSlide);
        pos.y = static_cast<float>(y);
        button->SetPos(pos);
        button->SetAlpha(0);
        button->AddActionWait(0, delay);
        button->AddActionWait(1, delay);
        button->AddActionFadeIn(kChoiceFade);
        button->AddActionMoveByQuick(GxVector4(static_cast<float>(kChoiceSlide), 0.0f, 0.0f, 0.0f));
        const bool before =
            userConfig.m_ChangeColorSelectedMenu && perman && perman->IsSelectedMenu(data->m_SelectHash, i);
        SetButtonTextColor(button, before ? config.m_ChosenChoiceColor : config.m_ChoiceTextColor);
        y += h;
        delay += kChoiceDelay;
    }
    data->m_LastSelectNum = 0;
    data->m_IsSelecting = true;
}

void SeqAvgMain::DecideSelectMenu(int32_t index)
{
    GxUserData* data = UserData();
    if (!data)
        return;
    const GxUserConfig& userConfig = GxTaskUIBase::GetUserConfig();
    if (!userConfig.m_KeepAutoModeAfterSelect)
    {
        g_AutoMode = 0;
        SetToggle(L"btn_auto", false);
    }
    if (!userConfig.m_KeepSkipModeAfterSelect)
    {
        g_SkipMode = 0;
        SetToggle(L"btn_skip", false);
    }
    const int32_t count = static_cast<int32_t>(data->m_SelectMenuItemList.size());
    for (int32_t i = 1; i < count; ++i)
    {
        GxTaskUIBase* button = FindSelectButton(i);
        if (!button || !button->IsVisible())
            continue;
        if (i == index)
        {
            button->AddActionWait(0, kChosenLinger);
            button->AddActionFadeOut(kChoiceFade);
        }
        else
        {
            button->AddActionFadeOut(kChoiceFade);
            button->AddActionMoveByQuick(GxVector4(static_cast<float>(kChoiceSlide), 0.0f, 0.0f, 0.0f));
        }
        button->AddActionHide();
    }
    data->m_LastSelectNum = index;
    data->m_IsSelecting = false;
    if (GxUserDataPerman* perman = g_Core ? g_Core->m_UserDataPerman : nullptr)
        perman->SetSelectedMenu(index, data->m_SelectHash);
    if (index >= 1 && index < count)
    {
        const GxSelectMenuItem item = data->m_SelectMenuItemList[index];
        if (!item.m_Label.empty() && g_MoaMainWorker)
        {
            const bool ok =
                item.m_UseGosub ? g_MoaMainWorker->CallLabel(item.m_Label) : g_MoaMainWorker->JumpToLabel(item.m_Label);
            if (!ok)
            {
                GxLog::Error(L"選択肢[%d]番のラベル [%s] が見つかりません\n", index, item.m_Label.c_str());
                if (g_MoaInstance)
                    g_MoaInstance->m_ErrorStop = 1;
            }
        }
    }
    data->ResetSelectMenu();
}

// ---------------------------------------------------------------------------------------------------
// Background transit

bool SeqAvgMain::StartBackgroundChange(const std::wstring& background, const std::wstring& rule, int32_t time,
                                       bool clearStands)
{
    // A rule picture that does not load (its loader has logged why) dissolves like the blank rule, rather
    // than leaving the transit layer with whatever the last transit drew.
    if (!LoadTransitionRuleImage(rule) && !rule.empty())
        LoadTransitionRuleImage(L"");
    m_BGTransit.m_Transit = true;
    m_BGTransit.m_TransitTimeLeft = time;
    m_BGTransit.m_TransitTimeTotal = time;
    if (g_Core && g_Core->CaptureScreen())
        g_GlobalRenderTargets.m_RenderTexture[0].TransferRenderTargetToMemory();
    if (clearStands)
    {
        if (GxTaskFolder* stand = FindFolder(L"$STAND:SeqAvgMain"); stand && stand->GetFirstChild())
            GxTaskControl::ClearLayers(stand->GetFirstChild(), 0);
    }
    if (GxTaskLayer* transit = FindLayer(L"$BGTRANSIT:SeqAvgMain"))
        transit->Show();
    if (GxTaskLayer* bg = FindLayer(L"$BGLAYER:SeqAvgMain"))
        bg->SetImage(background, 0, ErrorPicture());
    return true;
}

bool SeqAvgMain::EndBackgroundTransit()
{
    if (!m_BGTransit.m_Transit)
        return false;
    m_BGTransit.m_Transit = false;
    m_BGTransit.m_TransitTimeLeft = 0;
    if (GxTaskLayer* transit = FindLayer(L"$BGTRANSIT:SeqAvgMain"))
        transit->Hide();
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Resets

void SeqAvgMain::ResetLayers()
{
    for (int slot = 0; slot < GxMovie::kSlotCount; ++slot)
        GxMovie::Stop(slot);
    if (GxTaskLayer* visual = FindLayer(L"$VISUAL:SeqAvgMain"))
    {
        visual->StopShake();
        visual->ClearActions();
        visual->GetVisual().Reset();
    }
    // The wide picture serves the save's thumbnail alone: PrepareSave shows it for its capture and hides
    // it again. Shown on the screen it would stand in front of the movie layer and hide every movie.
    const struct
    {
        const wchar_t* name;
        float depth;
        bool shown;
    } pictures[] = {{L"$BGLAYER:SeqAvgMain", -100.0f, true},
                    {L"$BGWLAYER:SeqAvgMain", -10.0f, false},
                    {L"$MOVIELAYER:SeqAvgMain", -20.0f, true}};
    for (const auto& [name, depth, shown] : pictures)
    {
        if (GxTaskLayer* layer = FindLayer(name))
        {
            layer->ClearActions();
            layer->GetVisual().Reset();
            // The reset clears the contents but not the movie layer's fade-out time of a movie that ends
            // by itself ("mv.autostop" is the only thing that changes it).
            const int32_t disappear = layer->GetMovieAutoDisappearTime();
            layer->ResetLayer();
            layer->SetMovieAutoDisappearTime(disappear);
            layer->SetOrderZ(depth);
            shown ? layer->Show() : layer->Hide();
        }
    }
    for (const wchar_t* name : {L"$GLOBALFLASH:SeqAvgMain", L"$GLOBALFADE:SeqAvgMain"})
    {
        if (GxTaskLayer* layer = FindLayer(name))
        {
            layer->ClearActions();
            layer->SetAlpha(0);
            layer->Show();
        }
    }
    EndBackgroundTransit();
    for (int32_t i = 0; i < g_DBAvgChar.GetCapacity(); ++i)
    {
        const std::wstring& name = g_DBAvgChar.GetRow(i)->m_CharName;
        if (name.empty() || name == L"*")
            continue;
        if (GxTaskLayer* layer = FindStandLayer(name))
        {
            layer->ResetLayer();
            layer->ClearActions();
            layer->GetVisual().Reset();
        }
    }
    if (g_AutoMode)
    {
        g_AutoMode = 0;
        SetToggle(L"btn_auto", false);
    }
    if (g_SkipMode)
    {
        g_SkipMode = 0;
        SetToggle(L"btn_skip", false);
    }
    ClearMessage();
}

// ---------------------------------------------------------------------------------------------------
// Saving

void SeqAvgMain::QuickSave()
{
    // Both halves replace the old quick save together; the writers log their own failures. A success
    // stays silent, but a failure (a full disk, a folder that cannot be written) is told the way the
    // slot save tells it: the old quick save is still there, and the player must not believe otherwise.
    if (SeqSavePair::Quick().Save())
        return;
    GxLog::Error(L"クイックセーブできませんでした\n");
    SeqSaveSlots::TellPlayer(GetManager(), L"セーブできませんでした");
}

void SeqAvgMain::PrepareSave()
{
    GxTaskLayer* wide = FindLayer(L"$BGWLAYER:SeqAvgMain");
    if (wide)
        wide->Show();
    if (g_Core && g_Core->CaptureScreen())
        g_GlobalRenderTargets.m_RenderTexture[0].TransferRenderTargetToMemory();
    if (wide)
        wide->Hide();
    MakeThumbnailImage();
}

// ---------------------------------------------------------------------------------------------------
// Entry points for other screens

void SeqAvgMain::SetBlackBackground()
{
    SeqAvgMain* screen = Find();
    GxTaskLayer* bg = screen ? screen->FindLayer(L"$BGLAYER:SeqAvgMain") : nullptr;
    if (bg)
        bg->SetImage(GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_BG_DIR) + L"黒.png", 0, ErrorPicture());
}

void SeqAvgMain::GlobalFadeIn(int32_t time)
{
    SeqAvgMain* screen = Find();
    GxTaskLayer* fade = screen ? screen->FindLayer(L"$GLOBALFADE:SeqAvgMain") : nullptr;
    if (!fade)
        return;
    fade->ClearActions();
    if (time > 0)
        fade->AddActionFadeOut(time);
    else
        fade->SetAlpha(0);
}

void SeqAvgMain::GlobalFadeOut(int32_t time)
{
    SeqAvgMain* screen = Find();
    GxTaskLayer* fade = screen ? screen->FindLayer(L"$GLOBALFADE:SeqAvgMain") : nullptr;
    if (!fade)
        return;
    fade->ClearActions();
    if (time > 0)
        fade->AddActionFadeIn(time);
    else
        fade->SetAlpha(255);
}

void SeqAvgMain::JumpTo(const std::wstring& label)
{
    SetBlackBackground();
    GlobalFadeIn(1000);
    if (!g_MoaMainWorker || !g_MoaMainWorker->StartAtLabel(label))
        GxLog::Error(L"スクリプトにラベル %s が存在しないため実行できません\n", label.c_str());
    if (SeqAvgMain* screen = Find())
        screen->ChangeTo(L"SeqAvgMain");
    else
        GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", L"SeqAvgMain");
}

void SeqAvgMain::ResetAutoButton(GxTaskBase* messageWindow)
{
    SeqAvgMain* screen = Find();
    (void)messageWindow;
    if (screen)
        screen->SetToggle(L"btn_auto", false);
}
