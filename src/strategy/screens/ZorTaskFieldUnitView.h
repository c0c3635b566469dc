#pragma once

#include "animation/GxNcMotionSnapShotEx.h"
#include "animation/GxNcRenderPacket.h"
#include "graphics/GxSortedRenderManage.h"
#include "task/GxTaskBase.h"

#include <cstdint>

class ZorTaskCamera;
class ZorTaskUnitEntity;

// The invasion field's unit sprites: the nine enemy slots and the ten slots of the two player formations,
// each unit's current motion turned to the camera and drawn back to front. Enemies stand on the far side
// and sort by their distance from a fixed point behind the field; the player units face the other way
// and sort by their distance from the eye. A unit whose motion is not loaded (or has no frames) is left
// out; its hit-point bar is still drawn by the overlay.
class ZorTaskFieldUnitView : public GxTaskBase
{
public:
    static constexpr int32_t kEnemySlots = 9;
    static constexpr int32_t kPlayerSlots = 10;
    static constexpr int32_t kMaxSprites = kEnemySlots + kPlayerSlots;
    static constexpr float kScale = 0.13f;

    ZorTaskFieldUnitView(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskFieldUnitView() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    void SetCamera(ZorTaskCamera* camera) { m_Camera = camera; }
    // Evaluates the field units' motions and queues one packet each in the sorted list; the number queued.
    // Needs a camera (0 without one) and the unit pool's engine projects.
    int32_t CollectSprites();
    // The frame shown of a motion of the given loop length: a standing unit (motion 0) loops, other motions
    // play their counter as it is. -1 for a motion without frames, which has nothing to show.
    static int32_t PickFrame(int32_t motionIndex, int32_t counter, int32_t loopLength);
    // The task IDs of the queued packets in drawing order (tests and diagnostics); valid until the next draw.
    int32_t GetQueued(int64_t out[kMaxSprites]) const;

private:
    bool Queue(const ZorTaskUnitEntity& unit, bool enemy, int32_t index);

    ZorTaskCamera* m_Camera = nullptr;
    GxSortedRenderManage m_List;
    // One snapshot and packet per field slot, kept for the life of the view so a frame allocates nothing.
    GxNcMotionSnapShotEx m_SnapShots[kMaxSprites];
    GxNcRenderPacket m_Packets[kMaxSprites];
    int64_t m_TaskIDs[kMaxSprites] = {};
};
