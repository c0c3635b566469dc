#include "animation/GxNcProject.h"

#include "core/GxBinBuffer.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentTextReader.h"
#include "core/GxFile.h"
#include "core/GxLog.h"

#include <memory>

namespace
{

// A stage item stores no value at all, so the bytes left cannot bound how many there are, and each one
// read costs an empty record of a few hundred bytes. The editor makes a handful per project: a count
// above this is taken for damage.
constexpr uint32_t kMaxStages = 4096;

} // namespace

bool GxNcProject::Load(const std::wstring& path, std::vector<std::wstring>& imageSetNames)
{
    GxBinBuffer buffer;
    GxFile::LoadToBuffer(buffer, path, false);
    std::unique_ptr<GxContentReaderBase> reader;
    const char* root = nullptr;
    if (buffer.First() == 'T')
    {
        reader = std::make_unique<GxContentTextReader>(buffer);
        root = "TNCPROJ";
    }
    else
    {
        reader = std::make_unique<GxContentBinaryReader>(buffer);
        root = "BNCPROJ";
    }
    uint32_t version = 0;
    if (!reader->ReadHeader(root, version))
        return false;
    std::vector<std::wstring> names;
    // A project whose values break off would otherwise come out as a row of empty records that still
    // counts as loaded.
    if (!Read(*reader, names))
    {
        GxLog::Error(L"GxNcProject::Load/プロジェクトファイルが壊れています:%ls\n", path.c_str());
        Clear();
        return false;
    }
    imageSetNames.insert(imageSetNames.end(), names.begin(), names.end());
    return true;
}

bool GxNcProject::Read(GxContentReaderBase& r, std::vector<std::wstring>& imageSetNames)
{
    bool stagesRefused = false;
    r.ReadString("m_ProjectName", m_ProjectName);
    r.Read("m_IssuableMotionID", m_IssuableMotionID);
    r.Read("m_IssuableLayerID", m_IssuableLayerID);
    r.Read("m_IssuableMotionGroupID", m_IssuableMotionGroupID);
    r.Read("m_IssuableActorID", m_IssuableActorID);
    r.Read("m_IssuableStageID", m_IssuableStageID);
    r.Read("m_IssuableReserveID0", m_IssuableReserveID0);
    r.Read("m_IssuableReserveID1", m_IssuableReserveID1);
    r.Read("m_IssuableReserveID2", m_IssuableReserveID2);
    r.Read("m_IssuableReserveID3", m_IssuableReserveID3);

    // Every count is held to what the bytes left can hold at its item's least size.
    uint32_t count = 0;
    r.ListBegin("m_MotionGroupList", count,
                r.LeastSize({g_ContentValueString, g_ContentValueString, g_ContentValueU32, g_ContentValueEmptyList}));
    m_MotionGroups.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
        r.ListItemBegin();
        m_MotionGroups.back()->Read(r);
        r.ListItemEnd();
        if (r.GetErrorCount() != 0)
            break; // the loader throws a damaged project away
    }
    r.ListEnd();

    r.ListBegin("m_StageList", count);
    if (count > kMaxStages)
    {
        GxLog::Error(L"GxNcProject::Read/ステージ数が多すぎます(%u>%u)\n", count, kMaxStages);
        stagesRefused = true;
        count = 0;
    }
    for (uint32_t i = 0; i < count && r.GetErrorCount() == 0; ++i)
    {
        r.ListItemBegin();
        m_Stages.emplace_back();
        r.ListItemEnd();
    }
    r.ListEnd();

    r.ListBegin("m_ImageSetFileNameList", count, r.LeastSize({g_ContentValueString}));
    for (uint32_t i = 0; i < count; ++i)
    {
        r.ListItemBegin();
        imageSetNames.push_back(r.ReadStringW("m_FileName"));
        r.ListItemEnd();
        if (r.GetErrorCount() != 0)
            break;
    }
    r.ListEnd();
    return !stagesRefused && r.GetErrorCount() == 0;
}

void GxNcProject::Clear()
{
    m_ProjectName.clear();
    m_MotionGroups.clear();
    m_Stages.clear();
}
