#include "animation/GxNcCrammedImageSet.h"

#include "core/GxContentReaderBase.h"
#include "core/GxLog.h"
#include "graphics/GxTextureBase.h"
#include "graphics/GxTextureFactory.h"
#include "platform/PfD3DTypes.h"

GxNcCrammedImageSet::~GxNcCrammedImageSet()
{
    Clear();
}

bool GxNcCrammedImageSet::Read(GxContentReaderBase& reader)
{
    // Every count is held to what the bytes left can hold at its item's least size.
    uint32_t count = 0;
    reader.ListBegin("m_CrammedImageArray", count,
                     reader.LeastSize({g_ContentValueString, g_ContentValueS32, g_ContentValueS32, g_ContentValueS32,
                                       g_ContentValueU32}));
    m_CrammedImages.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        GxNcCrammedImage page;
        reader.ListItemBegin();
        reader.ReadString("m_FileName", page.m_FileName);
        reader.Read("m_ImageWidth", page.m_ImageWidth);
        reader.Read("m_ImageHeight", page.m_ImageHeight);
        reader.Read("m_Count", page.m_Count);
        reader.Read("m_PreserveFlag", page.m_PreserveFlag);
        reader.ListItemEnd();
        m_CrammedImages.push_back(std::move(page));
        if (reader.GetErrorCount() != 0)
            break; // the factory refuses a damaged set
    }
    reader.ListEnd();

    reader.ListBegin("m_OriginImageArray", count,
                     reader.LeastSize({g_ContentValueString, g_ContentValueS32, g_ContentValueS32, g_ContentValueS32,
                                       g_ContentValueU32, g_ContentValueEmptyList}));
    const uint64_t leastPattern =
        11 * reader.LeastSize({g_ContentValueS32}) +
        reader.LeastSize({g_ContentValueF32, g_ContentValueF32, g_ContentValueU32, g_ContentValueU32});
    m_OriginImages.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        GxNcOriginImage image;
        reader.ListItemBegin();
        reader.ReadString("m_FileName", image.m_FileName);
        reader.GetS32("m_PatternCount"); // the pattern list's own count decides
        reader.Read("m_ImageWidth", image.m_ImageWidth);
        reader.Read("m_ImageHeight", image.m_ImageHeight);
        reader.Read("m_PreserveFlag", image.m_PreserveFlag);
        uint32_t patterns = 0;
        reader.ListBegin("m_PatternArray", patterns, leastPattern);
        image.m_Patterns.reserve(patterns < 256 ? patterns : 256);
        for (uint32_t j = 0; j < patterns; ++j)
        {
            GxNcPattern p;
            reader.ListItemBegin();
            reader.Read("m_Left", p.m_Left);
            reader.Read("m_Top", p.m_Top);
            reader.Read("m_Width", p.m_Width);
            reader.Read("m_Height", p.m_Height);
            reader.Read("m_CrammedImageIndex", p.m_CrammedImageIndex);
            reader.Read("m_CrammedOffsetLeft", p.m_CrammedOffsetLeft);
            reader.Read("m_CrammedOffsetTop", p.m_CrammedOffsetTop);
            reader.Read("m_CrammedLeft", p.m_CrammedLeft);
            reader.Read("m_CrammedTop", p.m_CrammedTop);
            reader.Read("m_CrammedWidth", p.m_CrammedWidth);
            reader.Read("m_CrammedHeight", p.m_CrammedHeight);
            reader.Read("m_CenterPosX", p.m_CenterPosX);
            reader.Read("m_CenterPosY", p.m_CenterPosY);
            // Optional: older sets carry no raw texture coordinates.
            if (reader.PeekValueType() == VALTYPE_GxFRect)
                reader.Read("m_CrammedRawUV", p.m_CrammedRawUV);
            reader.Read("m_NoCutoffFlag", p.m_NoCutoffFlag);
            reader.GetU32("m_Selected");
            reader.ListItemEnd();
            image.m_Patterns.push_back(p);
            if (reader.GetErrorCount() != 0)
                break;
        }
        reader.ListEnd();
        reader.ListItemEnd();
        m_OriginImageIndex.try_emplace(image.m_FileName, m_OriginImages.size());
        m_OriginImages.push_back(std::move(image));
        m_IndexedImages = m_OriginImages.size();
        if (reader.GetErrorCount() != 0)
            break;
    }
    reader.ListEnd();
    return true;
}

void GxNcCrammedImageSet::LinkPatterns()
{
    const int32_t pages = static_cast<int32_t>(m_CrammedImages.size());
    for (GxNcOriginImage& image : m_OriginImages)
    {
        int32_t index = 0;
        for (GxNcPattern& p : image.m_Patterns)
        {
            if (p.m_CrammedImageIndex >= 0 && p.m_CrammedImageIndex < pages)
            {
                p.m_pCrammedImage = &m_CrammedImages[p.m_CrammedImageIndex];
            }
            else
            {
                p.m_pCrammedImage = nullptr;
                GxLog::SlightError(L"画像が存在しません Pattern:%d Image:%ls CrammedImageIndex:%d\n", index,
                                   image.m_FileName.c_str(), p.m_CrammedImageIndex);
            }
            ++index;
        }
    }
}

bool GxNcCrammedImageSet::LoadAttachedTexture(const std::wstring& directory)
{
    bool all = true;
    const uint32_t format = m_EconomyMode ? D3DFMT_A4R4G4B4 : D3DFMT_A8R8G8B8;
    for (GxNcCrammedImage& page : m_CrammedImages)
    {
        const std::wstring path = directory + page.m_FileName;
        page.m_pTexture = GxTextureFactory::GetInstance().Get(path, GxTextureFactory::kFile, 0, 0, 1, format, 0, 0);
        if (!page.m_pTexture)
        {
            GxLog::Error(L"LoadAttachedTexture:Load Failed:%ls\n", path.c_str());
            all = false;
        }
    }
    return all;
}

const GxNcOriginImage* GxNcCrammedImageSet::FindOriginImage(const std::wstring& name) const
{
    // A set filled by hand (the packing tool, tests) has no index, or one that no longer covers every
    // image: it is searched from the front.
    if (m_IndexedImages != m_OriginImages.size())
    {
        for (const GxNcOriginImage& image : m_OriginImages)
        {
            m_NamesCompared.fetch_add(1, std::memory_order_relaxed);
            if (image.m_FileName == name)
                return &image;
        }
        return nullptr;
    }
    // The bucket's names are compared here rather than in the map's find, so each comparison is counted.
    const size_t bucket = m_OriginImageIndex.bucket(name);
    for (auto it = m_OriginImageIndex.begin(bucket); it != m_OriginImageIndex.end(bucket); ++it)
    {
        m_NamesCompared.fetch_add(1, std::memory_order_relaxed);
        if (it->first == name)
            return it->second < m_OriginImages.size() ? &m_OriginImages[it->second] : nullptr;
    }
    return nullptr;
}

uint32_t GxNcCrammedImageSet::Release()
{
    const uint32_t count = GxObjectRefCountNotAutoDelete::Release();
    if (count == 0)
        Clear();
    return count;
}

void GxNcCrammedImageSet::Clear()
{
    m_Name.clear();
    m_Directory.clear();
    for (GxNcCrammedImage& page : m_CrammedImages)
    {
        if (page.m_pTexture)
            GxTextureFactory::GetInstance().Release(page.m_pTexture);
        page.m_pTexture = nullptr;
    }
    m_CrammedImages.clear();
    m_OriginImages.clear();
    m_OriginImageIndex.clear();
    m_IndexedImages = 0;
}
