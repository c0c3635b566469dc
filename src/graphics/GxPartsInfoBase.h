#pragma once

#include <cstdint>

// Extra data carried with a part; copied with it and read by nothing.
class GxPartsInfoBase
{
public:
    virtual ~GxPartsInfoBase() = default;

    uint32_t m_Value = 1;
};
