#include "animation/GxNcMotionGroup.h"

#include "core/GxContentReaderBase.h"

void GxNcMotionGroup::Read(GxContentReaderBase& r)
{
    if (r.GetErrorCount() != 0)
        return;
    r.ReadString("m_MotionGroupName", m_MotionGroupName);
    r.ReadString("m_EnumName", m_EnumName);
    r.Read("m_MotionGroupID", m_MotionGroupID);
    // A motion is at least its names and times, its layer, sound and four event lists, empty, and its tree.
    const uint64_t leastMotion =
        r.LeastSize({g_ContentValueString, g_ContentValueString, g_ContentValueU32, g_ContentValueS32,
                     g_ContentValueS32, g_ContentValueS32, g_ContentValueS32}) +
        6 * r.LeastSize({g_ContentValueEmptyList});
    uint32_t count = 0;
    r.ListBegin("m_MotionList", count, leastMotion);
    m_Motions.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        m_Motions.push_back(std::make_unique<GxNcMotion>());
        r.ListItemBegin();
        m_Motions.back()->Read(r);
        r.ListItemEnd();
        if (r.GetErrorCount() != 0)
            break; // the loader throws a damaged project away
    }
    r.ListEnd();
}

void GxNcMotionGroup::Clear()
{
    m_MotionGroupName.clear();
    m_EnumName.clear();
    m_MotionGroupID = 0;
    m_Motions.clear();
}

GxNcMotion* GxNcMotionGroup::FindMotion(const std::wstring& name) const
{
    for (const auto& motion : m_Motions)
    {
        if (motion->m_MotionName == name)
            return motion.get();
    }
    return nullptr;
}
