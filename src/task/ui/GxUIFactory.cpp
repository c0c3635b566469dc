#include "task/ui/GxUIFactory.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxDBLookup.h"
#include "core/GxLog.h"
#include "task/ui/GxTaskUIAnimePanelIs.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIHBarIs.h"
#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUIMenuIs.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"
#include "task/ui/GxTaskUINull.h"
#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxTaskUIPanelIs.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"
#include "task/ui/GxTaskUITextButtonIs.h"
#include "task/ui/GxTaskUITextLogFx.h"
#include "task/ui/GxTaskUITextPanelFx.h"
#include "task/ui/GxTaskUITextPanelIs.h"
#include "task/ui/GxTaskUITextWindowFx.h"
#include "task/ui/GxTaskUITipHelpIs.h"
#include "task/ui/GxTaskUIToggleButtonIs.h"
#include "task/ui/GxTaskUIVSliderIs.h"

#include <string>

namespace
{

template <class Widget>
GxTaskUIBase* Make(GxTaskBase* parent, const wchar_t* global, const wchar_t* local, int32_t index)
{
    return new Widget(parent, global, local, index);
}

using MakeFn = GxTaskUIBase* (*)(GxTaskBase*, const wchar_t*, const wchar_t*, int32_t);

// The UIType codes of the module table and their classes.
MakeFn FindMaker(int32_t uiType)
{
    switch (uiType)
    {
    case GxTaskUINull::kTypeCode: return &Make<GxTaskUINull>;
    case GxTaskUIPanelFx::kTypeCode: return &Make<GxTaskUIPanelFx>;
    case GxTaskUIMessageWindowFx::kTypeCode: return &Make<GxTaskUIMessageWindowFx>;
    case GxTaskUITextWindowFx::kTypeCode: return &Make<GxTaskUITextWindowFx>;
    case GxTaskUITextPanelFx::kTypeCode: return &Make<GxTaskUITextPanelFx>;
    case GxTaskUIPanelIs::kTypeCode: return &Make<GxTaskUIPanelIs>;
    case GxTaskUIAnimePanelIs::kTypeCode: return &Make<GxTaskUIAnimePanelIs>;
    case GxTaskUITextPanelIs::kTypeCode: return &Make<GxTaskUITextPanelIs>;
    case GxTaskUIButtonIs::kTypeCode: return &Make<GxTaskUIButtonIs>;
    case GxTaskUIToggleButtonIs::kTypeCode: return &Make<GxTaskUIToggleButtonIs>;
    case GxTaskUIRadioButtonIs::kTypeCode: return &Make<GxTaskUIRadioButtonIs>;
    case GxTaskUITextButtonIs::kTypeCode: return &Make<GxTaskUITextButtonIs>;
    case GxTaskUIHSliderIs::kTypeCode: return &Make<GxTaskUIHSliderIs>;
    case GxTaskUIVSliderIs::kTypeCode: return &Make<GxTaskUIVSliderIs>;
    case GxTaskUIMenuIs::kTypeCode: return &Make<GxTaskUIMenuIs>;
    case GxTaskUIHBarIs::kTypeCode: return &Make<GxTaskUIHBarIs>;
    case GxTaskUITipHelpIs::kTypeCode: return &Make<GxTaskUITipHelpIs>;
    case GxTaskUIListBoxFx::kTypeCode: return &Make<GxTaskUIListBoxFx>;
    case GxTaskUITextLogFx::kTypeCode: return &Make<GxTaskUITextLogFx>;
    default: return nullptr;
    }
}

} // namespace

GxTaskUIBase* GxUIFactory::CreateUITask(GxTaskBase* parent, const DBUIModuleData* module, const wchar_t* name,
                                        int32_t index)
{
    if (!parent || !module)
        return nullptr;
    MakeFn make = FindMaker(module->m_UIType);
    if (!make)
        return nullptr;
    GxTaskUIBase* widget = index == -1 ? make(parent, name, nullptr, 0) : make(parent, nullptr, name, index);
    widget->ApplyModule(*module);
    return widget;
}

GxTaskUIBase* GxUIFactory::CreateUITaskByModuleName(GxTaskBase* parent, const wchar_t* moduleName,
                                                    const wchar_t* name, int32_t index)
{
    const DBUIModuleData* module = FindUIModuleData(moduleName ? std::wstring(moduleName) : std::wstring());
    return module ? CreateUITask(parent, module, name, index) : nullptr;
}

GxTaskUIBase* GxUIFactory::CreateUITaskFromId(GxTaskBase* parent, int32_t moduleID, const wchar_t* name,
                                              int32_t index)
{
    if (moduleID <= 0 || moduleID >= g_DBUIModule.GetCapacity() || g_DBUIModule.GetRow(moduleID)->m_ID != moduleID)
    {
        GxLog::Error(L"UIモジュールデータ[ID=%d]が見つかりません\n", moduleID);
        return nullptr;
    }
    return CreateUITask(parent, g_DBUIModule.GetRow(moduleID), name, index);
}
