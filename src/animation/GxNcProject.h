#pragma once

#include "animation/GxNcMotionGroup.h"
#include "animation/GxNcStage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GxContentReaderBase;

// An animation project (".gnc"): motion groups of motions, stages, and the names of the image sets its
// image keys draw from. Only read by the system; records are not changed after loading.
class GxNcProject
{
public:
    GxNcProject() = default;
    GxNcProject(const GxNcProject&) = delete;
    GxNcProject& operator=(const GxNcProject&) = delete;
    virtual ~GxNcProject() = default;

    // Reads the file at path (text form when its first byte is "T", else binary) and appends the image-set
    // file names it lists. False when the file cannot be read as a project: no header, or values that break
    // off or do not match; then the project is left empty.
    bool Load(const std::wstring& path, std::vector<std::wstring>& imageSetNames);
    // The values after the header, in file order. False when a value failed to read or a count was taken
    // for damage (then what was read is not to be used).
    bool Read(GxContentReaderBase& reader, std::vector<std::wstring>& imageSetNames);
    // The name emptied, groups and stages deleted.
    void Clear();

    std::wstring m_ProjectName;
    // The authoring editor's next free IDs, each kind in its own range.
    uint32_t m_IssuableMotionID = 200000000;
    uint32_t m_IssuableLayerID = 100000000;
    uint32_t m_IssuableMotionGroupID = 400000000;
    uint32_t m_IssuableActorID = 500000000;
    uint32_t m_IssuableStageID = 600000000;
    uint32_t m_IssuableReserveID0 = 700000000;
    uint32_t m_IssuableReserveID1 = 800000000;
    uint32_t m_IssuableReserveID2 = 900000000;
    uint32_t m_IssuableReserveID3 = 1000000000;
    std::vector<std::unique_ptr<GxNcMotionGroup>> m_MotionGroups;
    std::vector<GxNcStage> m_Stages;
};
