#include "adventure/AvgNameImageLayer.h"

#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

AvgNameImageLayer::AvgNameImageLayer(GxTaskBase* window, const wchar_t* globalName) : GxTaskLayer(window, globalName) {}

int32_t AvgNameImageLayer::Draw(int32_t param, int32_t layer)
{
    // Asked as the window itself asks before drawing: the current sequence decides.
    auto* window = dynamic_cast<GxTaskUIBase*>(GetParent());
    GxTaskManage* manage = GetManager();
    GxSeqBase* sequence = manage ? manage->GetCurrentSequence() : nullptr;
    if (window && sequence && !sequence->IsWidgetShown(window))
        return 0;
    return GxTaskLayer::Draw(param, layer);
}
