#include "strategy/screens/ZorTaskNextEnemy.h"

#include "animation/GxNcIconPool.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorUnit.h"
#include "core/GxCore.h"
#include "core/GxString.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorNextEnemy.h"
#include "strategy/ZorUserData.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

#include <algorithm>

namespace
{

constexpr int kFont16Num = 2; // the bitmap fonts' order at start-up

} // namespace

ZorTaskNextEnemy::ZorTaskNextEnemy(GxTaskBase* parent, const wchar_t* globalName) : GxTaskBase(parent, globalName) {}

ZorTaskNextEnemy::~ZorTaskNextEnemy() = default;

GxVector2 ZorTaskNextEnemy::IconPos(const ZorNextEnemy& e)
{
    const float u = 1.0f - e.m_Time;
    const float k = u * u * u;
    return GxVector2(e.m_Pos.x - (e.m_Pos.x - e.m_OldPos.x) * k, e.m_Pos.y - (e.m_Pos.y - e.m_OldPos.y) * k);
}

std::wstring ZorTaskNextEnemy::TipText(const ZorNextEnemy& e)
{
    std::wstring text;
    if (const DBZorEnemyData* row = g_DBZorEnemy.GetRow(e.m_PartyID))
        text = row->m_Descript;
    return text + GxString::Format(L"|LV%d ～ %d", e.m_LevelLow, e.m_LevelHigh);
}

std::wstring ZorTaskNextEnemy::Step(std::deque<ZorNextEnemy>& queue, float x, float y, bool active, int32_t phase)
{
    int32_t hovered = -1;
    for (size_t i = 0; i < queue.size(); ++i)
    {
        ZorNextEnemy& e = queue[i];
        if (e.m_Time < 1.0f)
            e.m_Time += 0.02f;
        if (e.m_Time >= 1.0f)
        {
            e.m_Time = 1.0f;
            e.m_OldPos = e.m_Pos;
        }
        const GxVector2 p = IconPos(e);
        if (p.x < x && x < p.x + kIconSize && p.y < y && y < p.y + kIconSize)
            hovered = static_cast<int32_t>(i);
    }
    if (hovered >= 0 && hovered < kShown && active && (phase == 0 || phase == 1))
    {
        if (++m_HoverCount > kTipDelay)
            return TipText(queue[static_cast<size_t>(hovered)]);
        return std::wstring();
    }
    m_HoverCount = 0;
    return std::wstring();
}

int32_t ZorTaskNextEnemy::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    ZorCore* core = ZorCore::GetInstance();
    if (!core)
        return 0;
    int x = 0;
    int y = 0;
    if (g_Core)
        g_Core->GetCursorPos(x, y);
    ZorUserData* s = core->GetUserData();
    const std::wstring tip = Step(s->m_NextEnemies, static_cast<float>(x), static_cast<float>(y),
                                  g_Core && g_Core->m_Active, s->m_GamePhase);
    if (!tip.empty())
    {
        GxTaskManage* manage = GetManager();
        if (auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr)
            system->ShowHelpTip(tip.c_str(), static_cast<float>(x), static_cast<float>(y));
    }
    return 0;
}

int32_t ZorTaskNextEnemy::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 10000.0f, 0);
    }
    return 0;
}

int32_t ZorTaskNextEnemy::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorCore* core = ZorCore::GetInstance();
    if (!core || core->GetUserData()->m_NextEnemies.empty())
        return 0;
    const std::deque<ZorNextEnemy>& queue = core->GetUserData()->m_NextEnemies;
    GxGraphics::BeginScene();
    const size_t n = std::min<size_t>(queue.size(), kShown);
    for (size_t i = 0; i < n; ++i)
    {
        const ZorNextEnemy& e = queue[i];
        const GxVector2 p = IconPos(e);
        if (const DBZorUnitData* unit = g_DBZorUnit.GetRow(e.m_FirstUnitID))
            GxNcIconPool::DrawString(unit->m_FaceIconImage, 1.0f, 1.0f, p.x, p.y, 0.0f, 0xFFFFFFFF);
        const std::wstring count = GxString::Format(L"%d", e.m_PartyNum);
        GxGraphics::DrawFontText(count.c_str(), &g_FontDataTable[kFont16Num], p.x + 40.0f, p.y + 40.0f,
                                 GxVector2(1.0f, 1.0f), GxVector3(), GxVector2(), 0xFFFFE080, 0, 2);
        GxNcIconPool::DrawString(GxString::Format(L"icon_entrance%d", e.m_EntranceIndex + 1), 1.0f, 1.0f, p.x,
                                 p.y + 32.0f, 0.0f, 0xFFFFFFFF);
        if (i == 0)
        {
            GxNcIconPool::DrawString(L"hbar_exceed_large_back", 1.0f, 1.0f, p.x, p.y + 56.0f, 0.0f, 0xFFFFFFFF);
            const double f = e.m_AppearFramesTotal > 0 ? static_cast<double>(e.m_AppearFramesTotal - e.m_AppearFramesLeft) /
                                                             e.m_AppearFramesTotal
                                                       : 1.0;
            GxNcIconPool::DrawEx(L"hbar_exceed_large_on", p.x + 1.0f, p.y + 56.0f, 0.0f, 0, f);
        }
    }
    GxGraphics::EndScene();
    return 0;
}
