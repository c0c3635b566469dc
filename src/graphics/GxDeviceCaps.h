#pragma once

#include <cstdint>

// Capability bits of the device, with the values of the fixed-function pipeline's capability words.
enum : uint32_t
{
    D3DDEVCAPS_HWTRANSFORMANDLIGHT = 0x00010000,
    D3DDEVCAPS_HWRASTERIZATION = 0x00080000,
    D3DDEVCAPS_PUREDEVICE = 0x00100000,
    D3DPRASTERCAPS_DITHER = 0x00000001,
    D3DPRASTERCAPS_WBUFFER = 0x00040000,
    D3DPRASTERCAPS_DEPTHBIAS = 0x04000000,
    D3DCAPS2_DYNAMICTEXTURES = 0x20000000,
    D3DCAPS2_CANAUTOGENMIPMAP = 0x40000000,
    D3DPTEXTURECAPS_PERSPECTIVE = 0x00000001,
    D3DPTEXTURECAPS_POW2 = 0x00000002,
    D3DPTEXTURECAPS_ALPHA = 0x00000004,
    D3DPTEXTURECAPS_SQUAREONLY = 0x00000020,
    D3DPTEXTURECAPS_NONPOW2CONDITIONAL = 0x00000100,
    D3DPTEXTURECAPS_CUBEMAP = 0x00000800,
    D3DPTEXTURECAPS_MIPMAP = 0x00004000,
    D3DPTFILTERCAPS_MINFPOINT = 0x00000100,
    D3DPTFILTERCAPS_MINFLINEAR = 0x00000200,
    D3DPTFILTERCAPS_MINFANISOTROPIC = 0x00000400,
    D3DPTFILTERCAPS_MAGFPOINT = 0x01000000,
    D3DPTFILTERCAPS_MAGFLINEAR = 0x02000000,
    D3DPTFILTERCAPS_MAGFANISOTROPIC = 0x04000000,
};

// The device capabilities kept at start-up. Readers elsewhere: textures (square-only), the movie texture
// (dynamic textures), mesh buffers (software vertex processing), the render-target stacks
// (NumSimultaneousRTs) and the vertex-processing choice (hardware transform, vertex-shader version).
struct GxDeviceCaps
{
    // Capability words, as logged.
    uint32_t Caps;
    uint32_t Caps2;
    uint32_t Caps3;
    uint32_t DevCaps;
    uint32_t RasterCaps;
    uint32_t ZCmpCaps;
    uint32_t SrcBlendCaps;
    uint32_t DestBlendCaps;
    uint32_t AlphaCmpCaps;
    uint32_t ShadeCaps;
    uint32_t TextureCaps;
    uint32_t TextureOpCaps;
    uint32_t TextureFilterCaps;
    uint32_t StretchRectFilterCaps;

    // The summary flags, one byte each, in the order they are logged.
    uint8_t PureDevice;
    uint8_t HWTransformAndLight;
    uint8_t HWRasterization;
    uint8_t Dither;
    uint8_t DepthBias;
    uint8_t WBuffer;
    uint8_t CanAutoGenMipmap;
    uint8_t CubeMap;
    uint8_t MipMap;
    uint8_t Perspective;
    uint8_t Pow2;
    uint8_t SquareOnly;
    uint8_t NonPow2Conditional;
    uint8_t DynamicTextures;
    uint8_t MinFAnisotropic;
    uint8_t MagFAnisotropic;

    uint32_t MaxTextureWidth;
    uint32_t MaxTextureHeight;
    uint32_t MaxTextureRepeat;
    uint32_t MaxTextureAspectRatio;
    uint32_t MaxAnisotropy;
    uint32_t MaxVertexBlendMatrices;
    uint32_t MaxVertexBlendMatrixIndex;
    float MaxVertexW;
    float GuardBandLeft;
    float GuardBandTop;
    float GuardBandRight;
    float GuardBandBottom;
    float MaxPointSize;
    uint32_t MaxPrimitiveCount;
    uint32_t MaxVertexIndex;
    uint32_t MaxStreams;
    uint32_t MaxStreamStride;
    uint32_t NumSimultaneousRTs;
    uint32_t MaxTextureBlendStages;
    uint32_t MaxSimultaneousTextures;
    uint32_t MaxActiveLights;
    uint32_t VertexShaderVersion;
    uint32_t PixelShaderVersion;
    uint32_t MaxVertexShaderConst;
    float PixelShader1xMaxValue;
    uint32_t DynamicFlowControlDepth;
    uint32_t StaticFlowControlDepth;
    uint32_t MaxVShaderInstructionsExecuted;
    uint32_t MaxPShaderInstructionsExecuted;

    // One byte per texture operation D3DTOP 1..26 (index 0 unused).
    uint8_t TextureOp[27];
};
