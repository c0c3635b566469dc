#pragma once

#include "animation/GxNcProject.h"
#include "animation/GxObjectRefCountNotAutoDelete.h"

#include <cstdint>
#include <string>
#include <vector>

struct GxNcImageKey;

// A project as the factory hands it out: counted, holding references on the image sets its file lists,
// with the references between its records resolved.
class GxNcProjectEx : public GxNcProject, public GxObjectRefCountNotAutoDelete
{
public:
    GxNcProjectEx() = default;
    ~GxNcProjectEx() override;

    // The whole loading step: name's extension replaced by ".gnc", the file read, the listed image sets
    // taken from imageSetDirectory through the set factory, references resolved. The project leaves with
    // count 1 whatever the result; false leaves it empty.
    bool Load(const std::wstring& name, const std::wstring& imageSetDirectory, bool loadTextures);
    // At count 0 the project gives its image sets back and empties itself.
    uint32_t Release() override;

    GxNcMotionGroup* FindMotionGroup(const std::wstring& groupName) const;
    GxNcMotion* FindMotion(const std::wstring& groupName, const std::wstring& motionName) const;
    // Every image key of track 1: its origin image and its referenced motion.
    void ResolveReferences();
    // The origin image of a key, or null (logged as a slight error when the key names one).
    const GxNcOriginImage* ResolveImageKey(const GxNcImageKey& key, const GxNcMotionGroup& group,
                                           const GxNcMotion& motion, const GxNcLayer& layer) const;

    std::vector<std::wstring> m_ImageSetNames; // full names of the sets held
    std::wstring m_ProjectDirectory;
    std::wstring m_ImageSetDirectory;

private:
    void ReleaseImageSets();
};
