#pragma once

#include "core/GxFRect.h"

#include <cstdint>

struct GxNcCrammedImage;

// One rectangular piece of an origin image and where it was packed. The packed piece may be smaller than
// the pattern (transparent borders trimmed); m_CrammedOffsetLeft/Top place it relative to the pattern's
// own top-left corner.
struct GxNcPattern
{
    int32_t m_Left = 0;
    int32_t m_Top = 0;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    int32_t m_CrammedImageIndex = -1;
    int32_t m_CrammedOffsetLeft = 0;
    int32_t m_CrammedOffsetTop = 0;
    int32_t m_CrammedLeft = 0;
    int32_t m_CrammedTop = 0;
    int32_t m_CrammedWidth = 0;
    int32_t m_CrammedHeight = 0;
    float m_CenterPosX = 0.0f;
    float m_CenterPosY = 0.0f;
    GxFRect m_CrammedRawUV; // texture coordinates given by the file; all 0 when it has none
    uint32_t m_NoCutoffFlag = 0;
    GxNcCrammedImage* m_pCrammedImage = nullptr; // the page, set when the patterns are linked
};
