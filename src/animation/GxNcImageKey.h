#pragma once

#include <cstdint>
#include <string>

class GxNcMotion;
struct GxNcOriginImage;

// A key of a layer's first track: a pattern of an origin image in an image set, or a motion of the same
// project played nested in the layer. The two resolved pointers are filled after loading and borrowed
// from the image set and the project.
struct GxNcImageKey
{
    int32_t m_Time = 0;
    std::wstring m_ImageSetName;
    std::wstring m_ImageFileName;
    std::wstring m_MotionGroupName;
    std::wstring m_MotionName;
    int32_t m_PatternIndex = 0;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    const GxNcOriginImage* m_pOriginImage = nullptr;
    const GxNcMotion* m_pMotion = nullptr;
    int32_t m_OffsetFrame = 0;
    uint32_t m_LoopMode = 1;
    uint32_t m_InterMode = 0;
    float m_InterParam0 = 0.0f;
    float m_InterParam1 = 0.0f;
    uint32_t m_Selected = 0;
};
