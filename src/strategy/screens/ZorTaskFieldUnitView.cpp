#include "strategy/screens/ZorTaskFieldUnitView.h"

#include "animation/GxNcMotion.h"
#include "animation/GxNcProjectEx.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

namespace
{

// Enemies sort by their distance from this point behind their side of the field.
const GxVector3 kEnemySortPoint(1500.0f, 750.0f, 1500.0f);
constexpr int32_t kEnemyFormation = 2;

float DistanceSq(const GxVector3& a, const GxVector4& b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

} // namespace

ZorTaskFieldUnitView::ZorTaskFieldUnitView(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskBase(parent, globalName), m_Camera(camera)
{
    for (GxNcRenderPacket& p : m_Packets)
        p.m_Owned = 0;
}

ZorTaskFieldUnitView::~ZorTaskFieldUnitView()
{
    m_List.Clear();
}

int32_t ZorTaskFieldUnitView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, -10.0f, 0);
    }
    return 0;
}

int32_t ZorTaskFieldUnitView::PickFrame(int32_t motionIndex, int32_t counter, int32_t loopLength)
{
    // A motion of no frames would take a remainder by 0: it shows nothing instead.
    if (loopLength <= 0)
        return -1;
    return motionIndex == 0 ? counter % loopLength : counter;
}

bool ZorTaskFieldUnitView::Queue(const ZorTaskUnitEntity& unit, bool enemy, int32_t index)
{
    const ZorNcPoolUnit::Entry* entry = ZorNcPoolUnit::GetEntry(unit.m_UnitID);
    const int32_t m = unit.m_MotionIndex;
    if (!entry || !entry->m_Project || m < 0 || m >= ZorNcPoolUnit::kMotions || !entry->m_Motions[m])
        return false;
    const int32_t frame = PickFrame(m, unit.m_MotionTime, ZorNcPoolUnit::GetMotionLength(unit.m_UnitID, m));
    if (frame < 0)
        return false;
    GxMatrix transform;
    transform.Scaling(enemy ? kScale : -kScale, kScale, kScale);
    m_Camera->ApplyBillboard(transform, 1.0f);
    transform.PostScale(1.0f, -1.0f, 1.0f);
    const GxVector4 pos = unit.GetWorldPos();
    GxNcMotionSnapShotEx& snap = m_SnapShots[index];
    snap.Update(static_cast<const GxNcProjectEx*>(entry->m_Project),
                static_cast<const GxNcMotion*>(entry->m_Motions[m]), frame, GxVector4(pos.x, pos.y, pos.z, 0.0f),
                &transform, GxVector4(1.0f, 1.0f, 1.0f, 1.0f), 4, nullptr);
    snap.CalcBoundingBox();
    GxVector4 centre((snap.m_BoundsMin.x + snap.m_BoundsMax.x) * 0.5f, (snap.m_BoundsMin.y + snap.m_BoundsMax.y) * 0.5f,
                     (snap.m_BoundsMin.z + snap.m_BoundsMax.z) * 0.5f, 0.0f);
    // A motion with no drawn vertex has no bounds: sort it at its feet.
    if (snap.m_BoundsMin.x > snap.m_BoundsMax.x)
        centre = GxVector4(pos.x, pos.y, pos.z, 0.0f);
    const float key = DistanceSq(enemy ? kEnemySortPoint : m_Camera->GetEyePos(), centre);
    GxNcRenderPacket& packet = m_Packets[index];
    GxNcRenderPacket::Init(&packet, &snap, key, GxVector4());
    packet.m_Owned = 0;
    packet.m_Matrix = GxMatrix();
    m_TaskIDs[index] = static_cast<int64_t>(unit.GetTaskID());
    m_List.Add(&packet, GxSortedRenderManage::ADD_DESCENDING);
    return true;
}

int32_t ZorTaskFieldUnitView::CollectSprites()
{
    m_List.Clear();
    ZorCore* core = ZorCore::GetInstance();
    // The pool's handles are engine projects only when it loads through the project factory; any other
    // source (the headless simulation's) has nothing to draw.
    if (!m_Camera || !core || !dynamic_cast<ZorNcProjectFactorySource*>(ZorNcPoolUnit::GetProjectSource()))
        return 0;
    const ZorUserData* s = core->GetUserData();
    int32_t queued = 0;
    for (int32_t i = 0; i < kMaxSprites; ++i)
    {
        m_TaskIDs[i] = 0;
        const bool enemy = i < kEnemySlots;
        const int32_t p = i - kEnemySlots;
        const int64_t id = enemy ? s->m_FieldFormations[kEnemyFormation].m_UnitEntityIDs[i]
                                 : s->m_FieldFormations[p / 5].m_UnitEntityIDs[p % 5];
        const ZorTaskUnitEntity* unit = id != 0 ? core->FindUnit(id) : nullptr;
        if (unit && !unit->IsBeingRemoved() && Queue(*unit, enemy, i))
            ++queued;
    }
    return queued;
}

int32_t ZorTaskFieldUnitView::GetQueued(int64_t out[kMaxSprites]) const
{
    // The list keeps no public order; rebuild it from the keys the same way it sorts (descending, stable).
    int32_t n = 0;
    for (int32_t i = 0; i < kMaxSprites; ++i)
    {
        if (m_TaskIDs[i] == 0)
            continue;
        int32_t at = n;
        while (at > 0 && m_Packets[i].m_SortKey > m_Packets[static_cast<size_t>(out[at - 1])].m_SortKey)
            --at;
        for (int32_t k = n; k > at; --k)
            out[k] = out[k - 1];
        out[at] = i;
        ++n;
    }
    for (int32_t k = 0; k < n; ++k)
        out[k] = m_TaskIDs[static_cast<size_t>(out[k])];
    return n;
}

int32_t ZorTaskFieldUnitView::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    if (!m_Camera)
        return 0;
    m_Camera->ApplyToDevice();
    if (CollectSprites() == 0)
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::SetZEnable(true);
    GxGraphics::SetZWriteEnable(false);
    GxGraphics::SetBlendMode(0, 2);
    GxGraphics::SetAlphaTest(false, 128);
    m_List.Draw(0);
    m_List.Clear();
    GxGraphics::EndScene();
    return 0;
}
