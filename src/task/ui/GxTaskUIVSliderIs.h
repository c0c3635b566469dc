#pragma once

#include "task/ui/GxTaskUISliderIs.h"

// The vertical image-set slider (UI type 31), measured from the top.
class GxTaskUIVSliderIs : public GxTaskUISliderIs
{
public:
    GxTaskUIVSliderIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                      int32_t localIndex = 0);
    ~GxTaskUIVSliderIs() override;
};
