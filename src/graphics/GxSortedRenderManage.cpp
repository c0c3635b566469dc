#include "graphics/GxSortedRenderManage.h"

#include "core/GxMutexScopedLock.h"
#include "graphics/GxRenderPacketBase.h"

GxSortedRenderManage::~GxSortedRenderManage()
{
    GxMutexScopedLock lock(m_Mutex);
    Clear();
}

bool GxSortedRenderManage::Add(GxRenderPacketBase* entry, uint32_t mode)
{
    GxMutexScopedLock lock(m_Mutex);
    const float k = entry ? entry->m_SortKey : 0.0f;
    auto before = [&](const GxRenderPacketBase* e) {
        switch (mode)
        {
        case ADD_ASCENDING:
            return k < e->m_SortKey;
        case ADD_DESCENDING:
            return e->m_SortKey < k;
        case ADD_ASCENDING_FIRST:
            return k <= e->m_SortKey;
        case ADD_DESCENDING_FIRST:
            return e->m_SortKey <= k;
        default:
            return false;
        }
    };
    auto it = m_List.begin();
    if (entry && mode >= ADD_ASCENDING && mode <= ADD_DESCENDING_FIRST)
        while (it != m_List.end() && !((*it) && before(*it)))
            ++it;
    else
        it = m_List.end();
    m_List.insert(it, entry);
    return true;
}

void GxSortedRenderManage::Draw(uint32_t mask)
{
    GxMutexScopedLock lock(m_Mutex);
    uint32_t index = 0;
    for (GxRenderPacketBase* e : m_List)
    {
        if (e && (mask == 0 || (e->m_Flags & mask) != 0))
            e->Draw(index);
        ++index;
    }
}

void GxSortedRenderManage::Clear()
{
    GxMutexScopedLock lock(m_Mutex);
    for (GxRenderPacketBase* e : m_List)
        if (e)
            e->Release();
    m_List.clear();
}

size_t GxSortedRenderManage::GetCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_List.size();
}
