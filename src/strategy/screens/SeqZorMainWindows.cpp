#include "strategy/screens/SeqZorMain.h"

#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSoundControl.h"
#include "core/GxCore.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskItemWindowView.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "strategy/screens/ZorTaskRoomWindowView.h"
#include "strategy/screens/ZorTaskUnitInfo.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIMenuIs.h"

#include <algorithm>

// The defence screen's windows: the room window (not modal: time runs), the facility, summon and trap
// windows and the context menu (modal: each raises the open-dialog count and takes its new value as its
// priority). The windows are made once with the screen and only resumed and suspended here. While the
// system's shutdown or user dialog shows, no window opens or closes (the menu may still close).

namespace
{

constexpr int32_t kUserDialogYesNo = 3;

void SetPhase(ZorUserData* s, int32_t phase)
{
    if (s)
        s->m_GamePhase = phase;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// [SECTION] helpers

GxTaskUIBase* SeqZorMain::GetWidget(const wchar_t* folder, const wchar_t* name, int32_t index) const
{
    GxTaskFolder* f = GetFolder(folder);
    return f ? dynamic_cast<GxTaskUIBase*>(f->GetTaskLocal(name, index)) : nullptr;
}

bool SeqZorMain::IsSystemDialogOpen() const
{
    GxTaskManage* manage = GetManager();
    if (!manage)
        return false;
    for (const wchar_t* name : {L"dlg_user", L"dlg_shutdown"})
    {
        if (GxTaskBase* dialog = manage->FindTaskByName(name); dialog && dialog->IsActive())
            return true;
    }
    return false;
}

void SeqZorMain::SetWindowShown(const wchar_t* name, bool shown)
{
    if (GxTaskFolder* w = GetFolder(name))
    {
        if (shown)
            w->Resume();
        else
            w->Suspend();
    }
}

int32_t SeqZorMain::GetRoomWindowRX() const
{
    return m_RoomView ? m_RoomView->GetRoomX() : -1;
}

int32_t SeqZorMain::GetRoomWindowRZ() const
{
    return m_RoomView ? m_RoomView->GetRoomZ() : -1;
}

int32_t SeqZorMain::GetRoomWindowSlot() const
{
    return m_RoomView ? m_RoomView->GetSelectedSlot() : -1;
}

void SeqZorMain::SetRoomWindowSlot(int32_t slot)
{
    if (m_RoomView)
        m_RoomView->SetSelectedSlot(slot);
}

void SeqZorMain::OpenModalWindow(const wchar_t* name, int32_t phase)
{
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundOpen);
    SetPhase(State(), phase);
    SetOpenDialogCount(GetOpenDialogCount() + 1);
    if (auto* window = dynamic_cast<GxTaskUIBase*>(GetFolder(name)))
    {
        window->SetModal(true);
        window->SetModalPriority(GetOpenDialogCount());
    }
}

void SeqZorMain::CloseModalWindow(const wchar_t* name)
{
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundClose);
    SetWindowShown(name, false);
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] room window

void SeqZorMain::OpenRoomWindow(int32_t rx, int32_t rz)
{
    if (IsSystemDialogOpen())
        return;
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundOpen);
    m_RoomView->SetRoom(rx, rz);
    m_RoomView->SetSelectedSlot(-1);
    UpdateRoomWindowButtons();
    SetPhase(State(), 1);
    SetWindowShown(L"$ZORROOM:SeqZorMain", true);
    DisableSystemButtons();
}

void SeqZorMain::CloseRoomWindow()
{
    if (IsSystemDialogOpen())
        return;
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundClose);
    SetPhase(State(), 0);
    SetWindowShown(L"$ZORROOM:SeqZorMain", false);
    EnableSystemButtons();
}

void SeqZorMain::UpdateRoomWindowButtons()
{
    static const wchar_t* s_Buttons[4] = {L"btn_unitsummon", L"btn_trapcreate", L"btn_unitremove", L"btn_unitdispose"};
    GxTaskUIBase* buttons[5][4] = {};
    for (int32_t i = 0; i < 5; ++i)
    {
        for (int32_t b = 0; b < 4; ++b)
        {
            buttons[i][b] = GetWidget(L"$ZORROOM:SeqZorMain", s_Buttons[b], i);
            if (buttons[i][b])
                buttons[i][b]->SetEnabled(false);
        }
    }
    const ZorUserData* s = State();
    const int32_t rx = GetRoomWindowRX();
    const int32_t rz = GetRoomWindowRZ();
    const ZorRoomState* room = s && rx >= 0 && rx < 10 && rz >= 0 && rz < 10 ? s->GetRoughRoom(rx, rz) : nullptr;
    if (!room)
        return;
    const DBZorStructData* facility = g_DBZorStruct.GetRow(static_cast<uint32_t>(room->m_StructID));
    const int32_t capacity = facility ? std::min(facility->m_Capacity, 5) : 0;
    auto enable = [](GxTaskUIBase* b)
    {
        if (b)
            b->SetEnabled(true);
    };
    for (int32_t i = 0; i < capacity; ++i)
    {
        if (room->m_UnitEntityIDs[i] == 0)
        {
            enable(buttons[i][0]);
            enable(buttons[i][1]);
            continue;
        }
        const ZorTaskUnitEntity* unit = Core()->FindUnit(room->m_UnitEntityIDs[i]);
        if (!unit)
            continue;
        const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID));
        // Traps cannot be recalled, only scrapped.
        if (!row || row->m_Class != ZorTaskUnitEntity::kTrapClass)
            enable(buttons[i][2]);
        enable(buttons[i][3]);
    }
}

void SeqZorMain::DisableSystemButtons()
{
    for (const wchar_t* name : {L"btn_zorsave", L"btn_zorload", L"btn_zorconfig"})
    {
        if (GxTaskUIBase* b = GetWidget(L"$ZORBOTTOM1:SeqZorMain", name))
            b->SetEnabled(false);
    }
}

void SeqZorMain::EnableSystemButtons()
{
    for (const wchar_t* name : {L"btn_zorsave", L"btn_zorload", L"btn_zorconfig"})
    {
        if (GxTaskUIBase* b = GetWidget(L"$ZORBOTTOM1:SeqZorMain", name))
            b->SetEnabled(true);
    }
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] facility, summon and trap windows

namespace
{

void ResetView(GxTaskManage* manage, const wchar_t* name)
{
    if (auto* view = manage ? dynamic_cast<ZorTaskItemWindowView*>(manage->FindTaskByName(name)) : nullptr)
        view->ShowItem(-1);
}

} // namespace

void SeqZorMain::OpenStructWindow()
{
    if (IsSystemDialogOpen())
        return;
    OpenModalWindow(L"$ZORSTRUCT:SeqZorMain", 2);
    FillStructList(GetRoomWindowRX(), GetRoomWindowRZ());
    ResetView(GetManager(), L"$ZORSTRUCTWINDOWVIEW:SeqZorMain");
    SetWindowShown(L"$ZORSTRUCT:SeqZorMain", true);
}

void SeqZorMain::OpenSummonWindow(int32_t slot)
{
    if (IsSystemDialogOpen())
        return;
    m_RoomView->SetSelectedSlot(slot);
    OpenModalWindow(L"$ZORSUMMON:SeqZorMain", 3);
    FillSummonList();
    ResetView(GetManager(), L"$ZORSUMMONWINDOWVIEW:SeqZorMain");
    SetWindowShown(L"$ZORSUMMON:SeqZorMain", true);
}

void SeqZorMain::OpenTrapWindow(int32_t slot)
{
    if (IsSystemDialogOpen())
        return;
    m_RoomView->SetSelectedSlot(slot);
    OpenModalWindow(L"$ZORTRAP:SeqZorMain", 4);
    FillTrapList();
    ResetView(GetManager(), L"$ZORTRAPWINDOWVIEW:SeqZorMain");
    SetWindowShown(L"$ZORTRAP:SeqZorMain", true);
}

namespace
{

// After a modal window closed: back to the room window when it still shows, else to free play with the
// system buttons given back.
int32_t PhaseAfterClose(GxTaskBase* room)
{
    return room && room->IsActive() ? 1 : 0;
}

} // namespace

void SeqZorMain::AfterModalClose()
{
    DecrementOpenDialogCount();
    // Back to the room window's phase while it stands open, else to play with the system buttons back.
    const int32_t phase = PhaseAfterClose(GetFolder(L"$ZORROOM:SeqZorMain"));
    SetPhase(State(), phase);
    if (phase == 0)
        EnableSystemButtons();
}

void SeqZorMain::CloseStructWindow()
{
    if (IsSystemDialogOpen())
        return;
    CloseModalWindow(L"$ZORSTRUCT:SeqZorMain");
    AfterModalClose();
}

void SeqZorMain::CloseSummonWindow()
{
    if (IsSystemDialogOpen())
        return;
    CloseModalWindow(L"$ZORSUMMON:SeqZorMain");
    m_RoomView->SetSelectedSlot(-1);
    AfterModalClose();
}

void SeqZorMain::CloseTrapWindow()
{
    if (IsSystemDialogOpen())
        return;
    CloseModalWindow(L"$ZORTRAP:SeqZorMain");
    m_RoomView->SetSelectedSlot(-1);
    AfterModalClose();
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] context menu

void SeqZorMain::OpenMenu(float x, float y)
{
    if (GetOpenDialogCount() > 0)
        return;
    ZorUserData* s = State();
    m_MenuBlockX = m_MenuBlockZ = m_MenuSlot = -1;
    m_MenuUnit = 0;
    if (m_Pointing->HasBlock())
    {
        m_MenuBlockX = m_Pointing->GetBlockX();
        m_MenuBlockZ = m_Pointing->GetBlockZ();
    }
    // The cards are brought up to date first: the menu moves aside when it would cover them.
    m_UnitInfo->Update(0, 0);
    const int32_t lines = m_UnitInfo->GetLineCount();
    y = std::clamp(y, 64.0f, 507.0f);
    x = std::min(x, 896.0f);
    if (lines >= 1)
    {
        const int32_t ix = static_cast<int32_t>(x);
        const int32_t iy = static_cast<int32_t>(y);
        const bool overCards = (ix >= 740 && ix < 1024) || (ix + 128 >= 740 && ix + 128 < 1024);
        if (overCards && iy >= 4 && iy < 184 * lines + 4)
            x = 612.0f;
    }
    auto* menuWindow = dynamic_cast<GxTaskUIBase*>(GetFolder(L"$ZORMENU:SeqZorMain"));
    if (menuWindow)
        menuWindow->SetPos(GxVector4(x, y, 0.0f, 0.0f));
    auto* menu = dynamic_cast<GxTaskUIMenuIs*>(menuWindow);
    auto enableItem = [menu](int32_t i, bool on)
    {
        if (GxUIMenuItem* item = menu ? menu->GetItem(i) : nullptr)
            item->m_Enabled = on;
    };
    for (int32_t i = 0; i < 4; ++i)
        enableItem(i, false);
    enableItem(4, true);

    const ZorBlockState* block = s && m_MenuBlockX >= 0 && m_MenuBlockX < 40 && m_MenuBlockZ >= 0 && m_MenuBlockZ < 40
                                     ? s->GetDetailBlock(m_MenuBlockX, m_MenuBlockZ)
                                     : nullptr;
    const ZorRoomState* room = block ? s->GetRoomOfBlock(m_MenuBlockX, m_MenuBlockZ) : nullptr;
    if (room && room->m_MapRoom && room->m_MapRoom->m_Center)
    {
        m_MenuSlot =
            ZorDeltaToDir(m_MenuBlockX - room->m_MapRoom->m_CenterDX, m_MenuBlockZ - room->m_MapRoom->m_CenterDZ);
        const DBZorStructData* facility = g_DBZorStruct.GetRow(static_cast<uint32_t>(room->m_StructID));
        if (m_MenuSlot != -1 && facility && m_MenuSlot < facility->m_Capacity)
        {
            const int64_t id = room->m_UnitEntityIDs[m_MenuSlot];
            if (id == 0)
            {
                // Only a dug room takes a new unit or trap.
                if (s->GetRoomState(room->m_MapRoom->m_RX, room->m_MapRoom->m_RZ) == 8)
                {
                    enableItem(0, true);
                    enableItem(1, true);
                }
            }
            else if (const ZorTaskUnitEntity* unit = Core()->FindUnit(id))
            {
                m_MenuUnit = id;
                const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID));
                const bool trap = row && row->m_Class == ZorTaskUnitEntity::kTrapClass;
                enableItem(2, !trap &&
                                  (unit->IsUnitActive() || unit->m_AppearTimeLeft > 0 || unit->m_ArrangeTimeLeft > 0));
                enableItem(3, true);
            }
        }
    }
    if (menu)
        menu->ClearSelection();
    if (menuWindow)
        menuWindow->Resume();
    SetOpenDialogCount(GetOpenDialogCount() + 1);
    if (menuWindow)
        menuWindow->SetModalPriority(GetOpenDialogCount());
    SetPhase(s, 8);
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
}

void SeqZorMain::CloseMenu()
{
    SetWindowShown(L"$ZORMENU:SeqZorMain", false);
    SetPhase(State(), 0);
    DecrementOpenDialogCount();
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] dismissal and the save thumbnail

void SeqZorMain::AskDisposeUnit(int64_t taskID)
{
    if (GetOpenDialogCount() != 0)
        return;
    m_DisposeUnit = taskID;
    ZorCore* core = Core();
    const ZorTaskUnitEntity* unit = core && taskID != 0 ? core->FindUnit(taskID) : nullptr;
    const DBZorUnitData* row = unit ? g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID)) : nullptr;
    GxTaskManage* manage = GetManager();
    auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr;
    if (!row || !system)
        return;
    // A trap is scrapped, any other unit dismissed.
    const std::wstring text =
        row->m_ShowName + (row->m_Class == ZorTaskUnitEntity::kTrapClass ? L"を廃棄しますか？" : L"を解雇しますか？");
    system->OpenUserDialog(L"DISPOSEUNIT", text.c_str(), kUserDialogYesNo);
}

void SeqZorMain::MakeSaveThumbnail()
{
    if (g_Core && g_Core->CaptureScreen())
        g_GlobalRenderTargets.m_RenderTexture[0].TransferRenderTargetToMemory();
    MakeThumbnailImage();
}

void SeqZorMain::OnCloseDialog()
{
    GxTaskManage* manage = GetManager();
    auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr;
    GxTaskBase* dialog = manage ? manage->FindTaskByName(L"dlg_user") : nullptr;
    if (!system || !dialog || !dialog->IsActive())
        return;
    // A dismissal asked and never answered is dropped with its question.
    m_DisposeUnit = 0;
    system->CloseUserDialog(true);
}

void SeqZorMain::OnCloseWindows(int32_t phase)
{
    switch (phase)
    {
    case 1:
        CloseRoomWindow();
        break;
    case 2:
        CloseStructWindow();
        CloseRoomWindow();
        break;
    case 3:
        CloseSummonWindow();
        CloseRoomWindow();
        break;
    case 4:
        CloseTrapWindow();
        CloseRoomWindow();
        break;
    case 8:
        CloseMenu();
        break;
    default:
        break;
    }
}
