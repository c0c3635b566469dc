#include "task/ui/GxTaskUINull.h"

GxTaskUINull::GxTaskUINull(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
}

GxTaskUINull::~GxTaskUINull() = default;
