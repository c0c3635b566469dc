#include "strategy/screens/ZorTaskMapUnit.h"

#include "animation/GxNcEffect.h"
#include "animation/GxNcEffectPool.h"
#include "animation/GxNcMotion.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

#include <numbers>

namespace
{

// The motions of the unit pool are engine motions only when the pool loads through the project factory;
// the headless simulation's source hands out stand-ins that cannot be drawn.
bool PoolDrawable()
{
    return dynamic_cast<ZorNcProjectFactorySource*>(ZorNcPoolUnit::GetProjectSource()) != nullptr;
}

bool PoolMotion(const ZorTaskUnitEntity& unit, ZorTaskMapUnit::Sprite& out)
{
    const ZorNcPoolUnit::Entry* entry = ZorNcPoolUnit::GetEntry(unit.m_UnitID);
    if (!entry || unit.m_MotionIndex < 0 || unit.m_MotionIndex >= ZorNcPoolUnit::kMotions || !PoolDrawable())
        return false;
    out.m_Project = static_cast<const GxNcProjectEx*>(entry->m_Project);
    out.m_Motion = static_cast<const GxNcMotion*>(entry->m_Motions[unit.m_MotionIndex]);
    return out.m_Project && out.m_Motion;
}

// A motion of no frames would divide by zero below: such a sprite counts as ended and is not drawn.
int32_t Wrap(int32_t frame, const GxNcMotion& motion)
{
    return frame % motion.m_TotalDuration;
}

} // namespace

ZorTaskMapUnit::ZorTaskMapUnit(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskFolder(parent, globalName), m_Camera(camera)
{
}

ZorTaskMapUnit::~ZorTaskMapUnit()
{
    m_List.Clear();
}

int32_t ZorTaskMapUnit::Update(int32_t step, int64_t elapsed)
{
    GxTaskFolder::Update(step, elapsed);
    AdvanceFrameCount();
    return 0;
}

int32_t ZorTaskMapUnit::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, -70.0f, 0);
    }
    return 0;
}

float ZorTaskMapUnit::SortKey(const GxVector4& p)
{
    const float dx = 1500.0f - p.x, dy = 750.0f - p.y, dz = 1500.0f - p.z;
    return dx * dx + dy * dy + dz * dz;
}

bool ZorTaskMapUnit::ChooseSprite(const ZorTaskUnitEntity& unit, bool enemy, Sprite& out)
{
    out = Sprite();
    const GxVector4 w = unit.GetWorldPos();
    out.m_Position = GxVector4(w.x, w.y + (enemy ? 0.5f : 0.2f), w.z, 0.0f);
    bool appearing = unit.m_AppearTimeLeft > 0;
    if (!enemy && (unit.m_CreateTimeLeft > 0 || unit.m_ArrangeTimeLeft > 0))
    {
        // Being summoned or moved in: the circle on the floor instead of the unit.
        const GxNcEffect* effect =
            GxNcEffectPool::Find(unit.m_CreateTimeLeft > 0 ? L"EFE_SUMMONS01" : L"EFE_SUMMONS02");
        if (!effect || !effect->m_pProject || !effect->m_pMotion || effect->m_pMotion->m_TotalDuration <= 0)
            return false;
        out.m_Project = effect->m_pProject;
        out.m_Motion = effect->m_pMotion;
        out.m_Effect = true;
        out.m_Frame = Wrap(static_cast<int32_t>(unit.GetFrameCount()), *out.m_Motion);
        appearing = false;
    }
    else
    {
        if (enemy && unit.m_CreateTimeLeft > 0)
            return false;
        if (!PoolMotion(unit, out) || out.m_Motion->m_TotalDuration <= 0)
            return false;
        out.m_Frame = unit.m_MotionTime;
        // Standing loops; an invader's walk loops too once it is fully there. Other motions run once and
        // are held by the rules at their end.
        if (unit.m_MotionIndex == 0 || (enemy && unit.m_MotionIndex == 3 && !appearing))
            out.m_Frame = Wrap(out.m_Frame, *out.m_Motion);
    }
    if (appearing)
    {
        // Fading in from white: the tint grows from black to full while the added white shrinks.
        float r = unit.GetAppearRate();
        if (enemy)
            r = unit.m_AppearTimeTotal != 0 ? static_cast<float>(unit.m_AppearTimeTotal - unit.m_AppearTimeLeft) /
                                                  static_cast<float>(unit.m_AppearTimeTotal)
                                            : 1.0f;
        out.m_Multiply = GxVector4(r, r, r, 1.0f);
        out.m_Add = GxVector4(1.0f - r, 1.0f - r, 1.0f - r, 1.0f - r);
    }
    return true;
}

GxNcMotionSnapShotEx& ZorTaskMapUnit::SnapShotOf(int64_t taskID)
{
    std::unique_ptr<GxNcMotionSnapShotEx>& slot = m_SnapShots[taskID];
    if (!slot)
        slot = std::make_unique<GxNcMotionSnapShotEx>();
    m_Seen.push_back(taskID);
    return *slot;
}

size_t ZorTaskMapUnit::QueueSprites()
{
    m_List.Clear();
    m_Seen.clear();
    GxTaskManage* manage = GetManager();
    if (!manage || !m_Camera)
        return 0;
    size_t queued = 0;
    const GxVector4 white(1.0f, 1.0f, 1.0f, 1.0f);
    for (int pass = 0; pass < 2; ++pass)
    {
        const bool enemy = pass == 1;
        GxTaskBase* list = manage->FindTaskByName(enemy ? ZorCore::kUnitEnemyList : ZorCore::kUnitPlayerList);
        for (GxTaskBase* t = list ? list->GetFirstChild() : nullptr; t; t = t->GetNextSibling())
        {
            auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
            Sprite sprite;
            if (!unit || unit->IsBeingRemoved() || unit->m_UnitID == 0 || !ChooseSprite(*unit, enemy, sprite))
                continue;
            // Lying on the floor for the summon circles; then the sprite's size, mirrored when it faces the
            // other way; turned towards the camera (half the pitch for units, none for the circles); and y
            // flipped, since the projects are drawn with y down.
            GxMatrix m;
            if (sprite.m_Effect)
                m.RotateX(std::numbers::pi_v<float> / 2.0f);
            m.PostScale(unit->m_ShowDir == 1 ? -0.1f : 0.1f, 0.1f, 0.1f);
            m_Camera->ApplyBillboard(m, sprite.m_Effect ? 0.0f : 0.5f);
            m.PostScale(1.0f, -1.0f, 1.0f);
            GxNcMotionSnapShotEx& snapshot = SnapShotOf(static_cast<int64_t>(unit->GetTaskID()));
            snapshot.Update(sprite.m_Project, sprite.m_Motion, sprite.m_Frame, sprite.m_Position, &m, white, 4,
                            nullptr);
            float key = SortKey(sprite.m_Position);
            if (!enemy)
            {
                snapshot.CalcBoundingBox();
                const GxVector4 c((snapshot.m_BoundsMin.x + snapshot.m_BoundsMax.x) * 0.5f,
                                  (snapshot.m_BoundsMin.y + snapshot.m_BoundsMax.y) * 0.5f,
                                  (snapshot.m_BoundsMin.z + snapshot.m_BoundsMax.z) * 0.5f, 0.0f);
                key = SortKey(c);
            }
            if (queued == m_Packets.size())
            {
                m_Packets.push_back(std::make_unique<GxNcRenderPacket>());
                m_Packets.back()->m_Owned = 0; // the list lets go of it without deleting it
            }
            GxNcRenderPacket* packet = m_Packets[queued++].get();
            // The snapshot's vertices already stand at the unit's point: no further move, world identity.
            GxNcRenderPacket::Init(packet, &snapshot, key, GxVector4(), &sprite.m_Add);
            packet->m_Color = sprite.m_Multiply;
            packet->m_Matrix.SetIdentity();
            m_List.Add(packet, m_AddMode);
        }
    }
    // Snapshots of units gone from the lists are dropped.
    if (m_SnapShots.size() > m_Seen.size())
    {
        for (auto it = m_SnapShots.begin(); it != m_SnapShots.end();)
        {
            bool seen = false;
            for (int64_t id : m_Seen)
                seen = seen || id == it->first;
            it = seen ? std::next(it) : m_SnapShots.erase(it);
        }
    }
    return queued;
}

void ZorTaskMapUnit::DrawQueued()
{
    GxGraphics::BeginScene();
    GxGraphics::SetRenderState(D3DRS_ZENABLE, 1);
    GxGraphics::SetRenderState(D3DRS_ZWRITEENABLE, 0);
    GxGraphics::SetBlendMode(0, 2);
    GxGraphics::SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    GxGraphics::SetRenderState(D3DRS_ALPHAREF, 128);
    m_List.Draw(0);
    m_List.Clear();
    GxGraphics::EndScene();
}

int32_t ZorTaskMapUnit::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    if (!m_Camera || !ZorCore::GetInstance())
        return 0;
    m_Camera->ApplyToDevice();
    if (QueueSprites() > 0)
        DrawQueued();
    return 0;
}
