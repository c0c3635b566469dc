#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>
#include <string>

class GxTaskFolder;
class GxTaskLayer;

// The title screen. Every entry resets the story and the strategy game to a new game, plays the title
// music (left running when it already plays) and offers the story, the load screen, the galleries, the
// settings, the extras (once unlocked) and leaving the game.
class SeqTitle : public GxSeqTransitBase
{
public:
    // The permanent progress's extras bit.
    static constexpr uint32_t kExtraOptionBit = 10;
    static constexpr uint32_t kTitleMusicFadeMs = 500;
    static constexpr uint32_t kTitleMusicStopMs = 1000;
    static constexpr int32_t kFirstUnits = 5;

    explicit SeqTitle(GxTaskBase* parent);
    ~SeqTitle() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // The title music (the configuration's file in the music folder): started unless the music record
    // already names it, faded out when the configuration names none.
    static void PlayTitleMusic(const std::wstring& folder, const std::wstring& name, int32_t loopMs);

    uint32_t GetFrameCount() const { return m_FrameCount; }

private:
    GxTaskFolder* m_UI = nullptr;
    GxTaskLayer* m_BGLayer = nullptr;
    uint32_t m_FrameCount = 0;
};
