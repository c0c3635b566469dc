#pragma once

#include <map>
#include <string>

class GxNcProjectEx;

// The process-wide cache of animation projects by name (ASCII letters A-Z lowered). A project whose file
// cannot be read is cached empty all the same, so its motions are simply not found. Main thread only.
class GxNcProjectFactory
{
public:
    static GxNcProjectFactory& GetInstance();
    GxNcProjectFactory() = default;
    GxNcProjectFactory(const GxNcProjectFactory&) = delete;
    GxNcProjectFactory& operator=(const GxNcProjectFactory&) = delete;
    virtual ~GxNcProjectFactory();

    // Never null.
    virtual GxNcProjectEx* Get(const std::wstring& name, const std::wstring& imageSetDirectory, bool loadTextures);
    virtual GxNcProjectEx* Find(const std::wstring& name) const;
    virtual void Release(GxNcProjectEx* project);
    virtual void ReleaseByName(const std::wstring& name);
    // Every cached project emptied (its image sets given back) and deleted, whatever its count.
    virtual void ReleaseAll();
    virtual void ReportNotReleased() const;

    size_t GetCount() const { return m_Cache.size(); }

private:
    void ReleaseEntry(std::map<std::wstring, GxNcProjectEx*>::iterator it);

    std::map<std::wstring, GxNcProjectEx*> m_Cache;
};
