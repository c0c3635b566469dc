#pragma once

#include "animation/GxNcMotionSnapShotEx.h"
#include "task/GxTaskFolder.h"

#include <cstdint>
#include <string>

class ZorTaskCamera;
class ZorTaskUnitEntity;
struct ZorRoomState;

// Screen-space drawing over the map, in two passes registered separately: pass 0 (key -80) animates up
// to three room effects per room, pass 1 (key -50) draws the construction, summon and arrangement timers
// and the units' gauges and status symbols. Every point goes through the camera and is skipped outside
// -300..1324 by -300..1068 where the rules say so.
class ZorTaskMapOverlay : public GxTaskFolder
{
public:
    // The effects of room effect levels 1..7.
    static const wchar_t* const kRoomEffects[7];
    static constexpr int32_t kMaxRoomEffects = 3;

    ZorTaskMapOverlay(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskMapOverlay() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The effect names a room shows, in level order, at most three.
    static int32_t PickRoomEffects(const ZorRoomState& room, const wchar_t* out[kMaxRoomEffects]);
    // A unit with no time left on arrival, creation, appearance or leaving, and HP above 0.
    static bool IsSettled(const ZorTaskUnitEntity& unit);
    // Whether an enemy shows its exceed gauge: settled and 0 < gauge < 11000.
    static bool ShowsExceedGauge(const ZorTaskUnitEntity& unit);
    // The status symbols: code 0x2F + i for every running status timer i.
    static std::wstring StatusSymbols(const ZorTaskUnitEntity& unit);

private:
    void DrawRoomEffects();
    void DrawBars();
    void DrawTimeBar(const wchar_t* icon, float x, float y, int32_t left, int32_t total);
    void DrawHealth(const ZorTaskUnitEntity& unit, float x, float y);

    ZorTaskCamera* m_Camera;
    GxNcMotionSnapShotEx m_SnapShot; // reused for every effect drawn
};
