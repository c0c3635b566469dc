#include "strategy/screens/ZorTaskRoomWindowView.h"

#include "animation/GxNcIconPool.h"
#include "animation/GxNcOriginImage.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "core/GxString.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxTaskScreenService.h"

#include <cmath>

namespace
{

constexpr float kPi = 3.14159265358979f;
constexpr int32_t kSlots = 5;

std::wstring SkillName(int32_t skillID)
{
    const DBZorSkillData* skill = g_DBZorSkill.GetRow(static_cast<uint32_t>(skillID));
    return skill ? skill->m_ShowName : std::wstring();
}

double Progress(int32_t left, int32_t total)
{
    return total > 0 ? static_cast<double>(total - left) / total : 0.0;
}

} // namespace

const ZorTaskRoomWindowView::Effect ZorTaskRoomWindowView::s_Effects[kEffects] = {
    {L"icon_roomeffect_01", L"癒し空間|ユニットのHPを徐々に回復させる", 276, 22, 294},
    {L"icon_roomeffect_02", L"亡者の壁|敵の突破率上昇を抑え、味方の物理ダメージを軽減する", 276, 38, 294},
    {L"icon_roomeffect_03", L"蜘蛛の巣|敵を一定確率で足止めする", 276, 54, 294},
    {L"icon_roomeffect_04", L"幻惑空間|敵を罠にかかりやすくし、味方の魔法ダメージを軽減する", 316, 22, 334},
    {L"icon_roomeffect_05", L"粘液の床|敵の歩行速度、攻撃速度を遅くする", 316, 38, 334},
    {L"icon_roomeffect_06", L"呪い空間|敵の回復魔法を制限し、味方の神聖ダメージを軽減する", 316, 54, 334},
};

ZorTaskRoomWindowView::ZorTaskRoomWindowView(GxTaskBase* parent) : GxTaskBase(parent, L"$ZORROOMWINDOWVIEW:SeqZorMain")
{
}

ZorTaskRoomWindowView::~ZorTaskRoomWindowView() = default;

GxVector4 ZorTaskRoomWindowView::GetWorldPos() const
{
    return GetParent() ? GetParent()->GetWorldPos() : GxVector4();
}

void ZorTaskRoomWindowView::SetRoom(int32_t rx, int32_t rz)
{
    m_RoomX = rx;
    m_RoomZ = rz;
}

bool ZorTaskRoomWindowView::HasRoom() const
{
    return m_RoomX >= 0 && m_RoomX < 10 && m_RoomZ >= 0 && m_RoomZ < 10;
}

int32_t ZorTaskRoomWindowView::SlotRowAt(float dx, float dy)
{
    if (dx < 5.0f || dx >= 355.0f || dy <= kRowTop)
        return -1;
    return static_cast<int32_t>((dy - kRowTop) / kRowPitch);
}

int32_t ZorTaskRoomWindowView::EffectAt(int32_t dx, int32_t dy)
{
    for (int32_t k = 0; k < kEffects; ++k)
    {
        const Effect& e = s_Effects[k];
        if (dx >= e.m_X && dx < e.m_X + 32 && dy >= e.m_Y && dy < e.m_Y + 16)
            return k + 1;
    }
    return 0;
}

int32_t ZorTaskRoomWindowView::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    const GxVector4 origin = GetWorldPos();
    int32_t mx = 0;
    int32_t my = 0;
    GxTaskManage* manage = GetManager();
    if (manage)
        manage->GetScreenService()->GetCursorPos(mx, my);
    const float dx = static_cast<float>(mx) - origin.x;
    const float dy = static_cast<float>(my) - origin.y;
    m_HoveredSlot = SlotRowAt(dx, dy);

    ZorCore* core = ZorCore::GetInstance();
    const ZorUserData* s = core ? core->GetUserData() : nullptr;
    const ZorRoomState* room = s && HasRoom() ? s->GetRoughRoom(m_RoomX, m_RoomZ) : nullptr;
    if (room && room->m_StructID != 0 && room->m_CreateTimeLeft <= 0)
    {
        const int32_t st = s->GetRoomState(m_RoomX, m_RoomZ);
        const int32_t k = st > 6 || st == 3 ? EffectAt(static_cast<int32_t>(dx), static_cast<int32_t>(dy)) : 0;
        auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr;
        if (k != 0 && system)
            system->ShowHelpTip(s_Effects[k - 1].m_Help, static_cast<float>(mx), static_cast<float>(my));
    }
    ++m_FrameCounter;
    return 0;
}

int32_t ZorTaskRoomWindowView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 12000.0f, 0);
    }
    return 0;
}

void ZorTaskRoomWindowView::Layout(const ZorUserData& s, ZorViewDrawList& out) const
{
    out.Clear();
    const ZorRoomState* room = HasRoom() ? s.GetRoughRoom(m_RoomX, m_RoomZ) : nullptr;
    if (!room)
        return;
    const int32_t state = s.GetRoomState(m_RoomX, m_RoomZ);
    if (state <= 6 && state != 3)
        return;
    const int32_t shown = state == 3 ? kLockedRoomFacility : room->m_StructID;
    const DBZorStructData* facility = shown != 0 ? g_DBZorStruct.GetRow(static_cast<uint32_t>(shown)) : nullptr;
    const int32_t capacity = facility ? facility->m_Capacity : 0;
    if (facility)
    {
        out.Icon(facility->m_VisualImage, 40.0f, 15.0f);
        std::wstring name = facility->m_ShowName;
        if (shown == kEntranceFacility)
        {
            int32_t number = 1;
            if (const ZorMapData* map = s.GetMapData())
            {
                for (int32_t i = 0; i < ZorMapData::kEntrances; ++i)
                {
                    const ZorMapData::RoomPos p = map->GetEntrancePos(i);
                    if (p.m_RX == m_RoomX && p.m_RZ == m_RoomZ)
                    {
                        number = i + 1;
                        break;
                    }
                }
            }
            name += GxString::Format(L"(%d)", number);
        }
        out.GdiText(name, 14.0f, 26.0f, 0xFF000000);
        out.GdiText(name, 12.0f, 24.0f, 0xFFFFFFFF);
        if (room->m_MapRoom && room->m_MapRoom->m_Center)
            out.FontText(GxString::Format(L"B%d-%d", room->m_MapRoom->m_Center->m_FloorLevel + 1,
                                          room->m_MapRoom->m_Center->m_RoomNumber),
                         12.0f, 139.0f, ZorViewDrawList::kFont16Sys, 0xFFFFE080);
        if (room->m_CreateTimeLeft < 1 && room->m_StructID != 0)
        {
            for (int32_t k = 0; k < kEffects; ++k)
            {
                const Effect& e = s_Effects[k];
                out.Icon(e.m_Icon, static_cast<float>(e.m_X), static_cast<float>(e.m_Y));
                out.FontText(GxString::Format(L"%d", room->m_RoomEffectLevels[k + 1]), static_cast<float>(e.m_TextX),
                             static_cast<float>(e.m_Y), ZorViewDrawList::kFont8Num);
            }
        }
        else
        {
            out.Icon(L"icon_build", 286.0f, 18.0f);
            out.Icon(L"hbar_time_large_back", 286.0f, 36.0f);
            out.Bar(L"hbar_time_large_on", 287.0f, 36.0f, Progress(room->m_CreateTimeLeft, room->m_CreateTimeTotal));
        }
    }
    if (m_SelectedSlot >= 0 && m_SelectedSlot < kSlots)
        out.Icon(L"tip_unitroom", 5.0f, kRowTop + kRowPitch * static_cast<float>(m_SelectedSlot), 0xFFFFFFFF,
                 0x50505050);
    for (int32_t i = 0; i < kSlots; ++i)
        LayoutSlotRow(i, room->m_UnitEntityIDs[i], capacity, out);
    LayoutPointer(capacity, out);
}

void ZorTaskRoomWindowView::LayoutSlotRow(int32_t slot, int64_t unitID, int32_t capacity, ZorViewDrawList& out) const
{
    const float y = kRowTop + kRowPitch * static_cast<float>(slot);
    if (unitID == 0)
    {
        if (slot >= capacity)
        {
            out.Icon(L"tip_unitroom", 5.0f, y, 0xFF505050, 0);
            out.Icon(L"icon_na", 9.0f, y + 5.0f);
        }
        return;
    }
    GxTaskManage* manage = GetManager();
    auto* unit =
        manage ? dynamic_cast<ZorTaskUnitEntity*>(manage->FindTaskByID(static_cast<uint64_t>(unitID))) : nullptr;
    const DBZorUnitData* row = unit ? g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID)) : nullptr;
    if (!row)
        return;
    out.Icon(row->m_FaceIconImage, 9.0f, y + 5.0f);
    if (unit->m_CreateTimeLeft > 0)
    {
        out.Icon(row->m_Class == ZorTaskUnitEntity::kTrapClass ? L"icon_build" : L"icon_unitsummon", 9.0f, y + 5.0f);
        out.Icon(L"hbar_time_large_back", 9.0f, y + 52.0f);
        out.Bar(L"hbar_time_large_on", 10.0f, y + 52.0f, Progress(unit->m_CreateTimeLeft, unit->m_CreateTimeTotal));
    }
    if (unit->m_ArrangeTimeLeft > 0)
    {
        out.Icon(L"icon_unitarrange", 9.0f, y + 5.0f);
        out.Icon(L"hbar_time_large_back", 9.0f, y + 52.0f);
        out.Bar(L"hbar_time_large_on", 10.0f, y + 52.0f, Progress(unit->m_ArrangeTimeLeft, unit->m_ArrangeTimeTotal));
    }
    const int32_t maxHP = unit->GetMaxHP();
    out.Icon(L"hbar_unithp_large_back", 75.0f, y + 6.0f);
    out.Bar(L"hbar_unithp_large_on", 76.0f, y + 6.0f, maxHP > 0 ? static_cast<double>(unit->m_HP) / maxHP : 0.0);
    out.GdiText(row->m_ShowName, 75.0f, y + 17.0f);
    out.Icon(L"hbar_unitexp_back", 75.0f, y + 31.0f);
    out.Bar(L"hbar_unitexp_on", 76.0f, y + 31.0f, unit->GetExpRate());
    out.FontText(GxString::Format(L"LV%2d", unit->m_Level), 75.0f, y + 28.0f, ZorViewDrawList::kFont16Sys);
    out.GdiText(SkillName(unit->m_Skills[3].m_SkillID), 75.0f, y + 43.0f);
    out.GdiText(SkillName(unit->m_Skills[4].m_SkillID), 75.0f, y + 55.0f);
    int32_t signs = 0;
    for (int32_t k = 0; k < ZorUnitRecord::kStatuses && signs < 3; ++k)
    {
        if (unit->m_RemainTime[k] <= 0)
            continue;
        // The condition font draws the six status signs as the characters "/" to "4".
        out.FontText(std::wstring(1, static_cast<wchar_t>(47 + k)), 165.0f,
                     y + 6.0f + 16.0f * static_cast<float>(signs), ZorViewDrawList::kFont16Cond);
        ++signs;
    }
}

void ZorTaskRoomWindowView::LayoutPointer(int32_t capacity, ZorViewDrawList& out) const
{
    if (m_HoveredSlot < 0 || m_HoveredSlot >= kSlots || m_HoveredSlot >= capacity)
        return;
    // The slot's step in the room picture's view: turned 45 degrees about the vertical axis, then tilted
    // 60 degrees, about the picture's centre (104, 56) from its corner (40, 15).
    const ZorCell d = ZorDirToDelta(m_HoveredSlot);
    const float x = static_cast<float>(d.x) * 48.0f;
    const float z = static_cast<float>(d.z) * 48.0f;
    const float c = std::cos(kPi / 4.0f);
    const float sn = std::sin(kPi / 4.0f);
    const float tx = x * c - z * sn;
    const float tz = x * sn + z * c;
    const float sy = tz * std::cos(kPi / 3.0f);
    float height = 0.0f;
    if (const GxNcOriginImage* icon = GxNcIconPool::Find(L"icon_position"); icon && !icon->m_Patterns.empty())
        height = static_cast<float>(icon->m_Patterns[0].m_Height);
    const float bob = std::fabs(std::sin(2.0f * static_cast<float>(m_FrameCounter) * kPi / 180.0f)) * 0.5f * height;
    out.Icon(L"icon_position", 40.0f + 104.0f + tx, 15.0f + 56.0f + sy - bob);
}

int32_t ZorTaskRoomWindowView::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorCore* core = ZorCore::GetInstance();
    if (!core || m_RoomX == -1)
        return 0;
    Layout(*core->GetUserData(), m_DrawList);
    if (m_DrawList.Size() == 0)
        return 0;
    const GxVector4 origin = GetWorldPos();
    m_DrawList.DrawOverlay(origin.x, origin.y);
    return 0;
}
