#include "strategy/screens/ZorTaskMapView.h"

#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxModel.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorMain.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

namespace
{

// The facility IDs run past the model sets (up to 29); such a room has no model to draw.
void LogMissingSet(int32_t set)
{
    static bool s_Logged = false;
    if (s_Logged)
        return;
    s_Logged = true;
    GxLog::Error(L"ZorTaskMapView::CollectItems/部屋モデルがありません(%d)\n", set);
}

GxMatrix RoomMatrix(int32_t rx, int32_t rz, float y)
{
    GxMatrix m;
    return m.Translation(static_cast<float>((rx - 5) * 80), y, static_cast<float>((rz - 4) * 80));
}

void AddCursor(std::vector<ZorTaskMapView::Item>& out, ZorTaskMapView::Kind kind, const GxMatrix& world)
{
    ZorTaskMapView::Item item;
    item.m_Kind = kind;
    item.m_World = world;
    item.m_Blend = 3;
    out.push_back(item);
}

void AddBlockCursorAt(int32_t bx, int32_t bz, std::vector<ZorTaskMapView::Item>& out)
{
    const GxVector4 c = ZorCellToWorld(bx, bz);
    GxMatrix m;
    m.Scaling(0.8f, 0.8f, 0.8f);
    m.AddTranslation(c.x, 0.1f, c.z);
    AddCursor(out, ZorTaskMapView::kCursor01, m);
}

void AddBlockCursor(const ZorUserData& s, int32_t bx, int32_t bz, std::vector<ZorTaskMapView::Item>& out)
{
    if (s.GetBlockState(bx, bz) > 6)
        AddBlockCursorAt(bx, bz, out);
}

void AddRoomCursor(int32_t rx, int32_t rz, std::vector<ZorTaskMapView::Item>& out)
{
    GxMatrix m;
    m.Scaling(1.05f, 1.05f, 1.05f);
    m.AddTranslation(static_cast<float>((rx - 5) * 80), -1.0f, static_cast<float>((rz - 4) * 80));
    AddCursor(out, ZorTaskMapView::kCursor02, m);
}

} // namespace

ZorTaskMapView::ZorTaskMapView(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskFolder(parent, globalName), m_Camera(camera)
{
}

ZorTaskMapView::~ZorTaskMapView() = default;

void ZorTaskMapView::CollectItems(const ZorUserData& s, const CursorInput& cursor, std::vector<Item>& out)
{
    out.clear();
    for (int32_t rx = 0; rx < 10; ++rx)
    {
        for (int32_t rz = 0; rz < 10; ++rz)
        {
            const int32_t state = s.GetRoomState(rx, rz);
            const ZorRoomState* room = s.GetRoughRoom(rx, rz);
            if (!room || (state != 8 && state != 3))
                continue;
            const int32_t set = state == 8 ? room->m_StructID : 18;
            if (set == 0)
                continue;
            if (set >= kSets)
            {
                LogMissingSet(set);
                continue;
            }
            Item item;
            item.m_Set = set;
            item.m_World = RoomMatrix(rx, rz, 0.0f);
            item.m_Kind = kBase;
            out.push_back(item);
            if (room->m_CreateTimeLeft > 0)
            {
                item.m_Kind = kScaffold;
                out.push_back(item);
            }
            const ZorMapData::Room* def = room->m_MapRoom;
            const int32_t cx = def ? def->m_CenterDX : rx * 4 + 2;
            const int32_t cz = def ? def->m_CenterDZ : rz * 4 + 2;
            static const int32_t s_Side[4][2] = {{0, -2}, {0, 2}, {-2, 0}, {2, 0}};
            for (int32_t side = 0; side < 4; ++side)
            {
                const ZorBlockState* b = s.GetDetailBlock(cx + s_Side[side][0], cz + s_Side[side][1]);
                item.m_Kind = b && b->m_Extended ? kGate : kWall;
                item.m_Side = side;
                out.push_back(item);
            }
        }
    }
    for (int32_t bx = 0; bx < 40; ++bx)
    {
        for (int32_t bz = 0; bz < 40; ++bz)
        {
            const ZorBlockState* b = s.GetDetailBlock(bx, bz);
            if (!b || !b->m_EnablePass || !b->m_MapBlock)
                continue;
            const int32_t kind = b->m_MapBlock->m_Kind;
            if (kind != ZorMapData::kKindDoorVertical && kind != ZorMapData::kKindPassage &&
                kind != ZorMapData::kKindDoorHorizontal)
                continue;
            Item item;
            item.m_Kind = kind == ZorMapData::kKindDoorVertical ? kPath00 : kPath01;
            const GxVector4 c = ZorCellToWorld(bx, bz);
            item.m_World.Translation(c.x, c.y, c.z);
            out.push_back(item);
        }
    }
    switch (cursor.m_Phase)
    {
    case 0:
    {
        if (cursor.m_PointX < 0)
            break;
        const ZorBlockState* b = s.GetDetailBlock(cursor.m_PointX, cursor.m_PointZ);
        const ZorMapData::Block* def = b ? b->m_MapBlock : nullptr;
        // While a unit is carried the cursor marks only the slot that would take it, and its room.
        if (cursor.m_Dragging)
        {
            if (!cursor.m_DropValid)
                break;
            AddBlockCursorAt(cursor.m_PointX, cursor.m_PointZ, out);
            if (const ZorRoomState* room = s.GetRoomOfBlock(cursor.m_PointX, cursor.m_PointZ);
                room && room->m_MapRoom)
                AddRoomCursor(room->m_MapRoom->m_RX, room->m_MapRoom->m_RZ, out);
            break;
        }
        AddBlockCursor(s, cursor.m_PointX, cursor.m_PointZ, out);
        if (!def || def->m_Kind != ZorMapData::kKindRoom || (def->m_RX == 0 && def->m_RZ == 0))
            break;
        const int32_t st = s.GetRoomState(def->m_RX, def->m_RZ);
        if ((st == 8 || st == 3) && s.IsRoomConnectable(def->m_RX, def->m_RZ))
            AddRoomCursor(def->m_RX, def->m_RZ, out);
        break;
    }
    case 1:
        // A unit carried with the room window open goes to the window's selected slot: the room is lit
        // only when that slot takes it.
        if (cursor.m_RoomX >= 0 && (!cursor.m_Dragging || cursor.m_DropValid))
            AddRoomCursor(cursor.m_RoomX, cursor.m_RoomZ, out);
        break;
    case 2:
    case 3:
    case 4:
        if (cursor.m_RoomX >= 0)
            AddRoomCursor(cursor.m_RoomX, cursor.m_RoomZ, out);
        break;
    case 8:
        if (cursor.m_MenuX >= 0)
            AddBlockCursor(s, cursor.m_MenuX, cursor.m_MenuZ, out);
        break;
    default:
        break;
    }
}

GxModel* ZorTaskMapView::ResolveModel(const Item& item)
{
    switch (item.m_Kind)
    {
    case kBase:
        return ZorMapModelPool::GetBase(item.m_Set);
    case kGate:
        return ZorMapModelPool::GetGate(item.m_Set, item.m_Side);
    case kWall:
        return ZorMapModelPool::GetWall(item.m_Set, item.m_Side);
    case kScaffold:
        return ZorMapModelPool::GetShared(5);
    case kPath00:
        return ZorMapModelPool::GetShared(0);
    case kPath01:
        return ZorMapModelPool::GetShared(1);
    case kCursor01:
        return ZorMapModelPool::GetShared(3);
    case kCursor02:
        return ZorMapModelPool::GetShared(4);
    }
    return nullptr;
}

ZorTaskMapView::CursorInput ZorTaskMapView::ReadCursorInput(const ZorUserData& state) const
{
    CursorInput in;
    in.m_Phase = state.m_GamePhase;
    GxTaskManage* manage = GetManager();
    if (!manage)
        return in;
    if (auto* pointing = dynamic_cast<ZorTaskMapPointing*>(manage->FindTaskByName(L"$ZORMAPPOINTING:SeqZorMain")))
    {
        in.m_PointX = pointing->GetBlockX();
        in.m_PointZ = pointing->GetBlockZ();
    }
    if (auto* screen = dynamic_cast<SeqZorMain*>(manage->FindTaskByName(L"SeqZorMain")))
    {
        in.m_RoomX = screen->GetRoomWindowRX();
        in.m_RoomZ = screen->GetRoomWindowRZ();
        in.m_MenuX = screen->GetMenuBlockX();
        in.m_MenuZ = screen->GetMenuBlockZ();
        in.m_Dragging = screen->GetDraggedUnit() != 0;
        in.m_DropValid = in.m_Dragging && screen->IsDropTarget();
    }
    return in;
}

int32_t ZorTaskMapView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, -90.0f, 0);
    }
    return 0;
}

int32_t ZorTaskMapView::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorCore* core = ZorCore::GetInstance();
    if (!m_Camera || !core)
        return 0;
    CollectItems(*core->GetUserData(), ReadCursorInput(*core->GetUserData()), m_Items);
    m_Camera->ApplyToDevice();
    GxGraphics::BeginScene();
    GxGraphics::SetRenderState(D3DRS_LIGHTING, 0);
    GxGraphics::SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    GxGraphics::SetRenderState(D3DRS_ALPHAREF, 128);
    GxGraphics::SetRenderState(D3DRS_ZENABLE, 1);
    GxGraphics::SetRenderState(D3DRS_ZWRITEENABLE, 1);
    GxGraphics::SetRenderState(D3DRS_CULLMODE, 1);
    GxGraphics::SetTextureFilter(2);
    GxGraphics::SetBlendMode(0, 2);
    bool cursorStates = false;
    for (const Item& item : m_Items)
    {
        if (item.m_Blend == 3 && !cursorStates)
        {
            cursorStates = true;
            GxGraphics::SetRenderState(D3DRS_ALPHATESTENABLE, 0);
            GxGraphics::SetRenderState(D3DRS_ZWRITEENABLE, 0);
        }
        GxModel* model = ResolveModel(item);
        if (!model)
            continue;
        model->SetWorldMatrix(item.m_World);
        model->Draw(-1, item.m_Blend, nullptr);
    }
    GxGraphics::EndScene();
    return 0;
}
