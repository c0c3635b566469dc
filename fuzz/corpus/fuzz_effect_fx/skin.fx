row_major float4x4 WorldViewProj : WORLDVIEWPROJECTION;
float3 CameraPos;
float4 OffsetUV = float4(0, 0, 0, 0);
int Frequency[4] = {1, 2, 3, 4};
technique Skin < int UseBone = 2; int UseTangent = 1; string Note = "a;b"; >
{
    pass p0 { CullMode = None; }
}
