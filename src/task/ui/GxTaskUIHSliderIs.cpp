#include "task/ui/GxTaskUIHSliderIs.h"

GxTaskUIHSliderIs::GxTaskUIHSliderIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                     int32_t localIndex)
    : GxTaskUISliderIs(Axis::Horizontal, parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
}

GxTaskUIHSliderIs::~GxTaskUIHSliderIs() = default;
