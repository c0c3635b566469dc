#pragma once

#include "animation/GxNcFloatKey.h"
#include "animation/GxNcImageKey.h"
#include "animation/GxNcUIntKey.h"
#include "animation/GxNcVector2Key.h"
#include "animation/GxNcVector4Key.h"
#include "animation/GxNcVector4x5Key.h"

#include <cstdint>
#include <string>
#include <vector>

class GxContentReaderBase;

// One layer of a motion: its flags and its eleven key tracks, each sorted by time.
//
//   track 1 image, 2 position, 3 scale, 4 rotation (degrees), 5 pivot, 6 size factor, 7 opacity,
//   8 visibility, 9 vertex offsets, 10 vertex colours, 11 texture-coordinate offset
class GxNcLayer
{
public:
    // Reads the layer's values in file order; reads nothing once the reader has counted an error, and stops
    // before the tracks when its own flags fail.
    void Read(GxContentReaderBase& reader);
    void Clear();

    std::wstring m_LayerName;
    std::wstring m_EnumName;
    uint32_t m_LayerID = 0;
    int32_t m_LastTime = 0; // the loop length of loop mode 2
    uint32_t m_LoopMode = 0;
    uint32_t m_LayerType = 0;
    int32_t m_AttachIndex = -1;
    uint32_t m_VertexCount = 5;
    uint32_t m_EditLock = 0;
    uint32_t m_EditVisible = 1;
    uint32_t m_LightEnable = 1;
    uint32_t m_AlphaTestEnable = 0;
    uint32_t m_ZWriteEnable = 0;
    uint32_t m_ZTestEnable = 0;
    uint32_t m_ViewMode = 0;
    uint32_t m_BlendMode = 1;
    uint32_t m_FilterMode = 1;
    uint32_t m_StencilMode = 0;
    uint32_t m_StencilTestEnable = 0;
    uint32_t m_Selected = 0;
    uint32_t m_Expanded = 0;

    std::vector<GxNcImageKey> m_ImageKeys;
    std::vector<GxNcVector4Key> m_PositionKeys;
    std::vector<GxNcVector4Key> m_ScaleKeys;
    std::vector<GxNcVector4Key> m_RotationKeys;
    std::vector<GxNcVector4Key> m_PivotKeys;
    std::vector<GxNcVector2Key> m_SizeKeys;
    std::vector<GxNcFloatKey> m_OpacityKeys;
    std::vector<GxNcUIntKey> m_VisibilityKeys;
    std::vector<GxNcVector4x5Key> m_VertexOffsetKeys;
    std::vector<GxNcVector4x5Key> m_VertexColorKeys;
    std::vector<GxNcVector2Key> m_TexOffsetKeys;
};
