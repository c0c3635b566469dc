#include "animation/GxNcAnimationPools.h"
#include "animation/GxNcProjectFactory.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcProjectEx.h"
#include "core/GxLog.h"
#include "core/GxString.h"

GxNcProjectFactory& GxNcProjectFactory::GetInstance()
{
    // Projects give their sets back when they go, so the set factory must outlive this one: statics are
    // destroyed in the reverse order of their construction.
    GxNcCrammedImageSetFactory::GetInstance();
    static GxNcProjectFactory s_Factory;
    GxNcAnimationPools::RegisterFactoryShutdown();
    return s_Factory;
}

GxNcProjectFactory::~GxNcProjectFactory()
{
    ReleaseAll();
}

GxNcProjectEx* GxNcProjectFactory::Get(const std::wstring& name, const std::wstring& imageSetDirectory,
                                       bool loadTextures)
{
    if (GxNcProjectEx* held = Find(name))
    {
        held->AddRef();
        return held;
    }
    const std::wstring key = GxString::ToLower(name);
    GxNcProjectEx* project = new GxNcProjectEx();
    project->Load(key, imageSetDirectory, loadTextures);
    m_Cache[key] = project;
    return project;
}

GxNcProjectEx* GxNcProjectFactory::Find(const std::wstring& name) const
{
    const auto it = m_Cache.find(GxString::ToLower(name));
    return it == m_Cache.end() ? nullptr : it->second;
}

void GxNcProjectFactory::ReleaseEntry(std::map<std::wstring, GxNcProjectEx*>::iterator it)
{
    GxNcProjectEx* project = it->second;
    if (project->Release() != 0)
        return;
    m_Cache.erase(it);
    delete project;
}

void GxNcProjectFactory::Release(GxNcProjectEx* project)
{
    for (auto it = m_Cache.begin(); it != m_Cache.end(); ++it)
    {
        if (it->second == project)
        {
            ReleaseEntry(it);
            return;
        }
    }
    GxLog::SlightError(L"Warning/GxNcProjectFactory You tried to release the object does not exist(%ls)\n",
                       project ? project->m_ProjectName.c_str() : L"");
}

void GxNcProjectFactory::ReleaseByName(const std::wstring& name)
{
    const auto it = m_Cache.find(GxString::ToLower(name));
    if (it == m_Cache.end())
    {
        GxLog::SlightError(L"Warning/GxNcProjectFactory You tried to release the object does not exist(%ls)\n",
                           name.c_str());
        return;
    }
    ReleaseEntry(it);
}

void GxNcProjectFactory::ReleaseAll()
{
    // A project's ReleaseAll gives its image sets back to their factory while that one still holds them.
    for (auto& [key, project] : m_Cache)
    {
        project->ReleaseAll();
        delete project;
    }
    m_Cache.clear();
}

void GxNcProjectFactory::ReportNotReleased() const
{
    for (const auto& [key, project] : m_Cache)
        GxLog::Error(L"Warning/GxNcProjectFactory Object Not Released(%ls)\n", key.c_str());
}
