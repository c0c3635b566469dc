#pragma once

#include "core/GxVector2.h"
#include "task/GxTaskBase.h"

#include <cstdint>
#include <deque>
#include <string>

struct ZorNextEnemy;

// The queue of enemy parties about to arrive: a row of face icons sliding into place, each with its unit
// count and entrance, the arrival gauge of the first party, and after a steady hover a tip with the
// party's description and level range. Only the first eight parties are shown.
class ZorTaskNextEnemy : public GxTaskBase
{
public:
    static constexpr int32_t kShown = 8;
    static constexpr int32_t kIconSize = 56;
    // Hovered steps after which the tip shows (on every step beyond).
    static constexpr int32_t kTipDelay = 30;

    ZorTaskNextEnemy(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskNextEnemy() override;

    void OnSequenceEnter() override { m_HoverCount = 0; }
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // Where entry e's icon is now: per component pos - (pos - old)(1 - t)^3.
    static GxVector2 IconPos(const ZorNextEnemy& e);
    // One step with the cursor at (x, y); phase is the game phase. The tip text to show this step, or
    // empty when none.
    std::wstring Step(std::deque<ZorNextEnemy>& queue, float x, float y, bool active, int32_t phase);
    int32_t GetHoverCount() const { return m_HoverCount; }
    // "Descript|LV%d ～ %d" of the entry's party.
    static std::wstring TipText(const ZorNextEnemy& e);

private:
    int32_t m_HoverCount = 0;
};
