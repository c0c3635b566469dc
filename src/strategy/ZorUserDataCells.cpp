#include "strategy/ZorUserData.h"

#include "appdata/DBZorStruct.h"
#include "core/GxLog.h"

namespace
{

bool OnGrid(int32_t dx, int32_t dz)
{
    return dx >= 0 && dx < ZorUserData::kWidth && dz >= 0 && dz < ZorUserData::kWidth;
}

bool OnRoomGrid(int32_t rx, int32_t rz)
{
    return rx >= 0 && rx < ZorUserData::kRooms && rz >= 0 && rz < ZorUserData::kRooms;
}

void ResetCell(ZorBlockState& b)
{
    b.m_EnablePass = 0;
    b.m_Extended = 0;
    b.m_ObstacleFlag = 0;
    b.m_DetailDistFromThrone = ZorUserData::kUnreached;
}

} // namespace

ZorBlockState* ZorUserData::GetDetailBlock(int32_t dx, int32_t dz)
{
    return OnGrid(dx, dz) ? &m_Blocks[dx + dz * kWidth] : nullptr;
}

const ZorBlockState* ZorUserData::GetDetailBlock(int32_t dx, int32_t dz) const
{
    return OnGrid(dx, dz) ? &m_Blocks[dx + dz * kWidth] : nullptr;
}

ZorRoomState* ZorUserData::GetRoughRoom(int32_t rx, int32_t rz)
{
    return OnRoomGrid(rx, rz) ? &m_Rooms[rx + rz * kRooms] : nullptr;
}

const ZorRoomState* ZorUserData::GetRoughRoom(int32_t rx, int32_t rz) const
{
    return OnRoomGrid(rx, rz) ? &m_Rooms[rx + rz * kRooms] : nullptr;
}

// Room (0, 0) is where every cell's room coordinates point before a room claims it, so a cell of room
// (0, 0) counts as belonging to no room.
ZorRoomState* ZorUserData::GetRoomOfBlock(int32_t dx, int32_t dz)
{
    const ZorBlockState* b = GetDetailBlock(dx, dz);
    if (!b || !b->m_MapBlock || b->m_MapBlock->m_Kind != ZorMapData::kKindRoom)
        return nullptr;
    const int32_t rx = b->m_MapBlock->m_RX;
    const int32_t rz = b->m_MapBlock->m_RZ;
    if ((rx == 0 && rz == 0) || !OnRoomGrid(rx, rz))
        return nullptr;
    return &m_Rooms[rx + rz * kRooms];
}

const ZorRoomState* ZorUserData::GetRoomOfBlock(int32_t dx, int32_t dz) const
{
    return const_cast<ZorUserData*>(this)->GetRoomOfBlock(dx, dz);
}

void ZorUserData::RecountStructs()
{
    for (ZorStructState& s : m_StructStates)
    {
        s.m_RoomConstructCount = 0;
        s.m_RoomActiveCount = 0;
    }
    for (const ZorRoomState& room : m_Rooms)
    {
        ZorStructState* s = room.m_StructID != 0 ? GetStructState(room.m_StructID) : nullptr;
        if (!s)
            continue;
        ++s->m_RoomConstructCount;
        if (room.m_CreateTimeLeft == 0)
            ++s->m_RoomActiveCount;
    }
}

void ZorUserData::RebuildBlockCells()
{
    for (int32_t dz = 0; dz < kWidth; ++dz)
        for (int32_t dx = 0; dx < kWidth; ++dx)
        {
            ZorBlockState& b = m_Blocks[dx + dz * kWidth];
            if (b.m_MapBlock && b.m_MapBlock->m_Kind == ZorMapData::kKindRoom)
                UpdateRoomBlockCell(dx, dz);
            else
                ResetCell(b);
        }
    for (int32_t dz = 0; dz < kWidth; ++dz)
        for (int32_t dx = 0; dx < kWidth; ++dx)
        {
            const ZorMapData::Block* mb = m_Blocks[dx + dz * kWidth].m_MapBlock;
            if (mb && (mb->m_Kind == ZorMapData::kKindDoorVertical || mb->m_Kind == ZorMapData::kKindDoorHorizontal))
                UpdateDoorBlockCell(dx, dz);
        }
    const ZorMapData* map = GetMapData();
    ZorMapData::RoomPos throne = map ? map->GetThronePos(m_FloorExtendLevel) : ZorMapData::RoomPos();
    CalcRoomDistances(throne.m_RX, throne.m_RZ);
}

void ZorUserData::UpdateRoomBlockCell(int32_t dx, int32_t dz)
{
    ZorBlockState& b = m_Blocks[dx + dz * kWidth];
    if (b.m_MapBlock->m_FloorLevel > m_FloorExtendLevel)
    {
        ResetCell(b);
        return;
    }
    const ZorRoomState* room = GetRoomOfBlock(dx, dz);
    if (!room)
    {
        GxLog::Error(L"ZorMapData::UpdateDetailBlockRoom/未初期化の領域にアクセス(dx:%d,dz:%d)\n", dx, dz);
        ResetCell(b);
        return;
    }
    b.m_Extended = room->m_Extended ? 1 : 0;
    b.m_EnablePass = b.m_Extended;
    const bool center = b.m_MapBlock->m_RowOffset == 0 && b.m_MapBlock->m_ColumnOffset == 0;
    // An empty room reads the none row, whose PassCenter is 0 as well.
    if (center && g_DBZorStruct.GetRow(static_cast<uint32_t>(room->m_StructID))->m_PassCenter == 0)
    {
        b.m_EnablePass = 0;
        b.m_ObstacleFlag = 1;
    }
    else
        b.m_ObstacleFlag = 0;
}

void ZorUserData::UpdateDoorBlockCell(int32_t dx, int32_t dz)
{
    ZorBlockState& b = m_Blocks[dx + dz * kWidth];
    if (b.m_MapBlock->m_FloorLevel > m_FloorExtendLevel)
    {
        ResetCell(b);
        return;
    }
    const ZorRoomState* a = nullptr;
    const ZorRoomState* c = nullptr;
    if (b.m_MapBlock->m_Kind == ZorMapData::kKindDoorVertical)
    {
        a = GetRoomOfBlock(dx, dz - 1);
        c = GetRoomOfBlock(dx, dz + 1);
    }
    else
    {
        a = GetRoomOfBlock(dx - 1, dz);
        c = GetRoomOfBlock(dx + 1, dz);
    }
    const uint8_t open = (a && c && a->m_Extended && c->m_Extended) ? 1 : 0;
    b.m_EnablePass = open;
    b.m_Extended = open;
}

bool ZorUserData::IsRoomOpen(int32_t rx, int32_t rz) const
{
    const ZorRoomState* room = GetRoughRoom(rx, rz);
    return room && room->m_ExistFlag && room->m_Extended && room->m_MapRoom && room->m_MapRoom->m_Center &&
           room->m_StructID != 0;
}

void ZorUserData::CalcRoomDistances(int32_t rx, int32_t rz)
{
    for (ZorRoomState& room : m_Rooms)
        room.m_RoughDistFromThrone = kUnreached;
    FloodRoomDistance(rx, rz, 0);
}

// Neighbouring open rooms are joined whether or not the map has a door between them. Recursion goes at
// most as deep as there are open rooms (100).
void ZorUserData::FloodRoomDistance(int32_t rx, int32_t rz, int32_t d)
{
    for (;;)
    {
        if (!IsRoomOpen(rx, rz))
            return;
        m_Rooms[rx + rz * kRooms].m_RoughDistFromThrone = d;
        ++d;
        if (d > kUnreached - 1)
            return;
        const int32_t around[3][2] = {{rx, rz - 1}, {rx, rz + 1}, {rx - 1, rz}};
        for (const auto& n : around)
            if (IsRoomOpen(n[0], n[1]) && m_Rooms[n[0] + n[1] * kRooms].m_RoughDistFromThrone > d)
                FloodRoomDistance(n[0], n[1], d);
        if (!IsRoomOpen(rx + 1, rz) || m_Rooms[rx + 1 + rz * kRooms].m_RoughDistFromThrone <= d)
            return;
        ++rx;
    }
}
