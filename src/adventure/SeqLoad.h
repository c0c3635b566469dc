#pragma once

#include "adventure/SeqSaveLoadBase.h"

// The load screen: a plate of a saved slot asks "ロードしますか？"; yes loads the slot and resumes the
// sequence the save recorded. Empty plates are disabled.
class SeqLoad : public SeqSaveLoadBase
{
public:
    explicit SeqLoad(GxTaskBase* parent);
    ~SeqLoad() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // Loads slot n after checking both its files; on a refusal nothing of the running game changes, the
    // player is told and false comes back.
    bool LoadSlot(int32_t slot);
    // Yes in the confirmation: load, then switch to the save's sequence.
    bool ConfirmLoad();

    uint32_t GetFrameCount() const { return m_FrameCount; }

private:
    uint32_t m_FrameCount = 0;
};
