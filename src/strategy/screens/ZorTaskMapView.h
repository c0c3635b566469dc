#pragma once

#include "core/GxMatrix.h"
#include "task/GxTaskFolder.h"

#include <cstdint>
#include <vector>

class GxModel;
class ZorTaskCamera;
class ZorUserData;

// Draws the dungeon's 3D models through the map camera: the rooms (base, scaffold while building, a gate
// or a wall on each side), the passages and the cursor models. The models belong to the model pool; the
// view never loads or frees them.
//
// What to draw is gathered first as a list of items (model and world matrix), so the choice can be
// checked without a device and the draw is a plain walk over the list.
class ZorTaskMapView : public GxTaskFolder
{
public:
    enum Kind
    {
        kBase,
        kGate,
        kWall,
        kScaffold,
        kPath00,
        kPath01,
        kCursor01,
        kCursor02,
    };
    struct Item
    {
        Kind m_Kind = kBase;
        int32_t m_Set = 0;  // room model set (bases, gates, walls)
        int32_t m_Side = 0; // gates and walls
        GxMatrix m_World;
        int32_t m_Blend = 0; // draw argument: 3 for the cursor models
    };
    // What the cursor follows, from the defence screen and its pointing task.
    struct CursorInput
    {
        int32_t m_Phase = 0;
        int32_t m_PointX = -1, m_PointZ = -1; // pointed block
        int32_t m_RoomX = -1, m_RoomZ = -1;   // room of the room window
        int32_t m_MenuX = -1, m_MenuZ = -1;   // block of the context menu
        bool m_Dragging = false;              // a unit is carried from the unit list
        bool m_DropValid = false;             // and letting it go now would place it
    };
    // Room model sets the pool holds.
    static constexpr int32_t kSets = 20;

    ZorTaskMapView(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskMapView() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // Rooms, passages and the cursor, in drawing order.
    static void CollectItems(const ZorUserData& state, const CursorInput& cursor, std::vector<Item>& out);
    // The pool's model for an item; null when the pool has none.
    static GxModel* ResolveModel(const Item& item);
    // What the last draw walked over.
    const std::vector<Item>& GetDrawnItems() const { return m_Items; }

private:
    CursorInput ReadCursorInput(const ZorUserData& state) const;

    ZorTaskCamera* m_Camera;
    std::vector<Item> m_Items; // reused every frame
};
