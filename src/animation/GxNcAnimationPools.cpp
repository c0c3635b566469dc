#include "animation/GxNcAnimationPools.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcEffectPool.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "animation/GxNcProjectFactory.h"
#include "core/GxCore.h"

void GxNcAnimationPools::EmptyImageSets()
{
    GxNcImageSetPool::ReleaseAll();
    GxNcIconPool::Clear(); // its images lived in a pooled set
}

void GxNcAnimationPools::EmptyEffects()
{
    GxNcEffectPool::ReleaseAllEffect();
}

void GxNcAnimationPools::ReportFactories()
{
    GxNcProjectFactory::GetInstance().ReportNotReleased();
    GxNcCrammedImageSetFactory::GetInstance().ReportNotReleased();
}

void GxNcAnimationPools::ReleaseFactories()
{
    GxNcProjectFactory::GetInstance().ReleaseAll();
    GxNcCrammedImageSetFactory::GetInstance().ReleaseAll();
}

void GxNcAnimationPools::RegisterFactoryShutdown()
{
    static bool s_Registered = false;
    if (s_Registered)
        return;
    s_Registered = true;
    GxCore::AddFactoryShutdown(&ReportFactories, &ReleaseFactories);
}
