#pragma once

#include "task/ui/GxTaskUISliderIs.h"

// The horizontal image-set slider (UI type 30).
class GxTaskUIHSliderIs : public GxTaskUISliderIs
{
public:
    static constexpr int32_t kTypeCode = 30;

    GxTaskUIHSliderIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                      int32_t localIndex = 0);
    ~GxTaskUIHSliderIs() override;
};
