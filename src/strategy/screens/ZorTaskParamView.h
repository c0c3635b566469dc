#pragma once

#include "strategy/screens/ZorPanelText.h"
#include "task/GxTaskBase.h"

#include <cstdint>
#include <string>

class ZorUserData;

// The resource panel of the defence screen: bone, magic and gold, the leadership in use and its
// maximum, and the four facility levels, drawn relative to the bottom bar.
class ZorTaskParamView : public GxTaskBase
{
public:
    using Text = ZorPanelText;
    static constexpr int32_t kTexts = 9;

    ZorTaskParamView(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskParamView() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The nine texts as drawn with the panel at (px, py).
    static void Layout(const ZorUserData& state, float px, float py, Text out[kTexts]);
    // A resource: "%4d" in the large digits below 10000, else "%6d" in the small ones.
    static Text Resource(int32_t value, float x, float y);
};
