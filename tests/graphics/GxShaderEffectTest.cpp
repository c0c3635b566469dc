// Shader effects from ".fx" sources: techniques with annotations, parameters, the well-known index and
// the error lines of a source that cannot be read.
#include "GraphicsTestSupport.h"

#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxEffectScanner.h"
#include "graphics/GxShaderEffect.h"

#include <cstring>

using GxShaderEffectTest = KvGraphicsFixture;

namespace
{

const char* kDefaultFx = R"FX(
// a typical effect
#define MAX_BONES 26
float4x4 World : WORLD;
float4x4 ViewProj : VIEWPROJECTION <string UIName = "vp";>;
float4x3 Bone[MAX_BONES];
static const float PI = 3.14159f;
float Time = 0.0f, TIME = 1.0f;
float4 MaterialDiffuse = {1, 1, 1, 1};
texture TextureDiffuse;
sampler DiffuseSampler = sampler_state { Texture = <TextureDiffuse>; MinFilter = LINEAR; };
struct VS_OUT { float4 Pos : POSITION; float2 UV : TEXCOORD0; };
VS_OUT VS(float4 pos : POSITION, float2 uv : TEXCOORD0)
{
    VS_OUT o; o.Pos = mul(pos, World); o.UV = uv; /* } in a comment */ return o;
}
float4 PS(VS_OUT i) : COLOR0 { return tex2D(DiffuseSampler, i.UV) * MaterialDiffuse; }
technique Lit < int UseLight = 1; int UseUV = 1; int TecIndex = 3; bool UseBone = true; >
{
    pass P0 { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); }
    pass P1 { AlphaBlendEnable = TRUE; }
}
technique Plain { pass { } }
technique Empty { }
)FX";

} // namespace

TEST(GxEffectScanner, ReadsTechniquesAndParameters)
{
    GxEffectScanner scanner;
    ASSERT_TRUE(scanner.Scan(kDefaultFx, "default.fx")) << scanner.GetMessage();
    ASSERT_EQ(scanner.GetTechniques().size(), 3u);
    KvExpectEq<size_t>({{scanner.GetTechniques()[0].Passes, 2},
                        {scanner.GetTechniques()[0].Annotations.size(), 4},
                        {scanner.GetTechniques()[2].Passes, 0}});
    std::vector<std::string> names;
    for (const auto& p : scanner.GetParameters())
        names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"World", "ViewProj", "Bone", "Time", "TIME", "MaterialDiffuse",
                                               "TextureDiffuse", "DiffuseSampler"}));
    EXPECT_EQ(scanner.GetParameters()[0].Semantic, "WORLD");
    KvExpectEq<size_t>({{scanner.GetParameters()[1].Annotations, 1}, {scanner.GetParameters()[2].Elements, 26}});
}

TEST(GxEffectScanner, RefusesUnbalancedAndBrokenSources)
{
    GxEffectScanner scanner;
    EXPECT_FALSE(scanner.Scan("float4 PS() : COLOR { return 0;\n", "a.fx"));
    EXPECT_NE(scanner.GetMessage().find("a.fx("), std::string::npos);
    EXPECT_FALSE(scanner.Scan("technique T { pass P0 { ) }", "b.fx"));
    EXPECT_FALSE(scanner.Scan("float4x4 World : ;", "c.fx"));
    EXPECT_FALSE(scanner.Scan("/* open", "d.fx"));
    EXPECT_FALSE(scanner.Scan("technique T < int UseLight = 1 > { pass {} }", "e.fx"));
    EXPECT_TRUE(scanner.Scan("", "empty.fx"));
}

TEST_F(GxShaderEffectTest, TablesFromAnEffectFile)
{
    std::ofstream(m_Dir + "/default.fx") << kDefaultFx;
    GxShaderEffect effect;
    ASSERT_TRUE(effect.CreateFromFile(GxString::FromUtf8(m_Dir + "/Default.FX"), false));
    EXPECT_TRUE(GxD3DResourceManage::GetInstance().IsRegistered(&effect));
    // The technique without passes cannot run and is left out.
    ASSERT_EQ(effect.GetTechniques().size(), 2u);
    const GxShaderTechniqueInfo& lit = effect.GetTechniques()[0];
    EXPECT_EQ(lit.Name, L"Lit");
    KvExpectEq<int64_t>({{lit.Passes, 2},
                         {lit.Annotations, 4},
                         {lit.UseLight, 1},
                         {lit.UseUV, 1},
                         {lit.UseBone, 1},
                         {lit.TecIndex, 3},
                         {lit.UseTangent, 0}});
    const GxShaderTechniqueInfo& plain = effect.GetTechniques()[1];
    EXPECT_EQ(plain.UseLight + plain.UseTangent + plain.UseUV + plain.UseBone + plain.UseTexture + plain.TecIndex, 0);
    const auto& index = effect.GetParameterIndex();
    ASSERT_EQ(index.size(), 34u);
    // World, ViewProj, Bone, Time (not TIME), MaterialDiffuse, TextureDiffuse; 1 is missing.
    KvExpectEq<int32_t>(
        {{index[0], 0}, {index[2], 1}, {index[4], 2}, {index[9], 3}, {index[14], 5}, {index[27], 6}, {index[1], -1}});
    const GxShaderParameterInfo& world = effect.GetParameters()[0];
    EXPECT_EQ(world.Semantic, L"WORLD");
    KvExpectEq<uint32_t>({{world.Class, SPC_MATRIX_COLUMNS},
                          {world.Type, SPT_FLOAT},
                          {world.Rows, 4},
                          {world.Bytes, 64},
                          {effect.GetParameters()[6].Class, SPC_OBJECT}});
    effect.Release();
    EXPECT_TRUE(effect.GetTechniques().empty());
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsRegistered(&effect));
}

TEST_F(GxShaderEffectTest, LowerCaseNamesMatchAndMissingNamesGiveMinusOne)
{
    const char* fx = "float4x4 world; float time;";
    GxShaderEffect effect;
    ASSERT_TRUE(effect.CreateFromMemory(L"lower.fx", fx, std::strlen(fx)));
    KvExpectEq<int32_t>({{effect.GetParameterIndex()[0], 0}, {effect.GetParameterIndex()[9], 1}});
    const char* none = "float unrelated;";
    GxShaderEffect other;
    ASSERT_TRUE(other.CreateFromMemory(L"none.fx", none, std::strlen(none)));
    for (int32_t i : other.GetParameterIndex())
        EXPECT_EQ(i, -1);
}

TEST_F(GxShaderEffectTest, CompileErrorWritesTheLineAndTheMessages)
{
    std::ofstream(m_Dir + "/bad.fx") << "float4 f() {\n  return 0;\n";
    GxShaderEffect effect;
    EXPECT_FALSE(effect.CreateFromFile(GxString::FromUtf8(m_Dir + "/bad.fx"), false));
    EXPECT_EQ(effect.GetRefCount(), 0u);
    EXPECT_TRUE(Logged(L"Error/GxShaderEffect CreateFromFile Failed(Name:\"" + WidePath("bad.fx")));
    // The compiler's own messages follow as they came, in bytes.
    std::ifstream in(Path("error.log"), std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(raw.find("bad.fx(1): error"), std::string::npos);
    EXPECT_FALSE(effect.CreateFromFile(GxString::FromUtf8(m_Dir + "/missing.fx"), false));
}
