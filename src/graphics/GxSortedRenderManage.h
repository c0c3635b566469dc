#pragma once

#include "core/GxMutex.h"

#include <cstdint>
#include <list>

class GxRenderPacketBase;

// Draw entries collected during one drawing pass and drawn in the order of their sort keys. The list keeps
// pointers only; owned entries delete themselves in Clear.
class GxSortedRenderManage
{
public:
    enum AddMode : uint32_t
    {
        ADD_APPEND = 2,
        ADD_ASCENDING = 3,       // among equal keys after the old ones
        ADD_DESCENDING = 4,      // among equal keys after the old ones
        ADD_ASCENDING_FIRST = 5, // among equal keys before the old ones
        ADD_DESCENDING_FIRST = 6,
    };

    GxSortedRenderManage() = default;
    virtual ~GxSortedRenderManage();
    GxSortedRenderManage(const GxSortedRenderManage&) = delete;
    GxSortedRenderManage& operator=(const GxSortedRenderManage&) = delete;

    // Any mode other than 3 to 6 appends.
    bool Add(GxRenderPacketBase* entry, uint32_t mode);
    // Draws the entries whose flags share a bit with the mask (all of them for mask 0), passing each its
    // position counted over the whole list.
    void Draw(uint32_t mask);
    void Clear();
    size_t GetCount();

private:
    std::list<GxRenderPacketBase*> m_List;
    GxMutex m_Mutex;
};
