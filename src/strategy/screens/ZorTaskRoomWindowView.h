#pragma once

#include "strategy/screens/ZorViewDrawList.h"
#include "task/GxTaskBase.h"

#include <cstdint>

class ZorUserData;

// The content of the defence screen's room window: the chosen room's facility picture and name, its
// floor label, its six room-effect levels (or the build bar of a facility under construction), one row
// per unit slot (face, timers, HP, EXP, level, skills, status signs), the help tip of the effect under
// the cursor and a pointer in the room picture at the slot row under the cursor. The screen sets the
// room and the selected slot (the slot whose summon or trap window is open).
class ZorTaskRoomWindowView : public GxTaskBase
{
public:
    static constexpr int32_t kEffects = 6;
    // Slot rows: the first row's top and the pitch between rows.
    static constexpr float kRowTop = 169.0f;
    static constexpr float kRowPitch = 68.0f;
    // Shown for a room that is locked but connectable (not dug yet).
    static constexpr int32_t kLockedRoomFacility = 18;
    static constexpr int32_t kEntranceFacility = 16;

    struct Effect
    {
        const wchar_t* m_Icon;
        const wchar_t* m_Help;
        int32_t m_X, m_Y; // icon; its tip area is the 32 x 16 rectangle from here
        int32_t m_TextX;  // level text at (m_TextX, m_Y)
    };
    static const Effect s_Effects[kEffects];

    explicit ZorTaskRoomWindowView(GxTaskBase* parent);
    ~ZorTaskRoomWindowView() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    // The window's position (the screen origin without a parent).
    GxVector4 GetWorldPos() const override;

    void SetRoom(int32_t rx, int32_t rz);
    int32_t GetRoomX() const { return m_RoomX; }
    int32_t GetRoomZ() const { return m_RoomZ; }
    void SetSelectedSlot(int32_t slot) { m_SelectedSlot = slot; }
    int32_t GetSelectedSlot() const { return m_SelectedSlot; }
    int32_t GetHoveredSlot() const { return m_HoveredSlot; }
    int32_t GetFrameCounter() const { return m_FrameCounter; }

    // The slot row at dy below the window's top for a cursor dx right of its left edge; -1 for none.
    static int32_t SlotRowAt(float dx, float dy);
    // The effect (1-6) whose tip area holds (dx, dy), or 0.
    static int32_t EffectAt(int32_t dx, int32_t dy);
    // The room's content as drawn, relative to the window; empty for no room or a room not shown.
    void Layout(const ZorUserData& s, ZorViewDrawList& out) const;
    // The room's (rx, rz) lie on the grid.
    bool HasRoom() const;

private:
    void LayoutSlotRow(int32_t slot, int64_t unitID, int32_t capacity, ZorViewDrawList& out) const;
    void LayoutPointer(int32_t capacity, ZorViewDrawList& out) const;

    int32_t m_FrameCounter = 0;
    int32_t m_RoomX = -1;
    int32_t m_RoomZ = -1;
    int32_t m_SelectedSlot = -1;
    int32_t m_HoveredSlot = -1;
    ZorViewDrawList m_DrawList;
};
