#pragma once

#include "strategy/ZorRoundData.h"
#include "task/GxSeqTransitBase.h"

#include <cstdint>
#include <string>

class GxTaskLayer;
class GxTaskUIBase;
class ZorTaskTakeOverUnitInfo;

// The take-over into a new game: the units saved at the end of the last round as a grid of cards to
// keep within a leadership capacity, and up to four bonus choices offered by the permanent progress.
// "btn_gamestart" applies the choice and returns to the script at "ZOR_RETURN_FROM_TAKEOVER".
class SeqZorTakeOver : public GxSeqTransitBase
{
public:
    // The choice bits of the take-over record and their check buttons.
    struct Choice
    {
        const wchar_t* m_Widget;
        uint32_t m_Bit;
    };
    static const Choice kChoices[4];

    explicit SeqZorTakeOver(GxTaskBase* parent);
    ~SeqZorTakeOver() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent19(GxTaskBase* sender, const GxUIEvent& event) override;

    // Which choices the permanent flags offer, and the capacity they give (35 + 5 per bit 11-19).
    static bool IsChoiceOffered(uint32_t extraOption, uint32_t choiceBit);
    static int32_t CapacityOf(uint32_t extraOption);
    // The gold line: half the carried gold, as the new game receives it.
    static std::wstring GoldText(int32_t gold);

    const ZorRoundData& GetRoundData() const { return m_Round; }
    ZorTaskTakeOverUnitInfo* GetUnitInfo() const { return m_UnitInfo; }

private:
    GxTaskUIBase* FindWidget(const wchar_t* name) const;

    ZorRoundData m_Round;
    GxTaskLayer* m_BGLayer = nullptr;
    ZorTaskTakeOverUnitInfo* m_UnitInfo = nullptr;
};
