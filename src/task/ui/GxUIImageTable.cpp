#include "task/ui/GxUIImageTable.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "task/ui/GxTaskUIBase.h"

void GxUIImageTable::ApplyModule(const DBUIModuleData& row)
{
    m_ImageSetName = GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_UIGIS_DIR) + row.m_ImageSetName + L".gis";
    m_ImageName = row.m_ImageName;
}

bool GxUIImageTable::LoadImageSet(const wchar_t* path)
{
    const std::wstring whole = path ? path : L"";
    m_ImageSetName = GxPath::RemoveTrailingSeparator(GxPath::GetDirectory(whole)) + L".gis";
    m_ImageName = GxPath::GetFileName(whole);
    return true;
}

void GxUIImageTable::Release()
{
    for (const GxNcOriginImage*& image : m_Images)
        image = nullptr;
}

void GxUIImageTable::SaveNames(GxContentWriterBase* writer) const
{
    writer->WriteString("m_ImageName", m_ImageName);
    writer->WriteString("m_ImageSetName", m_ImageSetName);
}

void GxUIImageTable::LoadNames(GxContentReaderBase* reader)
{
    reader->ReadString("m_ImageName", m_ImageName);
    reader->ReadString("m_ImageSetName", m_ImageSetName);
}

bool GxUIImageTable::Fetch(std::initializer_list<Slot> slots, int32_t requiredSlot, const wchar_t* setMissingFormat,
                           const wchar_t* imageMissingFormat, const std::wstring& taskPath)
{
    Release();
    const GxNcCrammedImageSet* set = FindSet(setMissingFormat, taskPath);
    if (!set)
        return false;
    const wchar_t* requiredSuffix = L"";
    for (const Slot& slot : slots)
    {
        if (slot.m_Slot < 0 || slot.m_Slot >= kSlotCount)
            continue;
        m_Images[slot.m_Slot] = FindImage(set, slot.m_Suffix);
        if (slot.m_Slot == requiredSlot)
            requiredSuffix = slot.m_Suffix;
    }
    if (requiredSlot >= 0 && requiredSlot < kSlotCount && !m_Images[requiredSlot])
    {
        GxLog::Error(imageMissingFormat, (m_ImageName + requiredSuffix).c_str(), taskPath.c_str());
        return false;
    }
    return true;
}

void GxUIImageTable::ApplySizeDefaults(const GxNcOriginImage* image, int32_t& width, int32_t& height,
                                       int32_t& clientWidth, int32_t& clientHeight, int32_t clientLeft,
                                       int32_t clientTop)
{
    int32_t w = 0;
    int32_t h = 0;
    if (GetPatternSize(image, 0, w, h))
    {
        if (width == 0)
            width = w;
        if (height == 0)
            height = h;
    }
    if (clientWidth == 0)
        clientWidth = width - 2 * clientLeft;
    if (clientHeight == 0)
        clientHeight = height - 2 * clientTop;
}
