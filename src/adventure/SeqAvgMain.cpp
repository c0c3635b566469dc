#include "adventure/SeqAvgMain.h"

#include "adventure/AvgNameImageLayer.h"
#include "adventure/AvgSharedState.h"
#include "appdata/DBAvgChar.h"
#include "appdata/DBUILayout.h"
#include "appdata/GxDBLookup.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxInput.h"
#include "core/GxLog.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxTexture.h"
#include "media/GxSound.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

namespace
{

GxUserData* UserData()
{
    return g_Core ? g_Core->m_UserData : nullptr;
}

} // namespace

bool (*SeqAvgMain::s_CtrlHeld)() = &GxInput::IsCtrlHeld;

// ---------------------------------------------------------------------------------------------------
// The tree

SeqAvgMain::SeqAvgMain(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqAvgMain")
{
    // The window's buttons and the system dialogs shown over this screen post their clicks here.
    SetAcceptUIEvent(true);
    BuildTree();
    GxMoaAdventureScreen::Register(this);
}

SeqAvgMain::~SeqAvgMain()
{
    if (GxMoaAdventureScreen::Find() == this)
        GxMoaAdventureScreen::Register(nullptr);
}

void SeqAvgMain::BuildTree()
{
    const GxSystemConfig& config = GxTaskUIBase::GetSystemConfig();
    auto makeLayer = [](GxTaskBase* parent, const wchar_t* name, float depth, int32_t type) {
        GxTaskLayer* layer = new GxTaskLayer(parent, name);
        layer->SetOrderZ(depth);
        layer->SetLayerType(type);
        return layer;
    };
    GxTaskFolder* root = new GxTaskFolder(this, L"$ROOT:SeqAvgMain");
    GxTaskLayer* visual = new GxTaskLayer(root, L"$VISUAL:SeqAvgMain");
    GxTaskLayer* bg = makeLayer(visual, L"$BGLAYER:SeqAvgMain", -100.0f, 2);
    makeLayer(bg, L"$BGWLAYER:SeqAvgMain", -10.0f, 2)->Hide();
    makeLayer(visual, L"$MOVIELAYER:SeqAvgMain", -20.0f, 2)->SetMovieAutoDisappearTime(800);
    GxTaskLayer* flash = makeLayer(visual, L"$GLOBALFLASH:SeqAvgMain", 10000.0f, 3);
    flash->SetSolidColor(0xFFFFFFFFu, 0);
    flash->SetAlpha(0);
    GxTaskLayer* fade = makeLayer(visual, L"$GLOBALFADE:SeqAvgMain", 10001.0f, 2);
    fade->SetSolidColor(0xFF000000u, 0);
    fade->SetAlpha(0);
    GxTaskFolder* stand = new GxTaskFolder(visual, L"$STAND:SeqAvgMain");
    for (int32_t i = 0; i < g_DBAvgChar.GetCapacity(); ++i)
    {
        const DBAvgCharData* row = g_DBAvgChar.GetRow(i);
        if (row->m_CharName.empty() || row->m_CharName == L"*")
            continue;
        if (stand->FindTaskLocal(row->m_CharName, 0))
        {
            GxLog::Debug(L"立ち絵レイヤー名 [%s] は既に使用されているため作成できません\n", row->m_CharName.c_str());
            continue;
        }
        GxTaskLayer* layer = new GxTaskLayer(stand, nullptr, row->m_CharName.c_str(), 0);
        layer->m_Contents[0].SetSubLayerCount(row->m_SubLayerNum);
        layer->m_Contents[1].SetSubLayerCount(row->m_SubLayerNum);
        layer->SetLayerType(2);
    }

    GxTaskFolder* ui = new GxTaskFolder(root, L"$UI:SeqAvgMain");
    BuildWindow(ui, L"$MESWIN:SeqAvgMain");
    BuildWindow(ui, L"$NAMEWIN:SeqAvgMain");
    if (GxTaskUIBase* name = GetNameWindow())
    {
        name->Hide();
        GxTaskLayer* image = new AvgNameImageLayer(name, L"$NAMEIMAGE:SeqAvgMain");
        image->SetOrderZ(name->GetOrderZ() + 1.0f);
        image->Hide();
    }
    GxTaskFolder* select = new GxTaskFolder(ui, L"$SELECT:SeqAvgMain");
    if (const DBUIModuleData* module = config.m_ChoiceLimit > 0 ? FindUIModuleData(L"btn_select0") : nullptr)
    {
        for (int32_t i = 1; i <= config.m_ChoiceLimit; ++i)
        {
            if (GxTaskUIBase* button = CreateUITask(select, module, L"btn_select", i))
            {
                button->SetOrderZ(16000.0f);
                button->Hide();
            }
        }
    }
    GxTaskLayer* transit = makeLayer(root, L"$BGTRANSIT:SeqAvgMain", 20000.0f, 0);
    const GxDisplaySettings& display = GxDisplaySettings::Get();
    transit->SetBlankTexture(static_cast<int32_t>(display.m_BackBufferWidth),
                             static_cast<int32_t>(display.m_BackBufferHeight), 0);
    transit->Hide();
}

void SeqAvgMain::BuildWindow(GxTaskBase* parent, const wchar_t* name)
{
    const DBUILayoutData* row = FindUILayoutData(name);
    if (!row)
        return;
    GxTaskUIBase* window = CreateUITaskByModuleName(parent, row->m_ModuleName.c_str(), name, -1);
    if (!window)
        return;
    window->ApplyLayout(*row);
    window->SetImageAlpha(GxTaskUIBase::GetUserConfig().m_TextWindowOpacity);
    // A press on the window's frame or on the name plate is the player's click to go on: it passes through
    // to the screen's own mouse handling (the buttons on the window still take theirs).
    window->SetEventBlock(false);
    if (window->GetTypeCode() == GxTaskUIMessageWindowFx::kTypeCode)
        GxTaskControl::CreateUIFromDBUILayout(this, name);
}

// ---------------------------------------------------------------------------------------------------
// Lookups

SeqAvgMain* SeqAvgMain::Find()
{
    GxTaskManage* manage = g_Core ? g_Core->m_TaskManage : nullptr;
    GxTaskBase* task = manage ? manage->FindTaskByName(L"SeqAvgMain") : nullptr;
    return dynamic_cast<SeqAvgMain*>(task);
}

GxTaskLayer* SeqAvgMain::FindLayer(const wchar_t* globalName) const
{
    GxTaskBase* task = GetManager() ? GetManager()->FindTaskByName(globalName) : nullptr;
    return task && task->HasKind(GX_TASKKIND_LAYER) ? static_cast<GxTaskLayer*>(task) : nullptr;
}

GxTaskFolder* SeqAvgMain::FindFolder(const wchar_t* globalName) const
{
    GxTaskBase* task = GetManager() ? GetManager()->FindTaskByName(globalName) : nullptr;
    return task && task->HasKind(GX_TASKKIND_FOLDER) ? static_cast<GxTaskFolder*>(task) : nullptr;
}

GxTaskUIMessageWindowFx* SeqAvgMain::GetMessageWindow() const
{
    GxTaskBase* task = GetManager() ? GetManager()->FindTaskByName(L"$MESWIN:SeqAvgMain") : nullptr;
    return task && task->GetTypeCode() == GxTaskUIMessageWindowFx::kTypeCode && task->HasKind(GX_TASKKIND_WIDGET)
               ? static_cast<GxTaskUIMessageWindowFx*>(task)
               : nullptr;
}

GxTaskUIBase* SeqAvgMain::GetNameWindow() const
{
    GxTaskBase* task = GetManager() ? GetManager()->FindTaskByName(L"$NAMEWIN:SeqAvgMain") : nullptr;
    return task && task->HasKind(GX_TASKKIND_WIDGET) ? static_cast<GxTaskUIBase*>(task) : nullptr;
}

GxTaskUIBase* SeqAvgMain::FindWindowButton(const wchar_t* localName) const
{
    // The window's buttons are registered in the nearest folder above them: the window itself.
    GxTaskBase* window = GetManager() ? GetManager()->FindTaskByName(L"$MESWIN:SeqAvgMain") : nullptr;
    GxTaskFolder* folder = window ? window->FindFolder() : nullptr;
    GxTaskBase* task = folder ? folder->FindTaskLocal(localName, 0) : nullptr;
    return task && task->HasKind(GX_TASKKIND_WIDGET) ? static_cast<GxTaskUIBase*>(task) : nullptr;
}

GxTaskUIBase* SeqAvgMain::FindSelectButton(int32_t index) const
{
    GxTaskFolder* select = FindFolder(L"$SELECT:SeqAvgMain");
    GxTaskBase* task = select ? select->FindTaskLocal(L"btn_select", index) : nullptr;
    return task && task->HasKind(GX_TASKKIND_WIDGET) ? static_cast<GxTaskUIBase*>(task) : nullptr;
}

GxTaskLayer* SeqAvgMain::FindStandLayer(const std::wstring& name) const
{
    if (!name.empty() && name[0] == L'$')
        return FindLayer(name.c_str());
    GxTaskFolder* stand = FindFolder(L"$STAND:SeqAvgMain");
    GxTaskBase* task = stand && !name.empty() ? stand->FindTaskLocal(name, 0) : nullptr;
    return task && task->HasKind(GX_TASKKIND_LAYER) ? static_cast<GxTaskLayer*>(task) : nullptr;
}

// ---------------------------------------------------------------------------------------------------
// Entering and leaving

void SeqAvgMain::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    m_BGTransit = GxTransitParam();
    GxUserData* data = UserData();
    if (data)
        data->SetRestoreSequence(L"SeqAvgMain");
    // A scene read from a save holds the wide picture as it was written; one written while it showed
    // would cover the movie layer (the picture only serves the thumbnail, see PrepareSave).
    if (GxTaskLayer* wide = FindLayer(L"$BGWLAYER:SeqAvgMain"))
        wide->Hide();
    const bool replay = data && data->m_ReplayMode;
    for (const wchar_t* name : {L"btn_save", L"btn_load", L"btn_qsave", L"btn_qload"})
        if (GxTaskUIBase* button = FindWindowButton(name))
            replay ? button->Hide() : button->Show();
    if (GxTaskUIBase* rend = FindWindowButton(L"btn_rend"))
        replay ? rend->Show() : rend->Hide();
}

void SeqAvgMain::OnSequenceLeave()
{
    EndBackgroundTransit();
    if (GxTaskFolder* select = FindFolder(L"$SELECT:SeqAvgMain"); select && select->GetFirstChild())
        GxTaskControl::FinishActorActions(select->GetFirstChild());
    GxSeqTransitBase::OnSequenceLeave();
    if (g_SkipMode)
    {
        g_SkipMode = 0;
        SetToggle(L"btn_skip", false);
    }
    if (g_AutoMode)
    {
        g_AutoMode = 0;
        SetToggle(L"btn_auto", false);
    }
    g_MessageWindowHidden = 0;
}

void SeqAvgMain::ChangeTo(const wchar_t* name)
{
    GxTaskManage* manage = GetManager();
    if (!manage || !manage->FindTaskByName(name))
    {
        GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", name);
        return;
    }
    manage->ChangeSequence(name, 0, 0);
}

void SeqAvgMain::SetToggle(const wchar_t* name, bool on)
{
    if (GxTaskUIBase* button = FindWindowButton(name))
        button->SetValue(on);
}

// ---------------------------------------------------------------------------------------------------
// Update

int32_t SeqAvgMain::Update(int32_t step, int64_t elapsed)
{
    const int32_t ms = static_cast<int32_t>(elapsed / 1000);
    if (step == 0 && ((g_Core && g_Core->m_Active && s_CtrlHeld && s_CtrlHeld()) || g_SkipMode))
        SkipMessage();
    if (g_AutoMode)
        AutoAdvance(ms);
    if (m_BGTransit.m_Transit)
    {
        m_BGTransit.m_TransitTimeLeft -= ms;
        if (m_BGTransit.m_TransitTimeLeft <= 0)
            EndBackgroundTransit();
    }
    UpdateHolds(elapsed);
    if (GxTaskUIMessageWindowFx* window = GetMessageWindow())
    {
        if (GxTaskUIBase* icon = FindWindowButton(L"icon_wait"))
            window->IsClickWaiting() ? icon->Show() : icon->Hide();
    }

    GxUserData* data = UserData();
    if (g_MoaMainWorker && !g_MoaMainWorker->IsRunning() && data && data->m_ReplayMode)
    {
        ChangeTo(L"SeqRPMode");
        AdvanceFrameCount();
        return 0;
    }

    if (GxTaskFolder::DispatchUIEvents(this) == 0 && g_MoaMainWorker)
    {
        // A script that loops without ever waiting would hold the game in this loop for good: the step
        // is cut after kStatementLimit statements and the script goes on in the next step.
        int32_t count = 0;
        while (CanRunScript())
        {
            if (++count > kStatementLimit)
            {
                if (!m_ScriptLoopReported)
                {
                    m_ScriptLoopReported = true;
                    GxLog::Error(L"スクリプトが待ちなしで%d命令を超えました[Script=\"%s\"/line=%d]\n", kStatementLimit,
                                 g_MoaMainWorker->GetCurrentScriptName().c_str(),
                                 g_MoaMainWorker->GetCurrentLineIndex() + 1);
                }
                break;
            }
            if (!g_MoaMainWorker->Exec(g_MoaBuiltin))
                break;
        }
    }
    AdvanceFrameCount();
    return 0;
}

bool SeqAvgMain::CanRunScript()
{
    if (g_MessageWindowHidden || GxSeqBase::GetOpenDialogCount() != 0)
        return false;
    GxUserData* data = UserData();
    if (data && data->m_IsSelecting)
        return false;
    if (GxTaskFolder* select = FindFolder(L"$SELECT:SeqAvgMain");
        select && select->GetFirstChild() && GxTaskControl::IsAnyActorActing(select->GetFirstChild()))
        return false;
    if (GxTaskLayer* fade = FindLayer(L"$GLOBALFADE:SeqAvgMain"); fade && !GxTaskActor::IsActionEmpty(fade))
        return false;
    GxTaskManage* manage = GetManager();
    if (!manage || manage->IsChangeSequencePending() || !manage->IsSequenceStarted())
        return false;
    if (IsTransit() || m_BGTransit.m_Transit)
        return false;
    if (GxTaskUIMessageWindowFx* window = GetMessageWindow();
        window && (window->IsClickWaiting() || window->IsTimeWaiting() || window->GetRemainCharCount() > 0))
        return false;
    if (data && (data->m_Hold_WaitClick || data->m_Hold_WaitTime || data->m_Hold_EndOfMovie ||
                 data->m_Hold_EndOfLayerActionAll || data->m_Hold_EndOfLayerActionSeparate || data->m_Hold_EndOfBGM ||
                 data->m_Hold_EndOfBGV || data->m_Hold_EndOfSE || data->m_Hold_EndOfVoice))
        return false;
    return true;
}

bool SeqAvgMain::CanAcceptInput()
{
    if (g_MessageWindowHidden || GxSeqBase::GetOpenDialogCount() != 0)
        return false;
    GxTaskManage* manage = GetManager();
    if (!manage || manage->IsChangeSequencePending() || !manage->IsSequenceStarted())
        return false;
    if (IsTransit() || m_BGTransit.m_Transit)
        return false;
    GxUserData* data = UserData();
    return !(data && data->m_Hold_WaitTime);
}

// ---------------------------------------------------------------------------------------------------
// Holds

namespace
{

bool IsVoicePlaying()
{
    for (uint32_t c = GxSoundControl::kFirstVoiceChannel; c < GxSoundControl::kFirstVoiceChannel + 4; ++c)
        if (GxSound::GetChannelState(c))
            return true;
    return false;
}

bool IsAnySEPlaying()
{
    for (uint32_t c = GxSoundControl::kFirstSEChannel; c < GxSoundControl::kFirstSEChannel + 4; ++c)
        if (GxSound::GetChannelState(c))
            return true;
    return false;
}

// A layer busy with actions or a transition, its own subtree included.
bool IsLayerBusy(GxTaskLayer* layer)
{
    if (!GxTaskActor::IsActionEmpty(layer) || layer->IsLocalTransiting())
        return true;
    GxTaskBase* child = layer->GetFirstChild();
    return child && (GxTaskControl::IsAnyActorActing(child) || GxTaskControl::IsAnyLayerTransiting(child));
}

void SettleLayer(GxTaskLayer* layer)
{
    GxTaskActor::FinishActions(layer);
    layer->FinishLocalTransit();
    if (GxTaskBase* child = layer->GetFirstChild())
    {
        GxTaskControl::FinishActorActions(child);
        GxTaskControl::FinishLayerTransitions(child);
    }
}

constexpr int kHoldCount = 9;

int32_t& HoldValue(GxUserData& data, int index)
{
    int32_t* holds[kHoldCount] = {&data.m_Hold_WaitClick,
                                  &data.m_Hold_WaitTime,
                                  &data.m_Hold_EndOfMovie,
                                  &data.m_Hold_EndOfLayerActionAll,
                                  &data.m_Hold_EndOfLayerActionSeparate,
                                  &data.m_Hold_EndOfBGM,
                                  &data.m_Hold_EndOfBGV,
                                  &data.m_Hold_EndOfSE,
                                  &data.m_Hold_EndOfVoice};
    return *holds[index];
}

} // namespace

bool SeqAvgMain::EndHold(int index, bool byInput)
{
    GxUserData& data = *UserData();
    switch (index)
    {
    case 0: // click
        if (!byInput)
            return false;
        break;
    case 1: // time
        if (byInput)
            data.m_Hold_WaitTime_TimeLeft = 0;
        else if (data.m_Hold_WaitTime_TimeLeft > 0)
            return false;
        break;
    case 2: { // movie
        GxTaskLayer* movie = FindLayer(L"$MOVIELAYER:SeqAvgMain");
        if (byInput && movie)
            movie->StopMovie();
        else if (!byInput && movie && movie->IsMoviePlaying())
            return false;
        break;
    }
    case 3: { // every layer action under $VISUAL
        GxTaskLayer* visual = FindLayer(L"$VISUAL:SeqAvgMain");
        if (byInput && visual)
            SettleLayer(visual);
        else if (!byInput && visual && IsLayerBusy(visual))
            return false;
        break;
    }
    case 4: { // one layer
        GxTaskLayer* layer = data.m_Hold_EndOfLayerActionSeparate_LayerName.empty()
                                 ? nullptr
                                 : FindStandLayer(data.m_Hold_EndOfLayerActionSeparate_LayerName);
        if (byInput)
        {
            if (layer)
            {
                GxTaskActor::FinishActions(layer);
                layer->FinishLocalTransit();
            }
        }
        else if (layer && (!GxTaskActor::IsActionEmpty(layer) || layer->IsLocalTransiting()))
            return false;
        // Ended either way: a later wait must not find this name left behind.
        data.m_Hold_EndOfLayerActionSeparate_LayerName.clear();
        break;
    }
    case 5: // music
        if (byInput)
        {
            GxSoundControl::StopBGM(0);
            data.m_BGMRecord.Clear();
        }
        else if (GxSound::GetChannelState(static_cast<uint32_t>(GxSound::GetCurrentBGMChannel())))
            return false;
        break;
    case 6: // background voice
        if (byInput)
        {
            GxSoundControl::StopBGV(0);
            data.m_BGVRecord.Clear();
        }
        else if (GxSound::GetChannelState(GxSoundControl::kBGVChannel))
            return false;
        break;
    case 7: // sound effects
        if (byInput)
        {
            GxSoundControl::StopAllSE();
            for (GxSoundChannelRecord& record : data.m_SERecord)
                record.Clear();
        }
        else if (IsAnySEPlaying())
            return false;
        break;
    case 8: // voices
        if (byInput)
        {
            GxSoundControl::StopAllVoices();
            for (GxSoundChannelRecord& record : data.m_VoiceRecord)
                record.Clear();
        }
        else if (IsVoicePlaying())
            return false;
        break;
    default: return false;
    }
    HoldValue(data, index) = 0;
    return true;
}

bool SeqAvgMain::BreakHold(int32_t mask)
{
    GxUserData* data = UserData();
    if (!data)
        return false;
    for (int i = 0; i < kHoldCount; ++i)
        if ((HoldValue(*data, i) & mask) != 0)
            return EndHold(i, true);
    return false;
}

void SeqAvgMain::UpdateHolds(int64_t elapsed)
{
    GxUserData* data = UserData();
    if (!data)
        return;
    if (data->m_Hold_WaitTime)
        data->m_Hold_WaitTime_TimeLeft -= static_cast<int32_t>(elapsed / 1000);
    for (int i = 0; i < kHoldCount; ++i)
        if (HoldValue(*data, i) != 0)
            EndHold(i, false);
}

// ---------------------------------------------------------------------------------------------------
// Drawing

GxTexture* SeqAvgMain::GetTransitTexture() const
{
    GxTaskLayer* layer = FindLayer(L"$BGTRANSIT:SeqAvgMain");
    return layer ? dynamic_cast<GxTexture*>(layer->GetCurrentContent().m_pTexture) : nullptr;
}

int32_t SeqAvgMain::Draw(int32_t param, int32_t layer)
{
    if (param != 0)
        return GxSeqTransitBase::Draw(param, layer);
    GxSeqTransitBase::Draw(param, layer);
    if (m_BGTransit.m_Transit)
    {
        if (GxTexture* target = GetTransitTexture())
            BuildRuleTransitionTexture(target, m_BGTransit.GetProgress());
    }
    return 0;
}
