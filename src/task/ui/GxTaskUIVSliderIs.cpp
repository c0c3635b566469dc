#include "task/ui/GxTaskUIVSliderIs.h"

GxTaskUIVSliderIs::GxTaskUIVSliderIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                     int32_t localIndex)
    : GxTaskUISliderIs(Axis::Vertical, parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
}

GxTaskUIVSliderIs::~GxTaskUIVSliderIs() = default;
