// An effect read from its ".fx" source: the techniques the device can run with their annotations, the
// top-level parameters with their descriptions, and the index from the well-known parameter names to
// the parameters, so a renderer finds "World" or "TextureDiffuse" without a search per frame. There is no
// effect compiler: the tables come from a declaration scanner (GxEffectScanner).
#pragma once

#include "graphics/GxD3DResourceBase.h"

#include <cstdint>
#include <string>
#include <vector>

struct GxShaderTechniqueInfo
{
    // The technique's position in the effect.
    uint32_t Handle = 0;
    std::wstring Name;
    uint32_t Passes = 0;
    uint32_t Annotations = 0;
    int32_t UseLight = 0;
    int32_t UseTangent = 0;
    int32_t UseUV = 0;
    int32_t UseBone = 0;
    int32_t UseTexture = 0;
    int32_t TecIndex = 0;
};

// Parameter classes and types, numbered as the effect framework numbers them.
enum GxShaderParameterClass : uint32_t
{
    SPC_SCALAR = 0,
    SPC_VECTOR = 1,
    SPC_MATRIX_ROWS = 2,
    SPC_MATRIX_COLUMNS = 3,
    SPC_OBJECT = 4,
    SPC_STRUCT = 5,
};

enum GxShaderParameterType : uint32_t
{
    SPT_VOID = 0,
    SPT_BOOL = 1,
    SPT_INT = 2,
    SPT_FLOAT = 3,
    SPT_STRING = 4,
    SPT_TEXTURE = 5,
    SPT_TEXTURE1D = 6,
    SPT_TEXTURE2D = 7,
    SPT_TEXTURE3D = 8,
    SPT_TEXTURECUBE = 9,
    SPT_SAMPLER = 10,
    SPT_SAMPLER1D = 11,
    SPT_SAMPLER2D = 12,
    SPT_SAMPLER3D = 13,
    SPT_SAMPLERCUBE = 14,
};

struct GxShaderParameterInfo
{
    uint32_t Handle = 0;
    std::wstring Name;
    std::wstring Semantic;
    uint32_t Class = 0;
    uint32_t Type = 0;
    uint32_t Rows = 0;
    uint32_t Columns = 0;
    uint32_t Elements = 0;
    uint32_t Annotations = 0;
    uint32_t StructMembers = 0;
    uint32_t Flags = 0;
    uint32_t Bytes = 0;
};

class GxShaderEffect : public GxD3DResourceBase
{
public:
    enum WellKnown : uint32_t
    {
        PARAM_World = 0,
        PARAM_DirLightColor = 33,
        PARAM_COUNT = 34,
    };

    GxShaderEffect() = default;
    ~GxShaderEffect() override;

    uint32_t Release() override;

    virtual bool CreateFromFile(const std::wstring& name, bool skipValidation);
    // Reads an effect from source text already in memory (CreateFromFile after the file is read).
    bool CreateFromMemory(const std::wstring& name, const char* source, size_t size);

    bool IsCreated() const { return m_Created; }
    const std::vector<GxShaderTechniqueInfo>& GetTechniques() const { return m_Techniques; }
    const std::vector<GxShaderParameterInfo>& GetParameters() const { return m_Parameters; }
    // One entry per well-known name: the parameter's position or -1.
    const std::vector<int32_t>& GetParameterIndex() const { return m_ParameterIndex; }
    static const wchar_t* GetWellKnownName(uint32_t index);

    void CreateParameterIndex();

private:
    void ResetFields();

    bool m_Created = false;
    std::vector<GxShaderTechniqueInfo> m_Techniques;
    std::vector<GxShaderParameterInfo> m_Parameters;
    std::vector<int32_t> m_ParameterIndex;
};
