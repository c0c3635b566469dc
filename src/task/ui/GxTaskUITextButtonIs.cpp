#include "task/ui/GxTaskUITextButtonIs.h"

GxTaskUITextButtonIs::GxTaskUITextButtonIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                           int32_t localIndex)
    : GxTaskUITextWidget(parent, globalName, localName, localIndex, kTypeCode, L"GxTaskUITextButtonIs")
{
}

GxTaskUITextButtonIs::~GxTaskUITextButtonIs() = default;
