#pragma once

#include "strategy/ZorMapData.h"

#include <cstdint>

// One dungeon cell of the game state. The flags and the distance are derived from the rooms and the map
// (ZorUserData::RebuildBlockCells) but saved all the same; the map link is set by LinkMapData and not
// saved. Written inline by ZorUserData.
struct ZorBlockState
{
    uint8_t m_EnablePass = 0;
    uint8_t m_Extended = 0;
    uint8_t m_ObstacleFlag = 0;
    int32_t m_DetailDistFromThrone = 100000;
    const ZorMapData::Block* m_MapBlock = nullptr;
};
