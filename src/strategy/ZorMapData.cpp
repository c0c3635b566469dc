#include "strategy/ZorMapData.h"

#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "core/GxText.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

// One line is split into this many TAB fields: the key and the 40 cells of a row, plus one spare.
constexpr int kFieldsPerLine = 42;

std::unique_ptr<ZorMapData>* Slots()
{
    static std::unique_ptr<ZorMapData> s_Slots[ZorMapData::kSlots];
    return s_Slots;
}

int32_t ReadInt(const std::wstring& text)
{
    return GxString::ToInt(text.c_str(), nullptr, 10);
}

bool OnGrid(int32_t dx, int32_t dz)
{
    return dx >= 0 && dx < ZorMapData::kWidth && dz >= 0 && dz < ZorMapData::kWidth;
}

} // namespace

ZorMapData* ZorMapData::GetSlot(int32_t index)
{
    if (index < 0 || index >= kSlots)
        return nullptr;
    std::unique_ptr<ZorMapData>& slot = Slots()[index];
    if (!slot)
        slot = std::make_unique<ZorMapData>();
    return slot.get();
}

void ZorMapData::LoadAllMaps()
{
    for (int32_t i = 0; i < kSlots; ++i)
    {
        std::wstring path = GxString::Format(L"data/db_zormap%02d.txt", i);
        if (GxFile::Exists(path) != GxFile::kAbsent)
            GetSlot(i)->LoadFromFile(path);
    }
}

void ZorMapData::ResetAllMaps()
{
    for (int32_t i = 0; i < kSlots; ++i)
        GetSlot(i)->Reset();
}

void ZorMapData::Reset()
{
    for (Block& b : m_Blocks)
        b = Block();
    for (Room& r : m_Rooms)
        r = Room();
    for (int32_t i = 0; i < kEntrances; ++i)
    {
        m_Entrances[i] = RoomRef();
        m_EntrancePos[i] = RoomPos();
    }
    for (int32_t i = 0; i < kThrones; ++i)
    {
        m_Thrones[i] = RoomRef();
        m_ThronePos[i] = RoomPos();
    }
    m_Difficulty = 1;
    m_Path.clear();
}

ZorMapData::Block* ZorMapData::BlockAt(int32_t dx, int32_t dz)
{
    return OnGrid(dx, dz) ? &m_Blocks[dx + dz * kWidth] : nullptr;
}

const ZorMapData::Block* ZorMapData::GetMapDetailBlock(int32_t dx, int32_t dz) const
{
    if (!OnGrid(dx, dz))
    {
        GxLog::Error(L"ZorMapData::GetMapDetailBlock/MAP外にアクセス(dx:%d,dz:%d)\n", dx, dz);
        return nullptr;
    }
    return &m_Blocks[dx + dz * kWidth];
}

const ZorMapData::Room* ZorMapData::GetMapRoughRoom(int32_t rx, int32_t rz) const
{
    if (rx < 0 || rx >= kRooms || rz < 0 || rz >= kRooms)
    {
        GxLog::Error(L"ZorMapData::GetMapRoughRoom/MAP外にアクセス(rx:%d,rz:%d)\n", rx, rz);
        return nullptr;
    }
    return &m_Rooms[rx + rz * kRooms];
}

ZorMapData::RoomRef ZorMapData::GetEntrance(int32_t i) const
{
    return (i >= 0 && i < kEntrances) ? m_Entrances[i] : RoomRef();
}

ZorMapData::RoomPos ZorMapData::GetEntrancePos(int32_t i) const
{
    return (i >= 0 && i < kEntrances) ? m_EntrancePos[i] : RoomPos();
}

ZorMapData::RoomRef ZorMapData::GetThrone(int32_t i) const
{
    return (i >= 0 && i < kThrones) ? m_Thrones[i] : RoomRef();
}

ZorMapData::RoomPos ZorMapData::GetThronePos(int32_t i) const
{
    return (i >= 0 && i < kThrones) ? m_ThronePos[i] : RoomPos();
}

bool ZorMapData::LoadFromFile(const std::wstring& path)
{
    m_Path = path;
    std::vector<std::wstring> lines;
    bool endsInsideLine = false;
    if (!GxText::LoadLines(lines, path, true, &endsInsideLine))
        return false;
    // A last row with no line end and fewer cells than the map is wide is a file cut short: the rows
    // that are there are still read, and the author is told.
    if (endsInsideLine && !lines.empty() && !lines.back().empty() && lines.back()[0] == L'#')
    {
        const std::wstring& last = lines.back();
        const int32_t cells = static_cast<int32_t>(std::count(last.begin(), last.end(), L'\t'));
        if (cells < kWidth)
            GxLog::Error(L"ZorMapData::LoadFromFile/%s ends inside its last row (%d of %d cells): the file seems cut "
                         L"short\n",
                         path.c_str(), cells, kWidth);
    }

    std::vector<std::wstring> fields;
    for (const std::wstring& line : lines)
    {
        GxString::Split(fields, line, L"\t", kFieldsPerLine);
        for (std::wstring& f : fields)
            f = GxString::Unquote(f);
        const std::wstring& key = fields[0];
        if (!key.empty() && key[0] == L'#')
        {
            // No comment lines exist: "#" followed by anything that is no number is row 0.
            int32_t dz = ReadInt(key.substr(1));
            if (dz < 0 || dz >= kWidth)
                GxLog::Error(L"ZorMapData::GetMapDetailBlock/MAP外にアクセス(%s dx:%d,dz:%d)\n", path.c_str(), 0, dz);
            else
                ReadRow(dz, &fields[1]);
            continue;
        }
        for (int32_t i = 0; i < kEntrances; ++i)
            if (key == GxString::Format(L"entrance%d", i))
                m_Entrances[i] = RoomRef{ReadInt(fields[1]), ReadInt(fields[2])};
        for (int32_t i = 0; i < kThrones; ++i)
            if (key == GxString::Format(L"throne%d", i))
                m_Thrones[i] = RoomRef{ReadInt(fields[1]), ReadInt(fields[2])};
        if (key == L"difficulty")
            m_Difficulty = ReadInt(fields[1]);
    }

    ConstructRoughData();
    for (int32_t i = 0; i < kEntrances; ++i)
        if (m_Entrances[i].m_RoomNumber != 0)
            m_EntrancePos[i] = FindRoom(m_Entrances[i].m_FloorLevel, m_Entrances[i].m_RoomNumber);
    for (int32_t i = 0; i < kThrones; ++i)
        if (m_Thrones[i].m_RoomNumber != 0)
            m_ThronePos[i] = FindRoom(m_Thrones[i].m_FloorLevel, m_Thrones[i].m_RoomNumber);
    return true;
}

// cells holds the 40 cell fields of the row, dx 0 first. A cell is empty or "kind:floor:room:lock"; an
// unknown kind or lock letter keeps that field's old value (logged) and the rest is still read.
void ZorMapData::ReadRow(int32_t dz, const std::wstring* cells)
{
    std::vector<std::wstring> parts;
    for (int32_t dx = 0; dx < kWidth; ++dx)
    {
        Block& b = m_Blocks[dx + dz * kWidth];
        b.m_DX = dx;
        b.m_DZ = dz;
        const std::wstring& cell = cells[dx];
        if (cell.empty())
        {
            b.m_Kind = kKindNone;
            continue;
        }
        GxString::Split(parts, cell, L":", 4);
        bool structureError = false;
        if (parts[0] == L"B")
            b.m_Kind = kKindRoom;
        else if (parts[0] == L"P")
            b.m_Kind = kKindPassage;
        else
            structureError = true;
        b.m_FloorLevel = ReadInt(parts[1]);
        b.m_RoomNumber = ReadInt(parts[2]);
        if (parts[3] == L"F")
            b.m_LockFlag = 0;
        else if (parts[3] == L"U")
            b.m_LockFlag = 1;
        else
            structureError = true;
        if (structureError)
            GxLog::Error(L"ZorMapData::LoadFromFile/構造エラー(%s dx:%d,dz:%d)\n", m_Path.c_str(), dx, dz);
    }
}

bool ZorMapData::IsRoomCell(int32_t dx, int32_t dz) const
{
    return OnGrid(dx, dz) && m_Blocks[dx + dz * kWidth].m_Kind == kKindRoom;
}

// Rooms and doors come from one row-major scan: the first unplaced room cell met is a room's top-left.
void ZorMapData::ConstructRoughData()
{
    for (int32_t dz = 0; dz < kWidth; ++dz)
        for (int32_t dx = 0; dx < kWidth; ++dx)
        {
            Block& b = m_Blocks[dx + dz * kWidth];
            if (b.m_Placed)
                continue;
            if (b.m_Kind == kKindRoom)
                ConstructRoughDataRoom(dx, dz);
            else if (b.m_Kind == kKindPassage)
                ConstructRoughDataPath(dx, dz);
            else
                b.m_Placed = 1;
        }
}

// A room whose top-left cell lies in the last columns or rows would reach past the grid; its off-grid
// cells count as missing (the size error) and the links that would leave the grid are not made, so no
// room 10 is ever linked. A centre off the grid leaves the room undefined.
void ZorMapData::ConstructRoughDataRoom(int32_t dx, int32_t dz)
{
    const int32_t rx = dx / 4;
    const int32_t rz = dz / 4;
    bool sizeError = false;
    for (int32_t z = dz; z < dz + 3; ++z)
        for (int32_t x = dx; x < dx + 3; ++x)
        {
            Block* b = BlockAt(x, z);
            if (!b || b->m_Kind != kKindRoom)
                sizeError = true;
            if (!b)
                continue;
            b->m_Placed = 1;
            b->m_RowOffset = z - dz - 1;
            b->m_ColumnOffset = x - dx - 1;
            b->m_RX = rx;
            b->m_RZ = rz;
        }
    if (sizeError)
        GxLog::Error(L"ZorMapData::ConstructRoughDataRoom/ROOMサイズ異常(%s dx:%d,dz:%d)\n", m_Path.c_str(), dx, dz);

    Block* center = BlockAt(dx + 1, dz + 1);
    if (!center || rx >= kRooms || rz >= kRooms)
        return;
    Room& room = m_Rooms[rx + rz * kRooms];
    room.m_Center = center;
    room.m_CenterDX = dx + 1;
    room.m_CenterDZ = dz + 1;
    room.m_RX = rx;
    room.m_RZ = rz;
    room.m_Defined = 1;

    if (dx == 0 || dx == kWidth - 1 || dz == 0 || dz == kWidth - 1)
        return;
    struct Side
    {
        int32_t gx, gz, nx, nz;
        const Block** gap;
        const Room** neighbour;
    };
    const Side sides[4] = {
        {dx + 1, dz - 1, rx, rz - 1, &room.m_GapUp, &room.m_Up},
        {dx + 1, dz + 3, rx, rz + 1, &room.m_GapDown, &room.m_Down},
        {dx - 1, dz + 1, rx - 1, rz, &room.m_GapLeft, &room.m_Left},
        {dx + 3, dz + 1, rx + 1, rz, &room.m_GapRight, &room.m_Right},
    };
    for (const Side& s : sides)
    {
        const Block* gap = BlockAt(s.gx, s.gz);
        if (!gap || gap->m_Kind < kKindPassage || s.nx < 0 || s.nx >= kRooms || s.nz < 0 || s.nz >= kRooms)
            continue;
        *s.gap = gap;
        *s.neighbour = &m_Rooms[s.nx + s.nz * kRooms];
    }
}

void ZorMapData::ConstructRoughDataPath(int32_t dx, int32_t dz)
{
    Block& b = m_Blocks[dx + dz * kWidth];
    if (dx == 0 || dx == kWidth - 1)
        b.m_Kind = kKindDoorVertical;
    else if (dz == 0 || dz == kWidth - 1)
        b.m_Kind = kKindDoorHorizontal;
    else if (IsRoomCell(dx - 1, dz) || IsRoomCell(dx + 1, dz))
        b.m_Kind = kKindDoorHorizontal;
    else if (IsRoomCell(dx, dz - 1) || IsRoomCell(dx, dz + 1))
        b.m_Kind = kKindDoorVertical;
    else
        GxLog::Error(L"ZorMapData::ConstructRoughDataPath/接続できない通路(%s dx:%d,dz:%d)\n", m_Path.c_str(), dx, dz);
    b.m_Placed = 1;
}

ZorMapData::RoomPos ZorMapData::FindRoom(int32_t floorLevel, int32_t roomNumber) const
{
    for (int32_t rz = 0; rz < kRooms; ++rz)
        for (int32_t rx = 0; rx < kRooms; ++rx)
        {
            const Room& r = m_Rooms[rx + rz * kRooms];
            if (r.m_Defined && r.m_Center && r.m_Center->m_FloorLevel == floorLevel &&
                r.m_Center->m_RoomNumber == roomNumber)
                return RoomPos{rx, rz};
        }
    GxLog::Error(L"ZorMapData::FindRoom/ROOM見つかりません(%s floorlevel:%d,roomnumber:%d)\n", m_Path.c_str(),
                 floorLevel, roomNumber);
    return RoomPos();
}
