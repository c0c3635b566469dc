#include "strategy/screens/ZorTaskMapOverlay.h"

#include "animation/GxNcEffect.h"
#include "animation/GxNcEffectPool.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcMotion.h"
#include "core/GxColor.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskNcEffectOverlay2D.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

#include <cmath>

namespace
{

constexpr int kFont16Cond = 5; // the bitmap fonts' order at start-up

GxVector3 RoomPoint(int32_t rx, int32_t rz)
{
    return GxVector3(static_cast<float>((rx - 5) * 80), 0.0f, static_cast<float>((rz - 4) * 80));
}

} // namespace

const wchar_t* const ZorTaskMapOverlay::kRoomEffects[7] = {
    L"EFE_HEALING", L"EFE_DEADWALL", L"EFE_COBWEB", L"EFE_DAZZLE", L"EFE_MUCUS", L"EFE_CURSE", L"EFE_MANA02"};

ZorTaskMapOverlay::ZorTaskMapOverlay(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskFolder(parent, globalName), m_Camera(camera)
{
}

ZorTaskMapOverlay::~ZorTaskMapOverlay() = default;

int32_t ZorTaskMapOverlay::Update(int32_t step, int64_t elapsed)
{
    GxTaskFolder::Update(step, elapsed);
    AdvanceFrameCount();
    return 0;
}

int32_t ZorTaskMapOverlay::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
        {
            list->Add(this, GX_RENDER_ASCEND, -80.0f, 0);
            list->Add(this, GX_RENDER_ASCEND, -50.0f, 1);
        }
    }
    return 0;
}

int32_t ZorTaskMapOverlay::PickRoomEffects(const ZorRoomState& room, const wchar_t* out[kMaxRoomEffects])
{
    int32_t n = 0;
    for (int32_t level = 1; level <= 7 && n < kMaxRoomEffects; ++level)
    {
        if (room.m_RoomEffectLevels[level] > 0)
            out[n++] = kRoomEffects[level - 1];
    }
    return n;
}

bool ZorTaskMapOverlay::IsSettled(const ZorTaskUnitEntity& u)
{
    return u.m_ArrangeTimeLeft <= 0 && u.m_CreateTimeLeft <= 0 && u.m_AppearTimeLeft <= 0 &&
           u.m_DisappearTimeLeft <= 0 && u.m_HP > 0;
}

bool ZorTaskMapOverlay::ShowsExceedGauge(const ZorTaskUnitEntity& u)
{
    return IsSettled(u) && u.m_ExceedGauge > 0 && u.m_ExceedGauge < 11000;
}

std::wstring ZorTaskMapOverlay::StatusSymbols(const ZorTaskUnitEntity& u)
{
    std::wstring s;
    for (int32_t i = 0; i < ZorUnitRecord::kStatuses; ++i)
    {
        if (u.m_RemainTime[i] > 0)
            s += static_cast<wchar_t>(0x2F + i);
    }
    return s;
}

int32_t ZorTaskMapOverlay::Draw(int32_t param, int32_t layer)
{
    (void)layer;
    if (!m_Camera || !ZorCore::GetInstance() || (param != 0 && param != 1))
        return 0;
    m_Camera->ApplyToDevice();
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    if (param == 0)
        DrawRoomEffects();
    else
        DrawBars();
    GxGraphics::EndScene();
    return 0;
}

void ZorTaskMapOverlay::DrawRoomEffects()
{
    const ZorUserData* s = ZorCore::GetInstance()->GetUserData();
    const float zoom = m_Camera->GetCurrent().m_Zoom;
    static const GxVector4 s_White(1.0f, 1.0f, 1.0f, 1.0f);
    static const GxMatrix s_Identity;
    for (int32_t rx = 0; rx < 10; ++rx)
    {
        for (int32_t rz = 0; rz < 10; ++rz)
        {
            const ZorRoomState* room = s->GetRoughRoom(rx, rz);
            if (!room)
                continue;
            GxVector3 p = m_Camera->WorldToScreen(RoomPoint(rx, rz));
            p.y -= zoom * 8.0f;
            if (!ZorTaskNcEffectOverlay2D::IsOnScreen(p.x, p.y))
                continue;
            const wchar_t* names[kMaxRoomEffects];
            const int32_t n = PickRoomEffects(*room, names);
            for (int32_t i = 0; i < n; ++i)
            {
                const GxNcEffect* effect = GxNcEffectPool::Find(names[i]);
                // A motion without frames has nothing to show (and no frame to take a remainder of).
                if (!effect || !effect->m_pMotion || effect->m_pMotion->m_EndTime <= 0)
                    continue;
                GxMatrix scale;
                scale.Scaling(0.42f * zoom, 0.42f * zoom, 0.42f * zoom);
                m_SnapShot.Update(effect->m_pProject, effect->m_pMotion, GetFrameCount() % effect->m_pMotion->m_EndTime,
                                  GxVector4(p.x, p.y, 0.0f, 0.0f), &scale, s_White, 4, nullptr);
                GxNcMotionSnapShotEx::Draw(m_SnapShot, s_Identity, 1.0f, s_White, GxVector4(), 0, 0, nullptr);
            }
        }
    }
}

void ZorTaskMapOverlay::DrawTimeBar(const wchar_t* icon, float x, float y, int32_t left, int32_t total)
{
    GxNcIconPool::DrawString(icon, 1.0f, 1.0f, x - 27.0f, y, 0.0f, 0xFFFFFFFF);
    GxNcIconPool::DrawString(L"hbar_time_large_back", 1.0f, 1.0f, x - 27.0f, y + 18.0f, 0.0f, 0xFFFFFFFF);
    const double f = total > 0 ? static_cast<double>(total - left) / total : 1.0;
    GxNcIconPool::DrawEx(L"hbar_time_large_on", x - 26.0f, y + 18.0f, 0.0f, 0, f);
}

void ZorTaskMapOverlay::DrawHealth(const ZorTaskUnitEntity& unit, float x, float y)
{
    GxNcIconPool::DrawString(L"hbar_unithp_small_back", 1.0f, 1.0f, x - 20.0f, y + 18.0f, 0.0f, 0xFFFFFFFF);
    const int32_t max = unit.GetMaxHP();
    GxNcIconPool::DrawEx(L"hbar_unithp_small_on", x - 19.0f, y + 18.0f, 0.0f, 0,
                         max > 0 ? static_cast<double>(unit.m_HP) / max : 0.0);
    const std::wstring symbols = StatusSymbols(unit);
    if (!symbols.empty())
        GxGraphics::DrawFontText(symbols.c_str(), &g_FontDataTable[kFont16Cond], x - 20.0f, y, GxVector2(1.0f, 1.0f),
                                 GxVector3(), GxVector2(), 0xFFFFFFFF, 0, 2);
}

void ZorTaskMapOverlay::DrawBars()
{
    const ZorUserData* s = ZorCore::GetInstance()->GetUserData();
    const float z = m_Camera->GetCurrent().m_Zoom;
    for (int32_t rx = 0; rx < 10; ++rx)
    {
        for (int32_t rz = 0; rz < 10; ++rz)
        {
            const ZorRoomState* room = s->GetRoughRoom(rx, rz);
            if (!room || room->m_CreateTimeLeft <= 0)
                continue;
            const GxVector3 p = m_Camera->WorldToScreen(RoomPoint(rx, rz));
            DrawTimeBar(L"icon_build", p.x, p.y + 32.0f * z, room->m_CreateTimeLeft, room->m_CreateTimeTotal);
        }
    }
    GxTaskManage* manage = GetManager();
    if (!manage)
        return;
    for (int pass = 0; pass < 2; ++pass)
    {
        const bool enemy = pass == 0;
        GxTaskBase* list = manage->FindTaskByName(enemy ? ZorCore::kUnitEnemyList : ZorCore::kUnitPlayerList);
        for (GxTaskBase* t = list ? list->GetFirstChild() : nullptr; t; t = t->GetNextSibling())
        {
            auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
            if (!unit || unit->IsBeingRemoved() || unit->m_UnitID == 0)
                continue;
            const GxVector4 w = unit->GetWorldPos();
            const GxVector3 p = m_Camera->WorldToScreen(GxVector3(w.x, w.y, w.z));
            const float h = unit->m_VisualHeight;
            if (enemy)
            {
                if (ShowsExceedGauge(*unit))
                {
                    const float y = -(h * z) - 8.0f;
                    GxVector4 flash(0.0f, 0.0f, 0.0f, 1.0f);
                    if (unit->m_ExceedGauge >= 10000)
                    {
                        const float g =
                            std::fabs(std::sin(6.0f * ZorTaskCamera::kDegToRad * static_cast<float>(GetFrameCount())));
                        flash = GxVector4(g, g, g, g);
                    }
                    GxNcIconPool::DrawString(L"hbar_exceed_small_back", 1.0f, 1.0f, p.x - 20.0f, p.y + y + 18.0f, 0.0f,
                                             0xFFFFFFFF);
                    GxNcIconPool::DrawEx(L"hbar_exceed_small_on", p.x - 19.0f, p.y + y + 18.0f, 0.0f,
                                         GxColor::ToARGB(flash), unit->m_ExceedGauge / 10000.0);
                }
                if (IsSettled(*unit) && !unit->IsTrap() && unit->NeedsRecovery())
                    DrawHealth(*unit, p.x, p.y - (h * z) - 14.0f);
                continue;
            }
            const float d = -32.0f * z;
            if (unit->m_CreateTimeLeft > 0)
                DrawTimeBar(unit->IsTrap() ? L"icon_build" : L"icon_unitsummon", p.x, p.y + d, unit->m_CreateTimeLeft,
                            unit->m_CreateTimeTotal);
            else if (unit->m_ArrangeTimeLeft > 0)
                DrawTimeBar(L"icon_unitarrange", p.x, p.y + d, unit->m_ArrangeTimeLeft, unit->m_ArrangeTimeTotal);
            else if (IsSettled(*unit) && unit->NeedsRecovery())
                DrawHealth(*unit, p.x, p.y - (h * z) - 8.0f);
        }
    }
}
