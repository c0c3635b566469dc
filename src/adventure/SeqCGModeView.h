#pragma once

#include "adventure/SeqExtraBase.h"

#include <cstdint>

class GxTaskUINull;

// The picture viewer of the gallery: the shown pictures of one DBCGMode entry (sequence parameter 0), one
// after another, full screen. Input arrives through the invisible widget "null_eventcaller": a left click
// or Enter, Right, Down or Space steps to the next shown picture with a cross-fade, past the last back to
// the gallery; a right click goes back at once.
class SeqCGModeView : public SeqExtraBase
{
public:
    static constexpr int32_t kStepFadeMs = 500;
    // Virtual-key codes that step like a left click.
    static constexpr uint32_t kStepKeys[] = {0x0D, 0x27, 0x28, 0x20};

    explicit SeqCGModeView(GxTaskBase* parent);
    ~SeqCGModeView() override;

    void OnSequenceEnter() override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent2(GxTaskBase* sender, const GxUIEvent& event) override;
    int32_t OnUIEvent15(GxTaskBase* sender, const GxUIEvent& event) override;

    // The first cell after `cell` (up to 31) with a name that has been shown; -1 when none.
    static int32_t NextShownCell(int32_t entry, int32_t cell);

    int32_t GetEntry() const { return m_Entry; }
    int32_t GetCell() const { return m_Cell; }

private:
    void Step();
    // "cg/ev/" + the cell's name into the picture layer; a missing file is logged and the old picture stays.
    void LoadCell(int32_t cell, int32_t transit);
    bool PostFromCaller(int32_t code);

    int32_t m_Entry = 0;
    int32_t m_Cell = -1;
    GxTaskUINull* m_EventCaller = nullptr;
};
