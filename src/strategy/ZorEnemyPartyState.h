#pragma once

#include <cstdint>

// The state of one enemy party (a DBZorEnemy row); written inline by ZorUserData.
struct ZorEnemyPartyState
{
    int32_t m_ID = 0;
    int32_t m_AutoAppear = 0;
};
