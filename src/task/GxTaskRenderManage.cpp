#include "task/GxTaskRenderManage.h"

#include "task/GxTaskBase.h"

#include <algorithm>
#include <cmath>

GxTaskRenderManage::GxTaskRenderManage() = default;
GxTaskRenderManage::~GxTaskRenderManage() = default;

// The place is where a linear scan from the front finds the first entry that passes the mode's test.
// While the keys are known to be in order in the mode's direction the test is false for a prefix and
// true after it, so a binary search finds the same place; a list out of order is scanned.
template <class Test> size_t GxTaskRenderManage::FindPlace(bool ordered, Test test) const
{
    if (ordered)
    {
        auto it = std::partition_point(m_Entries.begin(), m_Entries.end(), [&](const Entry& e) { return !test(e); });
        return static_cast<size_t>(it - m_Entries.begin());
    }
    size_t pos = 0;
    while (pos < m_Entries.size() && !test(m_Entries[pos]))
        ++pos;
    return pos;
}

bool GxTaskRenderManage::Add(GxTaskBase* task, int32_t mode, float key, int32_t param)
{
    if (mode == GX_RENDER_DEFAULT)
        mode = m_DefaultMode;
    const bool nan = std::isnan(key);
    size_t pos = m_Entries.size();
    switch (mode)
    {
    case GX_RENDER_FRONT:
        pos = 0;
        break;
    case GX_RENDER_ASCEND:
        pos = FindPlace(m_Ascending && !nan, [key](const Entry& e) { return e.key > key; });
        break;
    case GX_RENDER_DESCEND:
        pos = FindPlace(m_Descending && !nan, [key](const Entry& e) { return e.key < key; });
        break;
    case GX_RENDER_ASCEND_BEFORE:
        pos = FindPlace(m_Ascending && !nan, [key](const Entry& e) { return e.key >= key; });
        break;
    case GX_RENDER_DESCEND_BEFORE:
        pos = FindPlace(m_Descending && !nan, [key](const Entry& e) { return e.key <= key; });
        break;
    default:
        break;
    }
    m_Entries.insert(m_Entries.begin() + static_cast<std::ptrdiff_t>(pos), Entry{task, key, param, 0});

    // Still in order when the new key fits between its neighbours.
    if (nan)
    {
        m_Ascending = m_Descending = false;
        return true;
    }
    const Entry* prev = pos > 0 ? &m_Entries[pos - 1] : nullptr;
    const Entry* next = pos + 1 < m_Entries.size() ? &m_Entries[pos + 1] : nullptr;
    if ((prev && prev->key > key) || (next && key > next->key))
        m_Ascending = false;
    if ((prev && prev->key < key) || (next && key < next->key))
        m_Descending = false;
    return true;
}

void GxTaskRenderManage::Clear()
{
    m_Entries.clear();
    m_Ascending = m_Descending = true;
}

void GxTaskRenderManage::Draw(int32_t layer, bool captured)
{
    // By index: a task's draw may register into this list without invalidating the walk.
    for (size_t i = 0; i < m_Entries.size(); ++i)
    {
        const Entry entry = m_Entries[i];
        GxTaskBase* task = entry.task;
        if (!task || task->GetGlobalState() != GX_TASKSTATE_ACTIVE || (task->GetTaskFlags() & GX_TASKFLAG_NO_DRAW))
            continue;
        if (captured)
            task->Draw(entry.param, layer);
        else
            task->ForwardDraw(entry.param, layer);
    }
}
