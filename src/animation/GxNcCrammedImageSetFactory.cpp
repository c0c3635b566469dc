#include "animation/GxNcAnimationPools.h"
#include "animation/GxNcCrammedImageSetFactory.h"

#include "animation/GxNcCrammedImageSet.h"
#include "core/GxBinBuffer.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentTextReader.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"
#include "graphics/GxTextureFactory.h"

#include <algorithm>
#include <memory>

GxNcCrammedImageSetFactory& GxNcCrammedImageSetFactory::GetInstance()
{
    // Sets give their page textures back when they go: the texture factory must outlive this one.
    GxTextureFactory::GetInstance();
    static GxNcCrammedImageSetFactory s_Factory;
    GxNcAnimationPools::RegisterFactoryShutdown();
    return s_Factory;
}

GxNcCrammedImageSetFactory::~GxNcCrammedImageSetFactory()
{
    ReleaseAll();
}

GxNcCrammedImageSet* GxNcCrammedImageSetFactory::GetCrammedImageSet(const std::wstring& name, bool loadTextures)
{
    if (GxNcCrammedImageSet* held = Find(name))
    {
        held->AddRef();
        return held;
    }
    const std::wstring path = GxPath::ChangeExtension(name, L".gis");
    auto fail = [&]() -> GxNcCrammedImageSet*
    {
        GxLog::Error(L"GetCrammedImageSet:Load Failed:%ls\n", path.c_str());
        return nullptr;
    };

    GxBinBuffer buffer;
    GxFile::LoadToBuffer(buffer, path, false);
    if (buffer.GetSize() == 0)
        return fail();
    std::unique_ptr<GxContentReaderBase> reader;
    const char* root = nullptr;
    if (buffer.First() == 'T')
    {
        reader = std::make_unique<GxContentTextReader>(buffer);
        root = "TGIMGSET";
    }
    else if (buffer.First() == 'B')
    {
        reader = std::make_unique<GxContentBinaryReader>(buffer);
        root = "BGIMGSET";
    }
    else
    {
        return fail();
    }
    uint32_t version = 0;
    if (!reader->ReadHeader(root, version))
        return fail();

    std::unique_ptr<GxNcCrammedImageSet> set = std::make_unique<GxNcCrammedImageSet>();
    const std::wstring key = GxString::ToLower(name);
    set->m_Name = path;
    set->m_Directory = GxPath::GetDirectory(key);
    set->m_EconomyMode = reader->GetBool("m_EconomyMode");
    set->Read(*reader);
    // A set whose values break off would hand out patterns pointing anywhere on its pages.
    if (reader->GetErrorCount() != 0)
        return fail();

    GxNcCrammedImageSet* raw = set.release();
    m_Cache[key] = raw;
    raw->LinkPatterns();
    if (!loadTextures)
    {
        m_NoTexture.push_back(raw);
        return raw;
    }
    if (!raw->LoadAttachedTexture(raw->m_Directory))
    {
        m_Cache.erase(key);
        raw->ReleaseAll(); // gives back the page textures it did get
        delete raw;
        return fail();
    }
    return raw;
}

GxNcCrammedImageSet* GxNcCrammedImageSetFactory::Find(const std::wstring& name) const
{
    const auto it = m_Cache.find(GxString::ToLower(name));
    return it == m_Cache.end() ? nullptr : it->second;
}

void GxNcCrammedImageSetFactory::ReleaseEntry(std::map<std::wstring, GxNcCrammedImageSet*>::iterator it)
{
    GxNcCrammedImageSet* set = it->second;
    if (set->Release() != 0)
        return;
    m_NoTexture.erase(std::remove(m_NoTexture.begin(), m_NoTexture.end(), set), m_NoTexture.end());
    m_Cache.erase(it);
    delete set;
}

void GxNcCrammedImageSetFactory::Release(GxNcCrammedImageSet* set)
{
    for (auto it = m_Cache.begin(); it != m_Cache.end(); ++it)
    {
        if (it->second == set)
        {
            ReleaseEntry(it);
            return;
        }
    }
    GxLog::SlightError(L"Warning/GxNcCrammedImageSetFactory You tried to release the object does not exist(%ls)\n",
                       set ? set->m_Name.c_str() : L"");
}

void GxNcCrammedImageSetFactory::ReleaseByName(const std::wstring& name)
{
    const auto it = m_Cache.find(GxString::ToLower(name));
    if (it == m_Cache.end())
    {
        GxLog::SlightError(L"Warning/GxNcCrammedImageSetFactory You tried to release the object does not exist(%ls)\n",
                           name.c_str());
        return;
    }
    ReleaseEntry(it);
}

void GxNcCrammedImageSetFactory::ReleaseAll()
{
    for (auto& [key, set] : m_Cache)
    {
        set->ReleaseAll();
        delete set;
    }
    m_Cache.clear();
    m_NoTexture.clear();
}

void GxNcCrammedImageSetFactory::ReportNotReleased() const
{
    for (const auto& [key, set] : m_Cache)
        GxLog::Error(L"Warning/GxNcCrammedImageSetFactory Object Not Released(%ls)\n", key.c_str());
}
