#include "strategy/screens/SeqZorMain.h"

#include "appdata/DBZorStruct.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSoundControl.h"
#include "core/GxCore.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"
#include "strategy/screens/ZorTaskRoomWindowView.h"
#include "strategy/screens/ZorTaskUnitList.h"
#include "task/ui/GxTaskUIMenuIs.h"
#include "task/ui/GxTaskUINull.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

#include <string>

namespace
{

// Windows virtual-key codes.
constexpr uint32_t kVk0 = 0x30;
constexpr uint32_t kVk1 = 0x31;
constexpr uint32_t kVk2 = 0x32;
constexpr uint32_t kVkC = 0x43;
constexpr uint32_t kVkT = 0x54;
constexpr uint32_t kVkX = 0x58;
constexpr uint32_t kVkZ = 0x5A;

bool IsInside(const GxTaskBase* task, const wchar_t* name)
{
    for (const GxTaskBase* t = task ? task->GetParent() : nullptr; t; t = t->GetParent())
    {
        if (t->GetTaskName() == name)
            return true;
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// [SECTION] raw mouse and keys

int32_t SeqZorMain::OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl)
{
    (void)point, (void)keys, (void)dbl;
    // Only a press no widget took reaches the sequence: it becomes a click of the invisible caller.
    if (CanWidgetAcceptInput(m_EventCaller))
        m_EventCaller->PostUIEventCode(GX_UIEVENT_CLICK);
    return 0;
}

int32_t SeqZorMain::OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl)
{
    (void)keys, (void)dbl;
    if (CanWidgetAcceptInput(m_EventCaller))
    {
        GxUIEvent event(m_EventCaller, 2, 0);
        event.values[0] = point[0];
        event.values[1] = point[1];
        m_EventCaller->PostUIEvent(event);
    }
    return 0;
}

int32_t SeqZorMain::OnMouseLeftUp(const float* point, uint32_t keys)
{
    (void)keys;
    if (m_DraggedUnit != 0)
        DropUnit(point[1]);
    return 0;
}

bool SeqZorMain::PressSpeedKey(const wchar_t* name)
{
    auto* button = dynamic_cast<GxTaskUIRadioButtonIs*>(FindWidget(L"$ZORBOTTOM1:SeqZorMain", name));
    if (!button || !CanWidgetAcceptInput(button) || button->GetValueAsBool())
        return false;
    button->Select();
    return button->PostUIEventCode(GX_UIEVENT_CLICK);
}

void SeqZorMain::SelectRadio(const wchar_t* name)
{
    if (auto* button = dynamic_cast<GxTaskUIRadioButtonIs*>(FindWidget(L"$ZORBOTTOM1:SeqZorMain", name)))
        button->Select();
}

int32_t SeqZorMain::OnKeyDown(uint32_t key, uint32_t keyData)
{
    (void)keyData;
    ZorUserData* s = State();
    if (key >= kVk0 && key <= kVk2)
    {
        if (!IsDebugMode() || !s)
            return 0;
        if (key == kVk0)
            s->m_Resource_AstarosHP = 0;
        else
            s->m_RemainEnemyLeft = 0;
        if (key == kVk2)
            s->m_Capture_Result = 2;
        return 0;
    }
    switch (key)
    {
    case kVkZ:
        PressSpeedKey(L"btn_zorpause");
        break;
    case kVkX:
        PressSpeedKey(L"btn_zorplay");
        break;
    case kVkC:
        PressSpeedKey(L"btn_zorplay2x");
        break;
    case kVkT:
        if (GxTaskUIBase* b = FindWidget(L"$ZORBOTTOM1:SeqZorMain", L"btn_lookthrone"); b && CanWidgetAcceptInput(b))
            b->PostUIEventCode(GX_UIEVENT_CLICK);
        break;
    default:
        break;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] drag and drop

bool SeqZorMain::CanDropAt(float y, int32_t& rx, int32_t& rz, int32_t& slot) const
{
    // The one rule of the drop: the block lit under the pointer, the crossed-out icon and the drop itself
    // all ask it, so what lights up is what takes the unit.
    const ZorUserData* s = State();
    ZorCore* core = Core();
    if (!s || !core || m_DraggedUnit == 0 || GetOpenDialogCount() != 0 || !core->FindUnit(m_DraggedUnit))
        return false;
    const ZorRoomState* room = nullptr;
    if (s->m_GamePhase == 0)
    {
        if (y >= kBottomBarTop || !m_Pointing->HasBlock())
            return false;
        const int32_t bx = m_Pointing->GetBlockX();
        const int32_t bz = m_Pointing->GetBlockZ();
        const ZorBlockState* b = s->GetDetailBlock(bx, bz);
        if (!b || !b->m_EnablePass)
            return false;
        room = s->GetRoomOfBlock(bx, bz);
        if (!room || !room->m_MapRoom || !room->m_MapRoom->m_Center)
            return false;
        // Slots are named by their step from the room's centre cell.
        slot = ZorDeltaToDir(bx - room->m_MapRoom->m_CenterDX, bz - room->m_MapRoom->m_CenterDZ);
        rx = room->m_MapRoom->m_RX;
        rz = room->m_MapRoom->m_RZ;
    }
    else if (s->m_GamePhase == 1)
    {
        rx = GetRoomWindowRX();
        rz = GetRoomWindowRZ();
        slot = GetRoomWindowSlot();
        room = s->GetRoughRoom(rx, rz);
    }
    else
        return false;
    if (!room || slot < 0 || slot >= ZorRoomState::kSlots)
        return false;
    // The same capacity test as the room window, the menu and building: a slot past the facility's
    // capacity takes no unit.
    const DBZorStructData* row = g_DBZorStruct.GetRow(room->m_StructID);
    if (!row || slot >= row->m_Capacity)
        return false;
    return room->m_UnitEntityIDs[slot] == 0;
}

bool SeqZorMain::IsDropTarget() const
{
    int x = 0;
    int y = 0;
    if (g_Core)
        g_Core->GetCursorPos(x, y);
    int32_t rx = 0, rz = 0, slot = 0;
    return CanDropAt(static_cast<float>(y), rx, rz, slot);
}

void SeqZorMain::DropUnit(float y)
{
    int32_t rx = 0, rz = 0, slot = 0;
    if (CanDropAt(y, rx, rz, slot))
        Core()->ArrangeUnit(m_DraggedUnit, rx, rz, slot);
    m_DraggedUnit = 0;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] UI events

void SeqZorMain::ReturnSlotUnit(int32_t slot)
{
    ZorUserData* s = State();
    const ZorRoomState* room = s ? s->GetRoughRoom(GetRoomWindowRX(), GetRoomWindowRZ()) : nullptr;
    if (!room || slot < 0 || slot >= ZorRoomState::kSlots)
        return;
    ZorTaskUnitEntity* unit = Core()->FindUnit(room->m_UnitEntityIDs[slot]);
    if (unit && (unit->IsUnitActive() || unit->m_AppearTimeLeft > 0 || unit->m_ArrangeTimeLeft > 0))
        Core()->ReturnUnitToReady(room->m_UnitEntityIDs[slot]);
}

int32_t SeqZorMain::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqTransitBase::OnUIEvent1(sender, event) != 0)
        return 1;
    return HandleClick(sender);
}

int32_t SeqZorMain::HandleClick(GxTaskBase* sender)
{
    ZorUserData* s = State();
    if (!sender || !s)
        return 0;
    const std::wstring name = sender->GetTaskLocalName();
    const int32_t index = sender->GetTaskLocalIndex();
    const int32_t phase = s->m_GamePhase;
    GxTaskManage* manage = GetManager();

    if (sender == m_EventCaller)
    {
        if (phase == 0 && m_Pointing->HasBlock())
        {
            const ZorRoomState* room = s->GetRoomOfBlock(m_Pointing->GetBlockX(), m_Pointing->GetBlockZ());
            if (room && room->m_MapRoom)
            {
                const int32_t rx = room->m_MapRoom->m_RX;
                const int32_t rz = room->m_MapRoom->m_RZ;
                const int32_t st = s->GetRoomState(rx, rz);
                if ((st == 3 || st > 6) && s->IsRoomConnectable(rx, rz))
                    OpenRoomWindow(rx, rz);
            }
        }
        if (s->m_GamePhase == 8)
            CloseMenu();
        return 1;
    }
    if (name == L"btn_zorpause" || name == L"btn_zorplay" || name == L"btn_zorplay2x")
    {
        s->m_GameState = name == L"btn_zorpause" ? 0 : name == L"btn_zorplay" ? 1 : 2;
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundDecide);
        return 1;
    }
    if (name == L"btn_zorcancel")
    {
        if (IsInside(sender, L"$ZORSTRUCT:SeqZorMain"))
            return CloseStructWindow(), 1;
        if (IsInside(sender, L"$ZORTRAP:SeqZorMain"))
            return CloseTrapWindow(), 1;
        if (IsInside(sender, L"$ZORSUMMON:SeqZorMain"))
            return CloseSummonWindow(), 1;
    }
    if (sender->HasKind(GX_TASKKIND_WIDGET) && name.rfind(L"btn_", 0) == 0)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    if (IsInside(sender, L"$ZORROOM:SeqZorMain"))
    {
        if (name == L"btn_zorok")
            return CloseRoomWindow(), 1;
        if (phase == 1)
        {
            if (name == L"btn_structbuild")
                return OpenStructWindow(), 1;
            if (name == L"btn_trapcreate")
                return OpenTrapWindow(index), 1;
            if (name == L"btn_unitsummon")
                return OpenSummonWindow(index), 1;
            if (name == L"btn_unitremove")
                return ReturnSlotUnit(index), 1;
            if (name == L"btn_unitdispose")
            {
                const ZorRoomState* room = s->GetRoughRoom(GetRoomWindowRX(), GetRoomWindowRZ());
                if (GetOpenDialogCount() == 0 && room && index >= 0 && index < ZorRoomState::kSlots &&
                    Core()->FindUnit(room->m_UnitEntityIDs[index]))
                    AskDisposeUnit(room->m_UnitEntityIDs[index]);
                return 1;
            }
        }
    }
    if (name == L"btn_zorconfig" || name == L"btn_zorsave" || name == L"btn_zorload")
    {
        if (name == L"btn_zorsave")
            MakeSaveThumbnail();
        if (manage)
            manage->ChangeSequence(name == L"btn_zorconfig" ? L"SeqConfig"
                                   : name == L"btn_zorsave" ? L"SeqSave"
                                                            : L"SeqLoad",
                                   0, 0);
        return 1;
    }
    if (phase == 0 || phase == 1)
    {
        if (name == L"btn_unitlist")
        {
            m_DraggedUnit = static_cast<int64_t>(m_UnitList->GetEntryID(index));
            return 1;
        }
        if (name == L"btn_unitdelete" && GetOpenDialogCount() == 0)
        {
            AskDisposeUnit(static_cast<int64_t>(m_UnitList->GetEntryID(index)));
            return 1;
        }
    }
    auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr;
    if (system && system->GetUserDialogKey() == L"DISPOSEUNIT" &&
        (name == L"btn_dlguser_yes" || name == L"btn_dlguser_no"))
    {
        if (name == L"btn_dlguser_yes" && m_DisposeUnit != 0)
            Core()->DisposeUnit(m_DisposeUnit);
        m_DisposeUnit = 0;
        system->CloseUserDialog(true);
        if (name == L"btn_dlguser_yes")
            return 1;
    }
    static const wchar_t* s_Tabs[4] = {L"btn_unittab_all", L"btn_unittab_ready", L"btn_unittab_heroine",
                                       L"btn_unittab_healing"};
    for (int32_t i = 0; i < 4; ++i)
    {
        if (name == s_Tabs[i])
        {
            s->m_GameUnitTab_ZOR = i;
            m_UnitList->ResetScroll();
            return 1;
        }
    }
    if (name == L"btn_zoom_in")
        return m_Camera->ZoomIn(), 1;
    if (name == L"btn_zoom_out")
        return m_Camera->ZoomOut(), 1;
    if (name == L"btn_lookthrone")
    {
        m_Camera->LookAtRoom(s->m_ThroneRoomPosX, s->m_ThroneRoomPosY, ZorTaskCamera::kDefaultSpeed);
        return 1;
    }
    return 0;
}

int32_t SeqZorMain::OnUIEvent2(GxTaskBase* sender, const GxUIEvent& event)
{
    (void)sender;
    ZorUserData* s = State();
    if (!s)
        return 0;
    switch (s->m_GamePhase)
    {
    case 1:
        CloseRoomWindow();
        return 1;
    case 2:
        CloseStructWindow();
        return 1;
    case 3:
        CloseSummonWindow();
        return 1;
    case 4:
        CloseTrapWindow();
        return 1;
    case 0:
        if (event.values[1] < kBottomBarTop)
            OpenMenu(event.values[0], event.values[1]);
        return 1;
    case 8:
        CloseMenu();
        return 1;
    default:
        return 0;
    }
}

int32_t SeqZorMain::OnUIEvent18(GxTaskBase* sender, const GxUIEvent& event)
{
    ZorUserData* s = State();
    if (!s)
        return 0;
    if (s->m_GamePhase >= 2 && s->m_GamePhase <= 4)
        return ChooseListItem(s->m_GamePhase), 1;
    if (s->m_GamePhase != 8)
        return 0;
    int32_t choice = event.param;
    if (auto* menu = dynamic_cast<GxTaskUIMenuIs*>(sender))
        choice = menu->GetCurrentValue();
    const ZorRoomState* room = s->GetRoomOfBlock(m_MenuBlockX, m_MenuBlockZ);
    const int32_t rx = room && room->m_MapRoom ? room->m_MapRoom->m_RX : -1;
    const int32_t rz = room && room->m_MapRoom ? room->m_MapRoom->m_RZ : -1;
    switch (choice)
    {
    case 0:
    case 1:
        if (!room || !room->m_MapRoom)
            return 1;
        CloseMenu();
        m_RoomView->SetRoom(rx, rz);
        m_RoomView->SetSelectedSlot(-1);
        UpdateRoomWindowButtons();
        if (choice == 0)
            OpenSummonWindow(m_MenuSlot);
        else
            OpenTrapWindow(m_MenuSlot);
        return 1;
    case 2:
    {
        CloseMenu();
        ZorTaskUnitEntity* unit = Core()->FindUnit(m_MenuUnit);
        if (unit && (unit->IsUnitActive() || unit->m_AppearTimeLeft > 0 || unit->m_ArrangeTimeLeft > 0))
            Core()->ReturnUnitToReady(m_MenuUnit);
        return 1;
    }
    case 3:
        CloseMenu();
        AskDisposeUnit(m_MenuUnit);
        return 1;
    default:
        CloseMenu();
        return 1;
    }
}

int32_t SeqZorMain::OnUIEvent19(GxTaskBase* sender, const GxUIEvent& event)
{
    (void)event;
    if (!sender || sender->GetTaskLocalName() != L"hsld_unitlist")
        return 0;
    m_UnitList->Refresh();
    return 1;
}
