#pragma once

#include "task/ui/GxTaskUIBase.h"

// The widget of UI type 1: nothing to draw and no input of its own. Screens use it as an invisible
// receiver of events or a place to hang other widgets.
class GxTaskUINull : public GxTaskUIBase
{
public:
    static constexpr int32_t kTypeCode = 1;

    GxTaskUINull(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                 int32_t localIndex = 0);
    ~GxTaskUINull() override;
};
