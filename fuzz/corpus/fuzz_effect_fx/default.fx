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
