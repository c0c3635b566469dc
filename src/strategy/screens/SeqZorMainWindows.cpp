#include "strategy/screens/SeqZorMain.h"

#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

// The least forms of the defence windows: each opens or closes its widget and moves the game phase.
// FIXME: the window views (room contents, lists and their buttons, the dismissal dialog's text) replace
// these bodies when they are built; the phases and the modal count they keep are already the final ones.

namespace
{

void Show(SeqZorMain& screen, const wchar_t* name, bool show)
{
    if (GxTaskFolder* w = screen.GetFolder(name))
    {
        if (show)
            w->Resume();
        else
            w->Suspend();
    }
}

void SetPhase(int32_t phase)
{
    if (ZorCore* core = ZorCore::GetInstance())
        core->GetUserData()->m_GamePhase = phase;
}

} // namespace

void SeqZorMain::OpenRoomWindow(int32_t rx, int32_t rz)
{
    m_RoomRX = rx;
    m_RoomRZ = rz;
    m_RoomSlot = -1;
    Show(*this, L"$ZORROOM:SeqZorMain", true);
    UpdateRoomWindowButtons();
    SetPhase(1);
}

void SeqZorMain::CloseRoomWindow()
{
    Show(*this, L"$ZORROOM:SeqZorMain", false);
    m_RoomRX = m_RoomRZ = m_RoomSlot = -1;
    SetPhase(0);
}

void SeqZorMain::OpenStructWindow()
{
    Show(*this, L"$ZORSTRUCT:SeqZorMain", true);
    SetPhase(2);
}

void SeqZorMain::CloseStructWindow()
{
    Show(*this, L"$ZORSTRUCT:SeqZorMain", false);
    SetPhase(1);
}

void SeqZorMain::OpenTrapWindow(int32_t slot)
{
    m_RoomSlot = slot;
    Show(*this, L"$ZORTRAP:SeqZorMain", true);
    SetPhase(4);
}

void SeqZorMain::CloseTrapWindow()
{
    Show(*this, L"$ZORTRAP:SeqZorMain", false);
    SetPhase(m_RoomRX >= 0 ? 1 : 0);
}

void SeqZorMain::OpenSummonWindow(int32_t slot)
{
    m_RoomSlot = slot;
    Show(*this, L"$ZORSUMMON:SeqZorMain", true);
    SetPhase(3);
}

void SeqZorMain::CloseSummonWindow()
{
    Show(*this, L"$ZORSUMMON:SeqZorMain", false);
    SetPhase(m_RoomRX >= 0 ? 1 : 0);
}

void SeqZorMain::OpenMenu(float x, float y)
{
    (void)x, (void)y;
    ZorUserData* s = State();
    if (!s || !m_Pointing->HasBlock())
        return;
    m_MenuBlockX = m_Pointing->GetBlockX();
    m_MenuBlockZ = m_Pointing->GetBlockZ();
    m_MenuSlot = -1;
    m_MenuUnit = 0;
    if (const ZorRoomState* room = s->GetRoomOfBlock(m_MenuBlockX, m_MenuBlockZ);
        room && room->m_MapRoom && room->m_MapRoom->m_Center)
    {
        m_MenuSlot =
            ZorDeltaToDir(m_MenuBlockX - room->m_MapRoom->m_CenterDX, m_MenuBlockZ - room->m_MapRoom->m_CenterDZ);
        if (m_MenuSlot >= 0)
            m_MenuUnit = room->m_UnitEntityIDs[m_MenuSlot];
    }
    SetOpenDialogCount(GetOpenDialogCount() + 1);
    if (auto* menu = dynamic_cast<GxTaskUIBase*>(GetFolder(L"$ZORMENU:SeqZorMain")))
    {
        menu->SetModalPriority(GetOpenDialogCount());
        menu->Resume();
    }
    SetPhase(8);
}

void SeqZorMain::CloseMenu()
{
    Show(*this, L"$ZORMENU:SeqZorMain", false);
    DecrementOpenDialogCount();
    m_MenuBlockX = m_MenuBlockZ = m_MenuSlot = -1;
    m_MenuUnit = 0;
    SetPhase(0);
}

void SeqZorMain::AskDisposeUnit(int64_t taskID)
{
    ZorCore* core = Core();
    if (!core || !core->FindUnit(taskID))
        return;
    m_DisposeUnit = taskID;
    GxTaskManage* manage = GetManager();
    auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr;
    GxTaskBase* dialog = manage ? manage->FindTaskByName(L"dlg_user") : nullptr;
    if (!system || !dialog)
        return;
    system->SetUserDialogKey(L"DISPOSEUNIT");
    SetOpenDialogCount(GetOpenDialogCount() + 1);
    dialog->Resume();
}

void SeqZorMain::UpdateRoomWindowButtons() {}

void SeqZorMain::OnCloseWindows(int32_t phase)
{
    GxTaskManage* manage = GetManager();
    if (auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr;
        system && system->GetUserDialogKey() == L"DISPOSEUNIT")
    {
        m_DisposeUnit = 0;
        system->CloseUserDialog(false);
    }
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
