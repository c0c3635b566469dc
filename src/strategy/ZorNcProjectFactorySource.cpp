#include "strategy/ZorNcProjectFactorySource.h"

#include "animation/GxNcMotion.h"
#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"

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
