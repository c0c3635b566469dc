#include "strategy/screens/SeqZorStrategy.h"

#include "animation/GxNcImageSetPool.h"
#include "appdata/DBZorTown.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "script/GxMoaAdventureScreen.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorCommand.h"
#include "strategy/screens/ZorTaskStrParamView.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUINull.h"

namespace
{

constexpr int32_t kTowns = 19;

std::wstring ConfigString(int index)
{
    return GxTaskUIBase::GetSystemConfig().GetString(index);
}

ZorUserData* State()
{
    ZorCore* core = ZorCore::GetInstance();
    return core ? core->GetUserData() : nullptr;
}

bool IsOccupied(const ZorUserData& s, int32_t town)
{
    return town >= 0 && static_cast<size_t>(town) < s.m_TownStates.size() && s.m_TownStates[town].m_Occupied != 0;
}

} // namespace

SeqZorStrategy::SeqZorStrategy(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqZorStrategy")
{
    GxTaskBase* root = new GxTaskFolder(this, L"$ROOT:SeqZorStrategy");
    GxTaskBase* ui = new GxTaskFolder(root, L"$UI:SeqZorStrategy");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqZorStrategy");
    m_BGLayer->SetOrderZ(-10.0f);
    new GxTaskUINull(ui, nullptr, L"null_eventcaller");
    GxTaskUIBase* bottom = CreateUITaskByModuleName(ui, L"tip_zorcommand_bottom", L"$ZORSTRBOTTOM:SeqZorStrategy", -1);
    if (!bottom)
        bottom = new GxTaskUINull(ui, L"$ZORSTRBOTTOM:SeqZorStrategy");
    bottom->SetPos(GxVector4(715.0f, 507.0f, 0.0f, 0.0f));
    bottom->SetOrderZ(11000.0f);
    new ZorTaskStrParamView(ui, L"$ZORSTRPARAMVIEW:SeqZorStrategy");
    for (const wchar_t* group : {L"$UI:SeqZorStrategy", L"$ZORSTRBOTTOM:SeqZorStrategy"})
        GxTaskControl::CreateUIFromDBUILayout(this, group);
    SetAcceptUIEvent(true);
}

SeqZorStrategy::~SeqZorStrategy() = default;

void SeqZorStrategy::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    m_BGLayer->SetImage(ConfigString(SYSSTR_BG_DIR) + L"bg_zorstrategy.png", 0, ConfigString(SYSSTR_ERROR_IMAGE));
    GxNcImageSetPool::Add(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zorinvmain.gis");
    GxNcImageSetPool::Add(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zormain.gis");
    RefreshTownButtons();
}

void SeqZorStrategy::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BGLayer->ClearContent(0);
    GxNcImageSetPool::Release(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zorinvmain.gis");
    GxNcImageSetPool::Release(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zormain.gis");
}

void SeqZorStrategy::RefreshTownButtons()
{
    GxTaskManage* manage = GetManager();
    auto* ui = manage ? dynamic_cast<GxTaskFolder*>(manage->FindTaskByName(L"$UI:SeqZorStrategy")) : nullptr;
    const ZorUserData* s = State();
    if (!ui || !s)
        return;
    for (int32_t t = 1; t <= kTowns; ++t)
    {
        const DBZorTownData* row = g_DBZorTown.GetRow(static_cast<uint32_t>(t));
        if (!row || row->m_ButtonName.empty())
            continue;
        auto* button = dynamic_cast<GxTaskUIBase*>(ui->FindTaskLocal(row->m_ButtonName, 0));
        if (!button)
            continue;
        const bool open = static_cast<size_t>(t) < s->m_TownStates.size() && s->m_TownStates[t].m_Enabled != 0 &&
                          s->m_TownStates[t].m_Occupied == 0 &&
                          (row->m_RequireTownID == 0 || IsOccupied(*s, row->m_RequireTownID));
        button->SetEnabled(open);
    }
}

int32_t SeqZorStrategy::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    DispatchUIEvents(this);
    AdvanceFrameCount();
    return 0;
}

int32_t SeqZorStrategy::RegisterDraw(int32_t step, int64_t elapsed)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 2000.0f, 2);
    }
    return GxSeqTransitBase::RegisterDraw(step, elapsed);
}

int32_t SeqZorStrategy::Draw(int32_t param, int32_t layer)
{
    if (param != 2)
        return GxSeqTransitBase::Draw(param, layer);
    SeqZorCommand::DrawTownFlags();
    return 0;
}

int32_t SeqZorStrategy::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqTransitBase::OnUIEvent1(sender, event) != 0)
        return 1;
    if (!sender)
        return 0;
    GxTaskManage* manage = GetManager();
    if (sender->GetTaskLocalName() == L"btn_stopthewar")
    {
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
        GxTaskBase* command = manage ? manage->FindTaskByName(L"SeqZorCommand") : nullptr;
        if (command)
            manage->ChangeSequence(command, 0, 0);
        else
            GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", L"SeqZorCommand");
        return 1;
    }
    auto* widget = dynamic_cast<GxTaskUIBase*>(sender);
    ZorUserData* s = State();
    const int32_t town = widget ? widget->GetValueAsInt() : 0;
    if (town <= 0 || !s)
        return 0;
    // A layout row may carry any value: only the towns of the table are towns.
    const DBZorTownData* row = town <= kTowns ? g_DBZorTown.GetRow(static_cast<uint32_t>(town)) : nullptr;
    if (!row)
        return 0;
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundDecide);
    s->m_NextInvTownID = town;
    if (g_Core && g_Core->m_UserData)
        g_Core->m_UserData->SetGameDataTitle(GxString::Format(L"%sに侵攻", row->m_ShowName.c_str()));
    GxMoaAdventureScreen::ReturnToStory(row->m_StartLabel);
    return 1;
}
