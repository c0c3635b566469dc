#include "animation/GxNcProjectEx.h"

#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcCrammedImageSetFactory.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"

namespace
{

std::wstring AsDirectory(const std::wstring& path)
{
    return GxString::ToLower(GxPath::AddTrailingSeparator(path, L'/'));
}

} // namespace

GxNcProjectEx::~GxNcProjectEx()
{
    if (!m_ImageSetNames.empty())
        ReleaseImageSets();
}

bool GxNcProjectEx::Load(const std::wstring& name, const std::wstring& imageSetDirectory, bool loadTextures)
{
    Release(); // a new project drops to 0 and is cleared
    m_ProjectDirectory = AsDirectory(GxPath::GetDirectory(name));
    m_ImageSetDirectory = AsDirectory(imageSetDirectory);
    const std::wstring path = GxPath::ChangeExtension(name, L".gnc");
    std::vector<std::wstring> sets;
    const bool loaded = GxNcProject::Load(path, sets);
    AddRef();
    if (!loaded)
        return false;
    for (std::wstring& set : sets)
    {
        set = m_ImageSetDirectory + GxPath::GetFileName(set);
        GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(set, loadTextures);
    }
    m_ImageSetNames = std::move(sets);
    ResolveReferences();
    return true;
}

uint32_t GxNcProjectEx::Release()
{
    const uint32_t count = GxObjectRefCountNotAutoDelete::Release();
    if (count == 0)
    {
        ReleaseImageSets();
        Clear();
        m_ProjectDirectory.clear();
        m_ImageSetDirectory.clear();
    }
    return count;
}

void GxNcProjectEx::ReleaseImageSets()
{
    // Every listed set was asked for once, whether or not it loaded; a set that did not load is not cached
    // and its release logs the slight "does not exist" warning, as for any unknown name.
    for (const std::wstring& set : m_ImageSetNames)
        GxNcCrammedImageSetFactory::GetInstance().ReleaseByName(set);
    m_ImageSetNames.clear();
}

GxNcMotionGroup* GxNcProjectEx::FindMotionGroup(const std::wstring& groupName) const
{
    for (const auto& group : m_MotionGroups)
    {
        if (group->m_MotionGroupName == groupName)
            return group.get();
    }
    return nullptr;
}

GxNcMotion* GxNcProjectEx::FindMotion(const std::wstring& groupName, const std::wstring& motionName) const
{
    const GxNcMotionGroup* group = FindMotionGroup(groupName);
    return group ? group->FindMotion(motionName) : nullptr;
}

void GxNcProjectEx::ResolveReferences()
{
    for (const auto& group : m_MotionGroups)
    {
        for (const auto& motion : group->m_Motions)
        {
            for (const auto& layer : motion->m_Layers)
            {
                for (GxNcImageKey& key : layer->m_ImageKeys)
                {
                    key.m_pOriginImage = ResolveImageKey(key, *group, *motion, *layer);
                    key.m_pMotion = nullptr;
                    if (key.m_MotionGroupName.empty())
                        continue;
                    key.m_pMotion = FindMotion(key.m_MotionGroupName, key.m_MotionName);
                    if (!key.m_pMotion)
                    {
                        GxLog::SlightError(L"KeyFrameが存在しないモーションを参照しています MotionGroup:%ls Motion:%ls "
                                           L"Layer:%ls Time:%d -> MotionGroup:%ls Motion:%ls\n",
                                           group->m_MotionGroupName.c_str(), motion->m_MotionName.c_str(),
                                           layer->m_LayerName.c_str(), key.m_Time, key.m_MotionGroupName.c_str(),
                                           key.m_MotionName.c_str());
                    }
                }
            }
        }
    }
}

const GxNcOriginImage* GxNcProjectEx::ResolveImageKey(const GxNcImageKey& key, const GxNcMotionGroup& group,
                                                      const GxNcMotion& motion, const GxNcLayer& layer) const
{
    if (key.m_ImageSetName.empty() || key.m_ImageFileName.empty())
        return nullptr;
    const GxNcOriginImage* image = nullptr;
    if (const GxNcCrammedImageSet* set =
            GxNcCrammedImageSetFactory::GetInstance().Find(m_ImageSetDirectory + key.m_ImageSetName))
        image = set->FindOriginImage(key.m_ImageFileName);
    if (!image)
    {
        GxLog::SlightError(
            L"画像が存在しません MotionGroup:%ls Motion:%ls Layer:%ls Time:%d -> ImageSet:%ls File:%ls\n",
            group.m_MotionGroupName.c_str(), motion.m_MotionName.c_str(), layer.m_LayerName.c_str(), key.m_Time,
            key.m_ImageSetName.c_str(), key.m_ImageFileName.c_str());
    }
    return image;
}
