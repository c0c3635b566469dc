// The image-set side of GxUIImageTable: pool lookup, pattern queries and pattern draws.
#include "task/ui/GxUIImageTable.h"

#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcImageSetPool.h"
#include "core/GxLog.h"

const GxNcCrammedImageSet* GxUIImageTable::FindSet(const wchar_t* setMissingFormat, const std::wstring& taskPath) const
{
    // Find only: the screen that uses the set adds it to the pool before its widgets load.
    const GxNcCrammedImageSet* set = GxNcImageSetPool::Find(m_ImageSetName);
    if (!set)
        GxLog::Error(setMissingFormat, m_ImageSetName.c_str(), taskPath.c_str());
    return set;
}

const GxNcOriginImage* GxUIImageTable::FindImage(const GxNcCrammedImageSet* set, const std::wstring& suffix) const
{
    return set ? set->FindOriginImage(m_ImageName + suffix) : nullptr;
}

int32_t GxUIImageTable::GetPatternCount(const GxNcOriginImage* image)
{
    return image ? static_cast<int32_t>(image->m_Patterns.size()) : 0;
}

bool GxUIImageTable::GetPatternSize(const GxNcOriginImage* image, int32_t pattern, int32_t& width, int32_t& height)
{
    if (!image || !image->HasPattern(pattern))
        return false;
    width = image->m_Patterns[static_cast<size_t>(pattern)].m_Width;
    height = image->m_Patterns[static_cast<size_t>(pattern)].m_Height;
    return true;
}

bool GxUIImageTable::GetPatternOffset(const GxNcOriginImage* image, int32_t pattern, int32_t& left, int32_t& top)
{
    if (!image || !image->HasPattern(pattern))
        return false;
    left = image->m_Patterns[static_cast<size_t>(pattern)].m_CrammedOffsetLeft;
    top = image->m_Patterns[static_cast<size_t>(pattern)].m_CrammedOffsetTop;
    return true;
}

void GxUIImageTable::DrawPattern(const GxNcOriginImage* image, int32_t pattern, const GxMatrix& matrix, float alpha,
                                 const GxVector4& colour, const GxVector4& specular, uint32_t blend)
{
    GxNcCrammedImageSet::DrawPattern(image, pattern, matrix, alpha, colour, specular, blend);
}

void GxUIImageTable::DrawPatternEx(const GxNcOriginImage* image, int32_t pattern, const GxMatrix& matrix, int32_t left,
                                   int32_t top, int32_t right, int32_t bottom, float alpha, const GxVector4& colour,
                                   const GxVector4& specular, uint32_t blend)
{
    GxNcCrammedImageSet::DrawPatternEx(image, pattern, matrix, left, top, right, bottom, alpha, colour, specular,
                                       blend);
}
