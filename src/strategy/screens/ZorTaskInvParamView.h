#pragma once

#include "strategy/screens/ZorTaskParamView.h"
#include "task/GxTaskBase.h"

#include <cstdint>

class ZorUserData;

// The invasion screen's numbers: the defence panel's resources, leadership and facility levels (one row
// lower in the invasion's taller bottom bar), each formation's leadership against the party capacity
// beside the formation rows, and the seconds left in the battle.
class ZorTaskInvParamView : public GxTaskBase
{
public:
    using Text = ZorTaskParamView::Text;
    static constexpr int32_t kTexts = ZorTaskParamView::kTexts + 3;

    ZorTaskInvParamView(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskInvParamView() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The texts as drawn with the panel at (px, py); the formation and clock texts are placed on the
    // screen, not on the panel.
    static void Layout(const ZorUserData& state, float px, float py, Text out[kTexts]);
};
