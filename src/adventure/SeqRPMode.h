#pragma once

#include "adventure/SeqExtraPage.h"

#include <cstdint>
#include <vector>

// The replay mode: one thumbnail button (btn_rpselect) per DBRPMode row of the page, enabled once the
// row's script label is among the permanent progress's passed replay labels. A scene resets the
// adventure, starts the main script worker at the label and switches to "SeqAvgMain" with the replay
// flag of the user data set; the adventure screen returns here when the worker stops.
class SeqRPMode : public SeqExtraPage
{
public:
    static constexpr int32_t kSceneFadeMs = 200;

    explicit SeqRPMode(GxTaskBase* parent);
    ~SeqRPMode() override;

    void OnSequenceEnter() override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    void RebuildPassedState();
    int32_t GetSceneTotal() const { return m_Total; }
    int32_t GetPassedTotal() const { return m_Done; }
    bool IsPassed(int32_t row) const { return m_Passed[row] != 0; }

protected:
    // A row without a label still takes its slot, as a disabled plate.
    bool IsListed(int32_t) const override { return true; }
    bool IsUnlocked(int32_t row) const override { return IsPassed(row); }
    int32_t GetRowGroup(int32_t row) const override;
    const std::wstring& GetRowThumbnail(int32_t row) const override;

private:
    void StartScene(int32_t row);

    std::vector<uint8_t> m_Passed = std::vector<uint8_t>(kRowCount, 0);
};
