#include "strategy/screens/ZorTaskTimeView.h"

#include "core/GxString.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

ZorTaskTimeView::ZorTaskTimeView(GxTaskBase* parent) : GxTaskActor(parent, L"$ZORTIMEVIEW:SeqZorMain") {}

ZorTaskTimeView::~ZorTaskTimeView() = default;

int32_t ZorTaskTimeView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 12001.0f, 0);
    }
    return 0;
}

void ZorTaskTimeView::Layout(const ZorUserData& s, float x0, float y0, ZorViewDrawList& out)
{
    out.Clear();
    out.Icon(L"uniticon_bos_ast", x0 + 24.0f, y0 + 94.0f);
    out.Icon(L"hbar_unithp_large_back", x0 + 24.0f, y0 + 152.0f);
    // A maximum of 0 (never set by a new game) shows an empty bar rather than dividing by it.
    out.Bar(L"hbar_unithp_large_on", x0 + 25.0f, y0 + 152.0f,
            s.m_Resource_AstarosHPMax > 0
                ? static_cast<double>(s.m_Resource_AstarosHP) / static_cast<double>(s.m_Resource_AstarosHPMax)
                : 0.0);
    out.FontText(GxString::Format(L"%3d", s.m_RemainEnemyLeft), x0 + 16.0f, y0 + 40.0f, ZorViewDrawList::kFont16Num);
    if (s.m_Notoriety != 0)
        out.FontText(L"HELL MODE", 877.0f, 4.0f, ZorViewDrawList::kFont16Sys);
}

int32_t ZorTaskTimeView::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorCore* core = ZorCore::GetInstance();
    if (!core)
        return 0;
    const GxVector4 origin = GetWorldPos();
    Layout(*core->GetUserData(), origin.x, origin.y, m_DrawList);
    m_DrawList.DrawOverlay(0.0f, 0.0f);
    return 0;
}
