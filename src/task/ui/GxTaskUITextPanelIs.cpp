#include "task/ui/GxTaskUITextPanelIs.h"

GxTaskUITextPanelIs::GxTaskUITextPanelIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                         int32_t localIndex)
    : GxTaskUITextWidget(parent, globalName, localName, localIndex, kTypeCode, L"GxTaskUITextPanelIs")
{
}

GxTaskUITextPanelIs::~GxTaskUITextPanelIs() = default;
