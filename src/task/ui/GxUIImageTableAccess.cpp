// The image-set side of GxUIImageTable: pool lookup, pattern queries and pattern draws.
#include "task/ui/GxUIImageTable.h"

// FIXME: the image-set pool and the pattern draws are not in this tree yet. Until they are, no set is
// ever pooled: every lookup logs the missing set and the image-set widgets draw nothing.

#include "core/GxLog.h"

const GxNcCrammedImageSet* GxUIImageTable::FindSet(const wchar_t* setMissingFormat, const std::wstring& taskPath) const
{
    GxLog::Error(setMissingFormat, m_ImageSetName.c_str(), taskPath.c_str());
    return nullptr;
}

const GxNcOriginImage* GxUIImageTable::FindImage(const GxNcCrammedImageSet*, const std::wstring&) const
{
    return nullptr;
}

int32_t GxUIImageTable::GetPatternCount(const GxNcOriginImage*)
{
    return 0;
}

bool GxUIImageTable::GetPatternSize(const GxNcOriginImage*, int32_t, int32_t&, int32_t&)
{
    return false;
}

bool GxUIImageTable::GetPatternOffset(const GxNcOriginImage*, int32_t, int32_t&, int32_t&)
{
    return false;
}

void GxUIImageTable::DrawPattern(const GxNcOriginImage*, int32_t, const GxMatrix&, float, const GxVector4&,
                                 const GxVector4&, uint32_t)
{
}

void GxUIImageTable::DrawPatternEx(const GxNcOriginImage*, int32_t, const GxMatrix&, int32_t, int32_t, int32_t, int32_t,
                                   float, const GxVector4&, const GxVector4&, uint32_t)
{
}
