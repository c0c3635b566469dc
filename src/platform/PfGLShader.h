// The one shader program that stands in for the fixed-function pipeline: pre-transformed or transformed
// vertices, one directional and four point lights, eight texture stages with their colour and alpha
// operations, specular add, alpha test and linear fog. PfGLDevice feeds its uniforms from the remembered
// render and stage states.
#pragma once

#include <cstdint>
#include <string>

class PfGLShader
{
public:
    enum Uniform
    {
        U_PRETRANSFORMED,
        U_VIEWPORT,
        U_WORLD,
        U_VIEW,
        U_PROJ,
        U_EYE,
        U_LIGHTING,
        U_AMBIENT,
        U_MATDIFFUSE,
        U_MATAMBIENT,
        U_MATSPECULAR,
        U_MATEMISSIVE,
        U_MATPOWER,
        U_MATSOURCES,
        U_LIGHTENABLED,
        U_LIGHTTYPE,
        U_LIGHTDIFFUSE,
        U_LIGHTSPECULAR,
        U_LIGHTAMBIENT,
        U_LIGHTPOSITION,
        U_LIGHTDIRECTION,
        U_LIGHTRANGE,
        U_LIGHTATTEN,
        U_HASDIFFUSE,
        U_HASSPECULAR,
        U_HASNORMAL,
        U_STAGECOUNT,
        U_STAGEA,
        U_STAGEB,
        U_TFACTOR,
        U_SPECULARENABLE,
        U_ALPHAFUNC,
        U_ALPHAREF,
        U_FOGMODE,
        U_FOGSTART,
        U_FOGEND,
        U_FOGCOLOR,
        U_TEX,
        U_COUNT
    };

    // Vertex attribute locations.
    enum Attribute
    {
        A_POSITION = 0,
        A_NORMAL = 1,
        A_DIFFUSE = 2,
        A_SPECULAR = 3,
        A_TEX0 = 4,
        A_TEX1 = 5,
    };

    PfGLShader() = default;
    ~PfGLShader();
    PfGLShader(const PfGLShader&) = delete;
    PfGLShader& operator=(const PfGLShader&) = delete;

    // Compiles and links the program; on failure the compiler's log is kept in GetErrorLog.
    bool Create();
    void Destroy();
    // The program of one stage that multiplies texture and diffuse colour (colour and alpha alike).
    static constexpr uint32_t MODULATE_VARIANT = 9;
    // The per-pixel steps a program carries only when a draw needs them. Left out, a step costs nothing
    // per pixel, and a program without the alpha test's discard lets a software rasteriser take its fast
    // paths for plain 2D quads.
    enum Feature : uint32_t
    {
        FEATURE_SPECULAR = 1u << 0,   // adds the specular colour
        FEATURE_ALPHA_TEST = 1u << 1, // discards pixels failing the alpha comparison
        FEATURE_FOG = 1u << 2,        // mixes in the fog colour
        FEATURE_ALL = 7,
    };
    // Makes the program for that many active texture stages (or MODULATE_VARIANT) with those features
    // current, compiling it on first use.
    bool Select(uint32_t stageCount, uint32_t features = FEATURE_ALL);
    uint32_t GetProgram() const { return m_Program; }
    int32_t GetLocation(Uniform u) const { return m_Location[u]; }
    const std::string& GetErrorLog() const { return m_ErrorLog; }

private:
    static constexpr uint32_t MAX_STAGES = 8;
    static constexpr uint32_t STAGE_VARIANTS = MODULATE_VARIANT + 1;
    static constexpr uint32_t VARIANTS = STAGE_VARIANTS * (FEATURE_ALL + 1);
    bool Build(uint32_t stageCount, uint32_t features);

    // The current program and its uniform locations.
    uint32_t m_Program = 0;
    int32_t m_Location[U_COUNT] = {};
    uint32_t m_Variant = 0;
    uint32_t m_Variants[VARIANTS] = {};
    int32_t m_VariantLocations[VARIANTS][U_COUNT] = {};
    std::string m_ErrorLog;
};
