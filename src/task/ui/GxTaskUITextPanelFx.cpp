#include "task/ui/GxTaskUITextPanelFx.h"

GxTaskUITextPanelFx::GxTaskUITextPanelFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                         int32_t localIndex)
    : GxTaskUITextWidget(parent, globalName, localName, localIndex, kTypeCode, L"GxTaskUITextPanelFx")
{
}

GxTaskUITextPanelFx::~GxTaskUITextPanelFx() = default;
