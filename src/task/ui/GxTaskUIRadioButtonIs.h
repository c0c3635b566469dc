#pragma once

#include "task/ui/GxTaskUIToggleButtonIs.h"

// A toggle whose press switches it on and every other radio button of its group under the same parent
// off (UI type 20). Groups are scoped by parent and m_GroupID.
class GxTaskUIRadioButtonIs : public GxTaskUIToggleButtonIs
{
public:
    static constexpr int32_t kTypeCode = 20;

    GxTaskUIRadioButtonIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                          int32_t localIndex = 0);
    ~GxTaskUIRadioButtonIs() override;

    virtual void Select();

protected:
    void Toggle() override { Select(); }
};
