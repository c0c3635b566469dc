#include "strategy/screens/SeqZorMain.h"

#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorReleaser.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskCameraControl.h"
#include "strategy/screens/ZorTaskMapBackground.h"
#include "strategy/screens/ZorTaskMapOverlay.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "strategy/screens/ZorTaskMapUnit.h"
#include "strategy/screens/ZorTaskMapView.h"
#include "strategy/screens/ZorTaskNextEnemy.h"
#include "strategy/screens/ZorTaskParamView.h"
#include "strategy/screens/ZorTaskTimeView.h"
#include "strategy/screens/ZorTaskUnitList.h"
#include "strategy/screens/ZorTaskUIMiniMap.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUINull.h"
#include "task/ui/GxTaskUITextLogFx.h"

namespace
{

constexpr const wchar_t* kImageSet = L"ui_zormain.gis";

std::wstring ImageSetPath()
{
    std::wstring dir = GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_UIGIS_DIR);
    return dir + kImageSet;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// [SECTION] task tree

SeqZorMain::SeqZorMain(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqZorMain")
{
    GxTaskBase* root = new GxTaskFolder(this, L"$ROOT:SeqZorMain");
    new GxTaskFolder(root, ZorCore::kUnitReadyList);
    new GxTaskFolder(root, ZorCore::kUnitPlayerList);
    new GxTaskFolder(root, ZorCore::kUnitEnemyList);
    GxTaskBase* ui = new GxTaskFolder(root, L"$UI:SeqZorMain");
    GxTaskBase* view = new GxTaskFolder(root, L"$VIEW:SeqZorMain");
    for (const wchar_t* name : ZorCore::kEffectLists)
        new GxTaskFolder(root, name);

    m_EventCaller = new GxTaskUINull(ui, nullptr, L"null_eventcaller");
    m_EventCaller->SetModal(true);
    GxTaskUIBase* menu = MakeWindow(ui, L"menu_zor", L"$ZORMENU:SeqZorMain");
    menu->SetModal(true);
    menu->SetOrderZ(14010.0f);
    menu->SetPos(GxVector4(200.0f, 200.0f, 0.0f, 0.0f));
    menu->Suspend();
    struct WindowSpec
    {
        const wchar_t* module;
        const wchar_t* name;
        float x, y, depth;
        bool hidden;
    };
    static const WindowSpec s_Windows[] = {
        {L"tip_zorwindow_room", L"$ZORROOM:SeqZorMain", 664.0f, 0.0f, 12000.0f, true},
        {L"tip_zorwindow_struct", L"$ZORSTRUCT:SeqZorMain", 304.0f, 0.0f, 12000.0f, true},
        {L"tip_zorwindow_trap", L"$ZORTRAP:SeqZorMain", 304.0f, 0.0f, 12000.0f, true},
        {L"tip_zorwindow_summon", L"$ZORSUMMON:SeqZorMain", 304.0f, 0.0f, 12000.0f, true},
        {L"tip_zorwindow_bottom0", L"$ZORBOTTOM0:SeqZorMain", 0.0f, 507.0f, 11000.0f, false},
        {L"tip_zorwindow_bottom1", L"$ZORBOTTOM1:SeqZorMain", 0.0f, 571.0f, 11000.0f, false},
    };
    GxTaskUIBase* bottom1 = nullptr;
    for (const WindowSpec& w : s_Windows)
    {
        GxTaskUIBase* window = MakeWindow(ui, w.module, w.name);
        window->SetPos(GxVector4(w.x, w.y, 0.0f, 0.0f));
        window->SetOrderZ(w.depth);
        if (w.hidden)
            window->Suspend();
        if (std::wstring(w.name) == L"$ZORBOTTOM0:SeqZorMain")
            window->SetEventBlock(false);
        if (std::wstring(w.name) == L"$ZORBOTTOM1:SeqZorMain")
            bottom1 = window;
    }
    auto* layer = new GxTaskLayer(root, L"$BGLAYER:SeqZorMain");
    layer->SetOrderZ(-10.0f);

    // The widgets of the layout rows: the screen's own first, then those of its menu, windows and bars.
    for (const wchar_t* folder :
         {L"$UI:SeqZorMain", L"$ZORMENU:SeqZorMain", L"$ZORROOM:SeqZorMain", L"$ZORSTRUCT:SeqZorMain",
          L"$ZORTRAP:SeqZorMain", L"$ZORSUMMON:SeqZorMain", L"$ZORBOTTOM0:SeqZorMain", L"$ZORBOTTOM1:SeqZorMain"})
        GxTaskControl::CreateUIFromDBUILayout(this, folder);
    auto* log = new GxTaskUITextLogFx(ui, L"$LOG:SeqZorMain");
    log->SetOrderZ(10000.0f);
    log->SetMaxView(10);
    log->SetPos(GxVector4(768.0f, 64.0f, 0.0f, 0.0f));

    m_Camera = new ZorTaskCamera(view, L"$ZORCAMERA:SeqZorMain");
    m_Camera->ResetZoom(2.0f, 64.0f);
    m_Pointing = new ZorTaskMapPointing(view, L"$ZORMAPPOINTING:SeqZorMain", m_Camera);
    new ZorTaskMapView(view, L"$ZORMAPVIEW:SeqZorMain", m_Camera);
    new ZorTaskMapUnit(view, L"$ZORMAPUNIT:SeqZorMain", m_Camera);
    new ZorTaskMapOverlay(view, L"$ZORMAPOVERLAY:SeqZorMain", m_Camera);
    new ZorTaskMapBackground(view, L"$ZORMAPBACKGROUND:SeqZorMain", m_Camera);
    new ZorTaskCameraControl(view, L"$ZORMAPCONTROL:SeqZorMain", m_Camera);
    m_MiniMap = new ZorTaskUIMiniMap(bottom1, L"$ZORMINIMAP:SeqZorMain", m_Camera);
    new ZorTaskParamView(bottom1, L"$ZORPARAMVIEW:SeqZorMain");
    m_UnitList = new ZorTaskUnitList(bottom1);
    new ZorTaskNextEnemy(ui, L"$ZORNEXTENEMY:SeqZorMain");
    new ZorTaskTimeView(ui);
    m_TextLog = new GxTaskUITextLogFx(ui, L"$ZORTEXTLOG:SeqZorMain");
    m_TextLog->SetPos(GxVector4(84.0f, 94.0f, 0.0f, 0.0f));
    m_TextLog->SetOrderZ(12001.0f);
    m_TextLog->SetEventBlock(false);
    m_TextLog->SetMaxLine(0);
    m_TextLog->SetMaxView(8);
    m_TextLog->SetAutoCrossout(true);
    m_TextLog->SetCrossoutWaitTime(2500);
    BuildWindowContents(ui);

    if (GxTaskUIBase* tip = FindWidget(L"$UI:SeqZorMain", L"tip_timelimit"))
        tip->SetEventBlock(false);
    SelectRadio(L"btn_zorpause");
    SelectRadio(L"btn_unittab_ready");
    SetAcceptUIEvent(true);
}

SeqZorMain::~SeqZorMain() = default;

GxTaskUIBase* SeqZorMain::MakeWindow(GxTaskBase* parent, const wchar_t* module, const wchar_t* name)
{
    // Without the module's row the window is an empty widget of the same name, so the handlers and the
    // stand-in views always find it; the rows are optional data, so a missing one is not an error.
    bool known = false;
    for (int32_t i = 0; i < g_DBUIModule.GetCapacity() && !known; ++i)
        known = g_DBUIModule.GetRow(i)->m_ModuleName == module;
    if (known)
    {
        if (GxTaskUIBase* w = CreateUITaskByModuleName(parent, module, name, -1)) // -1: a global name
            return w;
    }
    return new GxTaskUINull(parent, name);
}

GxTaskFolder* SeqZorMain::GetFolder(const wchar_t* name) const
{
    GxTaskManage* manage = GetManager();
    return manage ? dynamic_cast<GxTaskFolder*>(manage->FindTaskByName(name)) : nullptr;
}

GxTaskUIBase* SeqZorMain::FindWidget(const wchar_t* folder, const wchar_t* name, int32_t index) const
{
    GxTaskFolder* f = GetFolder(folder);
    return f ? dynamic_cast<GxTaskUIBase*>(f->FindTaskLocal(name, index)) : nullptr;
}

ZorCore* SeqZorMain::Core() const
{
    return ZorCore::GetInstance();
}

ZorUserData* SeqZorMain::State() const
{
    ZorCore* core = Core();
    return core ? core->GetUserData() : nullptr;
}

bool SeqZorMain::HasChild(const wchar_t* folder) const
{
    GxTaskManage* manage = GetManager();
    GxTaskBase* f = manage ? manage->FindTaskByName(folder) : nullptr;
    return f && f->GetFirstChild() != nullptr;
}

bool SeqZorMain::IsDebugMode() const
{
    return GxTaskUIBase::GetSystemConfig().m_DebugModeFlag;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] entry, leave and the per-step order

void SeqZorMain::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    GxNcImageSetPool::Add(ImageSetPath());
    if (g_Core && g_Core->m_UserData)
    {
        g_Core->m_UserData->SetRestoreSequence(L"SeqZorLoader");
        g_Core->m_UserData->SetGameDataTitle(L"ダンジョン防衛中");
    }
    ZorCore* core = Core();
    GxTaskManage* manage = GetManager();
    const uint32_t p = manage ? manage->GetCurrentParam(0) : 0;
    if (core)
    {
        ListenToRules();
        ZorUserData* s = core->GetUserData();
        if (p == kParamFresh)
            core->StartDefenceEffect();
        if (p == kParamFresh || p == kParamRestored)
        {
            s->m_GameState = 0;
            s->m_GameUnitTab_ZOR = 0;
            m_UnitList->ResetScroll();
            m_TextLog->ClearLines();
            m_Camera->LookAtRoom(s->m_ThroneRoomPosX, s->m_ThroneRoomPosY, ZorTaskCamera::kDefaultSpeed);
        }
        static const wchar_t* s_Tabs[4] = {L"btn_unittab_all", L"btn_unittab_ready", L"btn_unittab_heroine",
                                           L"btn_unittab_healing"};
        SelectRadio(s->m_GameUnitTab_ZOR >= 1 && s->m_GameUnitTab_ZOR <= 3 ? s_Tabs[s->m_GameUnitTab_ZOR] : s_Tabs[0]);
        SelectRadio(s->m_GameState == 1 ? L"btn_zorplay" : s->m_GameState == 2 ? L"btn_zorplay2x" : L"btn_zorpause");
        m_UnitList->UpdateScrollRange();
    }
    m_DraggedUnit = 0;
    m_MenuBlockX = m_MenuBlockZ = m_MenuSlot = -1;
    m_MenuUnit = 0;
    // The time spent loading is not to be caught up.
    if (g_Core)
        g_Core->m_FrameTimer.Reset();
}

void SeqZorMain::OnSequenceLeave()
{
    m_DraggedUnit = 0;
    GxSeqTransitBase::OnSequenceLeave();
    GxNcImageSetPool::Release(ImageSetPath());
}

int32_t SeqZorMain::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    ZorUserData* s = State();
    if (GetOpenDialogCount() != 0)
        m_DraggedUnit = 0;
    if (s && s->m_GamePhase == 5 && !HasChild(L"$EFFECTSTART:SeqZorMain"))
        s->m_GamePhase = 0;
    const bool handled = DispatchUIEvents(this) != 0;
    if (!handled && s && !HasChild(L"$EFFECTSPECIAL:SeqZorMain"))
    {
        if ((s->m_GamePhase == 0 || s->m_GamePhase == 1) && GetOpenDialogCount() == 0 &&
            (s->m_GameState == 1 || s->m_GameState == 2))
            Core()->UpdateDefence(s->m_GameState);
        const bool won = s->m_GamePhase == 6;
        if ((won || s->m_GamePhase == 7) && !HasChild(L"$EFFECTEND:SeqZorMain"))
        {
            GxTaskManage* manage = GetManager();
            if (auto* releaser =
                    manage ? dynamic_cast<SeqZorReleaser*>(manage->FindTaskByName(L"SeqZorReleaser")) : nullptr)
                releaser->SetJumpLabel(won ? L"ZOR_DEF_VICTORY" : L"ZOR_DEF_DEFEATED");
            if (manage)
                manage->ChangeSequence(L"SeqZorReleaser", 0, 0);
        }
    }
    AdvanceFrameCount();
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] drawing

int32_t SeqZorMain::RegisterDraw(int32_t step, int64_t elapsed)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 14011.0f, 2);
    }
    return GxSeqTransitBase::RegisterDraw(step, elapsed);
}

int32_t SeqZorMain::Draw(int32_t param, int32_t layer)
{
    if (param != 2)
        return GxSeqTransitBase::Draw(param, layer);
    if (m_DraggedUnit == 0 || !Core())
        return 0;
    ZorTaskUnitEntity* unit = Core()->FindUnit(m_DraggedUnit);
    if (!unit)
        return 0;
    int x = 0;
    int y = 0;
    if (g_Core)
        g_Core->GetCursorPos(x, y);
    const float ix = static_cast<float>(x) - 26.0f;
    const float iy = static_cast<float>(y) - 26.0f;
    if (const DBZorUnitData* row = g_DBZorUnit.GetRow(unit->m_UnitID))
        GxNcIconPool::DrawString(row->m_FaceIconImage, 1.0f, 1.0f, ix, iy, 0.0f, 0xFFFFFFFF);
    if (!IsDropTarget())
        GxNcIconPool::DrawString(L"icon_na", 1.0f, 1.0f, ix, iy, 0.0f, 0x80FFFFFF);
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] rules notifications

void SeqZorMain::OnTextLog(const std::wstring& line)
{
    m_TextLog->AddLine(line.c_str(), nullptr, 0xFFFFFFFF);
}

void SeqZorMain::OnRefresh(uint32_t what)
{
    if (what & kRefreshMinimap)
        m_MiniMap->DrawMapTexture(State());
    if (what & kRefreshRoomButtons)
        UpdateRoomWindowButtons();
}
