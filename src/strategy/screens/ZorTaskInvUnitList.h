#pragma once

#include "task/ui/GxTaskUIBase.h"

#include <cstdint>
#include <string>
#include <vector>

class ZorTaskUnitEntity;

// The invasion screen's strip of eight unit cards, filtered by the unit tab and scrolled by the
// horizontal slider "hsld_unitlist" of the bottom bar. Entries are rebuilt on every update step, so the
// strip follows the unit lists without being told; the slider's maximum changes only in
// UpdateScrollRange. Traps never appear: they cannot leave the dungeon.
class ZorTaskInvUnitList : public GxTaskUIBase
{
public:
    static constexpr int32_t kCards = 8;

    // One drawn part of a card, relative to the list's position.
    struct Element
    {
        enum Kind
        {
            Icon,     // m_Text names an icon
            Bar,      // m_Text names an icon cut to m_Ratio of its width
            AnsiText, // FONT16ANSI
            NameText, // the first font map
        };
        Kind m_Kind = Icon;
        std::wstring m_Text;
        float m_X = 0.0f;
        float m_Y = 0.0f;
        double m_Ratio = 1.0;
    };

    ZorTaskInvUnitList(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskInvUnitList() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    // The cards draw from the shared icon pool: nothing of their own to load.
    bool LoadImages() override { return true; }

    void SetSlider(GxTaskUIBase* slider) { m_Slider = slider; }
    GxTaskUIBase* GetSlider() const { return m_Slider; }
    void Refresh();
    // Counts the tab's units and makes the slider reach the last of them (count - 1, at least 0).
    void UpdateScrollRange();
    void ResetScroll();
    // Task ID of the unit on card i; 0 for an empty card or an index outside the strip.
    int64_t GetEntryID(int32_t index) const;

    // Whether the unit may be shown under the tab in the list it was found in.
    static bool Matches(int32_t tab, const ZorTaskUnitEntity& unit, bool inReadyList);
    // Whether a card of the unit may be picked up (settled and not needing recovery).
    static bool IsPickable(const ZorTaskUnitEntity& unit);
    // Card i's parts; out is cleared first (kept by the caller so a frame does not allocate anew).
    static void LayoutCard(const ZorTaskUnitEntity& unit, int32_t index, std::vector<Element>& out);

private:
    // Visits the tab's units in order; the visitor returns false to stop.
    template <typename F> void ForEachUnit(F&& visit) const;
    GxTaskUIBase* CardButton(int32_t index) const;

    GxTaskUIBase* m_Slider = nullptr;
    int64_t m_Entries[kCards] = {};
    std::vector<Element> m_Card;
};
