#pragma once

#include <cstdint>
#include <string>

class GxTextureBase;

// One texture page of a crammed image set: an image file beside the ".gis" into which patterns are packed.
struct GxNcCrammedImage
{
    std::wstring m_FileName; // relative to the set's directory
    int32_t m_ImageWidth = 0;
    int32_t m_ImageHeight = 0;
    int32_t m_Count = 0;
    uint32_t m_PreserveFlag = 0;
    GxTextureBase* m_pTexture = nullptr; // a texture-factory reference; null until loaded
};
