#pragma once

#include "animation/GxNcPattern.h"

#include <cstdint>
#include <string>
#include <vector>

class GxTextureBase;

// A source picture of a crammed image set, found by its authored file name and cut into patterns.
struct GxNcOriginImage
{
    std::wstring m_FileName;
    int32_t m_ImageWidth = 0;
    int32_t m_ImageHeight = 0;
    uint32_t m_PreserveFlag = 0;
    std::vector<GxNcPattern> m_Patterns;
    // The picture's own texture, for patterns whose page has none. No loader of sets fills it; it stays
    // null unless a caller provides one.
    GxTextureBase* m_pTexture = nullptr;

    bool HasPattern(int32_t index) const { return index >= 0 && index < static_cast<int32_t>(m_Patterns.size()); }
};
