// libFuzzer target for the animation readers: every input is read as a project (".gnc": "T" text, any
// other first byte binary) and as a crammed image set (".gis": "T" or "B", else refused), the way the
// loaders read their files, then the set's patterns are linked and every layer tree walked.
#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcLayerNode.h"
#include "animation/GxNcProject.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentTextReader.h"
#include "core/GxLog.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    GxLog::SetErrorLogPath(L"");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    // A copy of exactly the input's size, so any read past it is reported.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size)
        __builtin_memcpy(copy.get(), data, size);
    const uint32_t length = static_cast<uint32_t>(size);
    const bool text = size && copy[0] == 'T';

    {
        std::unique_ptr<GxContentReaderBase> r;
        if (text)
            r = std::make_unique<GxContentTextReader>(copy.get(), length);
        else
            r = std::make_unique<GxContentBinaryReader>(copy.get(), length);
        uint32_t version = 0;
        if (r->ReadHeader(text ? "TNCPROJ" : "BNCPROJ", version))
        {
            GxNcProject project;
            std::vector<std::wstring> sets;
            project.Read(*r, sets);
            for (const auto& group : project.m_MotionGroups)
                for (const auto& motion : group->m_Motions)
                    for (const GxSimpleNode* n = motion->m_LayerTree.GetRoot(); n; n = n->GetFirstChild())
                        (void)static_cast<const GxNcLayerNode*>(n);
        }
    }
    if (size && (copy[0] == 'T' || copy[0] == 'B'))
    {
        std::unique_ptr<GxContentReaderBase> r;
        if (text)
            r = std::make_unique<GxContentTextReader>(copy.get(), length);
        else
            r = std::make_unique<GxContentBinaryReader>(copy.get(), length);
        uint32_t version = 0;
        if (r->ReadHeader(text ? "TGIMGSET" : "BGIMGSET", version))
        {
            GxNcCrammedImageSet set;
            set.m_EconomyMode = r->GetBool("m_EconomyMode");
            set.Read(*r);
            set.LinkPatterns();
            for (const GxNcOriginImage& image : set.m_OriginImages)
                (void)set.FindOriginImage(image.m_FileName);
        }
    }
    return 0;
}
