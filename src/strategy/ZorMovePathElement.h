#pragma once

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// One step of a unit's route: the direction taken (0 towards z - 1, 1 towards z + 1, 2 towards x - 1,
// 3 towards x + 1; -1 standing still for one step), the cell reached and the step's progress (0..1000).
class ZorMovePathElement
{
public:
    ZorMovePathElement() = default;
    ZorMovePathElement(int32_t macro, int32_t x, int32_t z) : m_Macro(macro), m_PosX(x), m_PosZ(z) {}
    virtual ~ZorMovePathElement() = default;
    ZorMovePathElement(const ZorMovePathElement&) = default;
    ZorMovePathElement& operator=(const ZorMovePathElement&) = default;

    virtual bool Save(GxContentWriterBase& writer) const;
    virtual void Load(GxContentReaderBase& reader);

    int32_t m_Macro = -1;
    int32_t m_PosX = 0;
    int32_t m_PosZ = 0;
    int32_t m_Time = 0;
};
