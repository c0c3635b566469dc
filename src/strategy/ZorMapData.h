#pragma once

#include <cstdint>
#include <string>

// The fixed layout of one dungeon: which of the 40 x 40 cells are room cells and passages, how they group
// into rooms of 3 x 3 cells on a 4-cell pitch (10 x 10 room positions), the floor level from which each
// room is available, four entrances, four throne positions (one per extension level) and a difficulty.
// Five definitions live in static slots, loaded once at start-up from "data/db_zormap%02d.txt" and only
// read afterwards.
class ZorMapData
{
public:
    static constexpr int32_t kWidth = 40;
    static constexpr int32_t kRooms = 10;
    static constexpr int32_t kSlots = 5;
    static constexpr int32_t kEntrances = 4;
    static constexpr int32_t kThrones = 4;

    // Cell kinds.
    static constexpr int32_t kKindNone = 0;
    static constexpr int32_t kKindRoom = 1;
    static constexpr int32_t kKindPassage = 2;
    static constexpr int32_t kKindDoorVertical = 3;   // joins the rooms above and below
    static constexpr int32_t kKindDoorHorizontal = 4; // joins the rooms left and right

    struct Block
    {
        int32_t m_Kind = 0;
        int32_t m_FloorLevel = 0;
        int32_t m_RoomNumber = 0;
        int32_t m_LockFlag = 0; // 1: never opened by the extension rules
        int32_t m_RowOffset = 0;
        int32_t m_ColumnOffset = 0;
        int32_t m_RX = 0;
        int32_t m_RZ = 0;
        int32_t m_DX = 0;
        int32_t m_DZ = 0;
        uint8_t m_Placed = 0;
    };

    struct Room
    {
        const Block* m_Center = nullptr; // null: no room here
        const Block* m_GapUp = nullptr;
        const Block* m_GapDown = nullptr;
        const Block* m_GapLeft = nullptr;
        const Block* m_GapRight = nullptr;
        const Room* m_Up = nullptr;
        const Room* m_Down = nullptr;
        const Room* m_Left = nullptr;
        const Room* m_Right = nullptr;
        int32_t m_Defined = 0;
        int32_t m_RX = 0;
        int32_t m_RZ = 0;
        int32_t m_CenterDX = 0;
        int32_t m_CenterDZ = 0;
    };

    // {floor level, room number}; room number 0 means none.
    struct RoomRef
    {
        int32_t m_FloorLevel = 0;
        int32_t m_RoomNumber = 0;
    };

    struct RoomPos
    {
        int32_t m_RX = 0;
        int32_t m_RZ = 0;
    };

    ZorMapData() = default;
    // Holds links into itself, so a copy would point into the original.
    ZorMapData(const ZorMapData&) = delete;
    ZorMapData& operator=(const ZorMapData&) = delete;

    // The static slots 0..4; null outside.
    static ZorMapData* GetSlot(int32_t index);
    // Loads every slot whose file exists; a missing file leaves the slot empty.
    static void LoadAllMaps();
    // Empties every slot (tests and a second start-up).
    static void ResetAllMaps();

    bool LoadFromFile(const std::wstring& path);
    void Reset();

    const Block* GetMapDetailBlock(int32_t dx, int32_t dz) const;
    const Room* GetMapRoughRoom(int32_t rx, int32_t rz) const;
    RoomPos FindRoom(int32_t floorLevel, int32_t roomNumber) const;

    // Index 0..3; an index outside gives the empty record.
    RoomRef GetEntrance(int32_t i) const;
    RoomPos GetEntrancePos(int32_t i) const;
    RoomRef GetThrone(int32_t i) const;
    RoomPos GetThronePos(int32_t i) const;
    int32_t GetDifficulty() const { return m_Difficulty; }

private:
    Block* BlockAt(int32_t dx, int32_t dz);
    void ReadRow(int32_t dz, const std::wstring* cells);
    void ConstructRoughData();
    void ConstructRoughDataRoom(int32_t dx, int32_t dz);
    void ConstructRoughDataPath(int32_t dx, int32_t dz);
    bool IsRoomCell(int32_t dx, int32_t dz) const;

    Block m_Blocks[kWidth * kWidth];
    Room m_Rooms[kRooms * kRooms];
    RoomRef m_Entrances[kEntrances];
    RoomPos m_EntrancePos[kEntrances];
    RoomRef m_Thrones[kThrones];
    RoomPos m_ThronePos[kThrones];
    int32_t m_Difficulty = 1;
    // The file the map was read from: the messages about its cells name it, since five maps share them.
    std::wstring m_Path;
};
