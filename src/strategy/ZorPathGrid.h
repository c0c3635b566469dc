#pragma once

#include "strategy/ZorMovePathElement.h"

#include <cstdint>
#include <deque>

class GxContentReaderBase;
class GxContentWriterBase;
struct ZorBlockState;

// The path finder's distance field: one entry per dungeon cell (x + z x 40), then one per room, each
// {steps to the target, enterable}. Rebuilt for every route request and saved with the game state; only
// the cell entries take part in routing.
class ZorPathGrid
{
public:
    static constexpr int32_t kWidth = 40;
    static constexpr int32_t kDetail = kWidth * kWidth;
    static constexpr int32_t kEntries = kDetail + 100;
    static constexpr int32_t kUnreached = 100000;

    struct Entry
    {
        int32_t m_Step = kUnreached;
        uint8_t m_EnterFlag = 0;
    };

    void Reset();
    // Every cell entry unreached, enterable where the cell is passable; room entries untouched.
    void InitFromBlocks(const ZorBlockState* blocks);
    // Smallest step counts to (x, z), starting at d, over enterable cells joined along x or z. Done as a
    // breadth-first pass (each cell visited at most once), which yields the same distances as relaxing
    // depth-first without its recursion.
    void Flood(int32_t x, int32_t z, int32_t d);
    // False, route unchanged, when start or goal is off the grid or unreached; else the steps are traced.
    bool BuildPath(int32_t startX, int32_t startZ, int32_t goalX, int32_t goalZ, std::deque<ZorMovePathElement>& route);
    // Walks down the field from the start, one random(1023) per step for the neighbour order.
    void TracePath(std::deque<ZorMovePathElement>& route, int32_t goalX, int32_t goalZ, int32_t startX,
                   int32_t startZ) const;

    Entry& At(int32_t x, int32_t z) { return m_Entries[x + z * kWidth]; }
    const Entry& At(int32_t x, int32_t z) const { return m_Entries[x + z * kWidth]; }
    Entry& EntryAt(int32_t index) { return m_Entries[index]; }
    const Entry& EntryAt(int32_t index) const { return m_Entries[index]; }

    bool Save(GxContentWriterBase& writer) const;
    void Load(GxContentReaderBase& reader);

private:
    Entry m_Entries[kEntries];
};
