#pragma once

#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUITextWidget.h"

// A push button with its text drawn over the image, laid out like a text panel (UI type 21).
class GxTaskUITextButtonIs : public GxTaskUITextWidget<GxTaskUIButtonIs>
{
public:
    static constexpr int32_t kTypeCode = 21;

    GxTaskUITextButtonIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                         int32_t localIndex = 0);
    ~GxTaskUITextButtonIs() override;
};
