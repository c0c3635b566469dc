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
    case 1: return &Make<GxTaskUINull>;
    case 8: return &Make<GxTaskUIPanelFx>;
    case 9: return &Make<GxTaskUIMessageWindowFx>;
    case 10: return &Make<GxTaskUITextWindowFx>;
    case 11: return &Make<GxTaskUITextPanelFx>;
    case 15: return &Make<GxTaskUIPanelIs>;
    case 16: return &Make<GxTaskUIAnimePanelIs>;
    case 17: return &Make<GxTaskUITextPanelIs>;
    case 18: return &Make<GxTaskUIButtonIs>;
    case 19: return &Make<GxTaskUIToggleButtonIs>;
    case 20: return &Make<GxTaskUIRadioButtonIs>;
    case 21: return &Make<GxTaskUITextButtonIs>;
    case 30: return &Make<GxTaskUIHSliderIs>;
    case 31: return &Make<GxTaskUIVSliderIs>;
    case 40: return &Make<GxTaskUIMenuIs>;
    case 41: return &Make<GxTaskUIHBarIs>;
    case 45: return &Make<GxTaskUITipHelpIs>;
    case 50: return &Make<GxTaskUIListBoxFx>;
    case 51: return &Make<GxTaskUITextLogFx>;
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
