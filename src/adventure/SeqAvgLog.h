#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>
#include <string>

class GxMessageLogElement;
class GxTaskFolder;
class GxTaskLayer;

// The message backlog: five log entries to a page, each with the speaker's name and a button replaying
// its voices. Entering shows the newest page; the wheel and the page buttons scroll; the wheel toward the
// player on the newest page, a right click or the back button return to the adventure screen.
class SeqAvgLog : public GxSeqTransitBase
{
public:
    static constexpr int32_t kLines = 5;
    static constexpr int32_t kPageStep = 4;

    explicit SeqAvgLog(GxTaskBase* parent);
    ~SeqAvgLog() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys) override;
    int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl) override;

    // Fills the five lines from the log at the top index.
    void RefreshLines();
    // The top index after a scroll button ("btn_b", "btn_bb", "btn_f", "btn_ff") over a log of count
    // entries; other names leave it.
    static int32_t Scroll(int32_t top, const std::wstring& button, int32_t count);
    static int32_t LastTop(int32_t count) { return count > kLines ? count - kLines : 0; }
    // A line's text: the name in 【】 on a line of its own, then the message.
    static std::wstring LineText(const GxMessageLogElement& entry);

    int32_t GetTopIndex() const { return m_TopIndex; }
    void SetTopIndex(int32_t top) { m_TopIndex = top; }

private:
    int32_t LogCount() const;
    const GxMessageLogElement* Entry(int32_t index) const;
    void ReplayVoices(int32_t index) const;
    void PostBack();

    GxTaskFolder* m_UI = nullptr;
    GxTaskLayer* m_BGLayer = nullptr;
    int32_t m_TopIndex = 0;
    uint32_t m_FrameCount = 0;
};
