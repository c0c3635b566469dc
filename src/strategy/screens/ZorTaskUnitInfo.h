#pragma once

#include "strategy/screens/ZorUnitCard.h"
#include "task/GxTaskBase.h"

#include <cstdint>
#include <vector>

class ZorTaskUnitEntity;

// The unit cards of the defence screen: while the context menu is open (phase 8), up to three cards for
// the active units standing on the map block under the cursor, player units first, down the right edge
// of the screen. The list of IDs lives for one frame: every update rebuilds it.
class ZorTaskUnitInfo : public GxTaskBase
{
public:
    static constexpr int32_t kMaxCards = 3;
    static constexpr float kCardX = 740.0f;
    static constexpr float kCardTop = 4.0f;
    static constexpr float kCardPitch = 184.0f;
    // No block is pointed at from the bottom bar down.
    static constexpr int32_t kBottomBarTop = 571;

    explicit ZorTaskUnitInfo(GxTaskBase* parent);
    ~ZorTaskUnitInfo() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    int32_t GetBlockX() const { return m_BlockX; }
    int32_t GetBlockZ() const { return m_BlockZ; }
    // The IDs of the units on the pointed block (the card lines), player units first.
    const std::vector<uint64_t>& GetUnitIDs() const { return m_UnitIDs; }
    int32_t GetLineCount() const { return static_cast<int32_t>(m_UnitIDs.size()); }
    // The units that get a card this frame, in card order (at most three); empty outside phase 8.
    int32_t CollectCards(ZorTaskUnitEntity* out[kMaxCards]) const;

private:
    void Clear();
    void AppendUnits(const wchar_t* list);

    int32_t m_BlockX = -1;
    int32_t m_BlockZ = -1;
    std::vector<uint64_t> m_UnitIDs;
    std::vector<ZorUnitCard::Element> m_Card;
};
