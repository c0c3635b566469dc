#pragma once

#include "strategy/screens/ZorUnitCard.h"
#include "task/GxTaskBase.h"

#include <cstdint>
#include <vector>

class GxTaskUIBase;
class ZorTaskUnitEntity;

// The take-over screen's grid of unit cards: three rows of three, scrolled by rows with the slider,
// each card toggled by a click within the leadership capacity.
class ZorTaskTakeOverUnitInfo : public GxTaskBase
{
public:
    static constexpr int32_t kColumns = 3;
    static constexpr int32_t kCells = 9;
    static constexpr float kCellWidth = 280.0f;
    static constexpr float kCellHeight = 180.0f;

    ZorTaskTakeOverUnitInfo(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskTakeOverUnitInfo() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;

    // The units are the folder's children in order; nothing selected; slider maximum one less than the
    // number of full rows, at least 0.
    void SetUnits(GxTaskBase* folder);
    // Appends the selected units in grid order.
    void CollectSelected(std::vector<ZorTaskUnitEntity*>& out) const;
    // The cell under a point, -1 for none.
    static int32_t CellAt(float x, float y);
    static float CellLeft(int32_t cell) { return 48.0f + 288.0f * static_cast<float>(cell % kColumns); }
    static float CellTop(int32_t cell) { return 115.0f + 192.0f * static_cast<float>(cell / kColumns); }
    // Toggles unit k as a click would; false when nothing changed.
    bool Toggle(int32_t k);

    void SetSlider(GxTaskUIBase* slider) { m_Slider = slider; }
    GxTaskUIBase* GetSlider() const { return m_Slider; }
    void SetRowOffset(int32_t offset) { m_RowOffset = offset; }
    int32_t GetRowOffset() const { return m_RowOffset; }
    void SetCapacity(int32_t capacity) { m_Capacity = capacity; }
    int32_t GetCapacity() const { return m_Capacity; }
    int32_t GetSelectedCost() const { return m_SelectedCost; }
    int32_t GetUnitCount() const { return static_cast<int32_t>(m_Units.size()); }
    bool IsSelected(int32_t k) const { return k >= 0 && k < GetUnitCount() && m_Selected[k] != 0; }
    // The unit shown in a cell, or -1.
    int32_t UnitInCell(int32_t cell) const;

private:
    std::vector<ZorTaskUnitEntity*> m_Units;
    std::vector<int32_t> m_Selected;
    GxTaskUIBase* m_Slider = nullptr;
    int32_t m_RowOffset = 0;
    int32_t m_Capacity = 0;
    int32_t m_SelectedCost = 0;
    // Reused by every card of every frame.
    std::vector<ZorUnitCard::Element> m_Card;
};
