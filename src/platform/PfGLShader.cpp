#include "platform/PfGLShader.h"

#include <epoxy/gl.h>

#include <string>

namespace
{

// Pixel centres lie on integer coordinates as the engine's drawers expect, so every position is moved half a
// pixel before OpenGL (whose centres are at +0.5) rasterises it. Row 0 is the top of every target: window
// y grows with the row index and the flip happens once, when the back buffer reaches the window.
const char* s_VertexSource = R"(#version 330 core
layout(location = 0) in vec4 a_Position;
layout(location = 1) in vec3 a_Normal;
layout(location = 2) in vec4 a_Diffuse;
layout(location = 3) in vec4 a_Specular;
layout(location = 4) in vec2 a_Tex0;
layout(location = 5) in vec2 a_Tex1;

uniform int u_PreTransformed;
uniform vec4 u_Viewport;
uniform mat4 u_World;
uniform mat4 u_View;
uniform mat4 u_Proj;
uniform vec3 u_Eye;
uniform int u_Lighting;
uniform vec4 u_Ambient;
uniform vec4 u_MatDiffuse;
uniform vec4 u_MatAmbient;
uniform vec4 u_MatSpecular;
uniform vec4 u_MatEmissive;
uniform float u_MatPower;
uniform ivec4 u_MatSources; // diffuse, specular, ambient, emissive: 0 material, 1 diffuse, 2 specular
uniform int u_LightEnabled[5];
uniform int u_LightType[5];
uniform vec4 u_LightDiffuse[5];
uniform vec4 u_LightSpecular[5];
uniform vec4 u_LightAmbient[5];
uniform vec3 u_LightPosition[5];
uniform vec3 u_LightDirection[5];
uniform float u_LightRange[5];
uniform vec3 u_LightAtten[5];
uniform int u_HasDiffuse;
uniform int u_HasSpecular;
uniform int u_HasNormal;
uniform int u_SpecularEnable;
uniform int u_FogMode; // 0 none, 1 per pixel on depth, 2 per vertex on eye depth
uniform float u_FogStart;
uniform float u_FogEnd;

out vec4 v_Diffuse;
out vec4 v_Specular;
out vec2 v_Tex0;
out vec2 v_Tex1;
out float v_Fog;

vec4 MaterialColor(int source, vec4 material, vec4 diffuse, vec4 specular)
{
    if (source == 1)
        return diffuse;
    if (source == 2)
        return specular;
    return material;
}

void main()
{
    vec4 diffuse = u_HasDiffuse != 0 ? a_Diffuse : vec4(1.0);
    vec4 specular = u_HasSpecular != 0 ? a_Specular : vec4(0.0);
    v_Tex0 = a_Tex0;
    v_Tex1 = a_Tex1;
    v_Fog = 1.0;
    if (u_PreTransformed != 0)
    {
        float w = a_Position.w != 0.0 ? 1.0 / a_Position.w : 1.0;
        vec2 ndc = (a_Position.xy + 0.5 - u_Viewport.xy) / u_Viewport.zw * 2.0 - 1.0;
        gl_Position = vec4(ndc * w, (a_Position.z * 2.0 - 1.0) * w, w);
        v_Diffuse = diffuse;
        v_Specular = specular;
        if (u_FogMode == 2)
            v_Fog = specular.a;
        return;
    }
    vec4 world = u_World * vec4(a_Position.xyz, 1.0);
    vec4 eye = u_View * world;
    vec4 clip = u_Proj * eye;
    gl_Position = vec4(clip.x + clip.w / u_Viewport.z, -clip.y + clip.w / u_Viewport.w, clip.z * 2.0 - clip.w,
                       clip.w);
    if (u_FogMode == 2)
        v_Fog = clamp((u_FogEnd - abs(eye.z)) / (u_FogEnd - u_FogStart), 0.0, 1.0);
    if (u_Lighting == 0 || u_HasNormal == 0)
    {
        v_Diffuse = diffuse;
        v_Specular = specular;
        return;
    }
    vec4 md = MaterialColor(u_MatSources.x, u_MatDiffuse, diffuse, specular);
    vec4 ms = MaterialColor(u_MatSources.y, u_MatSpecular, diffuse, specular);
    vec4 ma = MaterialColor(u_MatSources.z, u_MatAmbient, diffuse, specular);
    vec4 me = MaterialColor(u_MatSources.w, u_MatEmissive, diffuse, specular);
    vec3 n = normalize(mat3(u_World) * a_Normal);
    vec3 toEye = normalize(u_Eye - world.xyz);
    vec3 lightAmbient = vec3(0.0);
    vec3 lightDiffuse = vec3(0.0);
    vec3 lightSpecular = vec3(0.0);
    for (int i = 0; i < 5; ++i)
    {
        if (u_LightEnabled[i] == 0)
            continue;
        vec3 l;
        float atten = 1.0;
        if (u_LightType[i] == 3)
            l = -normalize(u_LightDirection[i]);
        else
        {
            vec3 d = u_LightPosition[i] - world.xyz;
            float dist = length(d);
            if (dist > u_LightRange[i])
                continue;
            l = dist > 0.0 ? d / dist : vec3(0.0, 0.0, 1.0);
            float a = u_LightAtten[i].x + u_LightAtten[i].y * dist + u_LightAtten[i].z * dist * dist;
            atten = a > 0.0 ? 1.0 / a : 1.0;
        }
        float nl = max(dot(n, l), 0.0);
        lightAmbient += atten * u_LightAmbient[i].rgb;
        lightDiffuse += atten * nl * u_LightDiffuse[i].rgb;
        if (u_SpecularEnable != 0 && nl > 0.0 && u_MatPower > 0.0)
        {
            vec3 h = normalize(l + toEye);
            lightSpecular += atten * pow(max(dot(n, h), 0.0), u_MatPower) * u_LightSpecular[i].rgb;
        }
    }
    vec3 c = me.rgb + ma.rgb * (u_Ambient.rgb + lightAmbient) + md.rgb * lightDiffuse;
    v_Diffuse = vec4(clamp(c, 0.0, 1.0), md.a);
    v_Specular = vec4(clamp(ms.rgb * lightSpecular, 0.0, 1.0), ms.a);
}
)";

// Texture-stage arguments and operations carry the numbers of the fixed-function pipeline (D3DTA_*, D3DTOP_*).
// Compiled once per number of active stages (KV_STAGE_COUNT, put in front by Build): with a constant
// loop bound the stage loop unrolls and each stage samples its own unit directly, instead of every pixel
// walking the branches of all eight units. The 2D drawers' one-stage program is several times faster so.
// The specular add, the alpha test and fog are compiled in only where a draw needs them (KV_SPECULAR,
// KV_ALPHA_TEST, KV_FOG).
const char* s_FragmentSource = R"(
in vec4 v_Diffuse;
in vec4 v_Specular;
in vec2 v_Tex0;
in vec2 v_Tex1;
in float v_Fog;

uniform int u_StageCount;
uniform ivec4 u_StageA[8]; // colour op, colour arg1, colour arg2, alpha op
uniform ivec4 u_StageB[8]; // alpha arg1, alpha arg2, texture-coordinate index, result to temp
uniform vec4 u_TFactor;
uniform int u_AlphaFunc; // D3DCMP_*
uniform int u_AlphaRef;
uniform int u_FogMode;
uniform float u_FogStart;
uniform float u_FogEnd;
uniform vec4 u_FogColor;
uniform sampler2D u_Tex[8];

out vec4 o_Color;

vec4 SampleStage(int i, vec2 uv)
{
    if (i == 0) return texture(u_Tex[0], uv);
    if (i == 1) return texture(u_Tex[1], uv);
    if (i == 2) return texture(u_Tex[2], uv);
    if (i == 3) return texture(u_Tex[3], uv);
    if (i == 4) return texture(u_Tex[4], uv);
    if (i == 5) return texture(u_Tex[5], uv);
    if (i == 6) return texture(u_Tex[6], uv);
    return texture(u_Tex[7], uv);
}

vec4 Arg(int a, vec4 cur, vec4 tex, vec4 temp)
{
    vec4 v;
    int sel = a & 15;
    if (sel == 0) v = v_Diffuse;
    else if (sel == 1) v = cur;
    else if (sel == 2) v = tex;
    else if (sel == 3) v = u_TFactor;
    else if (sel == 4) v = v_Specular;
    else if (sel == 5) v = temp;
    else v = u_TFactor;
    if ((a & 0x10) != 0) v = 1.0 - v;
    if ((a & 0x20) != 0) v = vec4(v.a);
    return v;
}

vec4 Op(int op, vec4 a1, vec4 a2, vec4 cur, vec4 tex)
{
    if (op == 2) return a1;
    if (op == 3) return a2;
    if (op == 4) return a1 * a2;
    if (op == 5) return a1 * a2 * 2.0;
    if (op == 6) return a1 * a2 * 4.0;
    if (op == 7) return a1 + a2;
    if (op == 8) return a1 + a2 - 0.5;
    if (op == 9) return (a1 + a2 - 0.5) * 2.0;
    if (op == 10) return a1 - a2;
    if (op == 11) return a1 + a2 - a1 * a2;
    if (op == 12) return mix(a2, a1, v_Diffuse.a);
    if (op == 13) return mix(a2, a1, tex.a);
    if (op == 14) return mix(a2, a1, u_TFactor.a);
    if (op == 15) return a1 + a2 * (1.0 - tex.a);
    if (op == 16) return mix(a2, a1, cur.a);
    if (op == 18) return vec4(a1.rgb + a1.a * a2.rgb, a1.a);
    if (op == 19) return vec4(a1.rgb * a2.rgb, a1.a + a2.a);
    if (op == 20) return vec4((1.0 - a1.a) * a2.rgb + a1.rgb, a1.a);
    if (op == 21) return vec4((1.0 - a1.rgb) * a2.rgb + a1.a, a1.a);
    if (op == 24) return vec4(clamp(dot(a1.rgb - 0.5, a2.rgb - 0.5) * 4.0, 0.0, 1.0));
    return a1 * a2;
}

bool Compare(int func, int a, int ref)
{
    if (func == 1) return false;
    if (func == 2) return a < ref;
    if (func == 3) return a == ref;
    if (func == 4) return a <= ref;
    if (func == 5) return a > ref;
    if (func == 6) return a != ref;
    if (func == 7) return a >= ref;
    return true;
}

void main()
{
    vec4 cur = v_Diffuse;
    vec4 temp = vec4(0.0);
#ifdef KV_MODULATE
    // One stage multiplying the texture by the diffuse colour in colour and alpha: most 2D drawing.
    cur = clamp(texture(u_Tex[0], v_Tex0) * v_Diffuse, 0.0, 1.0);
#else
    for (int i = 0; i < KV_STAGE_COUNT; ++i)
    {
        ivec4 sa = u_StageA[i];
        ivec4 sb = u_StageB[i];
        if (sa.x == 1)
            break;
        vec4 tex = SampleStage(i, sb.z == 1 ? v_Tex1 : v_Tex0);
        vec4 c = Op(sa.x, Arg(sa.y, cur, tex, temp), Arg(sa.z, cur, tex, temp), cur, tex);
        float a = sa.w == 1 ? cur.a : Op(sa.w, Arg(sb.x, cur, tex, temp), Arg(sb.y, cur, tex, temp), cur, tex).a;
        vec4 r = clamp(vec4(c.rgb, a), 0.0, 1.0);
        if (sb.w != 0)
            temp = r;
        else
            cur = r;
    }
#endif
#ifdef KV_SPECULAR
    cur.rgb = min(cur.rgb + v_Specular.rgb, 1.0);
#endif
#ifdef KV_ALPHA_TEST
    if (!Compare(u_AlphaFunc, int(floor(cur.a * 255.0 + 0.5)), u_AlphaRef))
        discard;
#endif
#ifdef KV_FOG
    float f = u_FogMode == 1 ? clamp((u_FogEnd - gl_FragCoord.z) / (u_FogEnd - u_FogStart), 0.0, 1.0) : v_Fog;
    cur.rgb = mix(u_FogColor.rgb, cur.rgb, f);
#endif
    o_Color = cur;
}
)";

const char* s_UniformNames[PfGLShader::U_COUNT] = {
    "u_PreTransformed", "u_Viewport",      "u_World",          "u_View",       "u_Proj",         "u_Eye",
    "u_Lighting",       "u_Ambient",       "u_MatDiffuse",     "u_MatAmbient", "u_MatSpecular",  "u_MatEmissive",
    "u_MatPower",       "u_MatSources",    "u_LightEnabled",   "u_LightType",  "u_LightDiffuse", "u_LightSpecular",
    "u_LightAmbient",   "u_LightPosition", "u_LightDirection", "u_LightRange", "u_LightAtten",   "u_HasDiffuse",
    "u_HasSpecular",    "u_HasNormal",     "u_StageCount",     "u_StageA",     "u_StageB",       "u_TFactor",
    "u_SpecularEnable", "u_AlphaFunc",     "u_AlphaRef",       "u_FogMode",    "u_FogStart",     "u_FogEnd",
    "u_FogColor",       "u_Tex",
};

GLuint CompileStage(GLenum type, const char* source, std::string& log)
{
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok)
    {
        char buffer[4096] = {};
        glGetShaderInfoLog(shader, sizeof(buffer) - 1, nullptr, buffer);
        log += buffer;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

PfGLShader::~PfGLShader()
{
    Destroy();
}

bool PfGLShader::Create()
{
    Destroy();
    m_ErrorLog.clear();
    return Select(MODULATE_VARIANT, 0);
}

bool PfGLShader::Select(uint32_t stageCount, uint32_t features)
{
    if (stageCount > MODULATE_VARIANT)
        stageCount = MAX_STAGES;
    features &= FEATURE_ALL;
    const uint32_t variant = stageCount + STAGE_VARIANTS * features;
    if (m_Program && variant == m_Variant)
        return true;
    if (!m_Variants[variant] && !Build(stageCount, features))
        return false;
    m_Program = m_Variants[variant];
    m_Variant = variant;
    for (int i = 0; i < U_COUNT; ++i)
        m_Location[i] = m_VariantLocations[variant][i];
    glUseProgram(m_Program);
    return true;
}

bool PfGLShader::Build(uint32_t stageCount, uint32_t features)
{
    GLuint vs = CompileStage(GL_VERTEX_SHADER, s_VertexSource, m_ErrorLog);
    std::string fragment = "#version 330 core\n";
    if (stageCount == MODULATE_VARIANT)
        fragment += "#define KV_MODULATE\n#define KV_STAGE_COUNT 1\n";
    else
        fragment += "#define KV_STAGE_COUNT " + std::to_string(stageCount) + "\n";
    if (features & FEATURE_SPECULAR)
        fragment += "#define KV_SPECULAR\n";
    if (features & FEATURE_ALPHA_TEST)
        fragment += "#define KV_ALPHA_TEST\n";
    if (features & FEATURE_FOG)
        fragment += "#define KV_FOG\n";
    fragment += s_FragmentSource;
    GLuint fs = CompileStage(GL_FRAGMENT_SHADER, fragment.c_str(), m_ErrorLog);
    if (!vs || !fs)
    {
        if (vs)
            glDeleteShader(vs);
        if (fs)
            glDeleteShader(fs);
        return false;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    // Detached, the shader objects (their source and compiled code, a few megabytes in a software
    // driver) go at once rather than living as long as the program.
    glDetachShader(program, vs);
    glDetachShader(program, fs);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok)
    {
        char buffer[4096] = {};
        glGetProgramInfoLog(program, sizeof(buffer) - 1, nullptr, buffer);
        m_ErrorLog += buffer;
        glDeleteProgram(program);
        return false;
    }
    const uint32_t variant = stageCount + STAGE_VARIANTS * features;
    m_Variants[variant] = program;
    for (int i = 0; i < U_COUNT; ++i)
        m_VariantLocations[variant][i] = glGetUniformLocation(program, s_UniformNames[i]);
    // Each stage samples its own texture unit.
    glUseProgram(program);
    GLint units[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    glUniform1iv(m_VariantLocations[variant][U_TEX], 8, units);
    if (m_Program)
        glUseProgram(m_Program);
    return true;
}

void PfGLShader::Destroy()
{
    for (uint32_t& program : m_Variants)
    {
        if (program)
            glDeleteProgram(program);
        program = 0;
    }
    m_Program = 0;
    m_Variant = 0;
}
