#pragma once

#include "task/ui/GxTaskUISliderIs.h"

// The vertical image-set slider (UI type 31), measured from the top.
class GxTaskUIVSliderIs : public GxTaskUISliderIs
{
public:
    static constexpr int32_t kTypeCode = 31;

    GxTaskUIVSliderIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                      int32_t localIndex = 0);
    ~GxTaskUIVSliderIs() override;
};
