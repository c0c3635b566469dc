#include "strategy/screens/SeqZorCommand.h"

#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorTown.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "media/GxSound.h"
#include "script/GxMoaAdventureScreen.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCommandWindowView.h"
#include "strategy/screens/ZorTaskStrParamView.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUINull.h"
#include "task/ui/GxTaskUISliderIs.h"

#include <algorithm>

namespace
{

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;

std::wstring ConfigString(int index)
{
    return GxTaskUIBase::GetSystemConfig().GetString(index);
}

ZorUserData* State()
{
    ZorCore* core = ZorCore::GetInstance();
    return core ? core->GetUserData() : nullptr;
}

// The resource a cost letter names; null for the letters that cost nothing.
int32_t* ResourceOf(ZorUserData& s, const std::wstring& type)
{
    if (type == L"B")
        return &s.m_Resource_Bone;
    if (type == L"M")
        return &s.m_Resource_Magic;
    if (type == L"G")
        return &s.m_Resource_Gold;
    return nullptr;
}

int32_t MultiFactor(const ZorUserData& s, int32_t id)
{
    return id >= 0 && static_cast<size_t>(id) < s.m_CommandStates.size() ? s.m_CommandStates[id].m_ResourceMultiFactor
                                                                          : 1;
}

GxTaskUIBase* MakeModuleWidget(GxSeqBase* seq, GxTaskBase* parent, const wchar_t* module, const wchar_t* name)
{
    // Without the module's row the window is an empty widget of the same name, so the layout rows and
    // the views still find their parent.
    if (GxTaskUIBase* w = seq->CreateUITaskByModuleName(parent, module, name, -1))
        return w;
    return new GxTaskUINull(parent, name);
}

} // namespace

SeqZorCommand::SeqZorCommand(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqZorCommand")
{
    GxTaskBase* root = new GxTaskFolder(this, L"$ROOT:SeqZorCommand");
    GxTaskBase* ui = new GxTaskFolder(root, L"$UI:SeqZorCommand");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqZorCommand");
    m_BGLayer->SetOrderZ(-10.0f);
    GxTaskUIBase* window = MakeModuleWidget(this, ui, L"tip_zorwindow_command", L"$ZORCOMMAND:SeqZorCommand");
    window->SetPos(GxVector4(664.0f, 0.0f, 0.0f, 0.0f));
    window->SetOrderZ(12000.0f);
    GxTaskUIBase* bottom = MakeModuleWidget(this, ui, L"tip_zorcommand_bottom", L"$ZORCOMBOTTOM:SeqZorCommand");
    bottom->SetPos(GxVector4(715.0f, 507.0f, 0.0f, 0.0f));
    bottom->SetOrderZ(11000.0f);
    new ZorTaskStrParamView(ui, L"$ZORSTRPARAMVIEW:SeqZorCommand");
    m_WindowView = new ZorTaskCommandWindowView(window, L"$ZORCOMMANDWINDOWVIEW:SeqZorCommand");

    for (const wchar_t* group : {L"$UI:SeqZorCommand", L"$ZORCOMMAND:SeqZorCommand", L"$ZORCOMBOTTOM:SeqZorCommand"})
        GxTaskControl::CreateUIFromDBUILayout(this, group);
    BindLayoutWidgets();
    SetAcceptUIEvent(true);
}

SeqZorCommand::~SeqZorCommand() = default;

GxTaskUIBase* SeqZorCommand::FindWidget(const wchar_t* folder, const wchar_t* name) const
{
    GxTaskManage* manage = GetManager();
    auto* f = manage ? dynamic_cast<GxTaskFolder*>(manage->FindTaskByName(folder)) : nullptr;
    return f ? dynamic_cast<GxTaskUIBase*>(f->FindTaskLocal(name, 0)) : nullptr;
}

void SeqZorCommand::BindLayoutWidgets()
{
    m_List = dynamic_cast<GxTaskUIListBoxFx*>(FindWidget(L"$ZORCOMMAND:SeqZorCommand", L"lbox_command"));
    m_Slider = FindWidget(L"$ZORCOMMAND:SeqZorCommand", L"vsld_selectitem");
    m_RunButton = FindWidget(L"$ZORCOMMAND:SeqZorCommand", L"btn_zorrun");
    if (m_List)
    {
        m_List->SetScrollWidget(m_Slider);
        m_List->ClearColumns();
        m_List->AddColumn(232);
        m_List->AddColumn(96);
    }
    if (auto* slider = dynamic_cast<GxTaskUISliderIs*>(m_Slider))
        slider->SetLinkedWidget(m_List);
    m_WindowView->Bind(m_List, m_RunButton);
}

void SeqZorCommand::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    // Widgets a test or a late layout walk added since construction.
    if (!m_List || !m_RunButton)
        BindLayoutWidgets();
    m_BGLayer->SetImage(ConfigString(SYSSTR_BG_DIR) + L"bg_zorcommand.png", 0, ConfigString(SYSSTR_ERROR_IMAGE));
    GxNcImageSetPool::Add(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zorinvmain.gis");
    GxNcImageSetPool::Add(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zormain.gis");
    if (g_Core && g_Core->m_UserData)
        g_Core->m_UserData->LeaveAdventure();
    if (g_MoaMainWorker)
        g_MoaMainWorker->Stop();

    const std::wstring music = ConfigString(SYSSTR_BGM_DIR) + L"m02.ogg";
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    if (!data || data->m_BGMRecord.m_FileName != music)
    {
        if (data)
        {
            data->m_BGMRecord.m_FileName = music;
            data->m_BGMRecord.m_Loop = 0;
            data->m_BGMRecord.m_StartSeekPosTime = 0;
            data->m_BGMRecord.m_LoopPosTime = 0;
            data->m_BGMRecord.m_FadeInTime = 500;
        }
        GxSound::PlayBGM(music, -1, 0, 500, GxTaskUIBase::GetUserConfig().GetBGMVolume(), 0, 0);
    }
    RefreshCommandList(false);
    if (data)
    {
        data->SetRestoreSequence(L"SeqZorCommand");
        const ZorUserData* s = State();
        data->SetGameDataTitle(
            GxString::Format(L"戦略画面 残り%d週", std::min(s ? s->m_AstarosWeekLimit : 0, 99)));
    }
}

void SeqZorCommand::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BGLayer->ClearContent(0);
    GxNcImageSetPool::Release(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zorinvmain.gis");
    GxNcImageSetPool::Release(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zormain.gis");
}

void SeqZorCommand::RefreshCommandList(bool showAll)
{
    if (m_List)
    {
        m_List->ClearItems();
        m_List->SetValue(0.0);
    }
    m_WindowView->SetSelection(-1);
    ZorUserData* s = State();
    if (!m_List || !s)
        return;
    for (uint32_t id = 0; id < 120; ++id)
    {
        const DBZorCommandData* row = g_DBZorCommand.GetRow(id);
        if (!row || row->m_ShowName.empty())
            continue;
        const bool enabled = id < s->m_CommandStates.size() && s->m_CommandStates[id].m_Enabled != 0;
        if (!enabled && !showAll)
            continue;
        GxUIListBoxItem item;
        item.m_Text = row->m_ShowName;
        item.m_Value = static_cast<int32_t>(id);
        item.m_X = 2.0f;
        const std::wstring& type = row->m_ResourceType;
        GxUIListBoxItem cost;
        cost.m_X = 2.0f;
        bool hasCost = false;
        if (type == L"S")
        {
            hasCost = true;
            item.m_Enabled = false;
        }
        else if (type == L"N")
        {
            cost.m_Text = L"　　不要";
            hasCost = true;
            item.m_Name = L"ok";
        }
        else if (int32_t* have = ResourceOf(*s, type))
        {
            const int32_t amount = row->m_ResourceAmount * MultiFactor(*s, static_cast<int32_t>(id));
            const wchar_t* format = type == L"B" ? L"　骨　 %5d" : type == L"M" ? L"魔力　 %5d" : L"　金　 %5d";
            cost.m_Text = GxString::Format(format, amount);
            hasCost = true;
            const bool affordable = *have >= amount;
            item.m_Name = affordable ? L"ok" : L"";
            item.m_Color = affordable ? kWhite : kRed;
        }
        if (hasCost)
            item.m_SubItems.push_back(cost);
        m_List->AddItem(item);
    }
    m_List->SyncScrollWidget();
}

int32_t SeqZorCommand::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    // Kept on purpose: the screen advances the shared random source once a frame, so what a command's
    // script draws depends on how long the player lingered here.
    (void)GxRandom::Next(0x7FFF);
    DispatchUIEvents(this);
    AdvanceFrameCount();
    return 0;
}

int32_t SeqZorCommand::RegisterDraw(int32_t step, int64_t elapsed)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, -5.0f, 2);
    }
    return GxSeqTransitBase::RegisterDraw(step, elapsed);
}

int32_t SeqZorCommand::Draw(int32_t param, int32_t layer)
{
    if (param != 2)
        return GxSeqTransitBase::Draw(param, layer);
    DrawTownFlags();
    return 0;
}

void SeqZorCommand::DrawTownFlags()
{
    const ZorUserData* s = State();
    if (!s)
        return;
    for (uint32_t t = 1; t <= 19 && t < s->m_TownStates.size(); ++t)
    {
        const DBZorTownData* row = g_DBZorTown.GetRow(t);
        if (row && s->m_TownStates[t].m_Occupied != 0)
            GxNcIconPool::DrawString(L"icon_dominionflag", 1.0f, 1.0f, row->m_FlagPosX, row->m_FlagPosY, 0.0f, kWhite);
    }
}

void SeqZorCommand::CaptureSaveThumbnail()
{
    if (g_Core)
        g_Core->CaptureScreen();
    MakeThumbnailImage();
}

bool SeqZorCommand::IsDebugMode() const
{
    return GxTaskUIBase::GetSystemConfig().m_DebugModeFlag;
}

int32_t SeqZorCommand::OnKeyDown(uint32_t key, uint32_t keyData)
{
    (void)keyData;
    ZorUserData* s = State();
    if (!IsDebugMode() || !s)
        return 0;
    switch (key)
    {
    case '1':
        RefreshCommandList(true);
        break;
    case '0':
        RefreshCommandList(false);
        break;
    case '5':
        s->m_Resource_Bone = std::min(s->m_Resource_Bone + 1000, 99999);
        RefreshCommandList(false);
        break;
    case '6':
        ZorCore::GetInstance()->AddMagic(1000, false);
        RefreshCommandList(false);
        break;
    case '7':
        ZorCore::GetInstance()->AddGold(1000, false);
        RefreshCommandList(false);
        break;
    default:
        break;
    }
    return 0;
}

int32_t SeqZorCommand::OnUIEvent18(GxTaskBase* sender, const GxUIEvent& event)
{
    (void)event;
    if (m_List && sender == m_List)
    {
        m_WindowView->SetSelection(m_List->GetCurrentIndex());
        return 1;
    }
    return 0;
}

int32_t SeqZorCommand::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqTransitBase::OnUIEvent1(sender, event) != 0)
        return 1;
    if (!sender)
        return 0;
    const std::wstring name = sender->GetTaskLocalName();
    GxTaskManage* manage = GetManager();
    if (name == L"btn_zorrun")
    {
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundDecide);
        ZorUserData* s = State();
        const int32_t id = m_WindowView->GetSelectedCommandID();
        const DBZorCommandData* row = g_DBZorCommand.GetRow(static_cast<uint32_t>(id));
        if (!s || !row || id <= 0)
            return 1;
        if (row->m_Function == 1)
        {
            if (manage)
                manage->ChangeSequence(L"SeqZorStrategy", 1, 0);
            return 1;
        }
        if (int32_t* have = ResourceOf(*s, row->m_ResourceType))
            *have -= row->m_ResourceAmount * MultiFactor(*s, id);
        if (static_cast<size_t>(id) < s->m_CommandStates.size())
            GxMoaAdventureScreen::ReturnToStory(s->m_CommandStates[id].m_Label);
        return 1;
    }
    if (sender->HasKind(GX_TASKKIND_WIDGET) && name.rfind(L"btn_", 0) == 0)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    if (!manage)
        return 0;
    if (name == L"btn_zorconfig")
        return manage->ChangeSequence(L"SeqConfig", 0, 0), 1;
    if (name == L"btn_zorsave")
    {
        CaptureSaveThumbnail();
        return manage->ChangeSequence(L"SeqSave", 0, 0), 1;
    }
    if (name == L"btn_zorload")
        return manage->ChangeSequence(L"SeqLoad", 0, 0), 1;
    return 0;
}
