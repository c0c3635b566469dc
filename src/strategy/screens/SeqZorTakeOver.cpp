#include "strategy/screens/SeqZorTakeOver.h"

#include "animation/GxNcImageSetPool.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxBit32.h"
#include "core/GxCore.h"
#include "core/GxString.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "script/GxMoaAdventureScreen.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorScriptBuiltins.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/screens/ZorTaskTakeOverUnitInfo.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIBase.h"

#include <bit>
#include <vector>

namespace
{

// The GDI font of size setting "FONTSIZE_4".
constexpr int kFontMap = 4;

std::wstring ConfigString(int index)
{
    return GxTaskUIBase::GetSystemConfig().GetString(index);
}

uint32_t ExtraOption()
{
    const GxBit32* word = ZorScriptBuiltins::GetExtraOption();
    return word ? word->GetBits() : 0u;
}

} // namespace

const SeqZorTakeOver::Choice SeqZorTakeOver::kChoices[4] = {
    {L"btn_takeover_time", 0x02},
    {L"btn_takeover_struct", 0x04},
    {L"btn_takeover_gold", 0x08},
    {L"btn_takeover_lerdership", 0x10},
};

SeqZorTakeOver::SeqZorTakeOver(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqZorTakeOver")
{
    GxTaskBase* root = new GxTaskFolder(this, L"$ROOT:SeqZorTakeOver");
    new GxTaskFolder(root, L"$UI:SeqZorTakeOver");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqZorTakeOver");
    m_BGLayer->SetOrderZ(-10.0f);
    new GxTaskFolder(root, ZorCore::kSavedUnitList);
    m_UnitInfo = new ZorTaskTakeOverUnitInfo(root, L"$UNITINFO:SeqZorTakeOver");
    GxTaskControl::CreateUIFromDBUILayout(this, L"$UI:SeqZorTakeOver");
    m_UnitInfo->SetSlider(FindWidget(L"vsld_selectunit"));
    SetAcceptUIEvent(true);
}

SeqZorTakeOver::~SeqZorTakeOver() = default;

GxTaskUIBase* SeqZorTakeOver::FindWidget(const wchar_t* name) const
{
    GxTaskManage* manage = GetManager();
    auto* ui = manage ? dynamic_cast<GxTaskFolder*>(manage->FindTaskByName(L"$UI:SeqZorTakeOver")) : nullptr;
    return ui ? dynamic_cast<GxTaskUIBase*>(ui->FindTaskLocal(name, 0)) : nullptr;
}

bool SeqZorTakeOver::IsChoiceOffered(uint32_t extraOption, uint32_t choiceBit)
{
    switch (choiceBit)
    {
    case 0x02:
        return (extraOption & 0x07u) != 0;
    case 0x04:
        return (extraOption & 0x03u) != 0;
    case 0x08:
        return (extraOption & 0x08u) != 0;
    case 0x10:
        return (extraOption & 0x10u) != 0;
    default:
        return false;
    }
}

int32_t SeqZorTakeOver::CapacityOf(uint32_t extraOption)
{
    // Bits 11 to 19: one per unlocked unit row, five more leadership each.
    return 35 + 5 * std::popcount(extraOption & 0x000FF800u);
}

std::wstring SeqZorTakeOver::GoldText(int32_t gold)
{
    return GxString::Format(L"(Gold %d)", gold / 2);
}

void SeqZorTakeOver::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    if (!m_UnitInfo->GetSlider())
        m_UnitInfo->SetSlider(FindWidget(L"vsld_selectunit"));
    m_BGLayer->SetImage(ConfigString(SYSSTR_BG_DIR) + L"bg_takeover.png", 0, ConfigString(SYSSTR_ERROR_IMAGE));
    GxNcImageSetPool::Add(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zorinvmain.gis");
    if (g_Core && g_Core->m_UserData)
        g_Core->m_UserData->LeaveAdventure();
    if (g_MoaMainWorker)
        g_MoaMainWorker->Stop();

    m_Round.Reset();
    ZorCore* core = ZorCore::GetInstance();
    GxTaskManage* manage = GetManager();
    GxTaskBase* saved = manage ? manage->FindTaskByName(ZorCore::kSavedUnitList) : nullptr;
    // A missing or damaged file leaves the record reset and the grid empty; the game still starts.
    if (core && !core->LoadRoundData(m_Round, ZorScriptBuiltins::GetSaveFolder() + L"zordata_round.gd"))
    {
        m_Round.Reset();
        core->ClearUnitList(saved);
    }
    m_UnitInfo->SetUnits(saved);
    if (GxTaskUIBase* slider = m_UnitInfo->GetSlider())
        m_UnitInfo->SetRowOffset(slider->GetValueAsInt());

    const uint32_t extra = ExtraOption();
    for (const Choice& choice : kChoices)
    {
        GxTaskUIBase* widget = FindWidget(choice.m_Widget);
        if (!widget)
            continue;
        const bool offered = IsChoiceOffered(extra, choice.m_Bit);
        widget->SetEnabled(offered);
        widget->SetValue(offered ? 1 : 0);
    }
    m_UnitInfo->SetCapacity(CapacityOf(extra));
}

void SeqZorTakeOver::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    if (ZorCore* core = ZorCore::GetInstance())
    {
        GxTaskManage* manage = GetManager();
        core->ClearUnitList(manage ? manage->FindTaskByName(ZorCore::kSavedUnitList) : nullptr);
    }
    m_BGLayer->ClearContent(0);
    GxNcImageSetPool::Release(ConfigString(SYSSTR_UIGIS_DIR) + L"ui_zorinvmain.gis");
}

int32_t SeqZorTakeOver::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    DispatchUIEvents(this);
    AdvanceFrameCount();
    return 0;
}

int32_t SeqZorTakeOver::RegisterDraw(int32_t step, int64_t elapsed)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 1000.0f, 2);
    }
    return GxSeqTransitBase::RegisterDraw(step, elapsed);
}

int32_t SeqZorTakeOver::Draw(int32_t param, int32_t layer)
{
    if (param != 2)
        return GxSeqTransitBase::Draw(param, layer);
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetBlendMode(0, 2);
    const std::wstring gold = GoldText(m_Round.m_Resource_Gold);
    const std::wstring cost =
        GxString::Format(L"%3d/%3d", m_UnitInfo->GetSelectedCost(), m_UnitInfo->GetCapacity());
    GxGraphics::DrawText(&g_GDIFontMaps[kFontMap], gold.c_str(), 723.0f, 28.0f, GxVector2(1.0f, 1.0f), 0xFFFFFFFF, 0,
                         2);
    GxGraphics::DrawText(&g_GDIFontMaps[kFontMap], cost.c_str(), 105.0f, 706.0f, GxVector2(1.0f, 1.0f), 0xFFFFFFFF,
                         0, 2);
    GxGraphics::EndScene();
    return 0;
}

int32_t SeqZorTakeOver::OnMouseWheel(const float* point, int32_t delta, uint32_t keys)
{
    (void)point, (void)keys;
    GxTaskUIBase* slider = m_UnitInfo->GetSlider();
    if (!slider)
        return 0;
    const int32_t notches = delta / 120;
    if (CanWidgetAcceptInput(slider))
    {
        const int32_t value = slider->GetValueAsInt();
        if (notches > 0 && value > 0)
            slider->SetValue(value - 1);
        else if (notches < 0 && value < static_cast<int32_t>(slider->GetMax()))
            slider->SetValue(value + 1);
    }
    m_UnitInfo->SetRowOffset(slider->GetValueAsInt());
    return 0;
}

int32_t SeqZorTakeOver::OnUIEvent19(GxTaskBase* sender, const GxUIEvent& event)
{
    (void)event;
    GxTaskUIBase* slider = m_UnitInfo->GetSlider();
    if (!slider || sender != slider)
        return 0;
    m_UnitInfo->SetRowOffset(slider->GetValueAsInt());
    return 1;
}

int32_t SeqZorTakeOver::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqTransitBase::OnUIEvent1(sender, event) != 0)
        return 1;
    if (!sender)
        return 0;
    if (sender->GetTaskLocalName() == L"btn_gamestart")
    {
        for (const Choice& choice : kChoices)
        {
            GxTaskUIBase* widget = FindWidget(choice.m_Widget);
            if (widget && widget->GetValueAsInt() != 0)
                m_Round.m_ChoiceFlags |= choice.m_Bit;
        }
        std::vector<ZorTaskUnitEntity*> units;
        m_UnitInfo->CollectSelected(units);
        if (ZorCore* core = ZorCore::GetInstance())
            core->ApplyTakeOver(units, m_Round);
        GxMoaAdventureScreen::ReturnToStory(L"ZOR_RETURN_FROM_TAKEOVER");
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundDecide);
        return 1;
    }
    if (sender->HasKind(GX_TASKKIND_WIDGET) && sender->GetTaskLocalName().rfind(L"btn_", 0) == 0)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    return 0;
}
