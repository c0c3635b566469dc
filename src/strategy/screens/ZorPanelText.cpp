#include "strategy/screens/ZorPanelText.h"

#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGraphics.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

void ZorPanelText::Register(GxTaskBase* task)
{
    if (GxTaskManage* manage = task->GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(task, GX_RENDER_ASCEND, 14001.0f, 0);
    }
}

void ZorPanelText::DrawAll(const ZorPanelText* texts, size_t count, float dx, float dy)
{
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    for (size_t i = 0; i < count; ++i)
    {
        const ZorPanelText& t = texts[i];
        GxGraphics::DrawFontText(t.m_Text.c_str(), &g_FontDataTable[t.m_Font], dx + t.m_X, dy + t.m_Y,
                                 GxVector2(1.0f, 1.0f), GxVector3(), GxVector2(), t.m_Colour, 0, 2);
    }
    GxGraphics::EndScene();
}
