#pragma once

#include "task/ui/GxTaskUIPanelIs.h"
#include "task/ui/GxTaskUITextWidget.h"

// An image-set panel with a short text over it (UI type 17), laid out as the picture text panel.
class GxTaskUITextPanelIs : public GxTaskUITextWidget<GxTaskUIPanelIs>
{
public:
    static constexpr int32_t kTypeCode = 17;

    GxTaskUITextPanelIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                        int32_t localIndex = 0);
    ~GxTaskUITextPanelIs() override;
};
