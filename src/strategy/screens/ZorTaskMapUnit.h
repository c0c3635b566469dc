#pragma once

#include "animation/GxNcMotionSnapShotEx.h"
#include "animation/GxNcRenderPacket.h"
#include "core/GxMatrix.h"
#include "core/GxVector4.h"
#include "graphics/GxSortedRenderManage.h"
#include "task/GxTaskFolder.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class GxNcMotion;
class GxNcProjectEx;
class ZorTaskCamera;
class ZorTaskUnitEntity;

// The units of the dungeon as camera-facing animated sprites (draw key -70, between the room effects and
// the gauges). Each draw evaluates one snapshot per unit, queues it as a render packet keyed by its
// distance from the eye's side of the map and draws the list back to front: farthest first, so the
// sprites need no depth writes.
class ZorTaskMapUnit : public GxTaskFolder
{
public:
    // What one unit shows this frame.
    struct Sprite
    {
        const GxNcProjectEx* m_Project = nullptr;
        const GxNcMotion* m_Motion = nullptr;
        int32_t m_Frame = 0;
        bool m_Effect = false;  // a summon or arrangement effect lying on the floor
        GxVector4 m_Position;   // world point the sprite stands on
        GxVector4 m_Add;        // added colour (the white of an appearing unit)
        GxVector4 m_Multiply{1.0f, 1.0f, 1.0f, 1.0f};
    };

    ZorTaskMapUnit(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskMapUnit() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The sprite of a unit; false when it shows nothing (no motion in the pool, an enemy still being
    // created, a motion of no frames).
    static bool ChooseSprite(const ZorTaskUnitEntity& unit, bool enemy, Sprite& out);
    // Squared distance from (1500, 750, 1500), the eye's side of the map.
    static float SortKey(const GxVector4& p);
    // Evaluates and queues every unit's sprite (players first, then enemies); returns how many were queued.
    // The list is left filled for DrawQueued.
    size_t QueueSprites();
    void DrawQueued();
    GxSortedRenderManage& GetList() { return m_List; }
    // How packets enter the list: sorted (the default) or, for comparison in benchmarks, appended.
    void SetAddMode(GxSortedRenderManage::AddMode mode) { m_AddMode = mode; }

private:
    GxNcMotionSnapShotEx& SnapShotOf(int64_t taskID);

    ZorTaskCamera* m_Camera;
    GxSortedRenderManage m_List;
    GxSortedRenderManage::AddMode m_AddMode = GxSortedRenderManage::ADD_DESCENDING;
    // Reused between frames: the packets (the list only points at them) and one snapshot per unit task.
    std::vector<std::unique_ptr<GxNcRenderPacket>> m_Packets;
    std::unordered_map<int64_t, std::unique_ptr<GxNcMotionSnapShotEx>> m_SnapShots;
    std::vector<int64_t> m_Seen;
};
