#include "graphics/GxShaderEffect.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxEffectScanner.h"
#include "graphics/GxGraphics.h"

#include <cstdlib>
#include <cstring>
#include <cwctype>

namespace
{

const wchar_t* const kWellKnown[GxShaderEffect::PARAM_COUNT] = {
    L"World",
    L"InvWorld",
    L"ViewProj",
    L"WorldViewProj",
    L"Bone",
    L"CameraPos",
    L"CameraDir",
    L"LocalCenter",
    L"GroundToSkyDir",
    L"Time",
    L"Velocity",
    L"Frequency",
    L"Amplitude",
    L"MaterialAmbient",
    L"MaterialDiffuse",
    L"MaterialEmissive",
    L"MaterialSpecular",
    L"MaterialSpecularPower",
    L"OffsetUV",
    L"MaterialFalloff",
    L"MaterialFalloffPower",
    L"ToonOffsetV",
    L"ToonEdgeColor",
    L"ToonEdgeWidth",
    L"ToonShadeShift",
    L"SphericalNormalLerp",
    L"BumpBiasZ",
    L"TextureDiffuse",
    L"TextureToon",
    L"TextureNormal",
    L"SkyColor",
    L"GroundColor",
    L"DirLightDir",
    L"DirLightColor",
};

const char* const kAnnotationNames[6] = {"UseLight", "UseTangent", "UseUV", "UseBone", "UseTexture", "TecIndex"};

// Class, type, rows and columns from a type name such as float4x4, int2, bool, texture2D, sampler.
void Describe(const GxEffectParameter& p, GxShaderParameterInfo& info)
{
    std::string t = p.TypeName;
    struct Base
    {
        const char* Name;
        uint32_t Type;
    };
    static const Base scalars[] = {{"float", SPT_FLOAT}, {"half", SPT_FLOAT}, {"double", SPT_FLOAT}, {"int", SPT_INT},
                                   {"uint", SPT_INT},    {"dword", SPT_INT},  {"bool", SPT_BOOL}};
    static const Base objects[] = {
        {"texture1d", SPT_TEXTURE1D},     {"texture2d", SPT_TEXTURE2D}, {"texture3d", SPT_TEXTURE3D},
        {"texturecube", SPT_TEXTURECUBE}, {"texture", SPT_TEXTURE},     {"sampler1d", SPT_SAMPLER1D},
        {"sampler2d", SPT_SAMPLER2D},     {"sampler3d", SPT_SAMPLER3D}, {"samplercube", SPT_SAMPLERCUBE},
        {"sampler_state", SPT_SAMPLER},   {"sampler", SPT_SAMPLER},     {"string", SPT_STRING}};
    std::string lower = t;
    for (char& c : lower)
        c = (char)std::tolower((unsigned char)c);
    const uint32_t count = p.Elements ? p.Elements : 1;
    for (const Base& o : objects)
        if (lower == o.Name)
        {
            info.Class = SPC_OBJECT;
            info.Type = o.Type;
            info.Rows = info.Columns = 1;
            info.Bytes = 4 * count;
            return;
        }
    if (lower == "matrix" || lower == "vector")
        lower = lower == "matrix" ? "float4x4" : "float4";
    for (const Base& s : scalars)
    {
        const size_t n = std::strlen(s.Name);
        if (lower.compare(0, n, s.Name) != 0)
            continue;
        const std::string rest = lower.substr(n);
        info.Type = s.Type;
        if (rest.empty())
        {
            info.Class = SPC_SCALAR;
            info.Rows = info.Columns = 1;
        }
        else if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '4')
        {
            info.Class = SPC_VECTOR;
            info.Rows = 1;
            info.Columns = (uint32_t)(rest[0] - '0');
        }
        else if (rest.size() == 3 && rest[1] == 'x' && rest[0] >= '1' && rest[0] <= '4' && rest[2] >= '1' &&
                 rest[2] <= '4')
        {
            info.Class = p.RowMajor ? SPC_MATRIX_ROWS : SPC_MATRIX_COLUMNS;
            info.Rows = (uint32_t)(rest[0] - '0');
            info.Columns = (uint32_t)(rest[2] - '0');
        }
        else
            continue;
        info.Bytes = info.Rows * info.Columns * 4 * count;
        return;
    }
    // A structure or a type this scanner does not know.
    info.Class = SPC_STRUCT;
    info.Type = SPT_VOID;
}

} // namespace

GxShaderEffect::~GxShaderEffect()
{
    ReleaseAll();
}

const wchar_t* GxShaderEffect::GetWellKnownName(uint32_t index)
{
    return index < PARAM_COUNT ? kWellKnown[index] : L"";
}

void GxShaderEffect::ResetFields()
{
    m_Created = false;
    m_ObjectType = OBJTYPE_NONE;
    m_Name.clear();
    m_Techniques.clear();
    m_Parameters.clear();
    m_ParameterIndex.clear();
}

uint32_t GxShaderEffect::Release()
{
    return ReleaseRegistered([this] { ResetFields(); });
}

bool GxShaderEffect::CreateFromFile(const std::wstring& name, bool skipValidation)
{
    // Validation belongs to a compiler; the scanner has nothing to skip.
    (void)skipValidation;
    GxBinBuffer buffer;
    GxFile::LoadToBuffer(buffer, name, true);
    return CreateFromMemory(name, reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

bool GxShaderEffect::CreateFromMemory(const std::wstring& name, const char* source, size_t size)
{
    GxEffectScanner scanner;
    const std::string text = source && size ? std::string(source, size) : std::string();
    bool ok = !text.empty();
    std::string message;
    if (ok)
    {
        ok = scanner.Scan(text, GxString::ToUtf8(name));
        message = scanner.GetMessage();
    }
    else
        message = GxString::ToUtf8(name) + "(1): error: empty or missing effect file";
    if (!ok)
    {
        GxLog::Error(L"Error/GxShaderEffect CreateFromFile Failed(Name:\"%s\" %s)\n", name.c_str(),
                     GxGraphics::GetErrorText(E_FAIL).c_str());
        message += "\n";
        GxLog::ErrorBinary(message.data(), message.size());
        return false;
    }
    ReleaseAll();
    ResetFields();

    // Techniques: only those the device can run, which here means those with at least one pass.
    const std::vector<GxEffectTechnique>& techniques = scanner.GetTechniques();
    for (uint32_t i = 0; i < techniques.size(); ++i)
    {
        const GxEffectTechnique& t = techniques[i];
        if (t.Passes == 0)
            continue;
        GxShaderTechniqueInfo info;
        info.Handle = i;
        info.Name = GxString::ToWide(t.Name);
        info.Passes = t.Passes;
        info.Annotations = (uint32_t)t.Annotations.size();
        int32_t* fields[6] = {&info.UseLight, &info.UseTangent, &info.UseUV,
                              &info.UseBone,  &info.UseTexture, &info.TecIndex};
        for (int k = 0; k < 6; ++k)
            for (const GxEffectAnnotation& a : t.Annotations)
                if (a.Name == kAnnotationNames[k])
                {
                    *fields[k] = a.Value == "true" ? 1 : (int32_t)std::strtol(a.Value.c_str(), nullptr, 0);
                    break;
                }
        m_Techniques.push_back(info);
    }
    const std::vector<GxEffectParameter>& parameters = scanner.GetParameters();
    for (uint32_t i = 0; i < parameters.size(); ++i)
    {
        GxShaderParameterInfo info;
        info.Handle = i;
        info.Name = GxString::ToWide(parameters[i].Name);
        info.Semantic = GxString::ToWide(parameters[i].Semantic);
        info.Elements = parameters[i].Elements;
        info.Annotations = parameters[i].Annotations;
        Describe(parameters[i], info);
        m_Parameters.push_back(info);
    }
    CreateParameterIndex();
    m_Created = true;
    m_ObjectType = OBJTYPE_SHADEREFFECT;
    SetName(name);
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

void GxShaderEffect::CreateParameterIndex()
{
    m_ParameterIndex.clear();
    for (uint32_t k = 0; k < PARAM_COUNT; ++k)
    {
        int32_t found = -1;
        for (size_t i = 0; i < m_Parameters.size() && found < 0; ++i)
        {
            // ASCII case ignored, over at most 64 characters.
            const std::wstring& a = m_Parameters[i].Name;
            const std::wstring b = kWellKnown[k];
            bool same = true;
            for (size_t c = 0; c < 64 && same; ++c)
            {
                const wchar_t x = c < a.size() ? a[c] : 0, y = c < b.size() ? b[c] : 0;
                const wchar_t lx = (x >= L'A' && x <= L'Z') ? x + 32 : x, ly = (y >= L'A' && y <= L'Z') ? y + 32 : y;
                same = lx == ly;
                if (x == 0 || y == 0)
                    break;
            }
            if (same)
                found = (int32_t)i;
        }
        m_ParameterIndex.push_back(found);
    }
}
