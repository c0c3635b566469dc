#pragma once

#include "strategy/screens/ZorScreenListener.h"
#include "task/GxSeqTransitBase.h"

#include <cstdint>
#include <string>

class GxTaskLayer;
class GxTaskUIBase;
class GxTaskUINull;
class GxTaskUITextLogFx;
class ZorCore;
class ZorTaskCamera;
class ZorTaskItemWindowView;
class ZorTaskMapPointing;
class ZorTaskRoomWindowView;
class ZorTaskUIMiniMap;
class ZorTaskUnitInfo;
class ZorTaskUnitList;
class ZorUserData;

// The dungeon-defence screen. It owns the unit lists, the effect folders and the map tasks, drives the
// core's defence tick at the chosen speed, turns raw mouse and key input into UI events of its widgets
// (so that map clicks, keys and widget clicks pass one queue and one input test) and draws the unit
// being dragged. It is the rules' screen interface while it is the strategy screen in use: effects, sounds
// and pop-ups (ZorScreenListener), the battle log, window closing and refresh requests.
//
//   SeqZorMain.cpp         task tree, entry and leave, per-step order, drawing, rules notifications
//   SeqZorMainInput.cpp    mouse, keys, UI events, drag and drop
//   SeqZorMainWindows.cpp  the windows' and menu's open and close operations, the dismissal question
//   SeqZorMainLists.cpp    the window contents: list boxes, menu items, views; the three lists' rows
class SeqZorMain : public GxSeqTransitBase, public ZorScreenListener
{
public:
    // Switch parameters into the screen.
    static constexpr uint32_t kParamBack = 0;
    static constexpr uint32_t kParamFresh = 1;
    static constexpr uint32_t kParamRestored = 2;
    // Everything below this y is the bottom bar: no drop and no context menu there.
    static constexpr float kBottomBarTop = 571.0f;

    explicit SeqZorMain(GxTaskBase* parent);
    ~SeqZorMain() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnMouseLeftUp(const float* point, uint32_t keys) override;
    int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent2(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent18(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent19(GxTaskBase* sender, const GxUIEvent& event) override;

    // --- rules notifications ---
    void OnTextLog(const std::wstring& line) override;
    void OnCloseDialog() override;
    void OnCloseWindows(int32_t phase) override;
    void OnRefresh(uint32_t what) override;

    // --- windows and menu ---
    void OpenRoomWindow(int32_t rx, int32_t rz);
    void CloseRoomWindow();
    void OpenStructWindow();
    void CloseStructWindow();
    void OpenTrapWindow(int32_t slot);
    void CloseTrapWindow();
    void OpenSummonWindow(int32_t slot);
    void CloseSummonWindow();
    void OpenMenu(float x, float y);
    void CloseMenu();
    void AskDisposeUnit(int64_t taskID);
    void UpdateRoomWindowButtons();
    void FillStructList(int32_t rx, int32_t rz);
    void FillSummonList();
    void FillTrapList();
    void DisableSystemButtons();
    void EnableSystemButtons();
    void MakeSaveThumbnail();
    // "dlg_user" or "dlg_shutdown" of the system sequence is showing: windows neither open nor close.
    bool IsSystemDialogOpen() const;

    // Whether the dragged unit could be dropped with the cursor at y now (no dialog, the unit's task, phase,
    // place, slot and room), and where. The map's cursor, the crossed-out icon and the drop all use it.
    bool CanDropAt(float y, int32_t& rx, int32_t& rz, int32_t& slot) const;
    // CanDropAt at the cursor's place now.
    bool IsDropTarget() const;
    // The drop on release: places the dragged unit when it may, then forgets it either way.
    void DropUnit(float y);

    int64_t GetDraggedUnit() const { return m_DraggedUnit; }
    void SetDraggedUnit(int64_t id) { m_DraggedUnit = id; }
    int64_t GetDisposeUnit() const { return m_DisposeUnit; }
    int32_t GetMenuBlockX() const { return m_MenuBlockX; }
    int32_t GetMenuBlockZ() const { return m_MenuBlockZ; }
    int32_t GetMenuSlot() const { return m_MenuSlot; }
    int64_t GetMenuUnit() const { return m_MenuUnit; }
    // The room window view's room and selected slot.
    int32_t GetRoomWindowRX() const;
    int32_t GetRoomWindowRZ() const;
    int32_t GetRoomWindowSlot() const;
    void SetRoomWindowSlot(int32_t slot);

    ZorTaskCamera* GetCamera() const { return m_Camera; }
    ZorTaskMapPointing* GetPointing() const { return m_Pointing; }
    ZorTaskUIMiniMap* GetMiniMap() const { return m_MiniMap; }
    ZorTaskRoomWindowView* GetRoomView() const { return m_RoomView; }
    ZorTaskUnitList* GetUnitList() const { return m_UnitList; }
    ZorTaskUnitInfo* GetUnitInfo() const { return m_UnitInfo; }
    GxTaskFolder* GetFolder(const wchar_t* name) const;

private:
    ZorCore* Core() const;
    ZorUserData* State() const;
    GxTaskUIBase* MakeWindow(GxTaskBase* parent, const wchar_t* module, const wchar_t* name);
    GxTaskUIBase* FindWidget(const wchar_t* folder, const wchar_t* name, int32_t index = 0) const;
    // As FindWidget, but a missing widget gets the folder's log line.
    GxTaskUIBase* GetWidget(const wchar_t* folder, const wchar_t* name, int32_t index = 0) const;
    // The views, list boxes and menu items inside the windows (after the layout rows are built).
    void BuildWindowContents(GxTaskBase* ui);
    void OpenModalWindow(const wchar_t* name, int32_t phase);
    void CloseModalWindow(const wchar_t* name);
    // What closing a facility, summon or trap window does after the window itself goes: the dialog
    // count, the phase and the system buttons.
    void AfterModalClose();
    void SetWindowShown(const wchar_t* name, bool shown);
    // A list item chosen in the facility (2), summon (3) or trap (4) window: shown by the window's view,
    // and built or summoned when the view lets "btn_zorrun" be pressed.
    void ChooseListItem(int32_t phase);
    bool PressSpeedKey(const wchar_t* name);
    void SelectRadio(const wchar_t* name);
    bool HasChild(const wchar_t* folder) const;
    int32_t HandleClick(GxTaskBase* sender);
    void ReturnSlotUnit(int32_t slot);
    bool IsDebugMode() const;

    int64_t m_DraggedUnit = 0;
    int64_t m_DisposeUnit = 0;
    int32_t m_MenuBlockX = -1;
    int32_t m_MenuBlockZ = -1;
    int32_t m_MenuSlot = -1;
    int64_t m_MenuUnit = 0;

    GxTaskUINull* m_EventCaller = nullptr;
    GxTaskUITextLogFx* m_TextLog = nullptr;
    ZorTaskCamera* m_Camera = nullptr;
    ZorTaskMapPointing* m_Pointing = nullptr;
    ZorTaskUIMiniMap* m_MiniMap = nullptr;
    ZorTaskRoomWindowView* m_RoomView = nullptr;
    ZorTaskUnitList* m_UnitList = nullptr;
    ZorTaskUnitInfo* m_UnitInfo = nullptr;
};
