#include "task/ui/GxTaskUIRadioButtonIs.h"

GxTaskUIRadioButtonIs::GxTaskUIRadioButtonIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                             int32_t localIndex)
    : GxTaskUIToggleButtonIs(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
    m_AutoToggleFlag = true;
}

GxTaskUIRadioButtonIs::~GxTaskUIRadioButtonIs() = default;

void GxTaskUIRadioButtonIs::Select()
{
    if (GxTaskBase* parent = GetParent())
    {
        for (GxTaskBase* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
        {
            if (child->GetTypeCode() != kTypeCode || !child->HasKind(GX_TASKKIND_WIDGET))
                continue;
            auto* radio = static_cast<GxTaskUIBase*>(child);
            if (radio->GetGroupID() == m_GroupID)
                radio->SetValue(false);
        }
    }
    SetValue(true);
}
