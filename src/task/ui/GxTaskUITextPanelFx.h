#pragma once

#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxTaskUITextWidget.h"

// A picture panel with a short text over it (UI type 11). The base of the strategy game's window views.
class GxTaskUITextPanelFx : public GxTaskUITextWidget<GxTaskUIPanelFx>
{
public:
    static constexpr int32_t kTypeCode = 11;

    GxTaskUITextPanelFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                        int32_t localIndex = 0);
    ~GxTaskUITextPanelFx() override;
};
