#pragma once

#include "core/GxVector4.h"

#include <cstdint>
#include <string>

// Map geometry and class names shared by the rules and the screens. Cells are 20 world units wide and
// cell (21, 17) is the world origin; direction codes 0-8 name the four axis steps, no step and the four
// diagonals.

struct ZorCell
{
    int32_t x = 0;
    int32_t z = 0;
};

GxVector4 ZorCellToWorld(int32_t x, int32_t z);
ZorCell ZorWorldToCell(const GxVector4& position);
// Codes 0 (-1, 0), 1 (1, 0), 2 (0, -1), 3 (0, 1), 4 (0, 0), 5 (-1, -1), 6 (-1, 1), 7 (1, -1), 8 (1, 1);
// any other code no step.
ZorCell ZorDirToDelta(int32_t code);
// The inverse for the axis steps and no step (0-4); -1 for any other step.
int32_t ZorDeltaToDir(int32_t dx, int32_t dz);
std::wstring ZorGetUnitClassName(int32_t unitClass);
std::wstring ZorGetUnitClassShortName(int32_t unitClass);
