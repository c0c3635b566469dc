#pragma once

#include "strategy/screens/ZorViewDrawList.h"
#include "task/ui/GxTaskUIBase.h"

#include <cstdint>

class GxTaskFolder;
class ZorTaskUnitEntity;

// The strip of unit cards in the defence screen's bottom bar: six at a time, the reserve units (children
// of "$UNITREADY:SeqZorMain") that match the tab, from the slider's position on. Each card has the bar's
// "btn_unitlist"[i] (pick the unit up) and "btn_unitdelete"[i] (dismiss it); the list keeps their
// enabled state. Rebuilt every frame, so it follows the roster without notifications.
class ZorTaskUnitList : public GxTaskUIBase
{
public:
    static constexpr int32_t kCards = 6;

    explicit ZorTaskUnitList(GxTaskBase* parent);
    ~ZorTaskUnitList() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    virtual void Refresh();
    virtual void SetSlider(GxTaskUIBase* slider) { m_Slider = slider; }
    // The slider's maximum := matching units - 1 (at least 0), so the last unit can reach the first card.
    virtual void UpdateScrollRange();
    virtual void ResetScroll();

    uint64_t GetEntryID(int32_t i) const { return i >= 0 && i < kCards ? m_Entries[i] : 0; }
    GxTaskUIBase* GetSlider() const { return m_Slider; }
    // Whether a unit is shown on a tab (0 all, 1 ready to place, 2 unique, 3 needing recovery).
    static bool MatchesTab(const ZorTaskUnitEntity& unit, int32_t tab);
    // Whether a unit may be picked up and placed: not being summoned or moved, nothing to recover.
    static bool IsPlaceable(const ZorTaskUnitEntity& unit);
    // The cards as drawn with the list at (x0, y0).
    void Layout(float x0, float y0, ZorViewDrawList& out) const;

private:
    int32_t CurrentTab() const;
    GxTaskBase* ReadyList() const;
    GxTaskUIBase* CardButton(GxTaskFolder* bar, const wchar_t* name, int32_t index);

    GxTaskUIBase* m_Slider = nullptr;
    uint64_t m_Entries[kCards] = {};
    // A card button missing from the bar is reported once, not on every frame's rebuild.
    bool m_MissingReported = false;
    ZorViewDrawList m_DrawList;
};
