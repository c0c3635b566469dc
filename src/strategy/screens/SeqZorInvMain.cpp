#include "strategy/screens/SeqZorInvMain.h"

#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "media/GxSound.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorInvReleaser.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskFieldOverlay.h"
#include "strategy/screens/ZorTaskFieldUnitView.h"
#include "strategy/screens/ZorTaskInvParamView.h"
#include "strategy/screens/ZorTaskInvUnitList.h"
#include "strategy/screens/ZorTaskProxy.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUINull.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

#include <cmath>

namespace
{

std::wstring ConfigString(int index, const wchar_t* fallback)
{
    const std::wstring& value = GxTaskUIBase::GetSystemConfig().GetString(index);
    return value.empty() ? std::wstring(fallback) : value;
}

const wchar_t* const kProxyNames[4] = {L"$PROXY:SeqZorInvMain", L"$PROXYSTART:SeqZorInvMain",
                                       L"$PROXYEND:SeqZorInvMain", L"$PROXYSPECIAL:SeqZorInvMain"};

} // namespace

// ---------------------------------------------------------------------------------------------------
// [SECTION] task tree

SeqZorInvMain::SeqZorInvMain(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqZorInvMain")
{
    GxTaskBase* root = new GxTaskFolder(this, L"$ROOT:SeqZorInvMain");
    GxTaskBase* ui = new GxTaskFolder(root, L"$UI:SeqZorInvMain");
    new GxTaskFolder(ui, L"$UIFIELD:SeqZorInvMain");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqZorInvMain");
    m_BGLayer->SetOrderZ(-100.0f);
    new GxTaskFolder(root, ZorCore::kInvEnemyList);
    new GxTaskFolder(root, ZorCore::kInvPlayerList);
    for (int i = 0; i < 4; ++i)
        m_Proxies[i] = new ZorTaskProxy(root, kProxyNames[i]);
    SetAcceptUIEvent(true);
    GxTaskUIBase* bottom = CreateUITaskByModuleName(ui, L"tip_zorinvwindow_bottom", L"$ZORINVBOTTOM:SeqZorInvMain", -1);
    if (!bottom)
        bottom = new GxTaskUINull(ui, L"$ZORINVBOTTOM:SeqZorInvMain");
    bottom->SetPos(GxVector4(0.0f, 507.0f, 0.0f, 0.0f));
    bottom->SetOrderZ(11000.0f);
    bottom->SetEventBlock(false);
    for (const wchar_t* group : {L"$UI:SeqZorInvMain", L"$UIFIELD:SeqZorInvMain", L"$ZORINVBOTTOM:SeqZorInvMain"})
        GxTaskControl::CreateUIFromDBUILayout(this, group);
    // The field is seen from the front, at rest: each formation slot stands under its drop rectangle.
    m_Camera = new ZorTaskCamera(root, L"$ZORCAMERA:SeqZorInvMain");
    m_Camera->PutAtRest(0.0f, -30.0f, 2.0f, ZorTaskCamera::kDefaultSpeed);
    new ZorTaskInvParamView(bottom, L"$ZORINVPARAMVIEW:SeqZorInvMain");
    m_UnitList = new ZorTaskInvUnitList(bottom, L"$ZORUNITLIST:SeqZorInvMain");
    m_UnitList->SetSlider(BottomWidget(L"hsld_unitlist"));
    m_UnitList->ResetScroll();
    new ZorTaskFieldUnitView(root, L"$ZORTOWNUNITVIEW:SeqZorInvMain", m_Camera);
    new ZorTaskFieldOverlay(root, L"$ZORFIELDOVERLAY:SeqZorInvMain", m_Camera);
}

SeqZorInvMain::~SeqZorInvMain() = default;

ZorCore* SeqZorInvMain::Core() const
{
    return ZorCore::GetInstance();
}

ZorUserData* SeqZorInvMain::State() const
{
    ZorCore* core = Core();
    return core ? core->GetUserData() : nullptr;
}

GxTaskUIBase* SeqZorInvMain::BottomWidget(const wchar_t* name) const
{
    GxTaskManage* manage = GetManager();
    auto* f = manage ? dynamic_cast<GxTaskFolder*>(manage->FindTaskByName(L"$ZORINVBOTTOM:SeqZorInvMain")) : nullptr;
    return f ? dynamic_cast<GxTaskUIBase*>(f->FindTaskLocal(name, 0)) : nullptr;
}

bool SeqZorInvMain::HasChild(const wchar_t* folder) const
{
    GxTaskManage* manage = GetManager();
    GxTaskBase* f = manage ? manage->FindTaskByName(folder) : nullptr;
    return f && f->GetFirstChild() != nullptr;
}

bool SeqZorInvMain::IsDebugMode() const
{
    return GxTaskUIBase::GetSystemConfig().m_DebugModeFlag;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] entry, leave and the per-step order

void SeqZorInvMain::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    m_BGLayer->SetImage(ConfigString(SYSSTR_CG_DIR, L"cg/") + L"uizor/bg_zorinvmain.png", 0,
                        ConfigString(SYSSTR_ERROR_IMAGE, L"cg/error.png"));
    const std::wstring gis = ConfigString(SYSSTR_UIGIS_DIR, L"uigis/");
    GxNcImageSetPool::Add(gis + L"ui_zorinvmain.gis");
    GxNcImageSetPool::Add(gis + L"ui_zormain.gis");
    ListenToRules();
    GxTaskManage* manage = GetManager();
    for (int i = 0; i < 4; ++i)
        m_Proxies[i]->SetTarget(manage ? manage->FindTaskByName(ZorCore::kEffectLists[i]) : nullptr);

    ZorUserData* s = State();
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    std::wstring music = s ? ConfigString(SYSSTR_BGM_DIR, L"bgms/") + s->m_InvBGM : std::wstring();
    if (s && !s->m_InvBGM.empty() && GxSystemConfig::ResolveSoundPath(music) &&
        (!data || data->m_BGMRecord.m_FileName != music))
    {
        if (data)
        {
            data->m_BGMRecord.m_FileName = music;
            data->m_BGMRecord.m_Loop = 0;
            data->m_BGMRecord.m_StartSeekPosTime = 0;
            data->m_BGMRecord.m_LoopPosTime = 0;
            data->m_BGMRecord.m_FadeInTime = 0;
        }
        GxSound::PlayBGM(music, -1, 0, 0, GxTaskUIBase::GetUserConfig().GetBGMVolume(), 0, 0);
    }
    if (s && manage && manage->GetCurrentParam(0) == 1)
    {
        s->m_GamePhase = 9;
        s->m_GameUnitTab_ZOR = 0;
        ResetUnitList();
        if (GxTaskUIBase* b = BottomWidget(L"btn_cancelthewar"))
            b->SetEnabled(true);
        if (GxTaskUIBase* b = BottomWidget(L"btn_openthewar"))
            b->SetEnabled(false);
        if (GxTaskBase* field = manage->FindTaskByName(L"$UIFIELD:SeqZorInvMain"))
            field->Resume();
    }
    SelectTab();
    m_DraggedUnit = 0;
}

void SeqZorInvMain::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    for (ZorTaskProxy* proxy : m_Proxies)
        proxy->SetTarget(nullptr);
    m_BGLayer->ClearContent(0);
    const std::wstring gis = ConfigString(SYSSTR_UIGIS_DIR, L"uigis/");
    GxNcImageSetPool::Release(gis + L"ui_zorinvmain.gis");
    GxNcImageSetPool::Release(gis + L"ui_zormain.gis");
}

void SeqZorInvMain::OnRefresh(uint32_t what)
{
    if (what & kRefreshUnitList)
        m_UnitList->UpdateScrollRange();
}

void SeqZorInvMain::SelectTab()
{
    const ZorUserData* s = State();
    const int32_t tab = s ? s->m_GameUnitTab_ZOR : 0;
    const wchar_t* name = tab == 1   ? L"btn_unittab_ready"
                          : tab == 2 ? L"btn_unittab_heroine"
                          : tab == 4 ? L"btn_unittab_employment"
                                     : L"btn_unittab_all";
    if (auto* radio = dynamic_cast<GxTaskUIRadioButtonIs*>(BottomWidget(name)))
        radio->Select();
}

void SeqZorInvMain::ResetUnitList()
{
    // The slider may come from a layout row read after the screen was built.
    if (!m_UnitList->GetSlider())
        m_UnitList->SetSlider(BottomWidget(L"hsld_unitlist"));
    m_UnitList->ResetScroll();
}

int32_t SeqZorInvMain::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    ZorUserData* s = State();
    if (DispatchUIEvents(this) == 0 && s && !HasChild(L"$EFFECTSPECIAL:SeqZorMain"))
    {
        if (GetOpenDialogCount() == 0)
            Core()->UpdateInvasion();
        const bool won = s->m_GamePhase == 12;
        if ((won || s->m_GamePhase == 13) && !HasChild(L"$EFFECTEND:SeqZorMain"))
        {
            GxTaskManage* manage = GetManager();
            auto* releaser =
                manage ? dynamic_cast<SeqZorInvReleaser*>(manage->FindTaskByName(L"SeqZorInvReleaser")) : nullptr;
            const DBZorTownData* town = g_DBZorTown.GetRow(static_cast<uint32_t>(s->m_NextInvTownID));
            if (releaser && town)
                releaser->SetJumpLabel(won ? town->m_VictoryLabel : town->m_DefeatedLabel);
            if (manage)
                manage->ChangeSequence(L"SeqZorInvReleaser", 1, 0);
        }
    }
    AdvanceFrameCount();
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] drawing

int32_t SeqZorInvMain::RegisterDraw(int32_t step, int64_t elapsed)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
        {
            list->Add(this, GX_RENDER_ASCEND, 1000.0f, 2);
            list->Add(this, GX_RENDER_ASCEND, 14011.0f, 3);
        }
    }
    return GxSeqTransitBase::RegisterDraw(step, elapsed);
}

int32_t SeqZorInvMain::Draw(int32_t param, int32_t layer)
{
    if (param != 2 && param != 3)
        return GxSeqTransitBase::Draw(param, layer);
    ZorCore* core = Core();
    ZorTaskUnitEntity* unit = m_DraggedUnit != 0 && core ? core->FindUnit(m_DraggedUnit) : nullptr;
    if (!unit)
        return 0;
    if (param == 2)
    {
        // The cursors pulse with a period of 45 frames (4 degrees a frame).
        const float a = std::fabs(std::sin(static_cast<float>(GetFrameCount()) * 4.0f * 3.14159265f / 180.0f));
        const uint32_t colour = (static_cast<uint32_t>(a * 255.0f + 0.5f) << 24) | 0x00FFFFFFu;
        const ZorUserData* s = State();
        for (int32_t f = 0; f < kFormations; ++f)
        {
            if (!CanTake(f, *unit))
                continue;
            for (int32_t slot = 0; slot < kSlots; ++slot)
            {
                if (s->m_FieldFormations[f].m_UnitEntityIDs[slot] == 0)
                    GxNcIconPool::DrawString(L"icon_targetcursor", 1.0f, 1.0f, SlotLeft(f, slot), SlotTop(f), 0.0f,
                                             colour);
            }
        }
        return 0;
    }
    int x = 0;
    int y = 0;
    if (g_Core)
        g_Core->GetCursorPos(x, y);
    const float ix = static_cast<float>(x) - 26.0f;
    const float iy = static_cast<float>(y) - 26.0f;
    if (const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID)))
        GxNcIconPool::DrawString(row->m_FaceIconImage, 1.0f, 1.0f, ix, iy, 0.0f, 0xFFFFFFFF);
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    if (SlotAt(0, *unit, fx, fy) < 0 && SlotAt(1, *unit, fx, fy) < 0)
        GxNcIconPool::DrawString(L"icon_na", 1.0f, 1.0f, ix, iy, 0.0f, 0x80FFFFFF);
    return 0;
}
