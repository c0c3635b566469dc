// Feeds arbitrary bytes to the dungeon-map reader as a "data/db_zormapNN.txt": a map must be refused or
// taken whole, and every room link it builds must point into the map's own rooms and cells, which the
// harness walks the way the strategy screens do (rooms, their gaps and neighbours, entrances, thrones).
#include "FuzzSupport.h"
#include "strategy/ZorMapData.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void Walk(const ZorMapData& map)
{
    const ZorMapData::Block* firstBlock = map.GetMapDetailBlock(0, 0);
    const ZorMapData::Block* lastBlock = map.GetMapDetailBlock(ZorMapData::kWidth - 1, ZorMapData::kWidth - 1);
    const ZorMapData::Room* firstRoom = map.GetMapRoughRoom(0, 0);
    const ZorMapData::Room* lastRoom = map.GetMapRoughRoom(ZorMapData::kRooms - 1, ZorMapData::kRooms - 1);
    auto checkBlock = [&](const ZorMapData::Block* b)
    {
        if (b && (b < firstBlock || b > lastBlock))
            std::abort();
    };
    auto checkRoom = [&](const ZorMapData::Room* r)
    {
        if (r && (r < firstRoom || r > lastRoom))
            std::abort();
    };
    for (int32_t rz = 0; rz < ZorMapData::kRooms; ++rz)
        for (int32_t rx = 0; rx < ZorMapData::kRooms; ++rx)
        {
            const ZorMapData::Room* room = map.GetMapRoughRoom(rx, rz);
            for (const ZorMapData::Block* b : {room->m_Center, room->m_GapUp, room->m_GapDown, room->m_GapLeft,
                                               room->m_GapRight})
                checkBlock(b);
            for (const ZorMapData::Room* r : {room->m_Up, room->m_Down, room->m_Left, room->m_Right})
                checkRoom(r);
            if (room->m_Center)
                map.FindRoom(room->m_Center->m_FloorLevel, room->m_Center->m_RoomNumber);
        }
    for (int32_t i = -1; i <= ZorMapData::kEntrances; ++i)
    {
        const ZorMapData::RoomPos entrance = map.GetEntrancePos(i);
        const ZorMapData::RoomPos throne = map.GetThronePos(i);
        map.GetMapRoughRoom(entrance.m_RX, entrance.m_RZ);
        map.GetMapRoughRoom(throne.m_RX, throne.m_RZ);
        map.GetEntrance(i);
        map.GetThrone(i);
    }
    for (int32_t dz = -1; dz <= ZorMapData::kWidth; dz += 7)
        for (int32_t dx = -1; dx <= ZorMapData::kWidth; dx += 3)
            checkBlock(map.GetMapDetailBlock(dx, dz));
    map.GetDifficulty();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_zormap_", ".txt");
    if (!s_File.Write(data, size))
        return 0;
    // The slots are static and loaded once per run in the game; a second load into a used slot is what a
    // second start-up does.
    ZorMapData* map = ZorMapData::GetSlot(static_cast<int32_t>(size % ZorMapData::kSlots));
    map->Reset();
    map->LoadFromFile(s_File.WidePath());
    Walk(*map);
    return 0;
}
