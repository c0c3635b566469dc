#pragma once

#include "strategy/screens/ZorPanelText.h"
#include "task/GxTaskBase.h"

#include <cstdint>
#include <string>

class ZorUserData;

// The status bar of the command and strategy-map screens: resources, leadership, the four facility
// levels and the weeks left.
class ZorTaskStrParamView : public GxTaskBase
{
public:
    using Text = ZorPanelText;
    static constexpr int kTexts = 10;

    ZorTaskStrParamView(GxTaskBase* parent, const wchar_t* globalName);
    ~ZorTaskStrParamView() override;

    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    GxVector4 GetWorldPos() const override;

    static void Layout(const ZorUserData& s, Text out[kTexts]);
};
