#include "strategy/screens/ZorTaskFieldOverlay.h"

#include "animation/GxNcIconPool.h"
#include "core/GxVector2.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

namespace
{

constexpr int kFont16Cond = 5; // the bitmap fonts' order at start-up

} // namespace

ZorTaskFieldOverlay::ZorTaskFieldOverlay(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskFolder(parent, globalName), m_Camera(camera)
{
    for (Bar& b : m_Bars)
        b.m_Symbols.reserve(ZorUnitRecord::kStatuses);
}

ZorTaskFieldOverlay::~ZorTaskFieldOverlay() = default;

int32_t ZorTaskFieldOverlay::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, -5.0f, 1);
    }
    return 0;
}

void ZorTaskFieldOverlay::StatusSymbols(const ZorTaskUnitEntity& unit, std::wstring& out)
{
    out.clear();
    for (int32_t i = 0; i < ZorUnitRecord::kStatuses; ++i)
    {
        if (unit.m_RemainTime[i] > 0)
            out += static_cast<wchar_t>(0x2F + i);
    }
}

int32_t ZorTaskFieldOverlay::CollectBars(Bar out[kMaxBars]) const
{
    GxTaskManage* manage = GetManager();
    if (!m_Camera || !manage)
        return 0;
    int32_t n = 0;
    for (const wchar_t* name : {ZorCore::kInvEnemyList, ZorCore::kInvPlayerList})
    {
        GxTaskBase* list = manage->FindTaskByName(name);
        for (GxTaskBase* t = list ? list->GetFirstChild() : nullptr; t && n < kMaxBars; t = t->GetNextSibling())
        {
            // A fallen enemy leaves its slot at once but keeps its bar until its task is being removed.
            auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
            if (!unit || unit->IsBeingRemoved() || unit->m_UnitID == 0)
                continue;
            const GxVector4 w = unit->GetWorldPos();
            const GxVector3 p = m_Camera->WorldToScreen(GxVector3(w.x, w.y, w.z));
            const int32_t max = unit->GetMaxHP();
            Bar& bar = out[n++];
            bar.m_X = p.x;
            bar.m_Y = p.y;
            bar.m_Ratio = max > 0 ? static_cast<double>(unit->m_HP) / max : 0.0;
            StatusSymbols(*unit, bar.m_Symbols);
        }
    }
    return n;
}

int32_t ZorTaskFieldOverlay::Draw(int32_t param, int32_t layer)
{
    (void)layer;
    if (param != 1 || !m_Camera)
        return 0;
    const int32_t n = CollectBars(m_Bars);
    m_Camera->ApplyToDevice();
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    for (int32_t i = 0; i < n; ++i)
    {
        const Bar& b = m_Bars[i];
        GxNcIconPool::DrawString(L"hbar_unithp_small_back", 1.0f, 1.0f, b.m_X - 20.0f, b.m_Y - kBarRise, 0.0f,
                                 0xFFFFFFFF);
        GxNcIconPool::DrawEx(L"hbar_unithp_small_on", b.m_X - 19.0f, b.m_Y - kBarRise, 0.0f, 0, b.m_Ratio);
        if (!b.m_Symbols.empty())
            GxGraphics::DrawFontText(b.m_Symbols.c_str(), &g_FontDataTable[kFont16Cond], b.m_X - 20.0f,
                                     b.m_Y - kSymbolRise, GxVector2(1.0f, 1.0f), GxVector3(), GxVector2(), 0xFFFFFFFF,
                                     0, 2);
    }
    GxGraphics::EndScene();
    return 0;
}
