#pragma once

#include <map>
#include <string>
#include <vector>

class GxNcCrammedImageSet;

// The process-wide cache of crammed image sets by name (ASCII letters A-Z lowered), each loaded once and
// deleted when its last user releases it. Main thread only.
class GxNcCrammedImageSetFactory
{
public:
    static GxNcCrammedImageSetFactory& GetInstance();
    GxNcCrammedImageSetFactory() = default;
    GxNcCrammedImageSetFactory(const GxNcCrammedImageSetFactory&) = delete;
    GxNcCrammedImageSetFactory& operator=(const GxNcCrammedImageSetFactory&) = delete;
    virtual ~GxNcCrammedImageSetFactory();

    // The cached set with one more reference, or the set read from the file (extension replaced by
    // ".gis"), cached with count 1; null after logging when it cannot be read or a page texture fails.
    virtual GxNcCrammedImageSet* GetCrammedImageSet(const std::wstring& name, bool loadTextures);
    // No reference taken.
    virtual GxNcCrammedImageSet* Find(const std::wstring& name) const;
    virtual void Release(GxNcCrammedImageSet* set);
    virtual void ReleaseByName(const std::wstring& name);
    // Every cached set emptied and deleted, whatever its count.
    virtual void ReleaseAll();
    // One "Object Not Released" line per cached set.
    virtual void ReportNotReleased() const;

    size_t GetCount() const { return m_Cache.size(); }
    // Sets loaded without their page textures.
    const std::vector<GxNcCrammedImageSet*>& GetNoTextureSets() const { return m_NoTexture; }

private:
    void ReleaseEntry(std::map<std::wstring, GxNcCrammedImageSet*>::iterator it);

    std::map<std::wstring, GxNcCrammedImageSet*> m_Cache;
    std::vector<GxNcCrammedImageSet*> m_NoTexture;
};
