#pragma once

#include <cstdint>

// The vertex layouts of the mesh buffers: little-endian, no padding. Colours are packed ARGB (the bytes
// B, G, R, A in memory).

// Bits of a mesh's vertex-layer mask.
enum GxVertexLayerBit : uint32_t
{
    GXVERTEXLAYER_DEFAULT = 0x01,
    GXVERTEXLAYER_TANGENT = 0x04,
    GXVERTEXLAYER_UV = 0x08,
    GXVERTEXLAYER_BONEWEIGHT = 0x40,
};

#pragma pack(push, 1)
struct GxVertexLayer_Default
{
    float m_Pos[3];
    float m_Normal[3];
    uint32_t m_Diffuse;
};

struct GxVertexLayer_UV
{
    float m_UV[2];
};

struct GxVertexLayer_BoneWeight
{
    float m_Weight[3];
    uint8_t m_Index[4];
};

struct GxVertexLayer_Tangent
{
    float m_Tangent[3];
};

struct GxVertexLayer_Legacy
{
    float m_Pos[3];
    float m_Normal[3];
    uint32_t m_Diffuse;
    float m_UV[2];
    float m_Weight[3];
    uint8_t m_Index[4];
};
#pragma pack(pop)

static_assert(sizeof(GxVertexLayer_Default) == 28);
static_assert(sizeof(GxVertexLayer_UV) == 8);
static_assert(sizeof(GxVertexLayer_BoneWeight) == 16);
static_assert(sizeof(GxVertexLayer_Tangent) == 12);
static_assert(sizeof(GxVertexLayer_Legacy) == 52);
