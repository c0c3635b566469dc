#pragma once

#include "adventure/SeqExtraPage.h"

#include <bitset>
#include <cstdint>
#include <vector>

// The gallery: one thumbnail button (btn_cgselect) per DBCGMode entry of the page, enabled once at least
// one of the entry's pictures has been shown in play (its name is a key of the permanent progress's shown
// pictures). A click opens SeqCGModeView on the entry. The shown state is rebuilt on every entry.
class SeqCGMode : public SeqExtraPage
{
public:
    static constexpr int32_t kCellCount = 32;

    explicit SeqCGMode(GxTaskBase* parent);
    ~SeqCGMode() override;

    void OnSequenceEnter() override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // The row's Count as the gallery uses it: a table value outside 0..32 would walk past the row's
    // cells and its bit set, so it is held to that range.
    static int32_t ClampedCount(int32_t count);
    // Rebuilds the totals, the last page and the per-entry shown state from the table and the permanent
    // progress; logs each missing thumbnail.
    void RebuildShownState();

    int32_t GetPictureTotal() const { return m_Total; }
    int32_t GetShownTotal() const { return m_Done; }
    int32_t GetShownCount(int32_t row) const { return m_ShownCount[row]; }
    bool IsCellShown(int32_t row, int32_t cell) const { return m_ShownBits[row].test(cell); }

protected:
    bool IsListed(int32_t row) const override;
    bool IsUnlocked(int32_t row) const override { return m_ShownCount[row] > 0; }
    int32_t GetRowGroup(int32_t row) const override;
    const std::wstring& GetRowThumbnail(int32_t row) const override;
    std::wstring GetRowFigure(int32_t row) const override;

private:
    std::vector<int32_t> m_ShownCount = std::vector<int32_t>(kRowCount, 0);
    std::vector<std::bitset<kCellCount>> m_ShownBits = std::vector<std::bitset<kCellCount>>(kRowCount);
};
