#pragma once

#include "animation/GxNcMotion.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GxContentReaderBase;

// A named group of motions.
class GxNcMotionGroup
{
public:
    // Nothing is read once the reader has counted an error.
    void Read(GxContentReaderBase& reader);
    void Clear();
    // The first motion named exactly so, else null.
    GxNcMotion* FindMotion(const std::wstring& name) const;

    std::wstring m_MotionGroupName;
    std::wstring m_EnumName;
    uint32_t m_MotionGroupID = 0;
    std::vector<std::unique_ptr<GxNcMotion>> m_Motions;
};
