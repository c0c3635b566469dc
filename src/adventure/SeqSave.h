#pragma once

#include "adventure/SeqSaveLoadBase.h"

// The save screen: any plate asks "セーブしますか？"; yes writes the slot and the screen stays open.
class SeqSave : public SeqSaveLoadBase
{
public:
    explicit SeqSave(GxTaskBase* parent);
    ~SeqSave() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // Writes slot n: the adventure file, the strategy file and the thumbnail as one (SeqSavePair), then
    // (the slot now the last save) the options and the permanent progress. When the slot cannot be
    // written the slot is not the last save, nothing else is written, the player is told and false
    // comes back.
    bool SaveSlot(int32_t slot);

    uint32_t GetFrameCount() const { return m_FrameCount; }

private:
    uint32_t m_FrameCount = 0;
};
