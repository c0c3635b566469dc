#pragma once

#include <cstdint>

// One entry of a sorted render list: a sort key, flags matched against the list's draw mask and an owned
// flag. An owned entry deletes itself when the list lets it go; any other entry belongs to its creator.
class GxRenderPacketBase
{
public:
    GxRenderPacketBase() = default;
    GxRenderPacketBase(float key, uint32_t flags, uint32_t owned) : m_SortKey(key), m_Flags(flags), m_Owned(owned) {}
    virtual ~GxRenderPacketBase() = default;

    virtual void Release()
    {
        if (m_Owned != 0)
            delete this;
    }
    // index: the entry's position in the list.
    virtual void Draw(uint32_t index) = 0;

    float m_SortKey = 0.0f;
    uint32_t m_Flags = 0;
    uint32_t m_Owned = 0;
};
