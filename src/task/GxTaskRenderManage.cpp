#include "task/GxTaskRenderManage.h"

#include "task/GxTaskBase.h"

GxTaskRenderManage::GxTaskRenderManage() = default;
GxTaskRenderManage::~GxTaskRenderManage() = default;

bool GxTaskRenderManage::Add(GxTaskBase* task, int32_t mode, float key, int32_t param)
{
    if (mode == GX_RENDER_DEFAULT)
        mode = m_DefaultMode;
    const Entry entry{task, key, param, 0};
    const size_t count = m_Entries.size();
    size_t pos = count;
    switch (mode)
    {
    case GX_RENDER_FRONT:
        pos = 0;
        break;
    case GX_RENDER_ASCEND:
        for (pos = 0; pos < count && !(m_Entries[pos].key > key); ++pos)
        {
        }
        break;
    case GX_RENDER_DESCEND:
        for (pos = 0; pos < count && !(m_Entries[pos].key < key); ++pos)
        {
        }
        break;
    case GX_RENDER_ASCEND_BEFORE:
        for (pos = 0; pos < count && !(m_Entries[pos].key >= key); ++pos)
        {
        }
        break;
    case GX_RENDER_DESCEND_BEFORE:
        for (pos = 0; pos < count && !(m_Entries[pos].key <= key); ++pos)
        {
        }
        break;
    default:
        break;
    }
    m_Entries.insert(m_Entries.begin() + static_cast<std::ptrdiff_t>(pos), entry);
    return true;
}

void GxTaskRenderManage::Clear() { m_Entries.clear(); }

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
