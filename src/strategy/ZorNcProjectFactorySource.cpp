#include "strategy/ZorNcProjectFactorySource.h"

#include "animation/GxNcMotion.h"
#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"

#include <cmath>

const void* ZorNcProjectFactorySource::GetProject(const std::wstring& path, const std::wstring& textureDir)
{
    GxNcProjectEx* project = GxNcProjectFactory::GetInstance().Get(path, textureDir, m_LoadTextures);
    if (project->m_MotionGroups.empty())
    {
        GxNcProjectFactory::GetInstance().Release(project);
        return nullptr;
    }
    return project;
}

const void* ZorNcProjectFactorySource::FindMotion(const void* project, const std::wstring& group,
                                                  const std::wstring& name)
{
    return static_cast<const GxNcProjectEx*>(project)->FindMotion(group, name);
}

int32_t ZorNcProjectFactorySource::GetMotionLength(const void* motion) const
{
    return static_cast<const GxNcMotion*>(motion)->m_TotalDuration;
}

void ZorNcProjectFactorySource::ReleaseProject(const void* project)
{
    GxNcProjectFactory::GetInstance().Release(const_cast<GxNcProjectEx*>(static_cast<const GxNcProjectEx*>(project)));
}

bool ZorNcProjectFactorySource::GetMotionHeight(const void* project, const void* motion, float& height)
{
    if (!project || !motion)
        return false;
    m_Measure.Update(static_cast<const GxNcProjectEx*>(project), static_cast<const GxNcMotion*>(motion), 0, GxVector4(),
                     nullptr, GxVector4(1.0f, 1.0f, 1.0f, 1.0f), 4, nullptr);
    m_Measure.CalcBoundingBox();
    // A motion without a drawn vertex leaves the bounds reset (minimum above maximum): no height.
    if (m_Measure.m_BoundsMin.y > m_Measure.m_BoundsMax.y)
        return false;
    height = std::fabs(m_Measure.m_BoundsMax.y - m_Measure.m_BoundsMin.y);
    return true;
}
